// The lit things: seven-segment digits, lamps and the level meter.
#include <algorithm>
#include <cstdint>

#include "tools/skingen/controls.h"
#include "tools/skingen/hardware.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/strip.h"

namespace skingen {

using namespace layout;

namespace {

// Segment bits a … g (bit 0 = a, the top bar, clockwise, g the middle bar).
constexpr std::uint8_t kDigitSegments[10] = {0x3f, 0x06, 0x5b, 0x4f, 0x66,
                                             0x6d, 0x7d, 0x07, 0x7f, 0x6f};
constexpr int kBlankFrame = 10;
constexpr std::uint8_t kLetterE = 0x79;  // the glyph frame, never selected by the editor
constexpr double kSlant = 0.1;           // forward lean of the digits
constexpr double kStroke = 2.2;          // segment thickness

struct Segment {
  double x0, y0, x1, y1;  // centre line
};

// The seven centre lines inside a cell of w × h with the given stroke.
void segmentLines(double w, double h, Segment out[7]) {
  const double left = 3.2, right = w - 2.6, top = 2.6, bottom = h - 2.6;
  const double middle = (top + bottom) / 2;
  const double inset = 1.3;  // space where segments meet
  out[0] = {left + inset, top, right - inset, top};                  // a
  out[1] = {right, top + inset, right, middle - inset};              // b
  out[2] = {right, middle + inset, right, bottom - inset};           // c
  out[3] = {left + inset, bottom, right - inset, bottom};            // d
  out[4] = {left, middle + inset, left, bottom - inset};             // e
  out[5] = {left, top + inset, left, middle - inset};                // f
  out[6] = {left + inset, middle, right - inset, middle};            // g
}

void strokeSegments(cairo_t* cr, const Segment lines[7], std::uint8_t mask, double width) {
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int s = 0; s < 7; ++s) {
    if (!(mask & (1u << s))) continue;
    cairo_move_to(cr, lines[s].x0, lines[s].y0);
    cairo_line_to(cr, lines[s].x1, lines[s].y1);
  }
  cairo_stroke(cr);
}

void drawSevenSegment(cairo_t* cr, double w, double h, std::uint8_t lit) {
  Segment lines[7];
  segmentLines(w, h, lines);
  cairo_save(cr);
  // Lean the glyph forward about its centre.
  cairo_matrix_t slant;
  cairo_matrix_init(&slant, 1, 0, -kSlant, 1, kSlant * h / 2, 0);
  cairo_transform(cr, &slant);
  setColor(cr, palette::kSegmentUnlit);
  strokeSegments(cr, lines, static_cast<std::uint8_t>(~lit & 0x7f), kStroke);
  if (lit) {
    setColor(cr, palette::kSegmentLit, 0.22);
    strokeSegments(cr, lines, lit, 4.2);
    setColor(cr, palette::kSegmentLit);
    strokeSegments(cr, lines, lit, kStroke);
    setColor(cr, mix(palette::kSegmentLit, palette::kHighlight, 0.45), 0.8);
    strokeSegments(cr, lines, lit, 0.6);
  }
  cairo_restore(cr);
}

}  // namespace

Image drawDigitStrip(const SkinBitmapInfo& info, const Image& panel, PanelRect at) {
  return drawStrip(info, &panel, at, [&](cairo_t* cr, int frame) {
    std::uint8_t mask = 0;
    if (frame < kBlankFrame) mask = kDigitSegments[frame];
    else if (frame > kBlankFrame) mask = kLetterE;
    drawSevenSegment(cr, info.width, info.frameHeight(), mask);
  });
}

Image drawModeLamps(const SkinBitmapInfo& info, const Image& panel, PanelRect at) {
  // Frame k: bit 0 lights the bottom lamp (high cut), bit 1 the middle one
  // (repeat), bit 2 the top one (beat).
  struct Lamp { double y; Rgb lit, dark; int bit; };
  const Lamp lamps[] = {{5.5, palette::kLedGreen, palette::kLedGreenOff, 2},
                        {16.0, palette::kLedAmber, palette::kLedAmberOff, 1},
                        {26.5, palette::kLedRed, palette::kLedRedOff, 0}};
  return drawStrip(info, &panel, at, [&](cairo_t* cr, int frame) {
    for (const Lamp& lamp : lamps)
      drawLamp(cr, info.width / 2.0, lamp.y, 2.6, lamp.lit, lamp.dark,
               (frame >> lamp.bit) & 1 ? 1.0 : 0.0);
  });
}

Image drawBypassLamp(const SkinBitmapInfo& info, const Image& panel, PanelRect at) {
  return drawStrip(info, &panel, at, [&](cairo_t* cr, int frame) {
    const double c = info.width / 2.0;
    drawLamp(cr, c, info.frameHeight() / 2.0, 3.6, palette::kLedRed, palette::kLedRedOff,
             frame == 1 ? 1.0 : 0.0);
  });
}

Image drawLevelMeter(const SkinBitmapInfo& info, const Image& panel, PanelRect at) {
  // Five bar lamps; each fades in over the four frames below its own, so the
  // meter moves smoothly: frame 0 all dark, frame 20 all lit.
  constexpr int kLamps = 5;
  constexpr double kPitch = 9, kHeight = 7;
  const Rgb lit[kLamps] = {palette::kLedGreen, palette::kLedGreen, palette::kLedGreen,
                           palette::kLedYellow, palette::kLedRed};
  const Rgb dark[kLamps] = {palette::kLedGreenOff, palette::kLedGreenOff, palette::kLedGreenOff,
                            palette::kLedYellowOff, palette::kLedRedOff};
  const double framesPerLamp = (info.frames - 1.0) / kLamps;
  return drawStrip(info, &panel, at, [&](cairo_t* cr, int frame) {
    fillRect(cr, 0, 0, info.width, info.frameHeight(), palette::kShadow);
    for (int fromBottom = 0; fromBottom < kLamps; ++fromBottom) {
      const double brightness = std::clamp((frame - framesPerLamp * fromBottom) / framesPerLamp, 0.0, 1.0);
      const double y = (kLamps - 1 - fromBottom) * kPitch;
      drawBarLamp(cr, 0.5, y, info.width - 1, kHeight, lit[fromBottom], dark[fromBottom], brightness);
    }
  });
}

Image drawModulationLamp(const SkinBitmapInfo& info, const Image& panel, PanelRect at) {
  return drawStrip(info, &panel, at, [&](cairo_t* cr, int frame) {
    const double c = info.width / 2.0;
    drawLamp(cr, c, info.frameHeight() / 2.0, 3.2, palette::kLedRed, palette::kLedRedOff,
             static_cast<double>(frame) / (info.frames - 1));
  });
}

}  // namespace skingen
