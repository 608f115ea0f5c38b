#include "editor/toolkit/cbuttons.h"

#include <cstring>

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, int32_t tag,
                           CBitmap* background, int32_t style)
    : CControl(size, listener, tag, background), style(style) {}

void COnOffButton::draw(CDrawContext* context) {
  if (background) {
    const CCoord offset = getValue() != 0.f ? background->getHeight() / 2 : 0;
    background->draw(context, size, CPoint(0, offset));
  }
  setDirty(false);
}

CMouseEventResult COnOffButton::onMouseDown(CPoint& where, const CButtonState& buttons) {
  (void)where;
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  setValue(static_cast<int32_t>(getValue()) ? 0.f : 1.f);
  invalid();
  beginEdit();
  valueChanged();
  endEdit();
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

bool COnOffButton::isTypeOf(const char* className) const {
  return (className && std::strcmp(className, "COnOffButton") == 0) ||
         CControl::isTypeOf(className);
}

CKickButton::CKickButton(const CRect& size, CControlListener* listener, int32_t tag,
                         CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background), offset(offset) {
  setHeightOfOneImage(size.getHeight());
  setNumSubPixmaps(2);
  setWheelInc(0.f);
}

CKickButton::CKickButton(const CRect& size, CControlListener* listener, int32_t tag,
                         CCoord heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background), offset(offset) {
  setHeightOfOneImage(heightOfOneImage);
  setNumSubPixmaps(2);
  setWheelInc(0.f);
}

void CKickButton::draw(CDrawContext* context) {
  if (background) {
    const CCoord top = getValue() == getMax() ? heightOfOneImage : 0;
    background->draw(context, size, CPoint(offset.x, offset.y + top));
  }
  setDirty(false);
}

CMouseEventResult CKickButton::onMouseDown(CPoint& where, const CButtonState& buttons) {
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  entryState = getValue();
  beginEdit();
  return onMouseMoved(where, buttons);
}

CMouseEventResult CKickButton::onMouseMoved(CPoint& where, const CButtonState& buttons) {
  if (buttons.isLeftButton()) {
    // Pressed only while the pointer stays on the button.
    if (size.pointInside(where))
      setValue(entryState != 0.f ? getMin() : getMax());
    else
      setValue(entryState);
    if (isDirty()) invalid();
  }
  return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseUp(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  if (getValue() > 0.f) valueChanged();
  setValue(0.f);
  valueChanged();
  if (isDirty()) invalid();
  endEdit();
  return kMouseEventHandled;
}

bool CKickButton::isTypeOf(const char* className) const {
  return (className && std::strcmp(className, "CKickButton") == 0) ||
         CControl::isTypeOf(className);
}
