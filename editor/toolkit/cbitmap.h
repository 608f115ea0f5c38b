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

class CBitmap : public CBaseObject {
 public:
  // Looks the id up in the embedded skin; isLoaded() tells whether it was found.
  explicit CBitmap(const CResourceDescription& desc);
  // An empty (transparent) bitmap of the given size.
  CBitmap(CCoord width, CCoord height);
  // Decodes PNG bytes held in memory.
  CBitmap(const unsigned char* pngData, size_t size);
  ~CBitmap() override;
  CBitmap(const CBitmap&) = delete;
  CBitmap& operator=(const CBitmap&) = delete;

  // Copies the part of the bitmap that starts at offset into dest.
  virtual void draw(CDrawContext* context, const CRect& dest, const CPoint& offset = CPoint(0, 0),
                    float alpha = 1.f);
  CCoord getWidth() const { return width; }
  CCoord getHeight() const { return height; }
  bool isLoaded() const { return surface != nullptr; }
  const CResourceDescription& getResourceDescription() const { return resourceDesc; }
  cairo_surface_t* getSurface() const { return surface; }

  // Where resource ids are looked up: returns PNG bytes or false.
  using ResourceLookup = bool (*)(int32_t id, const unsigned char** data, size_t* size);
  static void setResourceLookup(ResourceLookup lookup);

 private:
  void adopt(cairo_surface_t* loaded);

  CResourceDescription resourceDesc{0};
  cairo_surface_t* surface = nullptr;
  CCoord width = 0;
  CCoord height = 0;
};
