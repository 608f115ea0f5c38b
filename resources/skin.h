// The skin bitmaps, embedded in the plug-in as PNG files and found by id and
// zoom: the generator draws the whole skin once per zoom step.
#pragma once

#include "layout/skin_bitmaps.h"
#include "layout/zoom.h"

struct SkinResource {
  int id;
  int zoomPercent;            // the table's 1× size times zoomPercent / 100
  const unsigned char* data;  // a complete PNG file
  unsigned long size;
};

// Null when the id or the zoom is unknown.
const SkinResource* findSkinResource(int id, int zoomPercent = layout::kDefaultZoom);
