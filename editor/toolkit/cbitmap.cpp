#include "editor/toolkit/cbitmap.h"

#include <cstring>

#include "editor/toolkit/cdrawcontext.h"

// Set by the build when the embedded skin library is part of it.
#ifdef HALDEN_HAS_SKIN
#include "resources/skin.h"
#endif

namespace {

#ifdef HALDEN_HAS_SKIN
bool lookupSkin(int32_t id, const unsigned char** data, size_t* size) {
  const SkinResource* resource = findSkinResource(id);
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

CBitmap::CBitmap(const CResourceDescription& desc) : resourceDesc(desc) {
  const unsigned char* data = nullptr;
  size_t size = 0;
  if (resourceLookup && resourceLookup(desc.id, &data, &size)) adopt(decodePng(data, size));
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

void CBitmap::adopt(cairo_surface_t* loaded) {
  if (!loaded) return;
  if (cairo_surface_status(loaded) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(loaded);
    return;
  }
  surface = loaded;
  width = cairo_image_surface_get_width(loaded);
  height = cairo_image_surface_get_height(loaded);
}

void CBitmap::draw(CDrawContext* context, const CRect& dest, const CPoint& offset, float alpha) {
  if (!context || !surface) return;
  cairo_t* cr = context->getCairo();
  cairo_save(cr);
  cairo_rectangle(cr, dest.left, dest.top, dest.getWidth(), dest.getHeight());
  cairo_clip(cr);
  cairo_set_source_surface(cr, surface, dest.left - offset.x, dest.top - offset.y);
  // Film strips must never bleed a neighbouring frame in.
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint_with_alpha(cr, alpha * context->getGlobalAlpha());
  cairo_restore(cr);
}
