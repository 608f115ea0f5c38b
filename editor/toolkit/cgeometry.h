// Points and rectangles in frame pixels (doubles, y grows downwards).
#pragma once

#include <algorithm>

using CCoord = double;

struct CPoint {
  CCoord x = 0;
  CCoord y = 0;

  CPoint() = default;
  CPoint(CCoord x, CCoord y) : x(x), y(y) {}

  CPoint& offset(CCoord dx, CCoord dy) {
    x += dx;
    y += dy;
    return *this;
  }
  CPoint& operator+=(const CPoint& p) { return offset(p.x, p.y); }
  CPoint& operator-=(const CPoint& p) { return offset(-p.x, -p.y); }
  CPoint operator+(const CPoint& p) const { return CPoint(x + p.x, y + p.y); }
  CPoint operator-(const CPoint& p) const { return CPoint(x - p.x, y - p.y); }
  bool operator==(const CPoint& p) const { return x == p.x && y == p.y; }
  bool operator!=(const CPoint& p) const { return !(*this == p); }
};

struct CRect {
  CCoord left = 0;
  CCoord top = 0;
  CCoord right = 0;
  CCoord bottom = 0;

  CRect() = default;
  CRect(CCoord left, CCoord top, CCoord right, CCoord bottom)
      : left(left), top(top), right(right), bottom(bottom) {}
  // Origin and size, as in CRect(CPoint(x, y), CPoint(w, h)).
  CRect(const CPoint& origin, const CPoint& size)
      : left(origin.x), top(origin.y), right(origin.x + size.x), bottom(origin.y + size.y) {}

  CCoord getWidth() const { return right - left; }
  CCoord getHeight() const { return bottom - top; }
  CRect& setWidth(CCoord w) {
    right = left + w;
    return *this;
  }
  CRect& setHeight(CCoord h) {
    bottom = top + h;
    return *this;
  }
  CPoint getTopLeft() const { return CPoint(left, top); }
  CPoint getBottomRight() const { return CPoint(right, bottom); }
  CPoint getSize() const { return CPoint(getWidth(), getHeight()); }
  CPoint getCenter() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

  CRect& offset(CCoord dx, CCoord dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
    return *this;
  }
  CRect& moveTo(CCoord x, CCoord y) { return offset(x - left, y - top); }
  CRect& inset(CCoord dx, CCoord dy) {
    left += dx;
    right -= dx;
    top += dy;
    bottom -= dy;
    return *this;
  }
  bool isEmpty() const { return right <= left || bottom <= top; }
  // Half-open: the right and bottom edges are outside.
  bool pointInside(const CPoint& p) const {
    return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
  }
  bool rectOverlap(const CRect& r) const {
    return r.left < right && r.right > left && r.top < bottom && r.bottom > top;
  }
  // Intersection; an empty result when the two do not overlap.
  CRect& bound(const CRect& r) {
    left = std::max(left, r.left);
    top = std::max(top, r.top);
    right = std::max(left, std::min(right, r.right));
    bottom = std::max(top, std::min(bottom, r.bottom));
    return *this;
  }
  CRect& unite(const CRect& r) {
    if (r.isEmpty()) return *this;
    if (isEmpty()) return *this = r;
    left = std::min(left, r.left);
    top = std::min(top, r.top);
    right = std::max(right, r.right);
    bottom = std::max(bottom, r.bottom);
    return *this;
  }
  bool operator==(const CRect& r) const {
    return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
  }
  bool operator!=(const CRect& r) const { return !(*this == r); }
};
