// A momentary button that reports at the press, with a step multiplier the
// listener reads: 1 plain, 10 with Shift, 100 with Control.
#pragma once

#include "editor/toolkit/cbuttons.h"

class QelKickButton : public CKickButton {
 public:
  QelKickButton(const CRect& size, CControlListener* listener, int32_t tag,
                CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint(0, 0));
  ~QelKickButton() override;

  float getStepMultiplier() const { return stepMultiplier; }
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

  CView* newCopy() const override { return new QelKickButton(*this); }

 private:
  float stepMultiplier;
};
