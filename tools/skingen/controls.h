// Drawing of the control bitmaps. Each function returns the whole film strip
// of one table row; opaque strips carry the panel that lies under the control.
#pragma once

#include "layout/panel_layout.h"
#include "layout/skin_bitmaps.h"
#include "tools/skingen/canvas.h"

namespace skingen {

enum class KnobFamily { Silver, Black };  // level section and modulation section

Image drawKnobStrip(const layout::SkinBitmapInfo& info, const Image& panel, layout::PanelRect at, KnobFamily family);

Image drawDigitStrip(const layout::SkinBitmapInfo& info, const Image& panel, layout::PanelRect at);
Image drawModeLamps(const layout::SkinBitmapInfo& info, const Image& panel, layout::PanelRect at);
Image drawBypassLamp(const layout::SkinBitmapInfo& info, const Image& panel, layout::PanelRect at);
Image drawLevelMeter(const layout::SkinBitmapInfo& info, const Image& panel, layout::PanelRect at);
Image drawModulationLamp(const layout::SkinBitmapInfo& info, const Image& panel, layout::PanelRect at);

Image drawLatchingButton(const layout::SkinBitmapInfo& info, const Image& panel, layout::PanelRect at, Rgb lamp);
Image drawStepButton(const layout::SkinBitmapInfo& info, const Image& panel, layout::PanelRect at, int direction);
Image drawSlideSwitch(const layout::SkinBitmapInfo& info, const Image& panel, layout::PanelRect at);

// Preset bar; these take the bare plate (without the rail's lettering).
Image drawArrowButton(const layout::SkinBitmapInfo& info, const Image& barePanel, layout::PanelRect at, bool load);
Image drawLabelButton(const layout::SkinBitmapInfo& info, const Image& barePanel, layout::PanelRect at,
                      const char* text);
Image drawRocker(const layout::SkinBitmapInfo& info, const Image& barePanel, layout::PanelRect at);
Image drawRailSwitchStrip(const layout::SkinBitmapInfo& info, const Image& barePanel, layout::PanelRect at,
                          const char* text, Rgb lamp);

}  // namespace skingen
