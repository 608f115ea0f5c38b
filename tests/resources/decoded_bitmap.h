// Decodes an embedded skin PNG with cairo and answers questions about its frames.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "resources/skin.h"

class DecodedBitmap {
 public:
  explicit DecodedBitmap(const SkinResource& resource);
  ~DecodedBitmap();
  DecodedBitmap(const DecodedBitmap&) = delete;
  DecodedBitmap& operator=(const DecodedBitmap&) = delete;

  bool ok() const;
  int width() const;
  int height() const;
  bool hasAlpha() const;

  // Pixel as 0xAARRGGBB (premultiplied; opaque images have AA = ff).
  std::uint32_t pixel(int x, int y) const;
  // Largest colour channel, 0 … 255: how bright a lamp or segment shines.
  int brightness(int x, int y) const;

  // Within frame `frame` of height frameHeight:
  int countBrighterThan(int frame, int frameHeight, int threshold) const;
  long totalBrightness(int frame, int frameHeight) const;
  int countDifferentPixels(int frameA, int frameB, int frameHeight) const;
  bool framesEqual(int frameA, int frameB, int frameHeight) const;
  // Rows (frame-relative) of the first and last pixel that differs; -1 when none.
  void differingRows(int frameA, int frameB, int frameHeight, int& first, int& last) const;

 private:
  cairo_surface_t* surface_ = nullptr;
};
