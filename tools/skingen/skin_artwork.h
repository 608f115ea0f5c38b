// Draws every bitmap of the skin table.
#pragma once

#include <vector>

#include "layout/skin_bitmaps.h"
#include "tools/skingen/canvas.h"

namespace skingen {

struct SkinBitmap {
  const layout::SkinBitmapInfo* info;
  Image image;
};

// In the order of the skin table, drawn at zoom (1 = the 1× sizes of the table).
std::vector<SkinBitmap> drawSkin(double zoom = 1.0);

}  // namespace skingen
