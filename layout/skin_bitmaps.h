// The skin's bitmaps: id, size and frame layout. The generator draws them to
// these sizes, the editor loads them by id and cuts its film strips by the
// frame counts, and the tests check the embedded files against them.
#pragma once

#include <cstddef>

namespace layout {

enum SkinBitmapId : int {
  kFrontPanelBitmap = 128,
  kRearPanelBitmap = 129,
  kDlyx2Bitmap = 130,
  kInputKnobBitmap = 131,
  kOutputKnobBitmap = 132,
  kFeedbackKnobBitmap = 133,
  kFbInvBitmap = 134,
  kDlyInvBitmap = 135,
  kMixKnobBitmap = 136,
  kRptInfBitmap = 137,
  kDelayDownBitmap = 138,
  kDelayUpBitmap = 139,
  kDigit1Bitmap = 140,
  kDigit2Bitmap = 141,
  kDigit3Bitmap = 142,
  kDigit4Bitmap = 143,
  kModeLampsBitmap = 144,
  kBypassLampBitmap = 145,
  kLevelMeterBitmap = 146,
  kHiCutBitmap = 147,
  kDepthKnobBitmap = 148,
  kManVcoKnobBitmap = 149,
  kRateKnobBitmap = 150,
  kWaveformKnobBitmap = 151,
  kPowerBitmap = 152,
  kModulationLampBitmap = 153,
  kDlyClkSwitchBitmap = 155,
  // Preset bar.
  kLoadArrowBitmap = 990,  // green: load and recall
  kSaveArrowBitmap = 991,  // red: save and store
  kBankLabelBitmap = 992,
  kPresetLabelBitmap = 993,
  kMidiLabelBitmap = 994,
  kRockerBitmap = 995,
  kLearnBitmap = 998,
  kClearBitmap = 999,
};

struct SkinBitmapInfo {
  int id;
  int width;
  int height;     // total height of all frames
  int frames;     // stacked vertically, frame 0 on top
  bool hasAlpha;  // the others are opaque and carry the panel under them
  const char* role;

  constexpr int frameHeight() const { return height / frames; }
};

inline constexpr SkinBitmapInfo kSkinBitmaps[] = {
    {kFrontPanelBitmap, 870, 101, 1, false, "front panel"},
    {kRearPanelBitmap, 870, 101, 1, false, "rear panel (about picture)"},
    {kDlyx2Bitmap, 21, 40, 2, false, "Dlyx2 button"},
    {kInputKnobBitmap, 35, 3535, 101, false, "Input knob"},
    {kOutputKnobBitmap, 35, 3535, 101, false, "Output knob"},
    {kFeedbackKnobBitmap, 35, 3535, 101, false, "Fbck knob"},
    {kFbInvBitmap, 21, 52, 2, false, "FbInv button"},
    {kDlyInvBitmap, 21, 52, 2, false, "DlyInv button"},
    {kMixKnobBitmap, 35, 3535, 101, false, "Mix knob"},
    {kRptInfBitmap, 22, 52, 2, false, "RptInf button"},
    {kDelayDownBitmap, 26, 52, 2, false, "delay down push button"},
    {kDelayUpBitmap, 26, 52, 2, false, "delay up push button"},
    {kDigit1Bitmap, 14, 240, 12, false, "digit 1"},
    {kDigit2Bitmap, 14, 240, 12, false, "digit 2"},
    {kDigit3Bitmap, 15, 240, 12, false, "digit 3"},
    {kDigit4Bitmap, 14, 240, 12, false, "digit 4"},
    {kModeLampsBitmap, 16, 256, 8, false, "mode lamps"},
    {kBypassLampBitmap, 11, 22, 2, false, "bypass lamp"},
    {kLevelMeterBitmap, 7, 903, 21, false, "level meter"},
    {kHiCutBitmap, 23, 52, 2, false, "HiCut button"},
    {kDepthKnobBitmap, 36, 3636, 101, false, "Depth knob"},
    {kManVcoKnobBitmap, 35, 3535, 101, false, "ManVCO knob"},
    {kRateKnobBitmap, 36, 3636, 101, false, "Rate knob"},
    {kWaveformKnobBitmap, 36, 3636, 101, false, "Waveform knob"},
    {kPowerBitmap, 22, 40, 2, false, "Power button"},
    {kModulationLampBitmap, 10, 1010, 101, false, "modulation lamp"},
    {kDlyClkSwitchBitmap, 15, 20, 2, false, "Dly<>Clk switch"},
    {kLoadArrowBitmap, 17, 45, 3, true, "load arrow"},
    {kSaveArrowBitmap, 17, 45, 3, false, "save arrow"},
    {kBankLabelBitmap, 32, 39, 3, false, "bank label button"},
    {kPresetLabelBitmap, 44, 39, 3, false, "preset label button"},
    {kMidiLabelBitmap, 28, 39, 3, false, "MIDI label button"},
    {kRockerBitmap, 30, 65, 5, false, "previous/next rocker"},
    {kLearnBitmap, 24, 48, 3, true, "learn button"},
    {kClearBitmap, 24, 48, 3, false, "clear button"},
};

inline constexpr std::size_t kNumSkinBitmaps = sizeof(kSkinBitmaps) / sizeof(kSkinBitmaps[0]);

// Null when the id is not part of the skin.
inline constexpr const SkinBitmapInfo* findSkinBitmapInfo(int id) {
  for (const SkinBitmapInfo& info : kSkinBitmaps)
    if (info.id == id) return &info;
  return nullptr;
}

// What skinBitmap answers for an id outside the table: nothing to draw.
inline constexpr SkinBitmapInfo kNoSkinBitmap{0, 0, 0, 1, false, "none"};

// Written without pointers so that it stays a constant expression in
// sanitizer builds, which check pointer comparisons.
inline constexpr const SkinBitmapInfo& skinBitmap(SkinBitmapId id) {
  for (const SkinBitmapInfo& info : kSkinBitmaps)
    if (info.id == id) return info;
  return kNoSkinBitmap;
}

}  // namespace layout
