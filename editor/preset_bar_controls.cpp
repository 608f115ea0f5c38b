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

void drawFrame(CDrawContext* context, CBitmap* bitmap, const CRect& size, const CPoint& offset,
               CCoord frameHeight, int32_t frameIndex) {
  if (!bitmap) return;
  bitmap->draw(context, size, CPoint(offset.x, offset.y + frameHeight * frameIndex), 1.f);
}

CCoord thirdOf(const CBitmap* bitmap) { return bitmap ? bitmap->getHeight() / kThreeFrames : 0; }

}  // namespace

// ---- CPSKickButton ----

CPSKickButton::CPSKickButton(const CRect& size, CControlListener* listener, int32_t tag,
                             CCoord heightOfOneImage, CBitmap* background, const CPoint& offset,
                             bool doubleClickOnly)
    : CKickButton(size, listener, tag, heightOfOneImage, background, offset),
      doubleClickOnly(doubleClickOnly) {}

CPSKickButton::~CPSKickButton() = default;

void CPSKickButton::draw(CDrawContext* context) {
  const int32_t index = pressed ? kPressedFrame : hover ? kPointedFrame : kIdleFrame;
  drawFrame(context, background, size, offset, heightOfOneImage, index);
  setDirty(false);
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

CMouseEventResult CPSKickButton::onMouseEntered(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  hover = true;
  invalid();
  return kMouseEventHandled;
}

CMouseEventResult CPSKickButton::onMouseExited(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  hover = false;
  invalid();
  return kMouseEventHandled;
}

// ---- CPSOnOffButton ----

CPSOnOffButton::CPSOnOffButton(const CRect& size, CControlListener* listener, int32_t tag,
                               CBitmap* background)
    : COnOffButton(size, listener, tag, background, 0) {}

CPSOnOffButton::~CPSOnOffButton() = default;

void CPSOnOffButton::draw(CDrawContext* context) {
  int32_t index = kIdleFrame;
  if (getValue() == 1.f)
    index = kPressedFrame;
  else if (getValue() == 0.f && hover)
    index = kPointedFrame;
  drawFrame(context, background, size, CPoint(0, 0), thirdOf(background), index);
  setDirty(false);
}

CMouseEventResult CPSOnOffButton::onMouseDown(CPoint& where, const CButtonState& buttons) {
  (void)where;
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  setValue(1.f - getValue());
  if (listener) listener->valueChanged(this);
  invalid();
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CMouseEventResult CPSOnOffButton::onMouseEntered(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  hover = true;
  invalid();
  return kMouseEventHandled;
}

CMouseEventResult CPSOnOffButton::onMouseExited(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  hover = false;
  invalid();
  return kMouseEventHandled;
}

// ---- CPSRockerSwitch ----

CPSRockerSwitch::CPSRockerSwitch(const CRect& size, CControlListener* listener, int32_t tag,
                                 CCoord heightOfOneImage, CBitmap* background,
                                 const CPoint& offset, int32_t style)
    : CRockerSwitch(size, listener, tag, heightOfOneImage, background, offset, style) {}

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
  else if (hoverSide < 0)
    index = kRockerLeftPointed;
  else if (hoverSide > 0)
    index = kRockerRightPointed;
  drawFrame(context, background, size, offset, heightOfOneImage, index);
  setDirty(false);
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

CMouseEventResult CPSRockerSwitch::onMouseEntered(CPoint& where, const CButtonState& buttons) {
  (void)buttons;
  hoverSide = sideOf(where);
  invalid();
  return kMouseEventHandled;
}

CMouseEventResult CPSRockerSwitch::onMouseExited(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  hoverSide = 0;
  invalid();
  return kMouseEventHandled;
}

// ---- CSaveLoadButton ----

CSaveLoadButton::CSaveLoadButton(const CRect& size, CControlListener* listener, int32_t tag,
                                 CCoord heightOfOneImage, CBitmap* background,
                                 const CPoint& offset)
    : CKickButton(size, listener, tag, heightOfOneImage, background, offset) {}

CSaveLoadButton::~CSaveLoadButton() = default;

void CSaveLoadButton::draw(CDrawContext* context) {
  const int32_t index = getValue() != 0.f ? kPressedFrame : hover ? kPointedFrame : kIdleFrame;
  drawFrame(context, background, size, offset, thirdOf(background), index);
  setDirty(false);
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

CMouseEventResult CSaveLoadButton::onMouseEntered(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  hover = true;
  invalid();
  return kMouseEventHandled;
}

CMouseEventResult CSaveLoadButton::onMouseExited(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  hover = false;
  invalid();
  return kMouseEventHandled;
}

int32_t CSaveLoadButton::onKeyDown(VstKeyCode& keyCode) {
  (void)keyCode;
  return kKeyNotHandled;
}

int32_t CSaveLoadButton::onKeyUp(VstKeyCode& keyCode) {
  (void)keyCode;
  return kKeyNotHandled;
}
