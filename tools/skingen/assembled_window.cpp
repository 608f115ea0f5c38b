#include <string>

#include "layout/panel_layout.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/sheets.h"

namespace skingen {

namespace {

using namespace layout;

// The frame each bitmap shows in the picture: display 1250 ms, beat and
// high-cut lamps on, meter at -6 dB, power on, knobs at typical settings;
// everything else in its first frame.
int shownFrame(int bitmap) {
  switch (bitmap) {
    case kDigit1Bitmap: return 1;
    case kDigit2Bitmap: return 2;
    case kDigit3Bitmap: return 5;
    case kModeLampsBitmap: return 5;
    case kModulationLampBitmap: return 70;
    case kInputKnobBitmap:
    case kOutputKnobBitmap:
    case kMixKnobBitmap:
    case kManVcoKnobBitmap:
    case kWaveformKnobBitmap: return 50;
    case kFeedbackKnobBitmap: return 35;
    case kDepthKnobBitmap: return 30;
    case kRateKnobBitmap: return 40;
    case kHiCutBitmap: return 1;
    case kPowerBitmap: return 1;
    case kLevelMeterBitmap: return 15;
    default: return 0;
  }
}

const SkinBitmap* find(const std::vector<SkinBitmap>& skin, int id) {
  for (const SkinBitmap& bitmap : skin)
    if (bitmap.info->id == id) return &bitmap;
  return nullptr;
}

// Approximates the toolkit's small text in a well: dark, centred.
void wellText(cairo_t* cr, const std::string& text, const PanelRect& box) {
  drawText(cr, text, box.centreX(), box.bottom - 3.5, Align::Centre, TextStyle{9, false, 1, 0},
           palette::kWellInk);
}

}  // namespace

Image drawAssembledWindow(const std::vector<SkinBitmap>& skin, int scale) {
  Image window(kWindowWidth, kWindowHeight, false);
  {
    Painter cr(window);
    if (const SkinBitmap* panel = find(skin, kFrontPanelBitmap))
      copyArea(cr, panel->image, 0, 0, 0, 0, kWindowWidth, kWindowHeight);
    for (const BitmapPlacement& placement : kBitmapPlacements) {
      const SkinBitmap* bitmap = find(skin, placement.bitmap);
      if (!bitmap) continue;
      const PanelRect& at = placement.rect;
      const int frameHeight = bitmap->info->frameHeight();
      cairo_save(cr);
      cairo_rectangle(cr, at.left, at.top, bitmap->info->width, frameHeight);
      cairo_clip(cr);
      cairo_set_source_surface(cr, bitmap->image.surface(), at.left,
                               at.top - shownFrame(placement.bitmap) * frameHeight);
      cairo_paint(cr);
      cairo_restore(cr);
    }
    wellText(cr, "default", kNameFieldRect);
    wellText(cr, "not assigned", kControllerDisplayRect);
  }
  if (scale <= 1) return window;
  Image large(kWindowWidth * scale, kWindowHeight * scale, false);
  Painter cr(large);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, window.surface(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  return large;
}

}  // namespace skingen
