// Where the editor places its controls, in window pixels (left, top, right,
// bottom). The panel's printing is arranged around these rectangles, and the
// opaque control bitmaps copy the panel that lies under them.
#pragma once

namespace skingen {

struct Box {
  int left, top, right, bottom;
  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  constexpr double centreX() const { return (left + right) / 2.0; }
  constexpr double centreY() const { return (top + bottom) / 2.0; }
};

constexpr int kPanelWidth = 870;
constexpr int kPanelHeight = 101;

namespace layout {

// Main panel.
constexpr Box kDigit1{511, 32, 525, 52};
constexpr Box kDigit2{528, 32, 542, 52};
constexpr Box kDigit3{545, 32, 560, 52};
constexpr Box kDigit4{563, 32, 577, 52};
constexpr Box kModeLamps{577, 26, 593, 58};
constexpr Box kBypassLamp{341, 59, 352, 70};
constexpr Box kModLamp{786, 61, 796, 71};
constexpr Box kInput{109, 25, 144, 60};
constexpr Box kOutput{154, 25, 189, 60};
constexpr Box kFbck{200, 25, 235, 60};
constexpr Box kMix{352, 25, 387, 60};
constexpr Box kManVCO{616, 25, 651, 60};
constexpr Box kDepth{661, 25, 697, 61};
constexpr Box kHiCut{247, 44, 270, 70};
constexpr Box kWaveform{706, 25, 742, 61};
constexpr Box kRate{752, 25, 788, 61};
constexpr Box kFbInv{276, 44, 297, 70};
constexpr Box kDlyInv{306, 44, 327, 70};
constexpr Box kRptInf{399, 44, 421, 70};
constexpr Box kDlyx2{74, 45, 95, 65};
constexpr Box kPower{818, 45, 840, 65};
constexpr Box kDlyClk{457, 23, 472, 33};
constexpr Box kDelayDown{431, 33, 457, 59};
constexpr Box kDelayUp{470, 33, 496, 59};
constexpr Box kMeter{41, 21, 48, 64};
constexpr Box kSmallStrip{458, 34, 470, 59};
constexpr Box kDisplayStrip{505, 27, 591, 57};
constexpr Box kAboutBadge{806, 15, 867, 39};
constexpr double kVersionX = 520;  // the about picture prints the version here
constexpr double kVersionY = 57;

// Preset bar.
constexpr int kBarTop = 85;
constexpr Box kNameField{208, 87, 320, 100};
constexpr Box kProgramMenu{320, 87, 333, 99};
constexpr Box kRocker{340, 86, 370, 99};
constexpr Box kLoadBank{85, 86, 102, 101};
constexpr Box kSaveBank{34, 86, 51, 101};
constexpr Box kBankLabel{51, 86, 83, 99};
constexpr Box kLoadPreset{177, 86, 194, 101};
constexpr Box kSavePreset{114, 86, 131, 101};
constexpr Box kPresetLabel{132, 86, 176, 99};
constexpr Box kRecallA{421, 86, 438, 101};
constexpr Box kStoreA{388, 86, 405, 101};
constexpr Box kRecallB{486, 86, 503, 101};
constexpr Box kStoreB{452, 86, 469, 101};
constexpr Box kControllerDisplay{690, 87, 780, 99};
constexpr Box kLearn{788, 85, 812, 101};
constexpr Box kLoadMidi{658, 86, 675, 101};
constexpr Box kSaveMidi{610, 86, 627, 101};
constexpr Box kMidiLabel{628, 86, 656, 99};
constexpr Box kClear{813, 85, 837, 101};

}  // namespace layout
}  // namespace skingen
