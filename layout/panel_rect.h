// Plain integer geometry of the panel, in 1× window pixels. The editor and
// the skin generator each convert it to their own drawing types, and each
// scales it when it draws at a larger zoom.
#pragma once

namespace layout {

struct PanelPoint {
  int x, y;
};

// (left, top) – (right, bottom); right and bottom lie just outside.
struct PanelRect {
  int left, top, right, bottom;

  constexpr int width() const { return right - left; }
  constexpr int height() const { return bottom - top; }
  constexpr double centreX() const { return (left + right) / 2.0; }
  constexpr double centreY() const { return (top + bottom) / 2.0; }
  constexpr PanelPoint topLeft() const { return {left, top}; }
};

}  // namespace layout
