// The rear plate (bitmap 129), shown over the whole window by the about badge.
#pragma once

#include "tools/skingen/canvas.h"

namespace skingen {

Image drawRearPanel(double zoom = 1.0);

}  // namespace skingen
