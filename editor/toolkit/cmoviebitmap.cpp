#include "editor/toolkit/cmoviebitmap.h"

#include <cstring>

CMovieBitmap::CMovieBitmap(const CRect& size, CControlListener* listener, int32_t tag,
                           int32_t subPixmaps, CCoord heightOfOneImage, CBitmap* background,
                           const CPoint& offset)
    : CControl(size, listener, tag, background) {
  setNumSubPixmaps(subPixmaps);
  setHeightOfOneImage(heightOfOneImage);
  setBackOffset(offset);
}

CMovieBitmap::CMovieBitmap(const CRect& size, CControlListener* listener, int32_t tag,
                           CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background) {
  setHeightOfOneImage(size.getHeight());
  if (background && size.getHeight() > 0)
    setNumSubPixmaps(static_cast<int32_t>(background->getHeight() / size.getHeight()));
  setBackOffset(offset);
}

void CMovieBitmap::draw(CDrawContext* context) {
  if (background) {
    const CPoint where(backOffset.x,
                       backOffset.y + frameTop(frameForValue(getValueNormalized())));
    background->draw(context, size, where);
  }
  setDirty(false);
}

bool CMovieBitmap::isDirty() const { return CView::isDirty() || shownFrame() != drawnFrame; }

void CMovieBitmap::setDirty(bool state) {
  CControl::setDirty(state);
  if (!state) drawnFrame = shownFrame();
}

bool CMovieBitmap::isTypeOf(const char* className) const {
  return (className && std::strcmp(className, "CMovieBitmap") == 0) ||
         CControl::isTypeOf(className);
}
