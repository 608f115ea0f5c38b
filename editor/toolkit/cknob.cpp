#include "editor/toolkit/cknob.h"

#include <cmath>
#include <cstring>

#include "editor/toolkit/cdrawcontext.h"
#include "editor/toolkit/cframe.h"

namespace {
// Pixels of linear drag for the full range.
constexpr float kLinearRange = 200.f;
constexpr int32_t kZoomModifier = kShift;
// Circular mode: the knob turns through 270 degrees, minimum at lower left.
constexpr double kStartAngle = 1.25 * M_PI;
constexpr double kSweep = 1.5 * M_PI;
}  // namespace

CKnob::CKnob(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
             CBitmap* handle, const CPoint& offset)
    : CControl(size, listener, tag, background), handle(handle) {
  if (handle) handle->remember();
  setBackOffset(offset);
}

CKnob::CKnob(const CKnob& knob)
    : CControl(knob), handle(knob.handle), zoomFactor(knob.zoomFactor) {
  if (handle) handle->remember();
}

CKnob::~CKnob() {
  if (handle) handle->forget();
}

void CKnob::draw(CDrawContext* context) {
  if (background) background->draw(context, size, backOffset);
  // A plain knob without artwork: a pointer line from the centre.
  const double angle = kStartAngle - getValueNormalized() * kSweep;
  const CPoint c = size.getCenter();
  const double r = std::min(size.getWidth(), size.getHeight()) / 2 - 2;
  context->drawLine(c, CPoint(c.x + r * std::cos(angle), c.y - r * std::sin(angle)));
  setDirty(false);
}

float CKnob::valueFromPoint(const CPoint& point) const {
  const CPoint c = size.getCenter();
  double angle = std::atan2(c.y - point.y, point.x - c.x);
  double turned = kStartAngle - angle;
  while (turned < 0) turned += 2 * M_PI;
  while (turned >= 2 * M_PI) turned -= 2 * M_PI;
  // Below the knob, between the two ends: snap to the nearer end.
  if (turned > kSweep) turned = turned - kSweep < (2 * M_PI - kSweep) / 2 ? kSweep : 0;
  return vmin + static_cast<float>(turned / kSweep) * getRange();
}

CMouseEventResult CKnob::onMouseDown(CPoint& where, const CButtonState& buttons) {
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  if (checkDefaultValue(buttons)) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  beginEdit();
  firstPoint = where;
  lastPoint = CPoint(-1, -1);
  entryValue = getValue();
  oldButtons = buttons;
  // Alt swaps between the editor's knob mode and the other one.
  const bool linearMode = frame && frame->getKnobMode() == kLinearMode;
  modeLinear = (buttons & kAlt) ? !linearMode : linearMode;
  range = kLinearRange;
  if (buttons & kZoomModifier) range *= zoomFactor;
  coef = getRange() / range;
  return onMouseMoved(where, buttons);
}

CMouseEventResult CKnob::onMouseMoved(CPoint& where, const CButtonState& buttons) {
  if (!buttons.isLeftButton()) return kMouseEventNotHandled;
  if (where == lastPoint && buttons == oldButtons) return kMouseEventHandled;
  lastPoint = where;
  const float before = getValue();
  if (modeLinear) {
    // Up and right raise the value.
    const float diff =
        static_cast<float>((firstPoint.y - where.y) + (where.x - firstPoint.x));
    if (buttons != oldButtons) {
      // Re-base so a modifier change continues from the current value.
      range = kLinearRange;
      if (buttons & kZoomModifier) range *= zoomFactor;
      const float newCoef = getRange() / range;
      entryValue += diff * (coef - newCoef);
      coef = newCoef;
      oldButtons = buttons;
    }
    setValue(entryValue + diff * coef);
  } else {
    setValue(valueFromPoint(where));
  }
  bounds();
  if (getValue() != before) {
    valueChanged();
    invalid();
  }
  return kMouseEventHandled;
}

CMouseEventResult CKnob::onMouseUp(CPoint& where, const CButtonState& buttons) {
  (void)where, (void)buttons;
  endEdit();
  return kMouseEventHandled;
}

bool CKnob::onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) {
  (void)where;
  const float before = getValue();
  float v = getValueNormalized();
  v += (buttons & kZoomModifier) ? 0.1f * distance * wheelInc : distance * wheelInc;
  setValueNormalized(v);
  if (getValue() != before) {
    invalid();
    beginEdit();
    valueChanged();
    endEdit();
  }
  return true;
}

int32_t CKnob::onKeyDown(VstKeyCode& keyCode) {
  float step = 0.f;
  if (keyCode.virt == VKEY_UP || keyCode.virt == VKEY_RIGHT) step = wheelInc;
  if (keyCode.virt == VKEY_DOWN || keyCode.virt == VKEY_LEFT) step = -wheelInc;
  if (step == 0.f) return -1;
  if (keyCode.modifier & MODIFIER_SHIFT) step *= 0.1f;
  const float before = getValue();
  setValueNormalized(getValueNormalized() + step);
  if (getValue() != before) {
    invalid();
    beginEdit();
    valueChanged();
    endEdit();
  }
  return 1;
}

bool CKnob::isTypeOf(const char* className) const {
  return (className && std::strcmp(className, "CKnob") == 0) || CControl::isTypeOf(className);
}

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag,
                     int32_t subPixmaps, CCoord heightOfOneImage, CBitmap* background,
                     const CPoint& offset)
    : CKnob(size, listener, tag, background, nullptr, offset) {
  setNumSubPixmaps(subPixmaps);
  setHeightOfOneImage(heightOfOneImage);
}

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag,
                     CBitmap* background, const CPoint& offset)
    : CKnob(size, listener, tag, background, nullptr, offset) {
  setHeightOfOneImage(size.getHeight());
  if (background && size.getHeight() > 0)
    setNumSubPixmaps(static_cast<int32_t>(background->getHeight() / size.getHeight()));
}

void CAnimKnob::draw(CDrawContext* context) {
  if (background && heightOfOneImage > 0 && subPixmaps > 0) {
    float v = getValueNormalized();
    if (inverseBitmap) v = 1.f - v;
    background->draw(context, size,
                     CPoint(backOffset.x, backOffset.y + frameTop(frameForValue(v))));
  }
  setDirty(false);
}

bool CAnimKnob::isTypeOf(const char* className) const {
  return (className && std::strcmp(className, "CAnimKnob") == 0) || CKnob::isTypeOf(className);
}
