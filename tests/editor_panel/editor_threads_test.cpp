// Host automation and MIDI learn on another thread while the user opens and
// closes the editor window: no update may touch a control that is going away
// (the thread-sanitizer build runs this test).
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "host/vst2_abi.h"
#include "presets/preset_system_effect.h"
#include "tests/host/temporary_settings.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

namespace {

VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

TEST(EditorThreads, AutomationWhileTheWindowOpensAndCloses) {
  TemporarySettings settings;
  AEffect* effect = VSTPluginMain(quietHost);
  ASSERT_NE(effect, nullptr);
  auto* presets = static_cast<CPresetSystemEffect*>(effect->object);

  std::atomic<bool> running{true};
  std::thread automation([&] {
    float value = 0.0f;
    while (running.load(std::memory_order_relaxed)) {
      for (VstInt32 index = 0; index < 16; ++index) effect->setParameter(effect, index, value);
      value = value > 0.9f ? 0.0f : value + 0.01f;
    }
  });
  std::thread learning([&] {
    VstMidiEvent controlChange{};
    controlChange.type = kVstMidiType;
    controlChange.byteSize = sizeof(controlChange);
    controlChange.midiData[0] = static_cast<char>(0xB0);
    controlChange.midiData[1] = 74;
    controlChange.midiData[2] = 64;
    VstEvents events{};
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<VstEvent*>(&controlChange);
    while (running.load(std::memory_order_relaxed)) {
      effect->dispatcher(effect, effProcessEvents, 0, 0, &events, 0.0f);
      std::this_thread::yield();
    }
  });

  for (int round = 0; round < 20; ++round) {
    presets->startLearn();  // a learned binding releases the learn button from the event thread
    ASSERT_EQ(effect->dispatcher(effect, effEditOpen, 0, 0, nullptr, 0.0f), 1);
    effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
  }
  running = false;
  automation.join();
  learning.join();
  EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
}

}  // namespace
