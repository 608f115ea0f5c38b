#include "resources/skin.h"

#include "resources/skin_data.h"

const SkinResource* findSkinResource(int id, int zoomPercent) {
  for (unsigned long i = 0; i < kNumSkinResources; ++i)
    if (kSkinResources[i].id == id && kSkinResources[i].zoomPercent == zoomPercent)
      return &kSkinResources[i];
  return nullptr;
}
