// Two-image buttons: COnOffButton toggles, CKickButton is momentary.
#pragma once

#include "editor/toolkit/ccontrol.h"
#include "editor/toolkit/cmultibitmapcontrol.h"

class COnOffButton : public CControl {
 public:
  enum { kPreListenerUpdate = 1 << 0, kPostListenerUpdate = 1 << 1 };

  COnOffButton(const CRect& size, CControlListener* listener = nullptr, int32_t tag = 0,
               CBitmap* background = nullptr, int32_t style = 0);

  // Off image above, on image below.
  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  int32_t getStyle() const { return style; }
  void setStyle(int32_t newStyle) { style = newStyle; }

  bool isTypeOf(const char* className) const override;
  CView* newCopy() const override { return new COnOffButton(*this); }

 protected:
  int32_t style;
};

// Pressed while the button is held with the pointer over it; the listener
// hears the press at the release (value 1, then 0).
class CKickButton : public CControl, public IMultiBitmapControl {
 public:
  CKickButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
              const CPoint& offset = CPoint(0, 0));
  CKickButton(const CRect& size, CControlListener* listener, int32_t tag,
              CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint(0, 0));

  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;

  bool isTypeOf(const char* className) const override;
  CView* newCopy() const override { return new CKickButton(*this); }

 protected:
  CPoint offset;
  float entryState = 0.f;
};
