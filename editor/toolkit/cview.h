// The base of everything in a frame: a rectangle that draws itself and may
// answer mouse, wheel and key events. Views are reference counted; a frame
// owns the views added to it.
#pragma once

#include "editor/toolkit/cbaseobject.h"
#include "editor/toolkit/cbuttonstate.h"
#include "editor/toolkit/cgeometry.h"
#include "host/vst2_abi.h"

class CBitmap;
class CDrawContext;
class CFrame;

class CView : public CBaseObject {
 public:
  explicit CView(const CRect& size);
  CView(const CView& view);
  ~CView() override;

  virtual void draw(CDrawContext* context);
  // Draws the part of the view inside updateRect (the context is clipped).
  virtual void drawRect(CDrawContext* context, const CRect& updateRect);

  virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);
  virtual CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);
  virtual CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);
  virtual CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons);
  virtual CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons);
  virtual bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons);
  // 1 when the key was used, -1 when not.
  virtual int32_t onKeyDown(VstKeyCode& keyCode);
  virtual int32_t onKeyUp(VstKeyCode& keyCode);

  virtual bool isDirty() const { return dirty; }
  virtual void setDirty(bool state = true) { dirty = state; }
  // Asks for a redraw on the frame's next idle pass.
  virtual void invalid() { setDirty(true); }

  const CRect& getViewSize() const { return size; }
  CRect& getViewSize(CRect& rect) const { return rect = size; }
  virtual void setViewSize(const CRect& rect, bool invalidate = true);
  const CRect& getMouseableArea() const { return mouseableArea; }
  virtual void setMouseableArea(const CRect& rect) { mouseableArea = rect; }
  CCoord getWidth() const { return size.getWidth(); }
  CCoord getHeight() const { return size.getHeight(); }

  virtual void setBackground(CBitmap* background);
  CBitmap* getBackground() const { return background; }

  void setVisible(bool state);
  bool isVisible() const { return visible; }
  void setMouseEnabled(bool state) { mouseEnabled = state; }
  bool getMouseEnabled() const { return mouseEnabled; }
  void setTransparency(bool state) { transparent = state; }
  bool getTransparency() const { return transparent; }
  virtual bool wantsFocus() const { return false; }
  virtual void takeFocus() {}
  virtual void looseFocus() {}

  // Called by the frame when the view is added to or removed from it.
  virtual bool attached(CFrame* parent);
  virtual bool removed(CFrame* parent);
  bool isAttached() const { return frame != nullptr; }
  CFrame* getFrame() const { return frame; }

  virtual bool isTypeOf(const char* className) const;
  virtual CView* newCopy() const { return new CView(*this); }

 protected:
  CRect size;
  CRect mouseableArea;
  CFrame* frame = nullptr;
  CBitmap* background = nullptr;
  bool dirty = true;
  bool visible = true;
  bool mouseEnabled = true;
  bool transparent = false;
};
