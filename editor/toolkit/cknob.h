// Rotary knobs. CKnob holds the mouse behaviour (circular or linear drag,
// zoom with Shift, wheel, Control-click default); CAnimKnob draws a film strip.
#pragma once

#include "editor/toolkit/ccontrol.h"
#include "editor/toolkit/cmultibitmapcontrol.h"

class CKnob : public CControl {
 public:
  CKnob(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
        CBitmap* handle = nullptr, const CPoint& offset = CPoint(0, 0));
  CKnob(const CKnob& knob);
  ~CKnob() override;

  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
  bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;
  int32_t onKeyDown(VstKeyCode& keyCode) override;

  // With the zoom modifier (Shift) a drag moves the knob this many times slower.
  void setZoomFactor(float factor) { zoomFactor = factor; }
  float getZoomFactor() const { return zoomFactor; }

  bool isTypeOf(const char* className) const override;
  CView* newCopy() const override { return new CKnob(*this); }

 protected:
  float valueFromPoint(const CPoint& point) const;

  CBitmap* handle;
  float zoomFactor = 1.5f;
  // Drag state.
  bool modeLinear = false;
  CPoint firstPoint;
  CPoint lastPoint;
  float entryValue = 0.f;
  float range = 0.f;
  float coef = 0.f;
  int32_t oldButtons = 0;
};

class CAnimKnob : public CKnob, public IMultiBitmapControl {
 public:
  CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int32_t subPixmaps,
            CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint(0, 0));
  CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
            const CPoint& offset = CPoint(0, 0));

  void draw(CDrawContext* context) override;
  void setInverseBitmap(bool state) { inverseBitmap = state; }

  bool isTypeOf(const char* className) const override;
  CView* newCopy() const override { return new CAnimKnob(*this); }

 private:
  bool inverseBitmap = false;
};
