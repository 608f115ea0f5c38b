// Pictures for people: the window as the editor assembles it, and a contact
// sheet of every bitmap with all its frames.
#pragma once

#include <vector>

#include "tools/skingen/skin_artwork.h"

namespace skingen {

// The front panel with every control bitmap at its place, showing a typical
// setting, enlarged by an integer scale with square pixels.
Image drawAssembledWindow(const std::vector<SkinBitmap>& skin, int scale);

// All bitmaps with their ids and frames, at the given scale.
Image drawContactSheet(const std::vector<SkinBitmap>& skin, int scale);

}  // namespace skingen
