// Shows one frame of a film strip chosen by the value (lamps, digits, meter).
#pragma once

#include "editor/toolkit/ccontrol.h"
#include "editor/toolkit/cmultibitmapcontrol.h"

class CMovieBitmap : public CControl, public IMultiBitmapControl {
 public:
  CMovieBitmap(const CRect& size, CControlListener* listener, int32_t tag, int32_t subPixmaps,
               CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint(0, 0));
  // Frame count from the bitmap height and the view height.
  CMovieBitmap(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
               const CPoint& offset = CPoint(0, 0));

  void draw(CDrawContext* context) override;
  bool isTypeOf(const char* className) const override;
  CView* newCopy() const override { return new CMovieBitmap(*this); }
};
