// A control that, when clicked, shows a picture over part of the frame as
// the frame's modal view; a click on the picture closes it.
#pragma once

#include "editor/toolkit/ccontrol.h"

class CSplashScreen : public CControl, public CControlListener {
 public:
  CSplashScreen(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                const CRect& toDisplay, const CPoint& offset = CPoint(0, 0));
  CSplashScreen(const CSplashScreen& splash);
  ~CSplashScreen() override;

  // The control itself is invisible; the picture is the modal view.
  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  // Closes the picture: the value goes back to its minimum.
  virtual void unSplash();
  // The picture view reports its close through the listener interface.
  void valueChanged(CControl* control) override;
  using CControl::valueChanged;

  const CRect& getDisplayArea() const { return toDisplay; }
  const CPoint& getOffset() const { return offset; }

  bool isTypeOf(const char* className) const override;
  CView* newCopy() const override { return new CSplashScreen(*this); }

 protected:
  CRect toDisplay;
  CPoint offset;
  CView* modalView = nullptr;
};
