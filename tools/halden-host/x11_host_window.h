// A top-level X11 window that parents a plug-in's editor, as a host's
// editor window does: it is given to effEditOpen by its window id, reports
// when the user closes it, and can grab what it shows into a PNG.
#pragma once

#include <cstdint>
#include <string>

typedef struct _XDisplay Display;

namespace hosttool {

class X11HostWindow {
 public:
  // Opens the display named by DISPLAY and creates an unmapped window;
  // throws ToolError when there is no display.
  X11HostWindow(int width, int height, const std::string& title);
  ~X11HostWindow();
  X11HostWindow(const X11HostWindow&) = delete;
  X11HostWindow& operator=(const X11HostWindow&) = delete;

  // The value effEditOpen takes: the window id as a pointer.
  void* parentHandle() const;
  unsigned long windowId() const { return window_; }

  void resize(int width, int height);
  // Maps the window and waits (up to a second) until the server shows it.
  void show();
  // Handles pending events without blocking; false once the user closed the
  // window (window-manager close or the window destroyed).
  bool pumpEvents();
  bool isClosed() const { return closed_; }
  bool isDestroyed() const { return destroyed_; }
  // How many child windows the plug-in left inside the window.
  int childWindowCount();
  // Writes the window's pixels, the editor's child window included.
  void writePng(const std::string& path);

 private:
  Display* display_ = nullptr;
  unsigned long window_ = 0;
  unsigned long deleteMessage_ = 0;
  int width_;
  int height_;
  bool closed_ = false;
  bool destroyed_ = false;
};

}  // namespace hosttool
