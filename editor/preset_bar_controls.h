// The preset bar's own buttons. Each lights up while the pointer is over it
// and draws one frame of its film strip: idle, pointed at, pressed (the
// rocker has a pointed-at and a pressed frame for each half).
#pragma once

#include "editor/toolkit/cbitmap.h"
#include "editor/toolkit/cbuttons.h"
#include "editor/toolkit/cswitches.h"

// What every bar button does with the pointer: it keeps which part of it the
// pointer is over, none once the pointer leaves, and redraws on each change;
// it draws one frame of its film strip over its whole rectangle.
// ToolkitButton is the toolkit class the bar button extends.
template <class ToolkitButton>
class CPSHoverButton : public ToolkitButton {
 public:
  using ToolkitButton::ToolkitButton;

  CMouseEventResult onMouseEntered(CPoint& where, const CButtonState& buttons) override {
    (void)buttons;
    setHover(hoverPartAt(where));
    return kMouseEventHandled;
  }
  CMouseEventResult onMouseExited(CPoint& where, const CButtonState& buttons) override {
    (void)where, (void)buttons;
    setHover(kNotHovered);
    return kMouseEventHandled;
  }

  bool isHovered() const { return hover != kNotHovered; }

 protected:
  static constexpr int32_t kNotHovered = 0;

  // The part of the button under the pointer; one part unless a button
  // tells its parts apart.
  virtual int32_t hoverPartAt(const CPoint& where) const {
    (void)where;
    return 1;
  }
  int32_t hoverPart() const { return hover; }

  void drawFrame(CDrawContext* context, CCoord frameHeight, const CPoint& offset, int32_t frame) {
    if (CBitmap* strip = this->background)
      strip->draw(context, this->size, CPoint(offset.x, offset.y + frameHeight * frame), 1.f);
    this->setDirty(false);
  }

 private:
  void setHover(int32_t part) {
    hover = part;
    this->invalid();
  }

  int32_t hover = kNotHovered;
};

// Label and memory buttons: report 1.0 at the press (0.5 for a Control
// double-click on a double-click-only button), nothing at the release.
class CPSKickButton : public CPSHoverButton<CKickButton> {
 public:
  CPSKickButton(const CRect& size, CControlListener* listener, int32_t tag,
                CCoord heightOfOneImage, CBitmap* background, const CPoint& offset,
                bool doubleClickOnly);
  ~CPSKickButton() override;

  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

  CView* newCopy() const override { return new CPSKickButton(*this); }

 private:
  bool pressed = false;
  bool doubleClickOnly;
};

// Learn and clear: a left click toggles between 0 and 1.
class CPSOnOffButton : public CPSHoverButton<COnOffButton> {
 public:
  CPSOnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background);
  ~CPSOnOffButton() override;

  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

  CView* newCopy() const override { return new CPSOnOffButton(*this); }
};

// Previous / next: −1 for a press on the left half, +1 on the right half,
// back to 0 (unreported) at the release.
class CPSRockerSwitch : public CPSHoverButton<CRockerSwitch> {
 public:
  CPSRockerSwitch(const CRect& size, CControlListener* listener, int32_t tag,
                  CCoord heightOfOneImage, CBitmap* background, const CPoint& offset,
                  int32_t style);
  ~CPSRockerSwitch() override;

  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;

  CView* newCopy() const override { return new CPSRockerSwitch(*this); }
  // −1 left half, +1 right half, 0 none.
  int32_t getHoverSide() const { return hoverPart(); }

 protected:
  int32_t hoverPartAt(const CPoint& where) const override { return sideOf(where); }

 private:
  int32_t sideOf(const CPoint& where) const;
};

// Load and save arrows: the listener hears 1.0 for a left click and 0.5 for
// a plain right click (load byte-reversed), during which the arrow shows
// pressed; the keyboard cannot work them.
class CSaveLoadButton : public CPSHoverButton<CKickButton> {
 public:
  CSaveLoadButton(const CRect& size, CControlListener* listener, int32_t tag,
                  CCoord heightOfOneImage, CBitmap* background, const CPoint& offset);
  ~CSaveLoadButton() override;

  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  int32_t onKeyDown(VstKeyCode& keyCode) override;
  int32_t onKeyUp(VstKeyCode& keyCode) override;

  CView* newCopy() const override { return new CSaveLoadButton(*this); }
};
