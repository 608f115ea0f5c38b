// Film strips: frames stacked vertically, frame 0 on top.
#pragma once

#include "layout/panel_layout.h"
#include "layout/skin_bitmaps.h"
#include "layout/zoom.h"
#include "tools/skingen/canvas.h"

namespace skingen {

// Makes the bitmap of info and calls drawFrame(cr, frame) once per frame with
// the origin at the frame's top-left corner and drawing clipped to the frame.
// Opaque bitmaps first receive, in every frame, the part of the front panel
// that lies under the control (at box), so they blend into the panel.
// The strip has the front panel's zoom. Each frame starts on the pixel row
// where the editor copies it from (the zoom's rounding rule), so at 150 %,
// where a frame is a fractional number of pixels tall, no frame bleeds into
// its neighbour and every frame sits the same way on its pixels.
template <typename DrawFrame>
Image drawStrip(const layout::SkinBitmapInfo& info, const Image* frontPanel, layout::PanelRect under,
                DrawFrame drawFrame) {
  const double zoom = frontPanel ? frontPanel->zoom() : 1.0;
  Image image(info.width, info.height, info.hasAlpha, zoom);
  Painter cr(image);
  const int frameHeight = info.frameHeight();
  // At 150 % an odd width ends in a pixel only half inside the 1× width;
  // frames fill it too, so no dark column shows at the control's edge.
  const double width = image.pixelWidth() / zoom;
  auto frameTop = [&](int frame) {
    return layout::toZoomedPixel(frame * frameHeight, zoom) / zoom;
  };
  for (int frame = 0; frame < info.frames; ++frame) {
    cairo_save(cr);
    cairo_translate(cr, 0, frameTop(frame));
    cairo_rectangle(cr, 0, 0, width, frameTop(frame + 1) - frameTop(frame));
    cairo_clip(cr);
    if (frontPanel && !info.hasAlpha)
      copyArea(cr, *frontPanel, under.left, under.top, 0, 0, info.width + 1, frameHeight + 1);
    drawFrame(static_cast<cairo_t*>(cr), frame);
    cairo_restore(cr);
  }
  return image;
}

}  // namespace skingen
