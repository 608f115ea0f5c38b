// Copies parts of a cairo image surface into an X window. On the usual
// 24/32-bit true-colour visuals the pixels go straight up with XPutImage;
// other visuals go through cairo's Xlib backend.
#pragma once

#include <X11/Xlib.h>
#include <cairo.h>

#include "editor/toolkit/cgeometry.h"

class X11Blitter {
 public:
  X11Blitter(Display* display, Window window, Visual* visual, int depth, int width, int height);
  ~X11Blitter();
  X11Blitter(const X11Blitter&) = delete;
  X11Blitter& operator=(const X11Blitter&) = delete;

  // image is an ARGB32 surface of the window's size.
  void blit(cairo_surface_t* image, const CRect& rect);

 private:
  Display* display;
  Window window;
  Visual* visual;
  int depth;
  int width;
  int height;
  GC gc = nullptr;
  bool direct = false;
  cairo_surface_t* xlibSurface = nullptr;
  cairo_device_t* xlibDevice = nullptr;
};
