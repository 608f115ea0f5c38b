// Small pieces of hardware that appear on both panels and in the controls.
#pragma once

#include "tools/skingen/canvas.h"

namespace skingen {

// A cross-head screw, lit from the top left.
void drawScrew(cairo_t* cr, double cx, double cy, double radius, double slotAngle);

// A rounded hole in the plate (rack slot or socket cut-out), darker inside.
void drawRecess(cairo_t* cr, double x, double y, double w, double h, double radius);

// A raised edge around a well or window: shadow above and left, light below.
void drawBezel(cairo_t* cr, double x, double y, double w, double h, double radius);

// A round lamp lens; brightness 0 shows the dark lens, 1 the fully lit lamp
// with its halo (clipped by whatever clip the caller has set).
void drawLamp(cairo_t* cr, double cx, double cy, double radius, Rgb lit, Rgb dark,
              double brightness);

// A rectangular LED segment-style lamp, used by the level meter.
void drawBarLamp(cairo_t* cr, double x, double y, double w, double h, Rgb lit, Rgb dark,
                 double brightness);

// A filled triangle pointing up (direction 1) or down (direction -1).
void drawTriangle(cairo_t* cr, double cx, double cy, double size, int direction);

}  // namespace skingen
