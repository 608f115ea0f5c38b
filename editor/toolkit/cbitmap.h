// Bitmaps: PNG images loaded by resource id from the module's embedded skin,
// kept as cairo image surfaces and shared by reference count.
#pragma once

#include <cairo.h>

#include <cstddef>

#include "editor/toolkit/cbaseobject.h"
#include "editor/toolkit/cgeometry.h"

class CDrawContext;

class CResourceDescription {
 public:
  CResourceDescription(int32_t id) : id(id) {}
  int32_t id;
};

// The zoom in percent a skin bitmap is drawn for.
struct CBitmapZoom {
  int32_t percent;
};

// A bitmap may hold more pixels than its size says: one drawn for a zoom of
// 150 % has 1.5 pixels per unit of width and height. Sizes are in 1× units,
// the frame's units, so controls cut film strips the same way at every zoom.
class CBitmap : public CBaseObject {
 public:
  // Looks the id up in the embedded skin, drawn for the zoom in percent; a
  // skin without that zoom gives its 1× bitmap. isLoaded() tells whether the
  // id was found.
  explicit CBitmap(const CResourceDescription& desc, CBitmapZoom zoom = CBitmapZoom{100});
  // An empty (transparent) bitmap of the given size.
  CBitmap(CCoord width, CCoord height);
  // Decodes PNG bytes held in memory.
  CBitmap(const unsigned char* pngData, size_t size);
  ~CBitmap() override;
  CBitmap(const CBitmap&) = delete;
  CBitmap& operator=(const CBitmap&) = delete;

  // Copies the part of the bitmap that starts at offset into dest. Pixels
  // are copied whole, never blended with their neighbours: dest and offset
  // are rounded to whole pixels of the context and of the bitmap.
  virtual void draw(CDrawContext* context, const CRect& dest, const CPoint& offset = CPoint(0, 0),
                    float alpha = 1.f);
  CCoord getWidth() const { return width; }
  CCoord getHeight() const { return height; }
  // Pixels per unit: 1.5 for a bitmap drawn for 150 %.
  double getZoom() const { return zoom; }
  bool isLoaded() const { return surface != nullptr; }
  const CResourceDescription& getResourceDescription() const { return resourceDesc; }
  cairo_surface_t* getSurface() const { return surface; }

  // Where resource ids are looked up: returns the PNG bytes drawn for the
  // zoom in percent, or false.
  using ResourceLookup = bool (*)(int32_t id, int32_t zoomPercent, const unsigned char** data,
                                  size_t* size);
  static void setResourceLookup(ResourceLookup lookup);

 private:
  void adopt(cairo_surface_t* loaded, double pixelsPerUnit = 1.0);

  CResourceDescription resourceDesc{0};
  cairo_surface_t* surface = nullptr;
  CCoord width = 0;
  CCoord height = 0;
  double zoom = 1.0;
};
