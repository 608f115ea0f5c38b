#include "editor/toolkit/cview.h"

#include <cstring>

#include "editor/toolkit/cbitmap.h"
#include "editor/toolkit/cdrawcontext.h"
#include "editor/toolkit/cframe.h"

CView::CView(const CRect& size) : size(size), mouseableArea(size) {}

CView::CView(const CView& view)
    : CBaseObject(view),
      size(view.size),
      mouseableArea(view.mouseableArea),
      background(view.background),
      visible(view.visible),
      mouseEnabled(view.mouseEnabled),
      transparent(view.transparent) {
  if (background) background->remember();
}

CView::~CView() {
  if (background) background->forget();
}

void CView::draw(CDrawContext* context) {
  if (background) background->draw(context, size);
  setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect& updateRect) {
  (void)updateRect;
  draw(context);
}

CMouseEventResult CView::onMouseDown(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseUp(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseMoved(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseEntered(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  return kMouseEventNotImplemented;
}
CMouseEventResult CView::onMouseExited(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  return kMouseEventNotImplemented;
}
bool CView::onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) {
  (void)where, (void)distance, (void)buttons;
  return false;
}
int32_t CView::onKeyDown(VstKeyCode& keyCode) {
  (void)keyCode;
  return -1;
}
int32_t CView::onKeyUp(VstKeyCode& keyCode) {
  (void)keyCode;
  return -1;
}

void CView::setViewSize(const CRect& rect, bool invalidate) {
  // The area left behind must be repainted too.
  if (frame && invalidate) frame->invalidRect(size);
  size = rect;
  if (invalidate) setDirty(true);
}

void CView::setBackground(CBitmap* newBackground) {
  if (newBackground) newBackground->remember();
  if (background) background->forget();
  background = newBackground;
  setDirty(true);
}

void CView::setVisible(bool state) {
  if (visible == state) return;
  visible = state;
  if (frame) frame->invalidRect(size);
  setDirty(true);
}

bool CView::attached(CFrame* parent) {
  frame = parent;
  setDirty(true);
  return true;
}

bool CView::removed(CFrame* parent) {
  (void)parent;
  frame = nullptr;
  return true;
}

bool CView::isTypeOf(const char* className) const {
  return className && std::strcmp(className, "CView") == 0;
}
