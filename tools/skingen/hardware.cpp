#include "tools/skingen/hardware.h"

#include <algorithm>
#include <cmath>

#include "tools/skingen/palette.h"

namespace skingen {

namespace {
constexpr double kTwoPi = 6.283185307179586;
}

void drawScrew(cairo_t* cr, double cx, double cy, double radius, double slotAngle) {
  cairo_save(cr);
  // Drop shadow, then the domed head.
  cairo_arc(cr, cx + 0.5, cy + 0.7, radius + 0.4, 0, kTwoPi);
  setColor(cr, palette::kShadow, 0.55);
  cairo_fill(cr);
  cairo_pattern_t* head =
      cairo_pattern_create_radial(cx - radius * 0.4, cy - radius * 0.45, radius * 0.1, cx, cy, radius);
  cairo_pattern_add_color_stop_rgb(head, 0, 0.93, 0.94, 0.95);
  cairo_pattern_add_color_stop_rgb(head, 0.55, 0.66, 0.68, 0.70);
  cairo_pattern_add_color_stop_rgb(head, 1, 0.30, 0.31, 0.33);
  cairo_arc(cr, cx, cy, radius, 0, kTwoPi);
  cairo_set_source(cr, head);
  cairo_fill(cr);
  cairo_pattern_destroy(head);
  // The cross: dark grooves with a light lower lip.
  const double arm = radius * 0.62;
  for (int i = 0; i < 2; ++i) {
    const double a = slotAngle + i * kTwoPi / 4;
    const double dx = std::cos(a) * arm, dy = std::sin(a) * arm;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, std::max(0.9, radius * 0.28));
    cairo_move_to(cr, cx - dx + 0.3, cy - dy + 0.4);
    cairo_line_to(cr, cx + dx + 0.3, cy + dy + 0.4);
    setColor(cr, palette::kHighlight, 0.35);
    cairo_stroke(cr);
    cairo_move_to(cr, cx - dx, cy - dy);
    cairo_line_to(cr, cx + dx, cy + dy);
    setColor(cr, rgb255(28, 29, 31), 0.9);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

void drawRecess(cairo_t* cr, double x, double y, double w, double h, double radius) {
  cairo_save(cr);
  roundedRect(cr, x, y, w, h, radius);
  cairo_pattern_t* inside = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgb(inside, 0, 0.02, 0.02, 0.03);
  cairo_pattern_add_color_stop_rgb(inside, 1, 0.12, 0.12, 0.13);
  cairo_set_source(cr, inside);
  cairo_fill(cr);
  cairo_pattern_destroy(inside);
  // Lower lip catches the light.
  roundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, radius);
  cairo_set_line_width(cr, 1);
  cairo_pattern_t* lip = cairo_pattern_create_linear(0, y, 0, y + h);
  cairo_pattern_add_color_stop_rgba(lip, 0, 0, 0, 0, 0.6);
  cairo_pattern_add_color_stop_rgba(lip, 1, 1, 1, 1, 0.22);
  cairo_set_source(cr, lip);
  cairo_stroke(cr);
  cairo_pattern_destroy(lip);
  cairo_restore(cr);
}

void drawBezel(cairo_t* cr, double x, double y, double w, double h, double radius) {
  cairo_save(cr);
  cairo_set_line_width(cr, 1);
  roundedRect(cr, x - 0.5, y - 0.5, w + 1, h + 1, radius);
  cairo_pattern_t* rim = cairo_pattern_create_linear(0, y - 1, 0, y + h + 1);
  cairo_pattern_add_color_stop_rgba(rim, 0, 0, 0, 0, 0.75);
  cairo_pattern_add_color_stop_rgba(rim, 0.5, 0, 0, 0, 0.45);
  cairo_pattern_add_color_stop_rgba(rim, 1, 1, 1, 1, 0.30);
  cairo_set_source(cr, rim);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);
  cairo_restore(cr);
}

void drawLamp(cairo_t* cr, double cx, double cy, double radius, Rgb lit, Rgb dark,
              double brightness) {
  const double b = std::clamp(brightness, 0.0, 1.0);
  cairo_save(cr);
  // Halo first, so the lens sits on top of its own light.
  if (b > 0) {
    cairo_pattern_t* halo = cairo_pattern_create_radial(cx, cy, radius * 0.5, cx, cy, radius * 2.6);
    cairo_pattern_add_color_stop_rgba(halo, 0, lit.r, lit.g, lit.b, 0.55 * b);
    cairo_pattern_add_color_stop_rgba(halo, 1, lit.r, lit.g, lit.b, 0);
    cairo_set_source(cr, halo);
    cairo_paint(cr);
    cairo_pattern_destroy(halo);
  }
  // Bezel ring.
  cairo_arc(cr, cx, cy, radius + 0.8, 0, kTwoPi);
  setColor(cr, palette::kShadow, 0.7);
  cairo_fill(cr);
  // Lens: colour from the dark to the lit lamp, hot centre when lit.
  const Rgb body = mix(dark, lit, b);
  const Rgb core = mix(scaled(dark, 1.6), mix(lit, palette::kHighlight, 0.55), b);
  cairo_pattern_t* lens = cairo_pattern_create_radial(cx - radius * 0.25, cy - radius * 0.25, 0,
                                                      cx, cy, radius);
  cairo_pattern_add_color_stop_rgb(lens, 0, core.r, core.g, core.b);
  cairo_pattern_add_color_stop_rgb(lens, 0.6, body.r, body.g, body.b);
  const Rgb rim = scaled(body, 0.6);
  cairo_pattern_add_color_stop_rgb(lens, 1, rim.r, rim.g, rim.b);
  cairo_arc(cr, cx, cy, radius, 0, kTwoPi);
  cairo_set_source(cr, lens);
  cairo_fill(cr);
  cairo_pattern_destroy(lens);
  // Specular glint.
  cairo_arc(cr, cx - radius * 0.35, cy - radius * 0.38, radius * 0.28, 0, kTwoPi);
  setColor(cr, palette::kHighlight, 0.25 + 0.4 * b);
  cairo_fill(cr);
  cairo_restore(cr);
}

void drawBarLamp(cairo_t* cr, double x, double y, double w, double h, Rgb lit, Rgb dark,
                 double brightness) {
  const double b = std::clamp(brightness, 0.0, 1.0);
  cairo_save(cr);
  const Rgb body = mix(dark, lit, b);
  const Rgb core = mix(scaled(dark, 1.5), mix(lit, palette::kHighlight, 0.5), b);
  cairo_pattern_t* lens = cairo_pattern_create_linear(x, y, x, y + h);
  cairo_pattern_add_color_stop_rgb(lens, 0, core.r, core.g, core.b);
  cairo_pattern_add_color_stop_rgb(lens, 0.5, body.r, body.g, body.b);
  const Rgb rim = scaled(body, 0.7);
  cairo_pattern_add_color_stop_rgb(lens, 1, rim.r, rim.g, rim.b);
  roundedRect(cr, x, y, w, h, 1.2);
  cairo_set_source(cr, lens);
  cairo_fill(cr);
  cairo_pattern_destroy(lens);
  cairo_rectangle(cr, x + 1, y + 0.8, w - 2, 1);
  setColor(cr, palette::kHighlight, 0.18 + 0.3 * b);
  cairo_fill(cr);
  cairo_restore(cr);
}

void drawTriangle(cairo_t* cr, double cx, double cy, double size, int direction) {
  const double half = size / 2;
  const double tip = direction > 0 ? cy - half * 0.87 : cy + half * 0.87;
  const double base = direction > 0 ? cy + half * 0.87 : cy - half * 0.87;
  cairo_move_to(cr, cx, tip);
  cairo_line_to(cr, cx + half, base);
  cairo_line_to(cr, cx - half, base);
  cairo_close_path(cr);
  cairo_fill(cr);
}

}  // namespace skingen
