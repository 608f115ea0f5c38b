#include "tests/resources/decoded_bitmap.h"

#include <algorithm>
#include <cstring>

namespace {

struct ReadCursor {
  const unsigned char* data;
  unsigned long size;
  unsigned long offset;
};

cairo_status_t readFromMemory(void* closure, unsigned char* out, unsigned int length) {
  auto* cursor = static_cast<ReadCursor*>(closure);
  if (cursor->size - cursor->offset < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(out, cursor->data + cursor->offset, length);
  cursor->offset += length;
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

DecodedBitmap::DecodedBitmap(const SkinResource& resource) {
  ReadCursor cursor{resource.data, resource.size, 0};
  surface_ = cairo_image_surface_create_from_png_stream(readFromMemory, &cursor);
}

DecodedBitmap::~DecodedBitmap() { cairo_surface_destroy(surface_); }

bool DecodedBitmap::ok() const { return cairo_surface_status(surface_) == CAIRO_STATUS_SUCCESS; }
int DecodedBitmap::width() const { return cairo_image_surface_get_width(surface_); }
int DecodedBitmap::height() const { return cairo_image_surface_get_height(surface_); }
bool DecodedBitmap::hasAlpha() const {
  return cairo_image_surface_get_format(surface_) == CAIRO_FORMAT_ARGB32;
}

std::uint32_t DecodedBitmap::pixel(int x, int y) const {
  const unsigned char* row =
      cairo_image_surface_get_data(surface_) + y * cairo_image_surface_get_stride(surface_);
  std::uint32_t value;
  std::memcpy(&value, row + 4 * x, sizeof value);
  return hasAlpha() ? value : (value | 0xff000000u);
}

int DecodedBitmap::brightness(int x, int y) const {
  const std::uint32_t p = pixel(x, y);
  return static_cast<int>(std::max({(p >> 16) & 0xffu, (p >> 8) & 0xffu, p & 0xffu}));
}

int DecodedBitmap::countBrighterThan(int frame, int frameHeight, int threshold) const {
  int count = 0;
  for (int y = 0; y < frameHeight; ++y)
    for (int x = 0; x < width(); ++x)
      if (brightness(x, frame * frameHeight + y) > threshold) ++count;
  return count;
}

long DecodedBitmap::totalBrightness(int frame, int frameHeight) const {
  long sum = 0;
  for (int y = 0; y < frameHeight; ++y)
    for (int x = 0; x < width(); ++x) sum += brightness(x, frame * frameHeight + y);
  return sum;
}

int DecodedBitmap::countDifferentPixels(int frameA, int frameB, int frameHeight) const {
  int count = 0;
  for (int y = 0; y < frameHeight; ++y)
    for (int x = 0; x < width(); ++x)
      if (pixel(x, frameA * frameHeight + y) != pixel(x, frameB * frameHeight + y)) ++count;
  return count;
}

bool DecodedBitmap::framesEqual(int frameA, int frameB, int frameHeight) const {
  const unsigned char* data = cairo_image_surface_get_data(surface_);
  const int stride = cairo_image_surface_get_stride(surface_);
  for (int y = 0; y < frameHeight; ++y)
    if (std::memcmp(data + (frameA * frameHeight + y) * stride,
                    data + (frameB * frameHeight + y) * stride, 4 * width()) != 0)
      return false;
  return true;
}

void DecodedBitmap::differingRows(int frameA, int frameB, int frameHeight, int& first,
                                  int& last) const {
  first = last = -1;
  for (int y = 0; y < frameHeight; ++y)
    for (int x = 0; x < width(); ++x)
      if (pixel(x, frameA * frameHeight + y) != pixel(x, frameB * frameHeight + y)) {
        if (first < 0) first = y;
        last = y;
        break;
      }
}
