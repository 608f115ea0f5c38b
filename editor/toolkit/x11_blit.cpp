#include "editor/toolkit/x11_blit.h"

#include <X11/Xutil.h>
#include <cairo-xlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {
// cairo's ARGB32 layout as an X true-colour pixel.
constexpr unsigned long kRedMask = 0xff0000;
constexpr unsigned long kGreenMask = 0x00ff00;
constexpr unsigned long kBlueMask = 0x0000ff;
constexpr int kBitsPerPixel = 32;

bool hostIsLittleEndian() {
  const uint16_t probe = 1;
  return *reinterpret_cast<const uint8_t*>(&probe) == 1;
}
}  // namespace

X11Blitter::X11Blitter(Display* display, Window window, Visual* visual, int depth, int width,
                       int height)
    : display(display), window(window), visual(visual), depth(depth), width(width),
      height(height) {
  gc = XCreateGC(display, window, 0, nullptr);
  direct = visual && (depth == 24 || depth == 32) && visual->red_mask == kRedMask &&
           visual->green_mask == kGreenMask && visual->blue_mask == kBlueMask;
  if (!direct) {
    xlibSurface = cairo_xlib_surface_create(display, window, visual, width, height);
    xlibDevice = cairo_device_reference(cairo_surface_get_device(xlibSurface));
  }
}

X11Blitter::~X11Blitter() {
  if (xlibSurface) {
    cairo_surface_finish(xlibSurface);
    cairo_surface_destroy(xlibSurface);
  }
  if (xlibDevice) {
    cairo_device_finish(xlibDevice);
    cairo_device_destroy(xlibDevice);
  }
  if (gc) XFreeGC(display, gc);
}

void X11Blitter::blit(cairo_surface_t* image, const CRect& rect) {
  if (!image) return;
  cairo_surface_flush(image);
  const int x = std::max(0, static_cast<int>(std::floor(rect.left)));
  const int y = std::max(0, static_cast<int>(std::floor(rect.top)));
  const int right = std::min(width, static_cast<int>(std::ceil(rect.right)));
  const int bottom = std::min(height, static_cast<int>(std::ceil(rect.bottom)));
  if (right <= x || bottom <= y) return;
  if (!direct) {
    cairo_t* cr = cairo_create(xlibSurface);
    cairo_rectangle(cr, x, y, right - x, bottom - y);
    cairo_clip(cr);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(xlibSurface);
    return;
  }
  XImage* ximage = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                                reinterpret_cast<char*>(cairo_image_surface_get_data(image)),
                                static_cast<unsigned>(cairo_image_surface_get_width(image)),
                                static_cast<unsigned>(cairo_image_surface_get_height(image)),
                                kBitsPerPixel, cairo_image_surface_get_stride(image));
  if (!ximage) return;
  // The pixels are in host order; Xlib swaps them if the server differs.
  ximage->byte_order = hostIsLittleEndian() ? LSBFirst : MSBFirst;
  XPutImage(display, window, gc, ximage, x, y, x, y, static_cast<unsigned>(right - x),
            static_cast<unsigned>(bottom - y));
  ximage->data = nullptr;  // the surface owns the pixels
  XDestroyImage(ximage);
}
