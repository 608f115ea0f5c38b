// Where every control of the window sits, in 1× window pixels: the front
// panel and the preset bar along its bottom. The editor places its controls
// by these rectangles, and the skin generator arranges the panel's printing
// around them and copies the panel under each into the opaque control
// bitmaps, so both must read the same numbers.
#pragma once

#include "layout/panel_rect.h"
#include "layout/skin_bitmaps.h"

namespace layout {

constexpr int kWindowWidth = 870;
constexpr int kWindowHeight = 101;
constexpr PanelRect kWindowRect{0, 0, kWindowWidth, kWindowHeight};

// ---- Front panel ----

// The four-digit display and the lamps.
constexpr PanelRect kDigit1Rect{511, 32, 525, 52};
constexpr PanelRect kDigit2Rect{528, 32, 542, 52};
constexpr PanelRect kDigit3Rect{545, 32, 560, 52};
constexpr PanelRect kDigit4Rect{563, 32, 577, 52};
constexpr PanelRect kModeLampsRect{577, 26, 593, 58};
constexpr PanelRect kBypassLampRect{341, 59, 352, 70};
constexpr PanelRect kModulationLampRect{786, 61, 796, 71};
constexpr PanelRect kLevelMeterRect{41, 21, 48, 64};

// Knobs.
constexpr PanelRect kInputKnobRect{109, 25, 144, 60};
constexpr PanelRect kOutputKnobRect{154, 25, 189, 60};
constexpr PanelRect kFeedbackKnobRect{200, 25, 235, 60};
constexpr PanelRect kMixKnobRect{352, 25, 387, 60};
constexpr PanelRect kManVcoKnobRect{616, 25, 651, 60};
constexpr PanelRect kDepthKnobRect{661, 25, 697, 61};
constexpr PanelRect kWaveformKnobRect{706, 25, 742, 61};
constexpr PanelRect kRateKnobRect{752, 25, 788, 61};

// Latching buttons and the Dly<>Clk switch.
constexpr PanelRect kHiCutRect{247, 44, 270, 70};
constexpr PanelRect kFbInvRect{276, 44, 297, 70};
constexpr PanelRect kDlyInvRect{306, 44, 327, 70};
constexpr PanelRect kRptInfRect{399, 44, 421, 70};
constexpr PanelRect kDlyx2Rect{74, 45, 95, 65};
constexpr PanelRect kPowerRect{818, 45, 840, 65};
constexpr PanelRect kDlyClkRect{457, 23, 472, 33};

// Delay entry: the two push buttons and the drag strips, which have no bitmap.
constexpr PanelRect kDelayDownRect{431, 33, 457, 59};
constexpr PanelRect kDelayUpRect{470, 33, 496, 59};
constexpr PanelRect kSmallStripRect{458, 34, 470, 59};  // between the push buttons
constexpr PanelRect kDigitStripRect{505, 27, 591, 57};  // over the digits and mode lamps

// The about badge; its picture covers the whole window and carries the
// version text from this point.
constexpr PanelRect kAboutRect{806, 15, 867, 39};
constexpr PanelPoint kVersionAnchor{520, 57};

// ---- Preset bar ----

// The bar's texts (name field, controller display) are set in this size.
constexpr int kBarFontSize = 9;

// The name field is laid out on the bar, then fitted to its font: the font
// height and two pixels above and below, centred where it was laid out.
constexpr PanelRect kNameFieldLayoutRect{208, 86, 320, 101};
constexpr PanelRect fittedToFont(const PanelRect& r, int fontSize) {
  return {r.left, (r.top + r.bottom - fontSize) / 2 - 2, r.right,
          (r.top + r.bottom + fontSize) / 2 + 2};
}
static_assert((kNameFieldLayoutRect.top + kNameFieldLayoutRect.bottom - kBarFontSize) % 2 == 0,
              "the fitted name field lies on whole pixels");
constexpr PanelRect kNameFieldRect = fittedToFont(kNameFieldLayoutRect, kBarFontSize);

// The wells of the name field and the controller display: the plate prints
// them in this colour, and the editor's text controls fill and write on them.
struct PanelColour {
  int red, green, blue;
};
constexpr PanelColour kWellColour{189, 207, 218};
constexpr PanelColour kWellInkColour{36, 36, 32};

constexpr PanelRect kMenuRect{320, 87, 333, 99};
constexpr PanelRect kRockerRect{340, 86, 370, 99};
constexpr PanelRect kLoadBankRect{85, 86, 102, 101};
constexpr PanelRect kSaveBankRect{34, 86, 51, 101};
constexpr PanelRect kBankLabelRect{51, 86, 83, 99};
constexpr PanelRect kLoadPresetRect{177, 86, 194, 101};
constexpr PanelRect kSavePresetRect{114, 86, 131, 101};
constexpr PanelRect kPresetLabelRect{132, 86, 176, 99};
constexpr PanelRect kRecallMemoARect{421, 86, 438, 101};
constexpr PanelRect kStoreMemoARect{388, 86, 405, 101};
constexpr PanelRect kRecallMemoBRect{486, 86, 503, 101};
constexpr PanelRect kStoreMemoBRect{452, 86, 469, 101};
constexpr PanelRect kControllerDisplayRect{690, 87, 780, 99};
constexpr PanelRect kLearnRect{788, 85, 812, 101};
constexpr PanelRect kLoadMidiRect{658, 86, 675, 101};
constexpr PanelRect kSaveMidiRect{610, 86, 627, 101};
constexpr PanelRect kMidiLabelRect{628, 86, 656, 99};
constexpr PanelRect kClearRect{813, 85, 837, 101};

// ---- Which bitmap each control shows ----

struct BitmapPlacement {
  SkinBitmapId bitmap;
  PanelRect rect;
};

// Every control that shows a skin bitmap, in the order the editor creates
// them (later ones lie over earlier ones). A bitmap used by several controls
// is drawn with the panel under its first placement.
inline constexpr BitmapPlacement kBitmapPlacements[] = {
    {kDigit1Bitmap, kDigit1Rect},
    {kDigit2Bitmap, kDigit2Rect},
    {kDigit3Bitmap, kDigit3Rect},
    {kDigit4Bitmap, kDigit4Rect},
    {kModeLampsBitmap, kModeLampsRect},
    {kBypassLampBitmap, kBypassLampRect},
    {kModulationLampBitmap, kModulationLampRect},
    {kInputKnobBitmap, kInputKnobRect},
    {kOutputKnobBitmap, kOutputKnobRect},
    {kFeedbackKnobBitmap, kFeedbackKnobRect},
    {kMixKnobBitmap, kMixKnobRect},
    {kManVcoKnobBitmap, kManVcoKnobRect},
    {kDepthKnobBitmap, kDepthKnobRect},
    {kHiCutBitmap, kHiCutRect},
    {kWaveformKnobBitmap, kWaveformKnobRect},
    {kRateKnobBitmap, kRateKnobRect},
    {kFbInvBitmap, kFbInvRect},
    {kDlyInvBitmap, kDlyInvRect},
    {kRptInfBitmap, kRptInfRect},
    {kDlyx2Bitmap, kDlyx2Rect},
    {kPowerBitmap, kPowerRect},
    {kDlyClkSwitchBitmap, kDlyClkRect},
    {kDelayDownBitmap, kDelayDownRect},
    {kDelayUpBitmap, kDelayUpRect},
    {kLevelMeterBitmap, kLevelMeterRect},
    {kRockerBitmap, kRockerRect},
    {kLoadArrowBitmap, kLoadBankRect},
    {kSaveArrowBitmap, kSaveBankRect},
    {kBankLabelBitmap, kBankLabelRect},
    {kLoadArrowBitmap, kLoadPresetRect},
    {kSaveArrowBitmap, kSavePresetRect},
    {kPresetLabelBitmap, kPresetLabelRect},
    {kLoadArrowBitmap, kRecallMemoARect},
    {kSaveArrowBitmap, kStoreMemoARect},
    {kLoadArrowBitmap, kRecallMemoBRect},
    {kSaveArrowBitmap, kStoreMemoBRect},
    {kLearnBitmap, kLearnRect},
    {kLoadArrowBitmap, kLoadMidiRect},
    {kSaveArrowBitmap, kSaveMidiRect},
    {kMidiLabelBitmap, kMidiLabelRect},
    {kClearBitmap, kClearRect},
};

// The rectangle of the first control that shows bitmap; an empty rectangle
// for the two panels, which fill the window, and for unknown ids.
inline constexpr PanelRect firstPlacementOf(SkinBitmapId bitmap) {
  for (const BitmapPlacement& placement : kBitmapPlacements)
    if (placement.bitmap == bitmap) return placement.rect;
  return {0, 0, 0, 0};
}

}  // namespace layout
