// The editor's multi-position switch: a horizontal switch under its own name.
#pragma once

#include "editor/toolkit/cswitches.h"

class QelSwitch : public CHorizontalSwitch {
 public:
  QelSwitch(const CRect& size, CControlListener* listener, int32_t tag, int32_t subPixmaps,
            CCoord heightOfOneImage, int32_t iMaxPositions, CBitmap* background,
            const CPoint& offset = CPoint(0, 0))
      : CHorizontalSwitch(size, listener, tag, subPixmaps, heightOfOneImage, iMaxPositions,
                          background, offset) {}
  ~QelSwitch() override = default;

  CView* newCopy() const override { return new QelSwitch(*this); }
};
