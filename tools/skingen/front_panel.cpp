#include "tools/skingen/front_panel.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "layout/panel_layout.h"
#include "tools/skingen/hardware.h"
#include "tools/skingen/palette.h"

namespace skingen {

namespace {

using namespace layout;

constexpr unsigned kFrontSeed = 1;
// Baselines on whole pixels, so the foot of every letter is a sharp row.
constexpr double kLabelBaseline = 21;        // knob names, above the knobs
constexpr double kButtonLabelBaseline = 41;  // names above the latching buttons
constexpr double kLegendBaseline = 71;       // scale ends under the knobs
constexpr double kTitleBaseline = 9;         // section titles along the top

// Capitals and figures 7 pixels tall at 1× wherever the panel has room;
// the names over the latching buttons stand closer and are narrower.
const TextStyle kLabel{9.6, true, 0.8, 0.3};
const TextStyle kButtonLabel{9.0, true, 0.66, 0.2};
const TextStyle kLegend{9.6, true, 0.72, 0.1};
const TextStyle kSmallLegend{7.4, true, 0.8, 0.1};  // beside lamps and the meter
const TextStyle kTitle{5.6, true, 0.9, 1.3};

void label(cairo_t* cr, const std::string& text, double x, double y,
           const TextStyle& style = kLabel, Align align = Align::Centre) {
  drawText(cr, text, x, y, align, style, palette::kPrint);
}

// A section title in the gap of a hairline that spans the section.
void sectionTitle(cairo_t* cr, const std::string& text, double left, double right) {
  const double centre = (left + right) / 2;
  const double half = textWidth(cr, text, kTitle) / 2 + 4;
  drawText(cr, text, centre, kTitleBaseline, Align::Centre, kTitle, palette::kAccent);
  cairo_save(cr);
  setColor(cr, palette::kAccent, 0.85);
  cairo_set_line_width(cr, 1);
  const double y = kTitleBaseline - 2.5;
  cairo_move_to(cr, left + 0.5, y + 3.5);
  cairo_line_to(cr, left + 0.5, y);
  cairo_line_to(cr, centre - half, y);
  cairo_move_to(cr, centre + half, y);
  cairo_line_to(cr, right - 0.5, y);
  cairo_line_to(cr, right - 0.5, y + 3.5);
  cairo_stroke(cr);
  cairo_restore(cr);
}

// Scale ends under the knob's lower corners; inset moves them inwards where
// a lamp sits beside the knob.
void knobLegends(cairo_t* cr, const PanelRect& knob, const std::string& low, const std::string& high,
                 double lowInset = 4, double highInset = 4) {
  label(cr, low, knob.left + lowInset, kLegendBaseline, kLegend);
  label(cr, high, knob.right - highInset, kLegendBaseline, kLegend);
}

void drawPlateEdges(cairo_t* cr) {
  // Folded edges: light along the top and left, shadow along the bottom and right.
  fillRect(cr, 0, 0, kWindowWidth, 1, palette::kHighlight, 0.28);
  fillRect(cr, 0, 1, kWindowWidth, 1, palette::kHighlight, 0.08);
  fillRect(cr, 0, kWindowHeight - 1, kWindowWidth, 1, palette::kShadow, 0.45);
  fillRect(cr, 0, 0, 1, kWindowHeight, palette::kHighlight, 0.12);
  fillRect(cr, kWindowWidth - 1, 0, 1, kWindowHeight, palette::kShadow, 0.4);
}

void drawRackScrews(cairo_t* cr) {
  constexpr double kSlotWidth = 13, kSlotHeight = 9.5;
  const double xs[] = {15, kWindowWidth - 15};
  const double ys[] = {8, kWindowHeight - 9};
  int n = 0;
  for (double x : xs)
    for (double y : ys) {
      drawRecess(cr, x - kSlotWidth / 2, y - kSlotHeight / 2, kSlotWidth, kSlotHeight, 4);
      drawScrew(cr, x + (n % 2 ? 0.8 : -0.6), y, 4.1, 0.35 + 0.5 * n);
      ++n;
    }
}

void drawSectionTitles(cairo_t* cr) {
  sectionTitle(cr, "LEVEL", 33, 195);
  sectionTitle(cr, "REGENERATION", 198, 300);
  sectionTitle(cr, "BLEND", 303, 391);
  sectionTitle(cr, "DELAY", 394, 613);
  sectionTitle(cr, "MODULATION", 615, 812);
}

void drawControlLabels(cairo_t* cr) {
  label(cr, "INPUT", kInputKnobRect.centreX(), kLabelBaseline);
  label(cr, "OUTPUT", kOutputKnobRect.centreX(), kLabelBaseline);
  label(cr, "FEEDBACK", kFeedbackKnobRect.centreX(), kLabelBaseline);
  label(cr, "MIX", kMixKnobRect.centreX(), kLabelBaseline);
  label(cr, "MANUAL", kManVcoKnobRect.centreX(), kLabelBaseline);
  label(cr, "DEPTH", kDepthKnobRect.centreX(), kLabelBaseline);
  label(cr, "WAVEFORM", kWaveformKnobRect.centreX(), kLabelBaseline);
  label(cr, "RATE", kRateKnobRect.centreX(), kLabelBaseline);

  knobLegends(cr, kInputKnobRect, "\u2212\u221e", "+12");
  knobLegends(cr, kOutputKnobRect, "\u2212\u221e", "+12");
  knobLegends(cr, kFeedbackKnobRect, "0", "10");
  knobLegends(cr, kMixKnobRect, "DRY", "WET", 11, 2);  // clear of the bypass lamp
  knobLegends(cr, kManVcoKnobRect, "0.5", "1.5");
  knobLegends(cr, kDepthKnobRect, "0", "10");
  knobLegends(cr, kWaveformKnobRect, "SIN", "SQR");
  knobLegends(cr, kRateKnobRect, "0.1", "10", 4, 7);

  label(cr, "DLY \u00d72", kDlyx2Rect.centreX(), kButtonLabelBaseline, kButtonLabel);
  label(cr, "HI CUT", kHiCutRect.centreX(), kButtonLabelBaseline, kButtonLabel);
  label(cr, "FB INV", kFbInvRect.centreX(), kButtonLabelBaseline, kButtonLabel);
  label(cr, "DLY INV", kDlyInvRect.centreX(), kButtonLabelBaseline, kButtonLabel);
  label(cr, "\u221e REPEAT", kRptInfRect.centreX(), kButtonLabelBaseline, kButtonLabel);
  label(cr, "POWER", kPowerRect.centreX(), kPowerRect.bottom + 9, kButtonLabel);
  label(cr, "BYPASS", kBypassLampRect.centreX(), kBypassLampRect.bottom + 9, kSmallLegend);
  label(cr, "LFO", kModulationLampRect.right + 2, kModulationLampRect.bottom - 2, kSmallLegend,
        Align::Left);

  // Delay entry: the mode switch and the two step buttons.
  label(cr, "DLY", kDlyClkRect.left - 2, kDlyClkRect.bottom - 2, kSmallLegend, Align::Right);
  label(cr, "CLK", kDlyClkRect.right + 2, kDlyClkRect.bottom - 2, kSmallLegend, Align::Left);
  label(cr, "\u2212  NUM", kDelayDownRect.centreX(), kLegendBaseline, kLegend);
  label(cr, "+  DEN", kDelayUpRect.centreX(), kLegendBaseline, kLegend);
}

// A ribbed grip marks the narrow drag strip between the step buttons.
void drawDragGrip(cairo_t* cr) {
  const PanelRect& s = kSmallStripRect;
  drawRecess(cr, s.left + 2, s.top + 1, s.width() - 4, s.height() - 2, 2);
  for (double y = s.top + 4; y < s.bottom - 3; y += 2.5) {
    fillRect(cr, s.left + 4, y, s.width() - 8, 1, palette::kHighlight, 0.22);
    fillRect(cr, s.left + 4, y + 1, s.width() - 8, 0.8, palette::kShadow, 0.5);
  }
}

// Smoked window behind the digits and the mode lamps, with lamp legends.
void drawDisplayWindow(cairo_t* cr) {
  constexpr double kLeft = 501, kTop = 22, kRight = 613, kBottom = 63;
  roundedRect(cr, kLeft, kTop, kRight - kLeft, kBottom - kTop, 2.5);
  cairo_pattern_t* glass = cairo_pattern_create_linear(0, kTop, 0, kBottom);
  const Rgb top = scaled(palette::kGlass, 1.6), bottom = palette::kGlass;
  cairo_pattern_add_color_stop_rgb(glass, 0, top.r, top.g, top.b);
  cairo_pattern_add_color_stop_rgb(glass, 1, bottom.r, bottom.g, bottom.b);
  cairo_set_source(cr, glass);
  cairo_fill(cr);
  cairo_pattern_destroy(glass);
  drawBezel(cr, kLeft, kTop, kRight - kLeft, kBottom - kTop, 2.5);

  const TextStyle legend{6.6, true, 0.84, 0.2};
  const Rgb ink = rgb255(150, 62, 52);
  const double x = kModeLampsRect.right + 1.5;
  drawText(cr, "BEAT", x, kModeLampsRect.top + 8, Align::Left, legend, ink);
  drawText(cr, "RPT", x, kModeLampsRect.top + 19, Align::Left, legend, ink);
  drawText(cr, "CUT", x, kModeLampsRect.top + 29, Align::Left, legend, ink);
  drawText(cr, "ms", kDigit4Rect.right - 1, kBottom - 3, Align::Right, legend, ink);

  label(cr, "DELAY TIME \u00b7 RATIO", (kLeft + kRight) / 2, kLabelBaseline - 2, kSmallLegend);
}

void drawMeterScale(cairo_t* cr) {
  constexpr int kLamps = 5;
  constexpr double kLampPitch = 9, kLampHeight = 7;
  const char* marks[kLamps] = {"0", "\u22125", "\u221210", "\u221215", "\u221220"};
  for (int i = 0; i < kLamps; ++i) {
    const double centre = kLevelMeterRect.top + i * kLampPitch + kLampHeight / 2;
    label(cr, marks[i], kLevelMeterRect.left - 2, std::round(centre + 2.5),
          TextStyle{7.0, true, 0.8, 0}, Align::Right);
  }
  fillRect(cr, kLevelMeterRect.left - 1, kLevelMeterRect.top - 1, kLevelMeterRect.width() + 2, kLevelMeterRect.height() + 2,
           palette::kShadow, 0.8);
  label(cr, "dB", kLevelMeterRect.centreX(), kLegendBaseline, kSmallLegend);
}

// Brushed-aluminium name plate; it is also the button that opens the about picture.
void drawBadge(cairo_t* cr) {
  const PanelRect& b = kAboutRect;
  roundedRect(cr, b.left + 0.5, b.top + 1, b.width(), b.height(), 2);
  setColor(cr, palette::kShadow, 0.5);
  cairo_fill(cr);
  roundedRect(cr, b.left, b.top, b.width(), b.height(), 2);
  cairo_pattern_t* metal = cairo_pattern_create_linear(b.left, b.top, b.right, b.bottom);
  cairo_pattern_add_color_stop_rgb(metal, 0, 0.86, 0.87, 0.86);
  cairo_pattern_add_color_stop_rgb(metal, 0.5, 0.70, 0.71, 0.70);
  cairo_pattern_add_color_stop_rgb(metal, 1, 0.80, 0.81, 0.80);
  cairo_set_source(cr, metal);
  cairo_fill(cr);
  cairo_pattern_destroy(metal);
  for (int y = b.top + 1; y < b.bottom - 1; ++y)
    fillRect(cr, b.left + 1, y, b.width() - 2, 0.5, palette::kHighlight,
             0.08 + 0.07 * hashNoise(0, y, 9));
  fillRect(cr, b.left + 3, b.top + 9.5, b.width() - 6, 0.8, palette::kAccent);
  drawText(cr, "MARLOW", b.centreX(), b.top + 7.5, Align::Centre, TextStyle{4.8, true, 1.0, 1.6},
           rgb255(40, 40, 40));
  drawText(cr, "HALDEN", b.centreX(), b.bottom - 4, Align::Centre, TextStyle{10.5, true, 0.92, 0.8},
           rgb255(24, 24, 26));
}

}  // namespace

void paintPlateTexture(Image& image, unsigned seed) {
  // Horizontal brushing: long streaks along x that differ from row to row,
  // a faint grain, and a little more light towards the top. Drawn per pixel,
  // so a zoomed plate has finer brushing rather than enlarged streaks.
  constexpr int kStreakLength = 29;  // at 1×
  const int streakLength = static_cast<int>(std::lround(kStreakLength * image.zoom()));
  cairo_surface_t* s = image.surface();
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  const int width = image.pixelWidth(), height = image.pixelHeight();
  const Rgb base = palette::kFace;
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
    const double rowTone = 2.2 * hashNoise(0, y, seed);
    const double light = 4.0 * (1.0 - static_cast<double>(y) / height);
    for (int x = 0; x < width; ++x) {
      const int cell = x / streakLength;
      const double t = static_cast<double>(x % streakLength) / streakLength;
      const double smooth = t * t * (3 - 2 * t);
      const double streak = (1 - smooth) * hashNoise(cell, y, seed + 1) +
                            smooth * hashNoise(cell + 1, y, seed + 1);
      const double delta = rowTone + 2.6 * streak + 1.2 * hashNoise(x, y, seed + 2) + light;
      auto channel = [delta](double c) {
        const double v = c * 255 + delta;
        return static_cast<std::uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
      };
      row[x] = 0xff000000u | channel(base.r) << 16 | channel(base.g) << 8 | channel(base.b);
    }
  }
  cairo_surface_mark_dirty(s);
}

FrontPanel drawFrontPanel(double zoom) {
  FrontPanel panel{Image(kWindowWidth, kWindowHeight, false, zoom),
                   Image(kWindowWidth, kWindowHeight, false, zoom)};
  paintPlateTexture(panel.bare, kFrontSeed);
  {
    Painter cr(panel.bare);
    drawPlateEdges(cr);
    drawRackScrews(cr);
    drawPresetRail(cr);
    drawDisplayWindow(cr);
    drawDragGrip(cr);
    drawBadge(cr);
  }
  Painter cr(panel.finished);
  copyWhole(cr, panel.bare);
  drawSectionTitles(cr);
  drawControlLabels(cr);
  drawMeterScale(cr);
  printPresetRail(cr);
  return panel;
}

}  // namespace skingen
