// Film strips: frames stacked vertically, frame 0 on top.
#pragma once

#include "layout/panel_layout.h"
#include "layout/skin_bitmaps.h"
#include "tools/skingen/canvas.h"

namespace skingen {

// Makes the bitmap of info and calls drawFrame(cr, frame) once per frame with
// the origin at the frame's top-left corner and drawing clipped to the frame.
// Opaque bitmaps first receive, in every frame, the part of the front panel
// that lies under the control (at box), so they blend into the panel.
template <typename DrawFrame>
Image drawStrip(const layout::SkinBitmapInfo& info, const Image* frontPanel, layout::PanelRect under,
                DrawFrame drawFrame) {
  Image image(info.width, info.height, info.hasAlpha);
  Painter cr(image);
  const int frameHeight = info.frameHeight();
  for (int frame = 0; frame < info.frames; ++frame) {
    cairo_save(cr);
    cairo_translate(cr, 0, frame * frameHeight);
    cairo_rectangle(cr, 0, 0, info.width, frameHeight);
    cairo_clip(cr);
    if (frontPanel && !info.hasAlpha)
      copyArea(cr, *frontPanel, under.left, under.top, 0, 0, info.width, frameHeight);
    drawFrame(static_cast<cairo_t*>(cr), frame);
    cairo_restore(cr);
  }
  return image;
}

}  // namespace skingen
