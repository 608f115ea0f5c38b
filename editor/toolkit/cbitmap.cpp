#include "editor/toolkit/cbitmap.h"

#include <cmath>
#include <cstring>

#include "editor/toolkit/cdrawcontext.h"

// Set by the build when the embedded skin library is part of it.
#ifdef HALDEN_HAS_SKIN
#include "resources/skin.h"
#endif

namespace {

constexpr int32_t kUnzoomed = 100;  // percent

#ifdef HALDEN_HAS_SKIN
bool lookupSkin(int32_t id, int32_t zoomPercent, const unsigned char** data, size_t* size) {
  const SkinResource* resource = findSkinResource(id, zoomPercent);
  if (!resource || !resource->data) return false;
  *data = resource->data;
  *size = resource->size;
  return true;
}
CBitmap::ResourceLookup resourceLookup = lookupSkin;
#else
CBitmap::ResourceLookup resourceLookup = nullptr;
#endif

struct PngReader {
  const unsigned char* data;
  size_t size;
  size_t position;
};

cairo_status_t readPng(void* closure, unsigned char* out, unsigned int length) {
  auto* reader = static_cast<PngReader*>(closure);
  if (reader->size - reader->position < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(out, reader->data + reader->position, length);
  reader->position += length;
  return CAIRO_STATUS_SUCCESS;
}

cairo_surface_t* decodePng(const unsigned char* data, size_t size) {
  if (!data || size == 0) return nullptr;
  PngReader reader{data, size, 0};
  return cairo_image_surface_create_from_png_stream(readPng, &reader);
}

}  // namespace

void CBitmap::setResourceLookup(ResourceLookup lookup) { resourceLookup = lookup; }

CBitmap::CBitmap(const CResourceDescription& desc, CBitmapZoom zoom) : resourceDesc(desc) {
  const int32_t zoomPercent = zoom.percent;
  const unsigned char* data = nullptr;
  size_t size = 0;
  if (!resourceLookup) return;
  if (zoomPercent != kUnzoomed && resourceLookup(desc.id, zoomPercent, &data, &size))
    adopt(decodePng(data, size), zoomPercent / 100.0);
  else if (resourceLookup(desc.id, kUnzoomed, &data, &size))
    adopt(decodePng(data, size));
}

CBitmap::CBitmap(CCoord w, CCoord h) {
  if (w > 0 && h > 0)
    adopt(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(w),
                                     static_cast<int>(h)));
}

CBitmap::CBitmap(const unsigned char* pngData, size_t size) { adopt(decodePng(pngData, size)); }

CBitmap::~CBitmap() {
  if (surface) cairo_surface_destroy(surface);
}

void CBitmap::adopt(cairo_surface_t* loaded, double pixelsPerUnit) {
  if (!loaded) return;
  if (cairo_surface_status(loaded) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(loaded);
    return;
  }
  surface = loaded;
  zoom = pixelsPerUnit;
  // A 1× size of 21 is 32 pixels at 150 %; rounding back finds 21 again.
  width = std::round(cairo_image_surface_get_width(loaded) / zoom);
  height = std::round(cairo_image_surface_get_height(loaded) / zoom);
}

// Works in the context's pixels: the destination's corners are rounded to
// whole pixels and the bitmap's pixels are laid on them one to one (or
// enlarged evenly when the bitmap was drawn for a smaller zoom than the
// frame's). Film strips then never bleed a neighbouring frame in, and at
// 150 % every frame starts on the pixel row the skin generator drew it on.
void CBitmap::draw(CDrawContext* context, const CRect& dest, const CPoint& offset, float alpha) {
  if (!context || !surface) return;
  cairo_t* cr = context->getCairo();
  cairo_matrix_t toDevice;
  cairo_get_matrix(cr, &toDevice);
  const double frameZoom = toDevice.xx;
  double left = dest.left, top = dest.top, right = dest.right, bottom = dest.bottom;
  cairo_user_to_device(cr, &left, &top);
  cairo_user_to_device(cr, &right, &bottom);
  left = std::round(left);
  top = std::round(top);
  right = std::round(right);
  bottom = std::round(bottom);
  cairo_save(cr);
  cairo_identity_matrix(cr);
  cairo_rectangle(cr, left, top, right - left, bottom - top);
  cairo_clip(cr);
  cairo_translate(cr, left, top);
  cairo_scale(cr, frameZoom / zoom, frameZoom / zoom);
  cairo_set_source_surface(cr, surface, -std::round(offset.x * zoom), -std::round(offset.y * zoom));
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint_with_alpha(cr, alpha * context->getGlobalAlpha());
  cairo_restore(cr);
}
