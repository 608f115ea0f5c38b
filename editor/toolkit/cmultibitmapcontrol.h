// Film-strip geometry shared by the bitmap controls: sub-images of equal
// height stacked vertically, frame 0 on top.
#pragma once

#include <cstdint>

#include "editor/toolkit/cbitmap.h"

class IMultiBitmapControl {
 public:
  virtual ~IMultiBitmapControl() = default;
  virtual void setHeightOfOneImage(const CCoord& height) { heightOfOneImage = height; }
  CCoord getHeightOfOneImage() const { return heightOfOneImage; }
  virtual void setNumSubPixmaps(int32_t count) { subPixmaps = count; }
  int32_t getNumSubPixmaps() const { return subPixmaps; }
  // Derives the image height from the bitmap and the frame count.
  void autoComputeHeightOfOneImage(const CBitmap* bitmap) {
    if (bitmap && subPixmaps > 0) heightOfOneImage = bitmap->getHeight() / subPixmaps;
  }
  // Top of frame `index` in the strip, clamped to the strip.
  CCoord frameTop(int32_t index) const {
    if (index < 0) index = 0;
    if (subPixmaps > 0 && index >= subPixmaps) index = subPixmaps - 1;
    return heightOfOneImage * index;
  }
  // The frame shown for a normalised value: nearest of the strip's frames.
  int32_t frameForValue(float normalized) const {
    if (subPixmaps <= 1 || !(normalized > 0.f)) return 0;
    if (normalized > 1.f) normalized = 1.f;
    return static_cast<int32_t>(normalized * (subPixmaps - 1) + 0.5f);
  }

 protected:
  CCoord heightOfOneImage = 0;
  int32_t subPixmaps = 0;
};
