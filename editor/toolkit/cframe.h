// The editor window: owns its views, routes mouse, wheel and key events to
// them, keeps a back buffer and repaints only what changed, on idle.
#pragma once

#include <cairo.h>

#include <memory>
#include <vector>

#include "editor/toolkit/cview.h"
#include "editor/toolkit/platform_frame.h"
#include "editor/toolkit/vstguieditorinterface.h"

class COptionMenu;

class CFrame : public CView {
 public:
  // Opens at once on systemWindow (a parent X window id); null works off-screen.
  // zoom: window pixels per frame unit. Views, events and dirty areas are in
  // frame units at every zoom; only the back buffer and the window are larger.
  CFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor, double zoom = 1.0);
  // Off-screen until open() is called.
  CFrame(const CRect& size, VSTGUIEditorInterface* editor, double zoom = 1.0);
  ~CFrame() override;

  // Puts the frame on a window system parent; false (and off-screen) when that fails.
  bool open(void* systemWindow);
  // Releases every view, the window and the frame itself.
  void close();
  bool isOffscreen() const { return !platform; }
  // True while a window-system event is being handled (a handler may run a
  // modal loop that idles the editor meanwhile).
  bool isHandlingEvents() const { return pumping; }
  double getZoom() const { return zoom; }
  // The window's size in pixels: the frame's size times the zoom, rounded.
  int32_t getPixelWidth() const;
  int32_t getPixelHeight() const;
  // A window pixel position in frame units.
  CPoint fromPixels(double x, double y) const { return CPoint(x / zoom, y / zoom); }
  IPlatformFrame* getPlatformFrame() const { return platform.get(); }

  // The frame takes over the caller's reference.
  bool addView(CView* view);
  bool removeView(CView* view, bool withForget = true);
  bool removeAll(bool withForget = true);
  int32_t getNbViews() const { return static_cast<int32_t>(views.size()); }
  CView* getView(int32_t index) const;
  bool isChild(const CView* view) const;
  // The topmost visible view containing where (views are not nested).
  CView* getViewAt(const CPoint& where, bool deep = false) const;

  // While set, the modal view gets all mouse input.
  bool setModalView(CView* view);
  CView* getModalView() const { return modalView; }
  void setFocusView(CView* view);
  CView* getFocusView() const { return focusView; }

  bool getCurrentMouseLocation(CPoint& where) const;
  CButtonState getCurrentMouseButtons() const;

  // Handles pending window events, then repaints what changed.
  void idle();
  void invalidRect(const CRect& rect);
  void invalid() override { setDirty(true); }
  void setDirty(bool state = true) override;
  bool isDirty() const override;
  void draw(CDrawContext* context) override;
  void drawRect(CDrawContext* context, const CRect& updateRect) override;
  // How many view draws the frame has made; tests count repaint work with it.
  uint64_t getDrawCount() const { return drawCount; }
  cairo_surface_t* getBackBuffer() const { return backBuffer; }
  // Brings the back buffer up to date and writes it.
  bool writePNG(const char* path);

  void beginEdit(int32_t index);
  void endEdit(int32_t index);
  VSTGUIEditorInterface* getEditor() const { return editor; }
  int32_t getKnobMode() const;

  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;
  bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;
  int32_t onKeyDown(VstKeyCode& keyCode) override;
  int32_t onKeyUp(VstKeyCode& keyCode) override;

  // Entry points of window-system and synthetic events (frame coordinates).
  CMouseEventResult platformOnMouseDown(CPoint where, CButtonState buttons);
  CMouseEventResult platformOnMouseUp(CPoint where, CButtonState buttons);
  CMouseEventResult platformOnMouseMoved(CPoint where, CButtonState buttons);
  CMouseEventResult platformOnMouseExited(CPoint where, CButtonState buttons);
  bool platformOnMouseWheel(CPoint where, float distance, CButtonState buttons);
  bool platformOnKeyDown(VstKeyCode& keyCode);
  bool platformOnKeyUp(VstKeyCode& keyCode);
  // Repaints rect of the back buffer from scratch (window exposure).
  void platformDrawRect(const CRect& rect);

  // Pop-up menus: one at a time. Off-screen, the menu stays open until a
  // test (or a click anywhere) closes it.
  bool openPopupMenu(COptionMenu* menu, const CPoint& where,
                     const std::vector<PopupMenuEntry>& entries, int32_t itemsPerColumn);
  COptionMenu* getOpenPopupMenu() const { return popupMenu; }
  // A menu that a right click on the bare background (no view under the
  // pointer) pops up at the pointer. It is no view of the frame: it draws
  // nothing and takes no other event. The frame takes over the caller's
  // reference; null removes it.
  void setBackgroundMenu(COptionMenu* menu);
  COptionMenu* getBackgroundMenu() const { return backgroundMenu; }
  const std::vector<PopupMenuEntry>& getPopupEntries() const { return popupEntries; }
  // chosen is the entry index, or -1 when the menu was dismissed.
  void closePopupMenu(int32_t chosen);

  bool isTypeOf(const char* className) const override;

 private:
  void createBackBuffer();
  bool popUpBackgroundMenu(const CPoint& where, const CButtonState& buttons);
  void forgetReferencesTo(const CView* view);
  CView* mouseTargetAt(const CPoint& where) const;
  void updateMouseOver(const CPoint& where, const CButtonState& buttons);
  void addDirtyRect(const CRect& rect);
  void repaintDirty();
  void paintRect(CDrawContext& context, const CRect& rect);
  // rect grown to whole window pixels, in frame units.
  CRect onWholePixels(const CRect& rect) const;

  VSTGUIEditorInterface* editor;
  double zoom;
  std::unique_ptr<IPlatformFrame> platform;
  // A window closed from inside its own event handler is destroyed only
  // after the handler has returned.
  std::unique_ptr<IPlatformFrame> retiredPlatform;
  bool pumping = false;
  std::vector<CView*> views;
  CView* modalView = nullptr;
  CView* focusView = nullptr;
  CView* mouseDownView = nullptr;
  CView* mouseOverView = nullptr;
  CPoint lastMouse;
  bool lastMouseKnown = false;
  CButtonState lastButtons;
  cairo_surface_t* backBuffer = nullptr;
  std::vector<CRect> dirtyRects;
  bool fullRedraw = true;
  bool inRepaint = false;
  uint64_t drawCount = 0;
  COptionMenu* popupMenu = nullptr;
  COptionMenu* backgroundMenu = nullptr;
  std::vector<PopupMenuEntry> popupEntries;
};
