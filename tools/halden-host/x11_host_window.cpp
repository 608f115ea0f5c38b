#include "tools/halden-host/x11_host_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <chrono>
#include <thread>

#include "tools/halden-host/tool_error.h"

namespace hosttool {
namespace {

constexpr auto kMapWaitStep = std::chrono::milliseconds(5);
constexpr int kMapWaitSteps = 200;  // one second

// Position and width of a colour channel within a pixel value.
struct Channel {
  int shift = 0;
  int bits = 0;
  explicit Channel(unsigned long mask) {
    while (mask && !(mask & 1)) {
      mask >>= 1;
      ++shift;
    }
    while (mask & 1) {
      mask >>= 1;
      ++bits;
    }
  }
  uint32_t eightBits(unsigned long pixel, unsigned long mask) const {
    if (bits == 0) return 0;
    const unsigned long value = (pixel & mask) >> shift;
    const unsigned long max = (1ul << bits) - 1;
    return static_cast<uint32_t>((value * 255 + max / 2) / max);
  }
};

// A plug-in's editor runs its own connection; errors about windows it
// destroyed must not end the tool.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

}  // namespace

X11HostWindow::X11HostWindow(int width, int height, const std::string& title)
    : width_(width), height_(height) {
  display_ = XOpenDisplay(nullptr);
  if (!display_) throw ToolError("cannot open the X display (is DISPLAY set?)");
  XSetErrorHandler(ignoreErrors);
  const int screen = DefaultScreen(display_);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = BlackPixel(display_, screen);
  attributes.event_mask = StructureNotifyMask | ExposureMask;
  window_ = XCreateWindow(display_, RootWindow(display_, screen), 0, 0,
                          static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                          CopyFromParent, InputOutput, CopyFromParent, CWBackPixel | CWEventMask,
                          &attributes);
  XStoreName(display_, window_, title.c_str());
  // A fixed-size window, like the editor it holds.
  XSizeHints* hints = XAllocSizeHints();
  if (hints) {
    hints->flags = PMinSize | PMaxSize;
    hints->min_width = hints->max_width = width;
    hints->min_height = hints->max_height = height;
    XSetWMNormalHints(display_, window_, hints);
    XFree(hints);
  }
  Atom deleteAtom = XInternAtom(display_, "WM_DELETE_WINDOW", False);
  deleteMessage_ = deleteAtom;
  XSetWMProtocols(display_, window_, &deleteAtom, 1);
  XFlush(display_);
}

X11HostWindow::~X11HostWindow() {
  if (!display_) return;
  if (!destroyed_) XDestroyWindow(display_, window_);
  XCloseDisplay(display_);
}

void* X11HostWindow::parentHandle() const {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(window_));
}

void X11HostWindow::resize(int width, int height) {
  width_ = width;
  height_ = height;
  XSizeHints* hints = XAllocSizeHints();
  if (hints) {
    hints->flags = PMinSize | PMaxSize;
    hints->min_width = hints->max_width = width;
    hints->min_height = hints->max_height = height;
    XSetWMNormalHints(display_, window_, hints);
    XFree(hints);
  }
  XResizeWindow(display_, window_, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XFlush(display_);
}

void X11HostWindow::show() {
  XMapRaised(display_, window_);
  XFlush(display_);
  for (int step = 0; step < kMapWaitSteps; ++step) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, window_, &attributes) &&
        attributes.map_state == IsViewable)
      return;
    pumpEvents();
    std::this_thread::sleep_for(kMapWaitStep);
  }
}

bool X11HostWindow::pumpEvents() {
  while (!closed_ && XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.xany.window != window_) continue;
    if (event.type == ClientMessage &&
        static_cast<unsigned long>(event.xclient.data.l[0]) == deleteMessage_) {
      // The host destroys its window only after the editor has closed.
      closed_ = true;
    } else if (event.type == DestroyNotify) {
      destroyed_ = true;
      closed_ = true;
    }
  }
  return !closed_;
}

int X11HostWindow::childWindowCount() {
  if (destroyed_) return 0;
  XSync(display_, False);
  Window root, parent;
  Window* children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display_, window_, &root, &parent, &children, &count)) return 0;
  if (children) XFree(children);
  return static_cast<int>(count);
}

void X11HostWindow::writePng(const std::string& path) {
  if (destroyed_) throw ToolError("the window is gone");
  XSync(display_, False);
  XImage* image = XGetImage(display_, window_, 0, 0, static_cast<unsigned>(width_),
                            static_cast<unsigned>(height_), AllPlanes, ZPixmap);
  if (!image) throw ToolError("cannot read the window's pixels");
  const Channel red(image->red_mask), green(image->green_mask), blue(image->blue_mask);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height_; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
    for (int x = 0; x < width_; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      row[x] = red.eightBits(pixel, image->red_mask) << 16 |
               green.eightBits(pixel, image->green_mask) << 8 |
               blue.eightBits(pixel, image->blue_mask);
    }
  }
  XDestroyImage(image);
  cairo_surface_mark_dirty(surface);
  const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) throw ToolError("cannot write '" + path + "'");
}

}  // namespace hosttool
