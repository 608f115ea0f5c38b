// The preset bar's bitmaps. Frames: idle, pointed at, pressed (or on).
#include "tools/skingen/controls.h"
#include "tools/skingen/front_panel.h"
#include "tools/skingen/hardware.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/strip.h"

namespace skingen {

using namespace layout;

namespace {

// A chunky arrow; load arrows point down into the unit, save arrows up and out.
void arrowPath(cairo_t* cr, double cx, double cy, double w, double h, int direction) {
  const double shaft = w * 0.36, head = h * 0.5;
  const double sign = direction > 0 ? -1 : 1;  // +1 points up
  const double tip = cy + sign * h / 2, neck = tip - sign * head, tail = cy - sign * h / 2;
  cairo_move_to(cr, cx, tip);
  cairo_line_to(cr, cx + w / 2, neck);
  cairo_line_to(cr, cx + shaft / 2, neck);
  cairo_line_to(cr, cx + shaft / 2, tail);
  cairo_line_to(cr, cx - shaft / 2, tail);
  cairo_line_to(cr, cx - shaft / 2, neck);
  cairo_line_to(cr, cx - w / 2, neck);
  cairo_close_path(cr);
}

}  // namespace

Image drawArrowButton(const SkinBitmapInfo& info, const Image& barePanel, PanelRect at, bool load) {
  const Rgb colour = load ? palette::kArrowGreen : palette::kArrowRed;
  const int direction = load ? -1 : 1;
  return drawStrip(info, &barePanel, at, [&](cairo_t* cr, int frame) {
    const double w = info.width, h = info.frameHeight();
    const bool pointed = frame == 1, pressed = frame == 2;
    const double cx = w / 2, cy = h / 2 + (pressed ? 0.8 : 0);
    if (pointed) {
      cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 1, cx, cy, w / 2);
      cairo_pattern_add_color_stop_rgba(glow, 0, colour.r, colour.g, colour.b, 0.45);
      cairo_pattern_add_color_stop_rgba(glow, 1, colour.r, colour.g, colour.b, 0);
      cairo_set_source(cr, glow);
      cairo_paint(cr);
      cairo_pattern_destroy(glow);
    }
    arrowPath(cr, cx + 0.4, cy + 0.8, 9, 10, direction);
    setColor(cr, palette::kShadow, 0.8);
    cairo_fill(cr);
    arrowPath(cr, cx, cy, 9, 10, direction);
    const Rgb face = pressed ? scaled(colour, 0.7) : pointed ? mix(colour, palette::kHighlight, 0.3) : colour;
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, cy - 5, 0, cy + 5);
    const Rgb top = mix(face, palette::kHighlight, 0.35), bottom = scaled(face, 0.75);
    cairo_pattern_add_color_stop_rgb(fill, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(fill, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    setColor(cr, scaled(colour, 0.4), 0.9);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
  });
}

Image drawLabelButton(const SkinBitmapInfo& info, const Image& barePanel, PanelRect at,
                      const char* text) {
  const RailState states[] = {RailState::Idle, RailState::Pointed, RailState::Pressed};
  return drawStrip(info, &barePanel, at, [&](cairo_t* cr, int frame) {
    drawRailLabel(cr, text, 0, 0, info.width, info.frameHeight(), states[frame]);
  });
}

Image drawRocker(const SkinBitmapInfo& info, const Image& barePanel, PanelRect at) {
  // 0 idle, 1 left half pointed at, 2 right half pointed at, 3 left pressed, 4 right pressed.
  return drawStrip(info, &barePanel, at, [&](cairo_t* cr, int frame) {
    const double w = info.width, h = info.frameHeight(), half = w / 2;
    roundedRect(cr, 0.5, 0.5, w - 1, h - 1, 3);
    setColor(cr, palette::kShadow, 0.85);
    cairo_fill(cr);
    for (int side = 0; side < 2; ++side) {
      const bool pointed = frame == 1 + side, pressed = frame == 3 + side;
      const double x = side == 0 ? 1.5 : half + 0.5;
      roundedRect(cr, x, 1.5 + (pressed ? 0.6 : 0), half - 2, h - 3.2, 2);
      const Rgb face = pressed ? palette::kBarPrint : pointed ? rgb255(84, 86, 90) : rgb255(56, 58, 61);
      setColor(cr, face);
      cairo_fill(cr);
      cairo_save(cr);
      const double cx = x + (half - 2) / 2, cy = h / 2 + (pressed ? 0.6 : 0);
      cairo_translate(cr, cx, cy);
      cairo_rotate(cr, side == 0 ? -1.5707963 : 1.5707963);
      setColor(cr, pressed ? palette::kBarFace : pointed ? palette::kHighlight : palette::kBarPrint);
      drawTriangle(cr, 0, 0, 6, 1);
      cairo_restore(cr);
    }
  });
}

Image drawRailSwitchStrip(const SkinBitmapInfo& info, const Image& barePanel, PanelRect at,
                          const char* text, Rgb lamp) {
  // Frames: off, off and pointed at, on.
  return drawStrip(info, &barePanel, at, [&](cairo_t* cr, int frame) {
    drawRailSwitch(cr, text, 0, 0, info.width, info.frameHeight(), lamp, frame == 1, frame == 2);
  });
}

}  // namespace skingen
