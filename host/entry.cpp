// The exported entry point, under both names hosts look for.
#include <new>

#include "host/audioeffect.h"

namespace {
AEffect* createPlugin(audioMasterCallback audioMaster) {
  if (!audioMaster) return nullptr;
  if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
  try {
    AudioEffect* effect = createEffectInstance(audioMaster);
    return effect ? effect->getAeffect() : nullptr;
  } catch (...) {
    // Nothing may cross the host boundary as an exception.
    return nullptr;
  }
}
}  // namespace

extern "C" {
__attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
  return createPlugin(audioMaster);
}

}
