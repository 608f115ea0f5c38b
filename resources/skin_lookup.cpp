#include "resources/skin.h"

#include "resources/skin_data.h"

const SkinResource* findSkinResource(int id) {
  for (unsigned long i = 0; i < kNumSkinResources; ++i)
    if (kSkinResources[i].id == id) return &kSkinResources[i];
  return nullptr;
}
