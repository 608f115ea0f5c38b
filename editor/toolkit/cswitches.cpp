#include "editor/toolkit/cswitches.h"

#include <cstring>

CHorizontalSwitch::CHorizontalSwitch(const CRect& size, CControlListener* listener, int32_t tag,
                                     int32_t subPixmaps, CCoord heightOfOneImage,
                                     int32_t iMaxPositions, CBitmap* background,
                                     const CPoint& offset)
    : CControl(size, listener, tag, background), offset(offset), maxPositions(iMaxPositions) {
  setNumSubPixmaps(subPixmaps);
  setHeightOfOneImage(heightOfOneImage);
  setDefaultValue(0.f);
}

void CHorizontalSwitch::draw(CDrawContext* context) {
  if (background) {
    const CPoint where(offset.x, offset.y + frameTop(frameForValue(getValueNormalized())));
    background->draw(context, size, where);
  }
  setDirty(false);
}

CMouseEventResult CHorizontalSwitch::onMouseDown(CPoint& where, const CButtonState& buttons) {
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  if (checkDefaultValue(buttons)) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  beginEdit();
  return onMouseMoved(where, buttons);
}

CMouseEventResult CHorizontalSwitch::onMouseMoved(CPoint& where, const CButtonState& buttons) {
  if (!buttons.isLeftButton() || maxPositions < 1) return kMouseEventHandled;
  const double positionWidth = size.getWidth() / maxPositions;
  int32_t position = static_cast<int32_t>((where.x - size.left) / positionWidth);
  if (position < 0) position = 0;
  if (position >= maxPositions) position = maxPositions - 1;
  const float before = getValue();
  const float normalized =
      maxPositions > 1 ? static_cast<float>(position) / static_cast<float>(maxPositions - 1) : 0.f;
  setValue(vmin + normalized * getRange());
  bounds();
  if (getValue() != before) {
    valueChanged();
    invalid();
  }
  return kMouseEventHandled;
}

CMouseEventResult CHorizontalSwitch::onMouseUp(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  endEdit();
  return kMouseEventHandled;
}

bool CHorizontalSwitch::isTypeOf(const char* className) const {
  return (className && std::strcmp(className, "CHorizontalSwitch") == 0) ||
         CControl::isTypeOf(className);
}

CRockerSwitch::CRockerSwitch(const CRect& size, CControlListener* listener, int32_t tag,
                             CCoord heightOfOneImage, CBitmap* background, const CPoint& offset,
                             const int32_t style)
    : CControl(size, listener, tag, background), offset(offset), style(style) {
  setNumSubPixmaps(3);
  setHeightOfOneImage(heightOfOneImage);
  setMin(-1.f);
  setMax(1.f);
  setValue(0.f);
  setDefaultValue(0.f);
}

void CRockerSwitch::draw(CDrawContext* context) {
  if (background) {
    int32_t index = 1;
    if (getValue() == getMin()) index = 0;
    if (getValue() == getMax()) index = 2;
    background->draw(context, size, CPoint(offset.x, offset.y + frameTop(index)));
  }
  setDirty(false);
}

CMouseEventResult CRockerSwitch::onMouseDown(CPoint& where, const CButtonState& buttons) {
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  entryState = getValue();
  beginEdit();
  return onMouseMoved(where, buttons);
}

CMouseEventResult CRockerSwitch::onMouseMoved(CPoint& where, const CButtonState& buttons) {
  if (!buttons.isLeftButton()) return kMouseEventHandled;
  const float before = getValue();
  if (!size.pointInside(where)) {
    setValue(entryState);
  } else if (style & kVertical) {
    setValue(where.y < size.top + size.getHeight() / 2 ? -1.f : 1.f);
  } else {
    setValue(where.x < size.left + size.getWidth() / 2 ? -1.f : 1.f);
  }
  if (getValue() != before) {
    valueChanged();
    invalid();
  }
  return kMouseEventHandled;
}

CMouseEventResult CRockerSwitch::onMouseUp(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  const float before = getValue();
  setValue(0.f);
  if (getValue() != before) {
    valueChanged();
    invalid();
  }
  endEdit();
  return kMouseEventHandled;
}

bool CRockerSwitch::onWheel(const CPoint& where, const float& distance,
                            const CButtonState& buttons) {
  (void)where, (void)buttons;
  if (distance == 0.f) return false;
  // One notch is one step: a press on the matching half and its release.
  beginEdit();
  setValue(distance > 0 ? -1.f : 1.f);
  valueChanged();
  setValue(0.f);
  valueChanged();
  invalid();
  endEdit();
  return true;
}

bool CRockerSwitch::isTypeOf(const char* className) const {
  return (className && std::strcmp(className, "CRockerSwitch") == 0) ||
         CControl::isTypeOf(className);
}
