// Loads the built shared object the way a host does and creates an instance
// through each of its two entry names.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "host/vst2_abi.h"
#include "tests/host/temporary_settings.h"

namespace {
typedef AEffect* (*EntryPoint)(audioMasterCallback);

VstIntPtr minimalHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

class SharedObject : public ::testing::Test {
 protected:
  void SetUp() override {
    handle = dlopen(HALDEN_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
  }
  // The library stays loaded, as hosts keep it: unloading would only hide
  // where anything it allocated came from.
  TemporarySettings settings;
  void* handle = nullptr;
};

TEST_F(SharedObject, BothEntryNamesCreateAnInstance) {
  for (const char* name : {"VSTPluginMain", "main"}) {
    auto entry = reinterpret_cast<EntryPoint>(dlsym(handle, name));
    ASSERT_NE(entry, nullptr) << name;
    AEffect* effect = entry(minimalHost);
    ASSERT_NE(effect, nullptr) << name;
    EXPECT_EQ(effect->magic, kEffectMagic);
    EXPECT_EQ(effect->uniqueID, fourCharCode('H', 'l', 'd', 'n'));
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
  }
}

TEST_F(SharedObject, InternalSymbolsStayHidden) {
  EXPECT_EQ(dlsym(handle, "createEffectInstance"), nullptr);
  EXPECT_EQ(dlsym(handle, "_Z20createEffectInstancePFlP7AEffectiilPvfE"), nullptr);
}
}  // namespace
