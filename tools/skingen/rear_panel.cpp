#include "tools/skingen/rear_panel.h"

#include <cmath>

#include "layout/panel_layout.h"
#include "tools/skingen/front_panel.h"
#include "tools/skingen/hardware.h"
#include "tools/skingen/palette.h"

namespace skingen {

using namespace layout;

namespace {

constexpr unsigned kRearSeed = 7;
constexpr double kTwoPi = 6.283185307179586;
const TextStyle kRearLabel{6.0, true, 0.9, 0.6};
const TextStyle kRearSmall{4.8, true, 0.9, 0.3};
const Rgb kRearPrint = rgb255(236, 236, 232);

void print(cairo_t* cr, const char* text, double x, double y, const TextStyle& style = kRearLabel,
           Align align = Align::Centre) {
  drawText(cr, text, x, y, align, style, kRearPrint);
}

// A quarter-inch jack socket: hex nut, washer and the dark hole.
void drawJack(cairo_t* cr, double cx, double cy) {
  cairo_save(cr);
  cairo_new_path(cr);
  for (int i = 0; i < 6; ++i) {
    const double a = kTwoPi * i / 6 + kTwoPi / 12;
    cairo_line_to(cr, cx + 8.2 * std::cos(a) + 0.6, cy + 8.2 * std::sin(a) + 1.0);
  }
  cairo_close_path(cr);
  setColor(cr, palette::kShadow, 0.55);
  cairo_fill(cr);
  for (int i = 0; i < 6; ++i) {
    const double a = kTwoPi * i / 6 + kTwoPi / 12;
    cairo_line_to(cr, cx + 8.2 * std::cos(a), cy + 8.2 * std::sin(a));
  }
  cairo_close_path(cr);
  cairo_pattern_t* nut = cairo_pattern_create_linear(cx - 8, cy - 8, cx + 8, cy + 8);
  cairo_pattern_add_color_stop_rgb(nut, 0, 0.88, 0.89, 0.90);
  cairo_pattern_add_color_stop_rgb(nut, 1, 0.42, 0.43, 0.45);
  cairo_set_source(cr, nut);
  cairo_fill(cr);
  cairo_pattern_destroy(nut);
  cairo_arc(cr, cx, cy, 5.4, 0, kTwoPi);
  setColor(cr, rgb255(150, 152, 156));
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, 3.4, 0, kTwoPi);
  setColor(cr, rgb255(8, 8, 9));
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, 3.4, kTwoPi * 0.55, kTwoPi * 0.95);
  setColor(cr, palette::kHighlight, 0.25);
  cairo_set_line_width(cr, 0.7);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void drawPowerInlet(cairo_t* cr) {
  // Mains inlet with its keyed outline, then the fuse holder.
  drawRecess(cr, 34, 30, 36, 28, 3);
  cairo_new_path(cr);
  cairo_move_to(cr, 40, 35);
  cairo_line_to(cr, 64, 35);
  cairo_line_to(cr, 64, 47);
  cairo_line_to(cr, 58, 53);
  cairo_line_to(cr, 46, 53);
  cairo_line_to(cr, 40, 47);
  cairo_close_path(cr);
  setColor(cr, rgb255(30, 30, 32));
  cairo_fill(cr);
  for (double x : {45.0, 52.0, 59.0}) fillRect(cr, x - 1, 40, 2, 6, rgb255(150, 150, 140));
  print(cr, "AC INPUT", 52, 25);
  print(cr, "100\u2013240 V~ 50/60 Hz", 52, 66, kRearSmall);

  constexpr double kFuseX = 100, kFuseY = 44;
  cairo_arc(cr, kFuseX, kFuseY, 8, 0, kTwoPi);
  setColor(cr, rgb255(20, 20, 22));
  cairo_fill(cr);
  cairo_arc(cr, kFuseX, kFuseY, 5.5, 0, kTwoPi);
  setColor(cr, rgb255(48, 48, 52));
  cairo_fill(cr);
  fillRect(cr, kFuseX - 4, kFuseY - 0.8, 8, 1.6, rgb255(14, 14, 16));
  print(cr, "FUSE", kFuseX, 25);
  print(cr, "T 500 mA", kFuseX, 66, kRearSmall);
}

void drawVents(cairo_t* cr) {
  for (int i = 0; i < 15; ++i) drawRecess(cr, 130 + i * 8, 24, 4.5, 42, 2.25);
}

void drawConnectors(cairo_t* cr) {
  struct Group { const char* name; double x; };
  const Group groups[] = {{"OUTPUT", 288}, {"INPUT", 360}};
  for (const Group& g : groups) {
    drawJack(cr, g.x, 44);
    drawJack(cr, g.x + 30, 44);
    print(cr, "R", g.x, 30);
    print(cr, "L", g.x + 30, 30);
    print(cr, g.name, g.x + 15, 66);
    fillRect(cr, g.x - 8, 70, 46, 0.8, kRearPrint, 0.8);
  }
  drawJack(cr, 438, 44);
  print(cr, "REPEAT", 438, 30);
  print(cr, "FOOTSWITCH", 438, 66, kRearSmall);
}

void drawCaution(cairo_t* cr) {
  const double x = 478, y = 20;
  cairo_move_to(cr, x + 7, y);
  cairo_line_to(cr, x + 14, y + 12);
  cairo_line_to(cr, x, y + 12);
  cairo_close_path(cr);
  setColor(cr, kRearPrint);
  cairo_fill(cr);
  drawText(cr, "!", x + 7, y + 11, Align::Centre, TextStyle{8, true, 1, 0}, rgb255(40, 40, 40));
  print(cr, "CAUTION: RISK OF ELECTRIC SHOCK.", x + 20, y + 5.5, kRearSmall, Align::Left);
  print(cr, "DO NOT OPEN. NO USER-SERVICEABLE PARTS INSIDE.", x + 20, y + 12, kRearSmall,
        Align::Left);
  // The about picture prints the software version to the right of this label.
  print(cr, "SOFTWARE", kVersionAnchor.x - 5, kVersionAnchor.y + 10, kRearLabel, Align::Right);
}

void drawSerialPlate(cairo_t* cr) {
  const double x = 660, y = 20, w = 132, h = 56;
  roundedRect(cr, x + 0.6, y + 1, w, h, 2);
  setColor(cr, palette::kShadow, 0.5);
  cairo_fill(cr);
  roundedRect(cr, x, y, w, h, 2);
  cairo_pattern_t* foil = cairo_pattern_create_linear(x, y, x + w, y + h);
  cairo_pattern_add_color_stop_rgb(foil, 0, 0.84, 0.85, 0.84);
  cairo_pattern_add_color_stop_rgb(foil, 1, 0.66, 0.67, 0.66);
  cairo_set_source(cr, foil);
  cairo_fill(cr);
  cairo_pattern_destroy(foil);
  const Rgb ink = rgb255(30, 30, 32);
  drawText(cr, "MARLOW", x + 8, y + 11, Align::Left, TextStyle{6, true, 1, 1.4}, ink);
  fillRect(cr, x + 8, y + 14, w - 16, 0.8, palette::kAccent);
  drawText(cr, "HALDEN", x + 8, y + 27, Align::Left, TextStyle{11, true, 0.92, 0.8}, ink);
  drawText(cr, "STEREO VCO DIGITAL DELAY", x + 8, y + 36, Align::Left, kRearSmall, ink);
  drawText(cr, "SERIAL No.  HD 01661", x + 8, y + 45, Align::Left, kRearSmall, ink);
  drawText(cr, "ASSEMBLED AND TESTED BY HAND", x + 8, y + 52, Align::Left, kRearSmall, ink);
}

}  // namespace

Image drawRearPanel(double zoom) {
  Image image(kWindowWidth, kWindowHeight, false, zoom);
  paintPlateTexture(image, kRearSeed);
  Painter cr(image);
  // The rear is darker raw steel: deepen the brushed plate.
  fillRect(cr, 0, 0, kWindowWidth, kWindowHeight, rgb255(8, 9, 10), 0.45);
  fillRect(cr, 0, 0, kWindowWidth, 1, palette::kHighlight, 0.2);
  fillRect(cr, 0, kWindowHeight - 1, kWindowWidth, 1, palette::kShadow, 0.5);
  for (double x : {12.0, 240.0, 460.0, 630.0, 858.0}) {
    drawScrew(cr, x, 8, 3.2, 0.4 + x * 0.01);
    drawScrew(cr, x, kWindowHeight - 9, 3.2, 1.1 + x * 0.01);
  }
  drawPowerInlet(cr);
  drawVents(cr);
  drawConnectors(cr);
  drawCaution(cr);
  drawSerialPlate(cr);
  print(cr, "CONNECT ONLY TO A GROUNDED OUTLET.  ALLOW FREE AIRFLOW.", 726, 88, kRearSmall);
  return image;
}

}  // namespace skingen
