// The pop-up menu window on X11: an override-redirect window listing the
// entries with a check mark, holding the pointer and keyboard grabs while it
// is open. Escape closes it without a choice.
#pragma once

#include <X11/Xlib.h>
#include <cairo.h>

#include <memory>
#include <vector>

#include "editor/toolkit/platform_frame.h"
#include "editor/toolkit/x11_blit.h"

class X11PopupMenu {
 public:
  // Opens at root coordinates (x, y); isOpen() is false when that failed.
  // Presses before quietUntil (server time) where the opening click was
  // made are the rest of that click (a double-click) and choose nothing.
  X11PopupMenu(Display* display, int rootX, int rootY, const std::vector<PopupMenuEntry>& entries,
               int32_t itemsPerColumn, Time quietUntil = CurrentTime);
  ~X11PopupMenu();
  X11PopupMenu(const X11PopupMenu&) = delete;
  X11PopupMenu& operator=(const X11PopupMenu&) = delete;

  bool isOpen() const { return window != 0; }
  Window getWindow() const { return window; }

  // What one event means for the menu.
  enum class Outcome { kNone, kChosen, kDismissed };
  Outcome handleEvent(const XEvent& event, int32_t& chosen);

 private:
  struct Layout {
    int columns = 1;
    int rows = 1;
    int columnWidth = 0;
  };
  Layout measure() const;
  int entryAt(int x, int y) const;
  void paint();

  Display* display;
  Window window = 0;
  // Drawn off-screen, then copied up.
  cairo_surface_t* surface = nullptr;
  std::unique_ptr<X11Blitter> blitter;
  std::vector<PopupMenuEntry> entries;
  Layout layout;
  int width = 0;
  int height = 0;
  int hover = -1;
  // The press that opened the menu may end over it: that release chooses
  // only after the pointer travelled, so a plain click just opens the menu.
  bool pressedInside = false;
  bool travelled = false;
  Time quietUntil;
  bool keyboardGrabbed = false;
  int startX = 0;
  int startY = 0;
};
