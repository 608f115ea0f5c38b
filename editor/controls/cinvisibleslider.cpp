#include "editor/controls/cinvisibleslider.h"

#include <cstring>

namespace {
// Pixels of drag for the full range: plain, Shift at the press, and Shift
// pressed during the drag (deliberately finer than at the press).
constexpr float kPixelsPerRange = 1000.f;
constexpr float kFinePixelsAtPress = 4000.f;
constexpr float kFinePixelsMidDrag = 5000.f;
// A horizontal pixel counts half as much as a vertical one.
constexpr float kHorizontalWeight = 0.5f;
// Value change per wheel notch, plain and with Shift.
constexpr float kWheelStep = 0.005f;
constexpr float kFineWheelStep = 0.0003f;
}  // namespace

CInvisibleSlider::CInvisibleSlider(const CRect& size, CControlListener* listener, int32_t tag)
    : CControl(size, listener, tag, nullptr) {}

CInvisibleSlider::CInvisibleSlider(const CInvisibleSlider& slider)
    : CControl(slider),
      dragging(slider.dragging),
      dragSensitivity(slider.dragSensitivity),
      anchorValue(slider.anchorValue),
      anchorButtons(slider.anchorButtons),
      anchorPoint(slider.anchorPoint) {}

CInvisibleSlider::~CInvisibleSlider() = default;

bool CInvisibleSlider::isTypeOf(const char* className) const {
  return (className && std::strcmp(className, "CInvisibleSlider") == 0) ||
         CControl::isTypeOf(className);
}

void CInvisibleSlider::draw(CDrawContext* context) {
  (void)context;
  setDirty(false);
}

float CInvisibleSlider::sensitivityFor(int32_t buttons, float shiftDivisor) const {
  return (buttons & kShift) ? getRange() / shiftDivisor : getRange() / kPixelsPerRange;
}

CMouseEventResult CInvisibleSlider::onMouseDown(CPoint& where, const CButtonState& buttons) {
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  dragging = true;
  beginEdit();
  anchorValue = getValue();
  anchorButtons = buttons;
  dragSensitivity = sensitivityFor(buttons, kFinePixelsAtPress);
  anchorPoint = where;
  return onMouseMoved(where, buttons);
}

CMouseEventResult CInvisibleSlider::onMouseMoved(CPoint& where, const CButtonState& buttons) {
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  const float a = static_cast<float>(where.x - anchorPoint.x);
  const float b = static_cast<float>(anchorPoint.y - where.y);
  const float delta = kHorizontalWeight * a + b;
  if (static_cast<int32_t>(buttons) != anchorButtons) {
    // Continue from the current value at the new rate.
    const float newSensitivity = sensitivityFor(buttons, kFinePixelsMidDrag);
    anchorValue += delta * (dragSensitivity - newSensitivity);
    dragSensitivity = newSensitivity;
    anchorButtons = buttons;
  }
  // Clamping leaves the anchor alone, so the value waits at a limit until
  // the pointer comes back to where it got there.
  setValue(anchorValue + dragSensitivity * delta);
  bounds();
  invalid();
  if (listener) listener->valueChanged(this);
  return kMouseEventHandled;
}

CMouseEventResult CInvisibleSlider::onMouseUp(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  endEdit();
  dragging = false;
  return kMouseEventHandled;
}

bool CInvisibleSlider::onWheel(const CPoint& where, const float& distance,
                               const CButtonState& buttons) {
  (void)where;
  const double step = (buttons & kShift) ? kFineWheelStep : kWheelStep;
  setValue(static_cast<float>(getValue() + distance * step));
  bounds();
  if (listener) {
    beginEdit();
    listener->valueChanged(this);
    endEdit();
  }
  return true;
}
