// The preset bar along the bottom of the window as the editor sees it: the
// tags of its controls, their order, colours and menu. Where they sit and
// which bitmaps they show is the shared layout table.
#pragma once

#include <cstdint>

#include "editor/toolkit/ccolor.h"
#include "layout/panel_layout.h"

namespace presetbar {

enum BarTag : int32_t {
  kTagName = 33,
  kTagRocker = 34,
  kTagLoadBank = 35,
  kTagSaveBank = 36,
  kTagLoadPreset = 37,
  kTagSavePreset = 38,
  kTagControllerDisplay = 39,
  kTagLearn = 40,
  kTagLoadMidi = 41,
  kTagSaveMidi = 42,
  kTagMidiLabel = 43,
  kTagClear = 44,
  kTagMenu = 45,
  kTagBankLabel = 46,
  kTagPresetLabel = 47,
  kTagStoreMemoA = 48,
  kTagStoreMemoB = 49,
  kTagRecallMemoA = 50,
  kTagRecallMemoB = 51,
};

// Index of each control in the bar's rectangle list, in building order.
enum BarControl : int32_t {
  kNameField,
  kMenu,
  kRocker,
  kLoadBank,
  kSaveBank,
  kBankLabel,
  kLoadPreset,
  kSavePreset,
  kPresetLabel,
  kRecallMemoA,
  kStoreMemoA,
  kRecallMemoB,
  kStoreMemoB,
  kControllerDisplay,
  kLearn,
  kLoadMidi,
  kSaveMidi,
  kMidiLabel,
  kClear,
  kBarControlCount
};

constexpr int32_t kMenuItemsPerColumn = 17;
constexpr int32_t kControllerSteps = 130;  // 128 controllers, "not assigned", empty
constexpr int32_t kNotAssignedStep = 128;
constexpr int32_t kEmptyStep = 129;

inline constexpr CColor kNameBackColour(layout::kWellColour.red, layout::kWellColour.green,
                                        layout::kWellColour.blue, 255);
inline constexpr CColor kBarTextColour(layout::kWellInkColour.red, layout::kWellInkColour.green,
                                       layout::kWellInkColour.blue, 255);

}  // namespace presetbar
