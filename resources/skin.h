// The skin bitmaps, embedded in the plug-in as PNG files and found by id.
#pragma once

#include "layout/skin_bitmaps.h"

struct SkinResource {
  int id;
  const unsigned char* data;  // a complete PNG file
  unsigned long size;
};

// Null when the id is unknown.
const SkinResource* findSkinResource(int id);
