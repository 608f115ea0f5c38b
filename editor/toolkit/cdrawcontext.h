// Drawing on a cairo surface: colours, lines, rectangles, text and bitmaps
// in frame units. The frame makes one per redraw pass; at a zoom above 1 a
// frame unit covers that many pixels of the surface, so every view draws at
// the surface's resolution without knowing the zoom.
#pragma once

#include <cairo.h>

#include "editor/toolkit/cbaseobject.h"
#include "editor/toolkit/ccolor.h"
#include "editor/toolkit/cfont.h"
#include "editor/toolkit/cgeometry.h"

class CBitmap;

enum CHoriTxtAlign { kLeftText = 0, kCenterText, kRightText };
enum CDrawStyle { kDrawStroked = 0, kDrawFilled, kDrawFilledAndStroked };

class CDrawContext : public CBaseObject {
 public:
  // Draws on the given surface; the context keeps its own cairo state.
  explicit CDrawContext(cairo_surface_t* surface, double zoom = 1.0);
  ~CDrawContext() override;
  CDrawContext(const CDrawContext&) = delete;
  CDrawContext& operator=(const CDrawContext&) = delete;

  void setFillColor(const CColor& color) { fillColor = color; }
  CColor getFillColor() const { return fillColor; }
  void setFrameColor(const CColor& color) { frameColor = color; }
  CColor getFrameColor() const { return frameColor; }
  void setFontColor(const CColor& color) { fontColor = color; }
  CColor getFontColor() const { return fontColor; }
  void setLineWidth(CCoord width) { lineWidth = width; }
  CCoord getLineWidth() const { return lineWidth; }
  // size 0 keeps the font's own size; style -1 keeps its own style.
  void setFont(const CFontRef font, const CCoord& size = 0, const int32_t& style = -1);
  const CFontDesc& getFont() const { return font; }
  void setGlobalAlpha(float alpha) { globalAlpha = alpha; }
  float getGlobalAlpha() const { return globalAlpha; }

  void setClipRect(const CRect& clip);
  CRect& getClipRect(CRect& clip) const;
  void resetClipRect();
  void saveGlobalState();
  void restoreGlobalState();

  void moveTo(const CPoint& point) { penPosition = point; }
  void lineTo(const CPoint& point);
  void drawLine(const CPoint& start, const CPoint& end);
  void drawRect(const CRect& rect, const CDrawStyle drawStyle = kDrawStroked);
  void drawEllipse(const CRect& rect, const CDrawStyle drawStyle = kDrawStroked);
  void drawString(const char* string, const CRect& rect, const CHoriTxtAlign hAlign = kCenterText,
                  bool antialias = true);
  // Left end of the baseline at point.
  void drawString(const char* string, const CPoint& point, bool antialias = true);
  CCoord getStringWidth(const char* string);
  void drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset = CPoint(0, 0),
                  float alpha = 1.f);

  cairo_t* getCairo() const { return cr; }
  // Surface pixels per frame unit.
  double getZoom() const { return zoom; }

 private:
  void applyFont();
  void setSource(const CColor& color);
  void fillAndStroke(CDrawStyle style);

  cairo_t* cr;
  double zoom;
  CColor fillColor = kWhiteCColor;
  CColor frameColor = kBlackCColor;
  CColor fontColor = kBlackCColor;
  CFontDesc font{"Arial", 12};
  CCoord lineWidth = 1;
  float globalAlpha = 1.f;
  CRect clipRect;
  CPoint penPosition;
  struct SavedState {
    CRect clip;
    float alpha;
  };
  static constexpr int kMaxSavedStates = 8;
  SavedState saved[kMaxSavedStates];
  int savedCount = 0;
};
