// The editor's zoom steps, and the one rounding rule that turns a 1× panel
// coordinate into a pixel of a zoomed picture. The skin generator and the
// editor both use it, so a film-strip frame starts on exactly the pixel row
// the editor copies from and a control lands on the pixels its bitmap was
// drawn for.
#pragma once

#include <cmath>

namespace layout {

inline constexpr int kZoomSteps[] = {100, 150, 200};  // percent
inline constexpr int kNumZoomSteps = sizeof kZoomSteps / sizeof kZoomSteps[0];
inline constexpr int kDefaultZoom = 100;

constexpr bool isZoomStep(int percent) {
  for (int step : kZoomSteps)
    if (step == percent) return true;
  return false;
}

// The step nearest to a scale factor (1.0 = 100 %); ties go to the larger step.
inline int nearestZoomStep(double scale) {
  int best = kZoomSteps[0];
  for (int step : kZoomSteps)
    if (std::fabs(step / 100.0 - scale) <= std::fabs(best / 100.0 - scale)) best = step;
  return best;
}

// The pixel at which a 1× coordinate starts in a picture drawn at zoom
// (halves round away from zero, so 0.5 px positions at 150 % go right or down).
inline long toZoomedPixel(double coordinate, double zoom) { return std::lround(coordinate * zoom); }

}  // namespace layout
