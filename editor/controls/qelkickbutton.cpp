#include "editor/controls/qelkickbutton.h"

namespace {
constexpr float kPlainStep = 1.f;
constexpr float kShiftStep = 10.f;
constexpr float kControlStep = 100.f;
}  // namespace

QelKickButton::QelKickButton(const CRect& size, CControlListener* listener, int32_t tag,
                             CCoord heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CKickButton(size, listener, tag, heightOfOneImage, background, offset),
      stepMultiplier(kPlainStep) {
  setValue(0.f);
}

QelKickButton::~QelKickButton() = default;

CMouseEventResult QelKickButton::onMouseDown(CPoint& where, const CButtonState& buttons) {
  (void)where;
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  setValue(1.f);
  // Control wins over Shift.
  stepMultiplier = (buttons & kControl) ? kControlStep : (buttons & kShift) ? kShiftStep : kPlainStep;
  beginEdit();
  invalid();
  if (listener) listener->valueChanged(this);
  endEdit();
  return kMouseEventHandled;
}

CMouseEventResult QelKickButton::onMouseUp(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  setValue(0.f);
  invalid();
  return kMouseEventHandled;
}
