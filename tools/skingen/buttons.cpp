// Buttons and the slide switch of the main panel.
#include "tools/skingen/controls.h"
#include "tools/skingen/hardware.h"
#include "tools/skingen/palette.h"
#include "tools/skingen/strip.h"

namespace skingen {

using namespace layout;

namespace {

void fillVertical(cairo_t* cr, double y0, double y1, Rgb top, Rgb bottom) {
  cairo_pattern_t* fill = cairo_pattern_create_linear(0, y0, 0, y1);
  cairo_pattern_add_color_stop_rgb(fill, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(fill, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, fill);
  cairo_fill(cr);
  cairo_pattern_destroy(fill);
}

// A square cap sitting in a dark collar; pressed caps sit lower and lose
// their lower edge shadow.
void drawCap(cairo_t* cr, double w, double h, Rgb face, bool pressed) {
  drawRecess(cr, 1, 1, w - 2, h - 2, 2.2);
  const double inset = 2.6;
  const double drop = pressed ? 1.0 : 0.0;
  const double capH = h - 2 * inset - 1.0;
  if (!pressed) {
    roundedRect(cr, inset, inset + 1.2, w - 2 * inset, capH, 1.6);
    setColor(cr, palette::kShadow, 0.7);
    cairo_fill(cr);
  }
  roundedRect(cr, inset, inset + drop, w - 2 * inset, capH, 1.6);
  const Rgb shade = pressed ? scaled(face, 0.86) : face;
  fillVertical(cr, inset + drop, inset + drop + capH, scaled(shade, 1.12), scaled(shade, 0.82));
  roundedRect(cr, inset + 0.5, inset + drop + 0.5, w - 2 * inset - 1, capH - 1, 1.2);
  cairo_set_line_width(cr, 0.8);
  setColor(cr, palette::kHighlight, pressed ? 0.12 : 0.3);
  cairo_stroke(cr);
}

}  // namespace

Image drawLatchingButton(const SkinBitmapInfo& info, const Image& panel, PanelRect at, Rgb lamp) {
  // Frame 0 off, frame 1 on: the cap latches down and its lamp window lights.
  return drawStrip(info, &panel, at, [&](cairo_t* cr, int frame) {
    const bool on = frame == 1;
    const double w = info.width, h = info.frameHeight();
    drawCap(cr, w, h, palette::kCapGrey, on);
    const double drop = on ? 1.0 : 0.0;
    const double lampY = 5.2 + drop, lampH = h > 22 ? 3.2 : 2.6;
    fillRect(cr, 5, lampY - 0.6, w - 10, lampH + 1.2, palette::kShadow, 0.55);
    drawBarLamp(cr, 5.5, lampY, w - 11, lampH, lamp, scaled(lamp, 0.25), on ? 1.0 : 0.0);
    // Fine ribs on the lower part of the cap give it a grip.
    for (double y = lampY + lampH + 3; y < h - 6 + drop; y += 2)
      fillRect(cr, 5.5, y, w - 11, 0.7, palette::kShadow, 0.18);
  });
}

Image drawStepButton(const SkinBitmapInfo& info, const Image& panel, PanelRect at, int direction) {
  // Frame 0 released, frame 1 held; the cap carries an arrow for its direction.
  return drawStrip(info, &panel, at, [&](cairo_t* cr, int frame) {
    const bool pressed = frame == 1;
    const double w = info.width, h = info.frameHeight();
    drawCap(cr, w, h, palette::kCapDark, pressed);
    const double cy = h / 2 - 0.5 + (pressed ? 1.0 : 0.0);
    setColor(cr, palette::kShadow, 0.6);
    drawTriangle(cr, w / 2, cy + 0.7, 8, direction);
    setColor(cr, pressed ? palette::kAccent : palette::kPrint);
    drawTriangle(cr, w / 2, cy, 8, direction);
  });
}

Image drawSlideSwitch(const SkinBitmapInfo& info, const Image& panel, PanelRect at) {
  // Frame 0: thumb on the left (delay), frame 1: on the right (clock).
  return drawStrip(info, &panel, at, [&](cairo_t* cr, int frame) {
    const double w = info.width, h = info.frameHeight();
    drawRecess(cr, 0.5, h / 2 - 2.5, w - 1, 5, 2.5);
    const double thumbW = 7, thumbX = frame == 0 ? 1 : w - 1 - thumbW;
    roundedRect(cr, thumbX + 0.4, 1.4, thumbW, h - 2, 1.3);
    setColor(cr, palette::kShadow, 0.6);
    cairo_fill(cr);
    roundedRect(cr, thumbX, 0.8, thumbW, h - 2, 1.3);
    fillVertical(cr, 0.8, h - 1.2, palette::kChrome, scaled(palette::kChrome, 0.55));
    for (double x = thumbX + 1.8; x < thumbX + thumbW - 1; x += 1.6)
      fillRect(cr, x, 2.2, 0.7, h - 4.8, palette::kShadow, 0.35);
  });
}

}  // namespace skingen
