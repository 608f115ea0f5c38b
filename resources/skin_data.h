// The embedded PNG files, defined by the source that skingen generates.
#pragma once

#include "resources/skin.h"

extern const SkinResource kSkinResources[];
extern const unsigned long kNumSkinResources;
