// CHorizontalSwitch: n positions across the width, the pointer picks one.
// CRockerSwitch: -1 on the left (or upper) half, +1 on the other, 0 at rest.
#pragma once

#include "editor/toolkit/ccontrol.h"
#include "editor/toolkit/cmultibitmapcontrol.h"

class CHorizontalSwitch : public CControl, public IMultiBitmapControl {
 public:
  CHorizontalSwitch(const CRect& size, CControlListener* listener, int32_t tag,
                    int32_t subPixmaps, CCoord heightOfOneImage, int32_t iMaxPositions,
                    CBitmap* background, const CPoint& offset = CPoint(0, 0));

  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
  int32_t getMaxPositions() const { return maxPositions; }

  bool isTypeOf(const char* className) const override;
  CView* newCopy() const override { return new CHorizontalSwitch(*this); }

 protected:
  CPoint offset;
  int32_t maxPositions;
};

enum CRockerStyle { kHorizontal = 1 << 0, kVertical = 1 << 1 };

class CRockerSwitch : public CControl, public IMultiBitmapControl {
 public:
  CRockerSwitch(const CRect& size, CControlListener* listener, int32_t tag,
                CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint(0, 0),
                const int32_t style = kHorizontal);

  // Three images: -1, 0, +1.
  void draw(CDrawContext* context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
  bool onWheel(const CPoint& where, const float& distance, const CButtonState& buttons) override;
  int32_t getStyle() const { return style; }

  bool isTypeOf(const char* className) const override;
  CView* newCopy() const override { return new CRockerSwitch(*this); }

 protected:
  CPoint offset;
  int32_t style;
  float entryState = 0.f;
};
