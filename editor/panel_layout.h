// The front panel as the editor sees it: the tags of its own controls, the
// frame roles of its film strips and the feel of its knobs and strips. Where
// the controls sit and which bitmaps they show is the shared layout table.
#pragma once

#include <cstdint>

#include "editor/layout_to_toolkit.h"
#include "layout/panel_layout.h"

namespace panel {

// Tags of the editor's own controls; 0 … 17 are the parameter indices and
// 33 … 51 belong to the preset bar.
enum PanelTag : int32_t {
  kTagDelayDown = 19,  // left push button: delay down, or Num in clock mode
  kTagDelayUp = 20,    // right push button: delay up, or Den in clock mode
  kTagDigit1 = 21,
  kTagDigit2 = 22,
  kTagDigit3 = 23,
  kTagDigit4 = 24,
  kTagModeLamps = 26,
  kTagBypassLamp = 27,
  kTagModulationLamp = 28,
  kTagLevelMeter = 29,
  kTagSmallStrip = 30,  // between the push buttons
  kTagDigitStrip = 31,  // over the digits and mode lamps
  kTagAbout = 32,
  kFirstPresetBarTag = 33,
  kTagZoomMenu = 52,  // the background menu, after the preset bar's tags
};

// The digits' film strips: frames 0 … 9 show the digit itself, then the unlit frame.
constexpr int32_t kDigitFrames = layout::skinBitmap(layout::kDigit1Bitmap).frames;
constexpr int32_t kDigitBlank = 10;
// The Dly<>Clk switch has two positions.
constexpr int32_t kSwitchPositions = 2;

// Knob handling.
constexpr float kKnobWheelIncrement = 0.03125f;  // 1/32 per wheel notch
constexpr float kKnobZoomFactor = 5.f;           // Shift drags five times finer
constexpr float kStripWheelIncrement = 0.0012539185f;

}  // namespace panel
