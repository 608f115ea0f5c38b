// A two-state button that writes the switch values 0.25 (off) and 0.75 (on)
// and shows on for any value from 0.5 up.
#pragma once

#include "editor/toolkit/cbuttons.h"

class QelOnOffButton : public COnOffButton {
 public:
  QelOnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background);
  ~QelOnOffButton() override;

  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

  CView* newCopy() const override { return new QelOnOffButton(*this); }
};
