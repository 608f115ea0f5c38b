// Where the front panel's controls sit, which tags they carry and which skin
// bitmaps they show. Rectangles are window pixels, (left, top, right, bottom).
#pragma once

#include <cstdint>

#include "editor/toolkit/cgeometry.h"

namespace panel {

constexpr int16_t kWindowWidth = 870;
constexpr int16_t kWindowHeight = 101;

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
};

// Skin bitmap ids.
enum PanelBitmap : int32_t {
  kBmpFrontPanel = 128,
  kBmpRearPanel = 129,
  kBmpDlyx2 = 130,
  kBmpInputKnob = 131,
  kBmpOutputKnob = 132,
  kBmpFeedbackKnob = 133,
  kBmpFbInv = 134,
  kBmpDlyInv = 135,
  kBmpMixKnob = 136,
  kBmpRptInf = 137,
  kBmpDelayDown = 138,
  kBmpDelayUp = 139,
  kBmpDigit1 = 140,
  kBmpDigit2 = 141,
  kBmpDigit3 = 142,
  kBmpDigit4 = 143,
  kBmpModeLamps = 144,
  kBmpBypassLamp = 145,
  kBmpLevelMeter = 146,
  kBmpHiCut = 147,
  kBmpDepthKnob = 148,
  kBmpManVcoKnob = 149,
  kBmpRateKnob = 150,
  kBmpWaveformKnob = 151,
  kBmpPower = 152,
  kBmpModulationLamp = 153,
  kBmpDlyClkSwitch = 155,
};

// Film strips.
constexpr int32_t kKnobFrames = 101;
constexpr CCoord kSmallKnobFrameHeight = 35;
constexpr CCoord kLargeKnobFrameHeight = 36;
constexpr int32_t kDigitFrames = 12;
constexpr CCoord kDigitFrameHeight = 20;
constexpr int32_t kDigitBlank = 10;  // the unlit frame
constexpr int32_t kModeLampFrames = 8;
constexpr CCoord kModeLampFrameHeight = 32;
constexpr int32_t kBypassLampFrames = 2;
constexpr CCoord kBypassLampFrameHeight = 11;
constexpr int32_t kModulationLampFrames = 101;
constexpr CCoord kModulationLampFrameHeight = 10;
constexpr int32_t kMeterFrames = 21;
constexpr CCoord kMeterFrameHeight = 43;
constexpr int32_t kSwitchFrames = 2;
constexpr CCoord kSwitchFrameHeight = 10;
constexpr int32_t kSwitchPositions = 2;
constexpr CCoord kPushButtonFrameHeight = 26;

// Digits and lamps.
inline const CRect kDigit1Rect(511, 32, 525, 52);
inline const CRect kDigit2Rect(528, 32, 542, 52);
inline const CRect kDigit3Rect(545, 32, 560, 52);
inline const CRect kDigit4Rect(563, 32, 577, 52);
inline const CRect kModeLampsRect(577, 26, 593, 58);
inline const CRect kBypassLampRect(341, 59, 352, 70);
inline const CRect kModulationLampRect(786, 61, 796, 71);
inline const CRect kLevelMeterRect(41, 21, 48, 64);

// Knobs.
inline const CRect kInputKnobRect(109, 25, 144, 60);
inline const CRect kOutputKnobRect(154, 25, 189, 60);
inline const CRect kFeedbackKnobRect(200, 25, 235, 60);
inline const CRect kMixKnobRect(352, 25, 387, 60);
inline const CRect kManVcoKnobRect(616, 25, 651, 60);
inline const CRect kDepthKnobRect(661, 25, 697, 61);
inline const CRect kWaveformKnobRect(706, 25, 742, 61);
inline const CRect kRateKnobRect(752, 25, 788, 61);

// Buttons, switch, strips, about badge.
inline const CRect kHiCutRect(247, 44, 270, 70);
inline const CRect kFbInvRect(276, 44, 297, 70);
inline const CRect kDlyInvRect(306, 44, 327, 70);
inline const CRect kRptInfRect(399, 44, 421, 70);
inline const CRect kDlyx2Rect(74, 45, 95, 65);
inline const CRect kPowerRect(818, 45, 840, 65);
inline const CRect kDlyClkRect(457, 23, 472, 33);
inline const CRect kDelayDownRect(431, 33, 457, 59);
inline const CRect kDelayUpRect(470, 33, 496, 59);
inline const CRect kSmallStripRect(458, 34, 470, 59);
inline const CRect kDigitStripRect(505, 27, 591, 57);
inline const CRect kAboutRect(806, 15, 867, 39);
inline const CPoint kVersionOffset(520, 57);

// Knob handling.
constexpr float kKnobWheelIncrement = 0.03125f;  // 1/32 per wheel notch
constexpr float kKnobZoomFactor = 5.f;           // Shift drags five times finer
constexpr float kStripWheelIncrement = 0.0012539185f;

}  // namespace panel
