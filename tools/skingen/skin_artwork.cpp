#include "tools/skingen/skin_artwork.h"

#include "tools/skingen/controls.h"
#include "tools/skingen/front_panel.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/panel_layout.h"
#include "tools/skingen/rear_panel.h"

namespace skingen {

namespace {

using namespace layout;

Image copyOf(const Image& source) {
  Image image(source.width(), source.height(), false);
  Painter cr(image);
  copyArea(cr, source, 0, 0, 0, 0, source.width(), source.height());
  return image;
}

// Where each control bitmap sits decides which part of the panel it carries.
Image drawBitmap(const SkinBitmapInfo& info, const FrontPanel& panel) {
  const Image& front = panel.finished;
  const Image& bare = panel.bare;
  switch (info.id) {
    case 128: return copyOf(front);
    case 129: return drawRearPanel();
    case 130: return drawLatchingButton(info, front, kDlyx2, palette::kLedAmber);
    case 131: return drawKnobStrip(info, front, kInput, KnobFamily::Silver);
    case 132: return drawKnobStrip(info, front, kOutput, KnobFamily::Silver);
    case 133: return drawKnobStrip(info, front, kFbck, KnobFamily::Silver);
    case 134: return drawLatchingButton(info, front, kFbInv, palette::kLedAmber);
    case 135: return drawLatchingButton(info, front, kDlyInv, palette::kLedAmber);
    case 136: return drawKnobStrip(info, front, kMix, KnobFamily::Silver);
    case 137: return drawLatchingButton(info, front, kRptInf, palette::kLedRed);
    case 138: return drawStepButton(info, front, kDelayDown, -1);
    case 139: return drawStepButton(info, front, kDelayUp, 1);
    case 140: return drawDigitStrip(info, front, kDigit1);
    case 141: return drawDigitStrip(info, front, kDigit2);
    case 142: return drawDigitStrip(info, front, kDigit3);
    case 143: return drawDigitStrip(info, front, kDigit4);
    case 144: return drawModeLamps(info, front, kModeLamps);
    case 145: return drawBypassLamp(info, front, kBypassLamp);
    case 146: return drawLevelMeter(info, front, kMeter);
    case 147: return drawLatchingButton(info, front, kHiCut, palette::kLedAmber);
    case 148: return drawKnobStrip(info, front, kDepth, KnobFamily::Black);
    case 149: return drawKnobStrip(info, front, kManVCO, KnobFamily::Black);
    case 150: return drawKnobStrip(info, front, kRate, KnobFamily::Black);
    case 151: return drawKnobStrip(info, front, kWaveform, KnobFamily::Black);
    case 152: return drawLatchingButton(info, front, kPower, palette::kLedGreen);
    case 153: return drawModulationLamp(info, front, kModLamp);
    case 155: return drawSlideSwitch(info, front, kDlyClk);
    case 990: return drawArrowButton(info, bare, kLoadBank, true);
    case 991: return drawArrowButton(info, bare, kSaveBank, false);
    case 992: return drawLabelButton(info, bare, kBankLabel, "BANK");
    case 993: return drawLabelButton(info, bare, kPresetLabel, "PRESET");
    case 994: return drawLabelButton(info, bare, kMidiLabel, "MIDI");
    case 995: return drawRocker(info, bare, kRocker);
    case 998: return drawRailSwitchStrip(info, bare, kLearn, "LEARN", palette::kLedAmber);
    case 999: return drawRailSwitchStrip(info, bare, kClear, "CLEAR", palette::kLedRed);
    default: return Image(info.width, info.height, info.hasAlpha);
  }
}

}  // namespace

std::vector<SkinBitmap> drawSkin() {
  const FrontPanel panel = drawFrontPanel();
  std::vector<SkinBitmap> skin;
  skin.reserve(kNumSkinBitmaps);
  for (const SkinBitmapInfo& info : kSkinBitmaps) skin.push_back({&info, drawBitmap(info, panel)});
  return skin;
}

}  // namespace skingen
