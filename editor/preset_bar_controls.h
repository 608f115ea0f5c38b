// The preset bar's own buttons. Each lights up while the pointer is over it
// and draws one frame of its film strip: idle, pointed at, pressed (the
// rocker has a pointed-at and a pressed frame for each half).
#pragma once

#include "editor/toolkit/cbuttons.h"
#include "editor/toolkit/cswitches.h"

// Label and memory buttons: report 1.0 at the press (0.5 for a Control
// double-click on a double-click-only button), nothing at the release.
class CPSKickButton : public CKickButton {
 public:
  CPSKickButton(const CRect& size, CControlListener* listener, int32_t tag,
                CCoord heightOfOneImage, CBitmap* background, const CPoint& offset,
                bool doubleClickOnly);
  ~CPSKickButton() override;

  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;

  CView* newCopy() const override { return new CPSKickButton(*this); }
  bool isHovered() const { return hover; }

 private:
  bool hover = false;
  bool pressed = false;
  bool doubleClickOnly;
};

// Learn and clear: a left click toggles between 0 and 1.
class CPSOnOffButton : public COnOffButton {
 public:
  CPSOnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background);
  ~CPSOnOffButton() override;

  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;

  CView* newCopy() const override { return new CPSOnOffButton(*this); }

 private:
  bool hover = false;
};

// Previous / next: −1 for a press on the left half, +1 on the right half,
// back to 0 (unreported) at the release.
class CPSRockerSwitch : public CRockerSwitch {
 public:
  CPSRockerSwitch(const CRect& size, CControlListener* listener, int32_t tag,
                  CCoord heightOfOneImage, CBitmap* background, const CPoint& offset,
                  int32_t style);
  ~CPSRockerSwitch() override;

  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;

  CView* newCopy() const override { return new CPSRockerSwitch(*this); }
  int32_t getHoverSide() const { return hoverSide; }

 private:
  int32_t sideOf(const CPoint& where) const;

  int32_t hoverSide = 0;  // −1 left half, +1 right half, 0 none
};

// Load and save arrows: the listener hears 1.0 for a left click and 0.5 for
// a plain right click (load byte-reversed), during which the arrow shows
// pressed; the keyboard cannot work them.
class CSaveLoadButton : public CKickButton {
 public:
  CSaveLoadButton(const CRect& size, CControlListener* listener, int32_t tag,
                  CCoord heightOfOneImage, CBitmap* background, const CPoint& offset);
  ~CSaveLoadButton() override;

  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override;
  int32_t onKeyDown(VstKeyCode& keyCode) override;
  int32_t onKeyUp(VstKeyCode& keyCode) override;

  CView* newCopy() const override { return new CSaveLoadButton(*this); }
  bool isHovered() const { return hover; }

 private:
  bool hover = false;
};
