// What a frame needs from a window system. Without one the frame works
// off-screen: it draws into its back buffer and takes synthetic events.
#pragma once

#include <string>
#include <vector>

#include "editor/toolkit/cbuttonstate.h"
#include "editor/toolkit/cgeometry.h"

class CFrame;

struct PopupMenuEntry {
  std::string title;
  bool separator = false;
  bool enabled = true;
  bool checked = false;
};

class IPlatformFrame {
 public:
  virtual ~IPlatformFrame() = default;
  // Handles the window system's pending events without blocking.
  virtual void pumpEvents() = 0;
  // The back buffer changed inside rect; show it.
  virtual void present(const CRect& rect) = 0;
  virtual bool getCurrentMousePosition(CPoint& where) = 0;
  virtual CButtonState getCurrentMouseButtons() = 0;
  // Keyboard input for the frame's window while a view has the focus.
  virtual void setKeyboardFocus(bool state) = 0;
  // Shows a pop-up menu with its top-left corner at where (frame
  // coordinates); the choice reaches the frame through CFrame::closePopupMenu.
  virtual void showPopupMenu(const CPoint& where, const std::vector<PopupMenuEntry>& entries,
                             int32_t itemsPerColumn) = 0;
  virtual void hidePopupMenu() = 0;
};
