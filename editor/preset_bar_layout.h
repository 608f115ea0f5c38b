// The preset bar along the bottom of the window: tags, rectangles and skin
// bitmaps of its controls, in the order the bar builds them.
#pragma once

#include <cstdint>

#include "editor/toolkit/ccolor.h"
#include "editor/toolkit/cgeometry.h"

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

enum BarBitmap : int32_t {
  kBmpFrontPanel = 128,
  kBmpGreenArrow = 990,  // load and recall
  kBmpRedArrow = 991,    // save and store
  kBmpBankLabel = 992,
  kBmpPresetLabel = 993,
  kBmpMidiLabel = 994,
  kBmpRocker = 995,
  kBmpLearn = 998,
  kBmpClear = 999,
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

// The name field is laid out on the bar and then fitted to its font.
inline const CRect kNameFieldLayoutRect(208, 86, 320, 101);
inline const CRect kMenuRect(320, 87, 333, 99);
inline const CRect kRockerRect(340, 86, 370, 99);
inline const CRect kLoadBankRect(85, 86, 102, 101);
inline const CRect kSaveBankRect(34, 86, 51, 101);
inline const CRect kBankLabelRect(51, 86, 83, 99);
inline const CRect kLoadPresetRect(177, 86, 194, 101);
inline const CRect kSavePresetRect(114, 86, 131, 101);
inline const CRect kPresetLabelRect(132, 86, 176, 99);
inline const CRect kRecallMemoARect(421, 86, 438, 101);
inline const CRect kStoreMemoARect(388, 86, 405, 101);
inline const CRect kRecallMemoBRect(486, 86, 503, 101);
inline const CRect kStoreMemoBRect(452, 86, 469, 101);
inline const CRect kControllerDisplayRect(690, 87, 780, 99);
inline const CRect kLearnRect(788, 85, 812, 101);
inline const CRect kLoadMidiRect(658, 86, 675, 101);
inline const CRect kSaveMidiRect(610, 86, 627, 101);
inline const CRect kMidiLabelRect(628, 86, 656, 99);
inline const CRect kClearRect(813, 85, 837, 101);

constexpr int32_t kThreeFrames = 3;
constexpr int32_t kRockerFrames = 5;
constexpr int32_t kMenuItemsPerColumn = 17;
constexpr int32_t kControllerSteps = 130;  // 128 controllers, "not assigned", empty
constexpr int32_t kNotAssignedStep = 128;
constexpr int32_t kEmptyStep = 129;

inline constexpr CColor kNameBackColour(189, 207, 218, 255);
inline constexpr CColor kBarTextColour(36, 36, 32, 255);

}  // namespace presetbar
