#include "editor/toolkit/ccontrol.h"

#include <cstring>

#include "editor/toolkit/cframe.h"

CControl::CControl(const CRect& size, CControlListener* listener, int32_t tag,
                   CBitmap* background)
    : CView(size), listener(listener), tag(tag) {
  if (background) setBackground(background);
}

CControl::CControl(const CControl& control)
    : CView(control),
      listener(control.listener),
      tag(control.tag),
      value(control.getValue()),
      vmin(control.vmin),
      vmax(control.vmax),
      defaultValue(control.defaultValue),
      wheelInc(control.wheelInc),
      backOffset(control.backOffset) {}

float CControl::getValueNormalized() const {
  const float range = getRange();
  return range == 0.f ? 0.f : (getValue() - vmin) / range;
}

void CControl::setValueNormalized(float normalized) {
  if (normalized < 0.f) normalized = 0.f;
  if (normalized > 1.f) normalized = 1.f;
  setValue(vmin + normalized * getRange());
}

void CControl::bounds() {
  const float v = getValue();
  if (v > vmax)
    setValue(vmax);
  else if (v < vmin)
    setValue(vmin);
}

void CControl::setTag(int32_t val) {
  if (listener) listener->controlTagWillChange(this);
  tag = val;
  if (listener) listener->controlTagDidChange(this);
}

void CControl::beginEdit() {
  ++editing;
  if (listener) listener->controlBeginEdit(this);
  if (frame) frame->beginEdit(tag);
}

void CControl::endEdit() {
  if (editing > 0) --editing;
  if (frame) frame->endEdit(tag);
  if (listener) listener->controlEndEdit(this);
}

void CControl::valueChanged() {
  if (listener) listener->valueChanged(this);
}

bool CControl::checkDefaultValue(CButtonState button) {
  if (!button.isLeftButton() || button.getModifierState() != kDefaultValueModifier) return false;
  beginEdit();
  setValue(getDefaultValue());
  invalid();
  valueChanged();
  endEdit();
  return true;
}

bool CControl::isDirty() const { return CView::isDirty() || getValue() != drawnValue; }

void CControl::setDirty(bool state) {
  CView::setDirty(state);
  if (!state) drawnValue = getValue();
}

bool CControl::isTypeOf(const char* className) const {
  return (className && std::strcmp(className, "CControl") == 0) || CView::isTypeOf(className);
}
