#include "editor/preset_bar_controls.h"

#include "editor/toolkit/cbitmap.h"
#include "editor/toolkit/cdrawcontext.h"

namespace {

// Frames of the three-frame bar strips.
constexpr int32_t kIdleFrame = 0;
constexpr int32_t kPointedFrame = 1;
constexpr int32_t kPressedFrame = 2;
constexpr int32_t kThreeFrames = 3;
// The rocker's five frames.
constexpr int32_t kRockerLeftPointed = 1;
constexpr int32_t kRockerRightPointed = 2;
constexpr int32_t kRockerLeftPressed = 3;
constexpr int32_t kRockerRightPressed = 4;

constexpr float kPressValue = 1.f;
constexpr float kAlternatePressValue = 0.5f;  // Control double-click, or plain right click
constexpr int32_t kKeyNotHandled = -1;

CCoord thirdOf(const CBitmap* bitmap) { return bitmap ? bitmap->getHeight() / kThreeFrames : 0; }

}  // namespace

// ---- CPSKickButton ----

CPSKickButton::CPSKickButton(const CRect& size, CControlListener* listener, int32_t tag,
                             CCoord heightOfOneImage, CBitmap* background, const CPoint& offset,
                             bool doubleClickOnly)
    : CPSHoverButton(size, listener, tag, heightOfOneImage, background, offset),
      doubleClickOnly(doubleClickOnly) {}

CPSKickButton::~CPSKickButton() = default;

void CPSKickButton::draw(CDrawContext* context) {
  drawFrame(context, heightOfOneImage, offset,
            pressed ? kPressedFrame : isHovered() ? kPointedFrame : kIdleFrame);
}

CMouseEventResult CPSKickButton::onMouseDown(CPoint& where, const CButtonState& buttons) {
  (void)where;
  // A single click on a label does nothing: storing a default takes a
  // double-click, so it does not happen by accident.
  if (!buttons.isLeftButton() || (doubleClickOnly && !buttons.isDoubleClick()))
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  pressed = true;
  setValue(doubleClickOnly && (buttons & kControl) ? kAlternatePressValue : kPressValue);
  if (listener) listener->valueChanged(this);
  invalid();
  return kMouseEventHandled;
}

CMouseEventResult CPSKickButton::onMouseUp(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  setValue(0.f);
  pressed = false;
  invalid();
  return kMouseEventHandled;
}

// ---- CPSOnOffButton ----

CPSOnOffButton::CPSOnOffButton(const CRect& size, CControlListener* listener, int32_t tag,
                               CBitmap* background)
    : CPSHoverButton(size, listener, tag, background, 0) {}

CPSOnOffButton::~CPSOnOffButton() = default;

void CPSOnOffButton::draw(CDrawContext* context) {
  int32_t index = kIdleFrame;
  if (getValue() == 1.f)
    index = kPressedFrame;
  else if (getValue() == 0.f && isHovered())
    index = kPointedFrame;
  drawFrame(context, thirdOf(background), CPoint(0, 0), index);
}

CMouseEventResult CPSOnOffButton::onMouseDown(CPoint& where, const CButtonState& buttons) {
  (void)where;
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  setValue(1.f - getValue());
  if (listener) listener->valueChanged(this);
  invalid();
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

// ---- CPSRockerSwitch ----

CPSRockerSwitch::CPSRockerSwitch(const CRect& size, CControlListener* listener, int32_t tag,
                                 CCoord heightOfOneImage, CBitmap* background,
                                 const CPoint& offset, int32_t style)
    : CPSHoverButton(size, listener, tag, heightOfOneImage, background, offset, style) {}

CPSRockerSwitch::~CPSRockerSwitch() = default;

int32_t CPSRockerSwitch::sideOf(const CPoint& where) const {
  return where.x < (size.left + size.right) / 2 ? -1 : 1;
}

void CPSRockerSwitch::draw(CDrawContext* context) {
  int32_t index = kIdleFrame;
  if (getValue() == -1.f)
    index = kRockerLeftPressed;
  else if (getValue() == 1.f)
    index = kRockerRightPressed;
  else if (getHoverSide() < 0)
    index = kRockerLeftPointed;
  else if (getHoverSide() > 0)
    index = kRockerRightPointed;
  drawFrame(context, heightOfOneImage, offset, index);
}

CMouseEventResult CPSRockerSwitch::onMouseDown(CPoint& where, const CButtonState& buttons) {
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  setValue(static_cast<float>(sideOf(where)));
  invalid();
  if (listener) listener->valueChanged(this);
  return kMouseEventHandled;
}

CMouseEventResult CPSRockerSwitch::onMouseUp(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  setValue(0.f);
  invalid();
  return kMouseEventHandled;
}

CMouseEventResult CPSRockerSwitch::onMouseMoved(CPoint& where, const CButtonState& buttons) {
  if (buttons.isLeftButton()) return kMouseEventHandled;
  return onMouseEntered(where, buttons);
}

// ---- CSaveLoadButton ----

CSaveLoadButton::CSaveLoadButton(const CRect& size, CControlListener* listener, int32_t tag,
                                 CCoord heightOfOneImage, CBitmap* background,
                                 const CPoint& offset)
    : CPSHoverButton(size, listener, tag, heightOfOneImage, background, offset) {}

CSaveLoadButton::~CSaveLoadButton() = default;

void CSaveLoadButton::draw(CDrawContext* context) {
  drawFrame(context, thirdOf(background), offset,
            getValue() != 0.f ? kPressedFrame : isHovered() ? kPointedFrame : kIdleFrame);
}

CMouseEventResult CSaveLoadButton::onMouseDown(CPoint& where, const CButtonState& buttons) {
  (void)where;
  if (!(buttons.isLeftButton() || buttons.isRightButton()) || !listener)
    return kMouseEventNotHandled;
  const bool plainRightClick =
      buttons.getButtonState() == kRButton && buttons.getModifierState() == 0;
  setValue(plainRightClick ? kAlternatePressValue : kPressValue);
  // The listener may run a modal file selector; the arrow shows pressed
  // meanwhile. The extra reference keeps the button alive should the host
  // close the window during the dialog.
  invalid();
  remember();
  listener->valueChanged(this);
  setValue(0.f);
  invalid();
  forget();
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

int32_t CSaveLoadButton::onKeyDown(VstKeyCode& keyCode) {
  (void)keyCode;
  return kKeyNotHandled;
}

int32_t CSaveLoadButton::onKeyUp(VstKeyCode& keyCode) {
  (void)keyCode;
  return kKeyNotHandled;
}
