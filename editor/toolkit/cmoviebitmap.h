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
  // Dirty only when the frame shown changes: a lamp or meter polled on
  // every idle pass moves its value far more often than its picture.
  bool isDirty() const override;
  void setDirty(bool state = true) override;
  bool isTypeOf(const char* className) const override;
  CView* newCopy() const override { return new CMovieBitmap(*this); }

 private:
  int32_t shownFrame() const { return frameForValue(getValueNormalized()); }
  int32_t drawnFrame = -1;
};
