#include "editor/toolkit/cdrawcontext.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "editor/toolkit/cbitmap.h"

namespace {
// Font sizes in surface pixels below which text is drawn without smoothing.
constexpr double kSmallestSmoothTextPixels = 12;

double unit(uint8_t component) { return component / 255.0; }
}  // namespace

CDrawContext::CDrawContext(cairo_surface_t* surface, double zoom)
    : cr(cairo_create(surface)), zoom(zoom) {
  cairo_scale(cr, zoom, zoom);
  double x1, y1, x2, y2;
  cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
  clipRect = CRect(x1, y1, x2, y2);
}

CDrawContext::~CDrawContext() { cairo_destroy(cr); }

void CDrawContext::setFont(const CFontRef newFont, const CCoord& size, const int32_t& style) {
  if (!newFont) return;
  font = CFontDesc(newFont->getName(), size > 0 ? size : newFont->getSize(),
                   style >= 0 ? style : newFont->getStyle());
}

void CDrawContext::setClipRect(const CRect& clip) {
  clipRect = clip;
  cairo_reset_clip(cr);
  cairo_rectangle(cr, clip.left, clip.top, clip.getWidth(), clip.getHeight());
  cairo_clip(cr);
}

CRect& CDrawContext::getClipRect(CRect& clip) const { return clip = clipRect; }

void CDrawContext::resetClipRect() {
  cairo_reset_clip(cr);
  double x1, y1, x2, y2;
  cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
  clipRect = CRect(x1, y1, x2, y2);
}

void CDrawContext::saveGlobalState() {
  if (savedCount < kMaxSavedStates) saved[savedCount] = {clipRect, globalAlpha};
  ++savedCount;
  cairo_save(cr);
}

void CDrawContext::restoreGlobalState() {
  if (savedCount == 0) return;
  --savedCount;
  cairo_restore(cr);
  if (savedCount < kMaxSavedStates) {
    clipRect = saved[savedCount].clip;
    globalAlpha = saved[savedCount].alpha;
  }
}

void CDrawContext::setSource(const CColor& color) {
  cairo_set_source_rgba(cr, unit(color.red), unit(color.green), unit(color.blue),
                        unit(color.alpha) * globalAlpha);
}

void CDrawContext::lineTo(const CPoint& point) {
  drawLine(penPosition, point);
  penPosition = point;
}

void CDrawContext::drawLine(const CPoint& start, const CPoint& end) {
  // Half-pixel offset puts one-pixel lines on pixel centres, unblurred.
  cairo_move_to(cr, start.x + 0.5, start.y + 0.5);
  cairo_line_to(cr, end.x + 0.5, end.y + 0.5);
  setSource(frameColor);
  cairo_set_line_width(cr, lineWidth);
  cairo_stroke(cr);
}

void CDrawContext::fillAndStroke(CDrawStyle style) {
  if (style != kDrawStroked) {
    setSource(fillColor);
    if (style == kDrawFilledAndStroked)
      cairo_fill_preserve(cr);
    else
      cairo_fill(cr);
  }
  if (style != kDrawFilled) {
    setSource(frameColor);
    cairo_set_line_width(cr, lineWidth);
    cairo_stroke(cr);
  }
}

void CDrawContext::drawRect(const CRect& rect, const CDrawStyle drawStyle) {
  if (drawStyle == kDrawFilled) {
    cairo_rectangle(cr, rect.left, rect.top, rect.getWidth(), rect.getHeight());
  } else {
    // The outline lies inside the rectangle.
    cairo_rectangle(cr, rect.left + 0.5, rect.top + 0.5, rect.getWidth() - 1, rect.getHeight() - 1);
  }
  fillAndStroke(drawStyle);
}

void CDrawContext::drawEllipse(const CRect& rect, const CDrawStyle drawStyle) {
  cairo_save(cr);
  cairo_translate(cr, rect.left + rect.getWidth() / 2, rect.top + rect.getHeight() / 2);
  cairo_scale(cr, rect.getWidth() / 2, rect.getHeight() / 2);
  cairo_new_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(cr);
  fillAndStroke(drawStyle);
}

void CDrawContext::applyFont() {
  cairo_select_font_face(cr, font.getName(),
                         (font.getStyle() & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC
                                                         : CAIRO_FONT_SLANT_NORMAL,
                         (font.getStyle() & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD
                                                       : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, font.getSize());
}

CCoord CDrawContext::getStringWidth(const char* string) {
  if (!string) return 0;
  applyFont();
  cairo_text_extents_t extents;
  cairo_text_extents(cr, string, &extents);
  return extents.x_advance;
}

void CDrawContext::drawString(const char* string, const CRect& rect, const CHoriTxtAlign hAlign,
                              bool antialias) {
  if (!string || !*string) return;
  applyFont();
  cairo_font_extents_t fontExtents;
  cairo_font_extents(cr, &fontExtents);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, string, &extents);
  double x = rect.left;
  if (hAlign == kCenterText)
    x = rect.left + (rect.getWidth() - extents.x_advance) / 2;
  else if (hAlign == kRightText)
    x = rect.right - extents.x_advance;
  // Vertically centred on the font's ascent and descent, as on a panel label.
  const double y = std::round(rect.top + (rect.getHeight() + fontExtents.ascent -
                                          fontExtents.descent) / 2);
  cairo_save(cr);
  cairo_rectangle(cr, rect.left, rect.top, rect.getWidth(), rect.getHeight());
  cairo_clip(cr);
  drawString(string, CPoint(std::round(x), y), antialias);
  cairo_restore(cr);
}

void CDrawContext::drawString(const char* string, const CPoint& point, bool antialias) {
  if (!string || !*string) return;
  // Fonts have no glyph for a tab; it reads as white space.
  std::string shown(string);
  std::replace(shown.begin(), shown.end(), '\t', ' ');
  applyFont();
  // Text only a few pixels tall (the bar's fields at 1×) has stems thinner
  // than a pixel, which smoothing greys out; drawn hinted without smoothing
  // every stem is a whole pixel in the full font colour. Larger text (the
  // same fields zoomed) keeps its smooth edges.
  const bool smooth = antialias && font.getSize() * zoom >= kSmallestSmoothTextPixels;
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, smooth ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  setSource(fontColor);
  cairo_move_to(cr, point.x, point.y);
  cairo_show_text(cr, shown.c_str());
  cairo_new_path(cr);
}

void CDrawContext::drawBitmap(CBitmap* bitmap, const CRect& dest, const CPoint& offset,
                              float alpha) {
  if (bitmap) bitmap->draw(this, dest, offset, alpha);
}
