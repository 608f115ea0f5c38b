// The rail along the bottom of the front plate that carries the preset bar.
#include <cmath>
#include <string>

#include "layout/panel_layout.h"
#include "tools/skingen/front_panel.h"
#include "tools/skingen/hardware.h"
#include "tools/skingen/palette.h"

namespace skingen {

namespace {

using namespace layout;

constexpr double kRailLeft = 27, kRailRight = 843, kRailTop = 83;
const TextStyle kRailText{8.8, true, 0.8, 0.4};   // capitals 6 pixels tall at 1×
const TextStyle kRailNote{7.4, true, 0.84, 0.6};  // the MEMORY note between the groups
const TextStyle kRailSmall{4.8, true, 0.9, 0.4};  // on the small LEARN and CLEAR keys

void drawWell(cairo_t* cr, const PanelRect& box, Rgb colour) {
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, box.top, 0, box.bottom);
  const Rgb top = scaled(colour, 0.93);
  cairo_pattern_add_color_stop_rgb(fill, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(fill, 0.3, colour.r, colour.g, colour.b);
  cairo_pattern_add_color_stop_rgb(fill, 1, colour.r, colour.g, colour.b);
  cairo_rectangle(cr, box.left, box.top, box.width(), box.height());
  cairo_set_source(cr, fill);
  cairo_fill(cr);
  cairo_pattern_destroy(fill);
  drawBezel(cr, box.left, box.top, box.width(), box.height(), 0);
}

// The program menu has no drawing of its own: the plate shows its drop-down symbol.
void drawMenuSymbol(cairo_t* cr) {
  const PanelRect& m = kMenuRect;
  drawWell(cr, m, scaled(palette::kWell, 0.86));
  fillRect(cr, m.left, m.top, 1, m.height(), palette::kWellInk, 0.55);
  setColor(cr, palette::kWellInk);
  drawTriangle(cr, m.centreX() + 0.5, m.centreY() + 0.5, 6.5, -1);
}

}  // namespace

void drawPresetRail(cairo_t* cr) {
  const double w = kRailRight - kRailLeft;
  const double h = kWindowHeight - kRailTop;
  // Shadow on the plate above, then the black rail with softly rounded top.
  roundedRect(cr, kRailLeft - 1, kRailTop - 1.5, w + 2, h + 6, 3.5);
  setColor(cr, palette::kShadow, 0.45);
  cairo_fill(cr);
  roundedRect(cr, kRailLeft, kRailTop, w, h + 5, 3);
  cairo_pattern_t* rail = cairo_pattern_create_linear(0, kRailTop, 0, kWindowHeight);
  const Rgb top = scaled(palette::kBarFace, 1.45), bottom = scaled(palette::kBarFace, 0.8);
  cairo_pattern_add_color_stop_rgb(rail, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(rail, 0.35, palette::kBarFace.r, palette::kBarFace.g,
                                   palette::kBarFace.b);
  cairo_pattern_add_color_stop_rgb(rail, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, rail);
  cairo_fill(cr);
  cairo_pattern_destroy(rail);
  fillRect(cr, kRailLeft + 3, kRailTop, w - 6, 1, palette::kHighlight, 0.16);

  drawWell(cr, kNameFieldRect, palette::kWell);
  drawMenuSymbol(cr);
  drawWell(cr, kControllerDisplayRect, palette::kWell);
}

void drawRailLabel(cairo_t* cr, const std::string& text, double x, double y, double w, double h,
                   RailState state) {
  const double cx = x + w / 2, baseline = std::round(y + h / 2 + 3);
  switch (state) {
    case RailState::Idle:
      drawText(cr, text, cx, baseline, Align::Centre, kRailText, palette::kBarPrint);
      break;
    case RailState::Pointed:
      drawText(cr, text, cx, baseline, Align::Centre, kRailText, palette::kHighlight);
      fillRect(cr, cx - textWidth(cr, text, kRailText) / 2, baseline + 1.5,
               textWidth(cr, text, kRailText), 0.8, palette::kAccent);
      break;
    case RailState::Pressed:
      roundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, 2);
      setColor(cr, palette::kBarPrint);
      cairo_fill(cr);
      drawText(cr, text, cx, baseline + 0.5, Align::Centre, kRailText, palette::kBarFace);
      break;
  }
}

void drawRailSwitch(cairo_t* cr, const std::string& text, double x, double y, double w, double h,
                    Rgb lamp, bool pointed, bool on) {
  // A small square key with a lamp stripe along its top edge.
  roundedRect(cr, x + 1, y + 1, w - 2, h - 2, 2);
  setColor(cr, palette::kShadow, 0.8);
  cairo_fill(cr);
  roundedRect(cr, x + 1.5, y + 1.5, w - 3, h - 3.5, 1.6);
  cairo_pattern_t* cap = cairo_pattern_create_linear(0, y, 0, y + h);
  const Rgb face = pointed ? rgb255(78, 80, 84) : rgb255(58, 60, 63);
  const Rgb low = scaled(face, 0.7);
  cairo_pattern_add_color_stop_rgb(cap, 0, face.r, face.g, face.b);
  cairo_pattern_add_color_stop_rgb(cap, 1, low.r, low.g, low.b);
  cairo_set_source(cr, cap);
  cairo_fill(cr);
  cairo_pattern_destroy(cap);
  drawBarLamp(cr, x + 4, y + 3, w - 8, 2.2, lamp, scaled(lamp, 0.22), on ? 1.0 : 0.0);
  drawText(cr, text, x + w / 2, y + h - 4, Align::Centre, kRailSmall,
           pointed || on ? palette::kHighlight : palette::kBarPrint);
}

void printPresetRail(cairo_t* cr) {
  auto railLabel = [cr](const char* text, const PanelRect& b) {
    drawRailLabel(cr, text, b.left, b.top, b.width(), b.height(), RailState::Idle);
  };
  railLabel("BANK", kBankLabelRect);
  railLabel("PRESET", kPresetLabelRect);
  railLabel("MIDI", kMidiLabelRect);
  drawText(cr, "A", (kStoreMemoARect.right + kRecallMemoARect.left) / 2.0, 96, Align::Centre, kRailText,
           palette::kBarPrint);
  drawText(cr, "B", (kStoreMemoBRect.right + kRecallMemoBRect.left) / 2.0, 96, Align::Centre, kRailText,
           palette::kBarPrint);
  drawText(cr, "MEMORY", (kRecallMemoBRect.right + kSaveMidiRect.left) / 2.0, 96, Align::Centre, kRailNote,
           scaled(palette::kBarPrint, 0.7));
  drawRailSwitch(cr, "LEARN", kLearnRect.left, kLearnRect.top, kLearnRect.width(), kLearnRect.height(),
                 palette::kLedAmber, false, false);
  drawRailSwitch(cr, "CLEAR", kClearRect.left, kClearRect.top, kClearRect.width(), kClearRect.height(),
                 palette::kLedRed, false, false);
}

}  // namespace skingen
