// A transparent drag area: dragging up or right raises the value, vertical
// pixels counting twice as much as horizontal ones; Shift drags finer. A
// change of buttons or modifiers mid-drag re-bases so the value never jumps.
#pragma once

#include "editor/toolkit/ccontrol.h"

class CInvisibleSlider : public CControl {
 public:
  CInvisibleSlider(const CRect& size, CControlListener* listener, int32_t tag);
  CInvisibleSlider(const CInvisibleSlider& slider);
  ~CInvisibleSlider() override;

  bool isTypeOf(const char* className) const override;
  CView* newCopy() const override { return new CInvisibleSlider(*this); }
  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
  bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;

  bool isDragging() const { return dragging; }

 private:
  float sensitivityFor(int32_t buttons, float shiftDivisor) const;

  bool dragging = false;
  float dragSensitivity = 0.f;
  float anchorValue = 0.f;
  int32_t anchorButtons = 0;
  CPoint anchorPoint;
};
