#include "editor/controls/qelonoffbutton.h"

#include "editor/toolkit/cbitmap.h"
#include "effect/parameters.h"

QelOnOffButton::QelOnOffButton(const CRect& size, CControlListener* listener, int32_t tag,
                               CBitmap* background)
    : COnOffButton(size, listener, tag, background, 0) {}

QelOnOffButton::~QelOnOffButton() = default;

void QelOnOffButton::draw(CDrawContext* context) {
  if (background) {
    const bool on = quantizeParam(getValue(), kSwitchSteps) == 1;
    const int32_t offset = on ? static_cast<int32_t>(background->getHeight()) / 2 : 0;
    background->draw(context, size, CPoint(0, offset), 1.f);
  }
  setDirty(false);
}

CMouseEventResult QelOnOffButton::onMouseDown(CPoint& where, const CButtonState& buttons) {
  (void)where;
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  beginEdit();
  const bool wasOff = quantizeParam(getValue(), kSwitchSteps) == 0;
  setValue(wasOff ? kSwitchOnValue : kSwitchOffValue);
  if (listener) listener->valueChanged(this);
  endEdit();
  invalid();
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}
