// Draws every bitmap of the skin table.
#pragma once

#include <vector>

#include "resources/skin_table.h"
#include "tools/skingen/canvas.h"

namespace skingen {

struct SkinBitmap {
  const SkinBitmapInfo* info;
  Image image;
};

// In the order of the skin table.
std::vector<SkinBitmap> drawSkin();

}  // namespace skingen
