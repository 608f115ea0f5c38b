// Knob film strips: 101 frames, the pointer sweeping 300 degrees from the
// minimum at seven o'clock to the maximum at five o'clock.
#include <cmath>

#include "tools/skingen/controls.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/strip.h"

namespace skingen {

using namespace layout;

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kSweep = 300.0 * kPi / 180.0;
constexpr double kStartAngle = -kSweep / 2;  // from twelve o'clock, clockwise
constexpr int kScaleTicks = 11;
constexpr int kKnurls = 36;
constexpr double kLightAngle = -2.2;  // light from the upper left (screen angle)

struct KnobLook {
  Rgb capLight, capDark;  // anisotropic sheen of the cap
  Rgb pointer;
  double skirtRadius, capRadius;
};

KnobLook lookOf(KnobFamily family, double size) {
  const double skirt = size / 2 - 4.3;
  if (family == KnobFamily::Silver)
    return {rgb255(236, 237, 236), rgb255(120, 122, 124), rgb255(20, 20, 22), skirt, skirt - 3.1};
  return {rgb255(92, 94, 98), rgb255(26, 27, 29), palette::kAccent, skirt, skirt - 3.1};
}

// Screen direction of knob angle a (0 = up, clockwise positive).
double dirX(double a) { return std::sin(a); }
double dirY(double a) { return -std::cos(a); }

void drawScale(cairo_t* cr, double c, double radius) {
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int i = 0; i < kScaleTicks; ++i) {
    const double a = kStartAngle + kSweep * i / (kScaleTicks - 1);
    const bool major = i == 0 || i == kScaleTicks - 1 || i == kScaleTicks / 2;
    const double inner = radius - (major ? 2.4 : 1.6);
    cairo_move_to(cr, c + dirX(a) * inner, c + dirY(a) * inner);
    cairo_line_to(cr, c + dirX(a) * radius, c + dirY(a) * radius);
    cairo_set_line_width(cr, major ? 1.0 : 0.75);
    setColor(cr, palette::kPrint, major ? 0.95 : 0.75);
    cairo_stroke(cr);
  }
  cairo_restore(cr);
}

// A conical sheen (brushed metal under one light) made of mesh wedges.
void fillConicalSheen(cairo_t* cr, double c, double radius, Rgb light, Rgb dark) {
  constexpr int kWedges = 48;
  cairo_pattern_t* mesh = cairo_pattern_create_mesh();
  auto shade = [&](double angle) {
    const double t = 0.5 + 0.5 * std::cos(2 * (angle - kLightAngle));
    const double lift = 0.5 + 0.5 * std::cos(angle - kLightAngle);
    return mix(dark, light, 0.75 * t + 0.25 * lift);
  };
  for (int i = 0; i < kWedges; ++i) {
    const double a0 = 2 * kPi * i / kWedges, a1 = 2 * kPi * (i + 1) / kWedges;
    const Rgb s0 = shade(a0), s1 = shade(a1);
    cairo_mesh_pattern_begin_patch(mesh);
    cairo_mesh_pattern_move_to(mesh, c, c);
    cairo_mesh_pattern_line_to(mesh, c + std::cos(a0) * radius, c + std::sin(a0) * radius);
    cairo_mesh_pattern_line_to(mesh, c + std::cos(a1) * radius, c + std::sin(a1) * radius);
    cairo_mesh_pattern_line_to(mesh, c, c);
    const Rgb mid = mix(s0, s1, 0.5);
    cairo_mesh_pattern_set_corner_color_rgb(mesh, 0, mid.r, mid.g, mid.b);
    cairo_mesh_pattern_set_corner_color_rgb(mesh, 1, s0.r, s0.g, s0.b);
    cairo_mesh_pattern_set_corner_color_rgb(mesh, 2, s1.r, s1.g, s1.b);
    cairo_mesh_pattern_set_corner_color_rgb(mesh, 3, mid.r, mid.g, mid.b);
    cairo_mesh_pattern_end_patch(mesh);
  }
  cairo_arc(cr, c, c, radius, 0, 2 * kPi);
  cairo_set_source(cr, mesh);
  cairo_fill(cr);
  cairo_pattern_destroy(mesh);
}

void drawKnob(cairo_t* cr, double size, const KnobLook& look, double angle) {
  const double c = size / 2;
  drawScale(cr, c, c - 0.6);

  // Contact shadow below the knob.
  cairo_pattern_t* shadow =
      cairo_pattern_create_radial(c + 0.6, c + 1.6, look.skirtRadius * 0.7, c + 0.6, c + 1.6,
                                  look.skirtRadius + 2.2);
  cairo_pattern_add_color_stop_rgba(shadow, 0, 0, 0, 0, 0.75);
  cairo_pattern_add_color_stop_rgba(shadow, 1, 0, 0, 0, 0);
  cairo_arc(cr, c + 0.6, c + 1.6, look.skirtRadius + 2.2, 0, 2 * kPi);
  cairo_set_source(cr, shadow);
  cairo_fill(cr);
  cairo_pattern_destroy(shadow);

  // Black fluted skirt; the flutes turn with the knob and catch the light.
  cairo_arc(cr, c, c, look.skirtRadius, 0, 2 * kPi);
  cairo_pattern_t* skirt = cairo_pattern_create_linear(c - look.skirtRadius, c - look.skirtRadius,
                                                       c + look.skirtRadius, c + look.skirtRadius);
  cairo_pattern_add_color_stop_rgb(skirt, 0, 0.26, 0.26, 0.28);
  cairo_pattern_add_color_stop_rgb(skirt, 1, 0.04, 0.04, 0.05);
  cairo_set_source(cr, skirt);
  cairo_fill(cr);
  cairo_pattern_destroy(skirt);
  cairo_set_line_width(cr, 0.9);
  for (int k = 0; k < kKnurls; ++k) {
    const double a = angle + 2 * kPi * k / kKnurls;
    const double facing = std::cos(std::atan2(dirY(a), dirX(a)) - kLightAngle);
    cairo_move_to(cr, c + dirX(a) * (look.capRadius + 0.6), c + dirY(a) * (look.capRadius + 0.6));
    cairo_line_to(cr, c + dirX(a) * (look.skirtRadius - 0.3), c + dirY(a) * (look.skirtRadius - 0.3));
    setColor(cr, palette::kHighlight, 0.05 + 0.2 * (0.5 + 0.5 * facing));
    cairo_stroke(cr);
  }
  cairo_arc(cr, c, c, look.skirtRadius - 0.4, 0, 2 * kPi);
  setColor(cr, palette::kShadow, 0.6);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);

  // Cap with a bevelled rim.
  cairo_arc(cr, c, c, look.capRadius + 0.7, 0, 2 * kPi);
  setColor(cr, palette::kShadow, 0.7);
  cairo_fill(cr);
  fillConicalSheen(cr, c, look.capRadius, look.capLight, look.capDark);
  cairo_arc(cr, c, c, look.capRadius - 0.4, 0, 2 * kPi);
  cairo_pattern_t* rim = cairo_pattern_create_linear(0, c - look.capRadius, 0, c + look.capRadius);
  cairo_pattern_add_color_stop_rgba(rim, 0, 1, 1, 1, 0.55);
  cairo_pattern_add_color_stop_rgba(rim, 1, 0, 0, 0, 0.45);
  cairo_set_source(cr, rim);
  cairo_set_line_width(cr, 0.8);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);

  // Pointer: a line on the cap continued by a notch in the skirt.
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 1.7);
  cairo_move_to(cr, c + dirX(angle) * 3.2, c + dirY(angle) * 3.2);
  cairo_line_to(cr, c + dirX(angle) * (look.capRadius - 1.2), c + dirY(angle) * (look.capRadius - 1.2));
  setColor(cr, look.pointer);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 1.3);
  cairo_move_to(cr, c + dirX(angle) * (look.capRadius + 1.0), c + dirY(angle) * (look.capRadius + 1.0));
  cairo_line_to(cr, c + dirX(angle) * (look.skirtRadius - 0.6), c + dirY(angle) * (look.skirtRadius - 0.6));
  setColor(cr, palette::kPrint);
  cairo_stroke(cr);
}

}  // namespace

Image drawKnobStrip(const SkinBitmapInfo& info, const Image& panel, PanelRect at, KnobFamily family) {
  const KnobLook look = lookOf(family, info.width);
  return drawStrip(info, &panel, at, [&](cairo_t* cr, int frame) {
    const double position = static_cast<double>(frame) / (info.frames - 1);
    drawKnob(cr, info.width, look, kStartAngle + kSweep * position);
  });
}

}  // namespace skingen
