// The front plate (bitmap 128) in two stages: the bare plate, which the
// preset-bar buttons use as their background, and the finished, printed one.
#pragma once

#include <string>

#include "tools/skingen/canvas.h"

namespace skingen {

struct FrontPanel {
  Image bare;      // plate, rail, windows and wells without lettering on the rail
  Image finished;  // bitmap 128
};

FrontPanel drawFrontPanel(double zoom = 1.0);

// Parts of the plate drawn by separate files.
void paintPlateTexture(Image& image, unsigned seed);  // brushed metal over every pixel of the image
void drawPresetRail(cairo_t* cr);                      // the rail, its wells and menu symbol
void printPresetRail(cairo_t* cr);                     // the rail's lettering

// Rail pieces that the panel prints and the preset-bar bitmaps redraw in
// their other states, so frame 0 of each button matches the panel exactly.
enum class RailState { Idle, Pointed, Pressed };
void drawRailLabel(cairo_t* cr, const std::string& text, double x, double y, double w, double h,
                   RailState state);
void drawRailSwitch(cairo_t* cr, const std::string& text, double x, double y, double w, double h,
                    Rgb lamp, bool pointed, bool on);

}  // namespace skingen
