// Drawing of the control bitmaps. Each function returns the whole film strip
// of one table row; opaque strips carry the panel that lies under the control.
#pragma once

#include "resources/skin_table.h"
#include "tools/skingen/canvas.h"
#include "tools/skingen/panel_layout.h"

namespace skingen {

enum class KnobFamily { Silver, Black };  // level section and modulation section

Image drawKnobStrip(const SkinBitmapInfo& info, const Image& panel, Box at, KnobFamily family);

Image drawDigitStrip(const SkinBitmapInfo& info, const Image& panel, Box at);
Image drawModeLamps(const SkinBitmapInfo& info, const Image& panel, Box at);
Image drawBypassLamp(const SkinBitmapInfo& info, const Image& panel, Box at);
Image drawLevelMeter(const SkinBitmapInfo& info, const Image& panel, Box at);
Image drawModulationLamp(const SkinBitmapInfo& info, const Image& panel, Box at);

Image drawLatchingButton(const SkinBitmapInfo& info, const Image& panel, Box at, Rgb lamp);
Image drawStepButton(const SkinBitmapInfo& info, const Image& panel, Box at, int direction);
Image drawSlideSwitch(const SkinBitmapInfo& info, const Image& panel, Box at);

// Preset bar; these take the bare plate (without the rail's lettering).
Image drawArrowButton(const SkinBitmapInfo& info, const Image& barePanel, Box at, bool load);
Image drawLabelButton(const SkinBitmapInfo& info, const Image& barePanel, Box at,
                      const char* text);
Image drawRocker(const SkinBitmapInfo& info, const Image& barePanel, Box at);
Image drawRailSwitchStrip(const SkinBitmapInfo& info, const Image& barePanel, Box at,
                          const char* text, Rgb lamp);

}  // namespace skingen
