#include "tools/skingen/skin_artwork.h"

#include "layout/panel_layout.h"
#include "tools/skingen/controls.h"
#include "tools/skingen/front_panel.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/rear_panel.h"

namespace skingen {

namespace {

using namespace layout;

Image copyOf(const Image& source) {
  Image image(source.width(), source.height(), false, source.zoom());
  Painter cr(image);
  copyWhole(cr, source);
  return image;
}

// Where each control bitmap sits decides which part of the panel it carries:
// the finished plate under the front panel's controls, the bare plate (the
// rail without its lettering) under the preset bar's.
Image drawBitmap(const SkinBitmapInfo& info, const FrontPanel& panel) {
  const Image& front = panel.finished;
  const Image& bare = panel.bare;
  const PanelRect at = firstPlacementOf(static_cast<SkinBitmapId>(info.id));
  switch (info.id) {
    case kFrontPanelBitmap: return copyOf(front);
    case kRearPanelBitmap: return drawRearPanel(front.zoom());
    case kDlyx2Bitmap: return drawLatchingButton(info, front, at, palette::kLedAmber);
    case kInputKnobBitmap: return drawKnobStrip(info, front, at, KnobFamily::Silver);
    case kOutputKnobBitmap: return drawKnobStrip(info, front, at, KnobFamily::Silver);
    case kFeedbackKnobBitmap: return drawKnobStrip(info, front, at, KnobFamily::Silver);
    case kFbInvBitmap: return drawLatchingButton(info, front, at, palette::kLedAmber);
    case kDlyInvBitmap: return drawLatchingButton(info, front, at, palette::kLedAmber);
    case kMixKnobBitmap: return drawKnobStrip(info, front, at, KnobFamily::Silver);
    case kRptInfBitmap: return drawLatchingButton(info, front, at, palette::kLedRed);
    case kDelayDownBitmap: return drawStepButton(info, front, at, -1);
    case kDelayUpBitmap: return drawStepButton(info, front, at, 1);
    case kDigit1Bitmap:
    case kDigit2Bitmap:
    case kDigit3Bitmap:
    case kDigit4Bitmap: return drawDigitStrip(info, front, at);
    case kModeLampsBitmap: return drawModeLamps(info, front, at);
    case kBypassLampBitmap: return drawBypassLamp(info, front, at);
    case kLevelMeterBitmap: return drawLevelMeter(info, front, at);
    case kHiCutBitmap: return drawLatchingButton(info, front, at, palette::kLedAmber);
    case kDepthKnobBitmap: return drawKnobStrip(info, front, at, KnobFamily::Black);
    case kManVcoKnobBitmap: return drawKnobStrip(info, front, at, KnobFamily::Black);
    case kRateKnobBitmap: return drawKnobStrip(info, front, at, KnobFamily::Black);
    case kWaveformKnobBitmap: return drawKnobStrip(info, front, at, KnobFamily::Black);
    case kPowerBitmap: return drawLatchingButton(info, front, at, palette::kLedGreen);
    case kModulationLampBitmap: return drawModulationLamp(info, front, at);
    case kDlyClkSwitchBitmap: return drawSlideSwitch(info, front, at);
    case kLoadArrowBitmap: return drawArrowButton(info, bare, at, true);
    case kSaveArrowBitmap: return drawArrowButton(info, bare, at, false);
    case kBankLabelBitmap: return drawLabelButton(info, bare, at, "BANK");
    case kPresetLabelBitmap: return drawLabelButton(info, bare, at, "PRESET");
    case kMidiLabelBitmap: return drawLabelButton(info, bare, at, "MIDI");
    case kRockerBitmap: return drawRocker(info, bare, at);
    case kLearnBitmap: return drawRailSwitchStrip(info, bare, at, "LEARN", palette::kLedAmber);
    case kClearBitmap: return drawRailSwitchStrip(info, bare, at, "CLEAR", palette::kLedRed);
    default: return Image(info.width, info.height, info.hasAlpha, front.zoom());
  }
}

}  // namespace

std::vector<SkinBitmap> drawSkin(double zoom) {
  const FrontPanel panel = drawFrontPanel(zoom);
  std::vector<SkinBitmap> skin;
  skin.reserve(kNumSkinBitmaps);
  for (const SkinBitmapInfo& info : kSkinBitmaps) skin.push_back({&info, drawBitmap(info, panel)});
  return skin;
}

}  // namespace skingen
