// Loading the skin's bitmaps by id, and cutting their film strips by the
// frame counts of the shared skin table.
#pragma once

#include "editor/toolkit/cbitmap.h"
#include "layout/skin_bitmaps.h"
#include "layout/zoom.h"

// A new reference to the bitmap drawn for the zoom in percent; the caller
// forgets it when done with it.
inline CBitmap* loadBitmap(layout::SkinBitmapId id, int zoomPercent = layout::kDefaultZoom) {
  return new CBitmap(CResourceDescription(id), CBitmapZoom{zoomPercent});
}

inline int32_t framesOf(layout::SkinBitmapId id) { return layout::skinBitmap(id).frames; }

inline CCoord frameHeightOf(layout::SkinBitmapId id) { return layout::skinBitmap(id).frameHeight(); }

// The height of one frame of a loaded film strip, by its frame count in the
// skin table.
inline CCoord heightPerFrame(const CBitmap* bitmap) {
  const auto id = static_cast<layout::SkinBitmapId>(bitmap->getResourceDescription().id);
  return bitmap->getHeight() / framesOf(id);
}
