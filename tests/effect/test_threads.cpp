// Host automation, editor polls and tempo entry on another thread while the
// audio thread processes; run under ThreadSanitizer by the test script.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "engine_harness.h"
#include "fake_host.h"
#include "tests/host/temporary_settings.h"

namespace {

std::vector<float> signal(size_t n) {
  std::vector<float> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = 0.4f * std::sin(0.021f * i) + 0.2f * std::sin(0.33f * i);
  return v;
}

}  // namespace

TEST(Threads, EngineParametersWhileProcessing) {
  DelayEngine engine;
  std::atomic<bool> running{true};
  std::thread control([&] {
    uint32_t seed = 3;
    while (running) {
      seed = seed * 1664525u + 1013904223u;
      engine.setParameter(static_cast<int32_t>(seed % kNumParams),
                          static_cast<float>(seed >> 8) / 16777216.0f);
      float phase, meter;
      int32_t effective, nominal;
      uint8_t led;
      engine.getDisplayState(phase, meter, effective, nominal, led);
      engine.setTempoFromControl(static_cast<float>(seed % 1000) / 1000.0f);
    }
  });
  const auto in = signal(128);
  bool finite = true;
  for (int block = 0; block < 2000; ++block)
    finite &= engine_test::allFinite(engine_test::render(engine, in, 128).left);
  running = false;
  control.join();
  EXPECT_TRUE(finite);
}

TEST(Threads, HostAutomationWhileProcessing) {
  TemporarySettings folder;
  fake_host::resetSettings();
  fake_host::settings().hasTime = true;
  fake_host::Instance p;
  std::atomic<bool> running{true};
  std::thread automation([&] {
    uint32_t seed = 7;
    while (running) {
      seed = seed * 1664525u + 1013904223u;
      const VstInt32 index = static_cast<VstInt32>(seed % kNumParams);
      p.setParameter(index, static_cast<float>(seed >> 8) / 16777216.0f);
      float phase, meter;
      int32_t effective, nominal;
      uint8_t led;
      p.qel().getDisplayState(phase, meter, effective, nominal, led);
      (void)p.display(index);
      (void)p.getParameter(index);
      fake_host::settings().tempo = 40.0 + seed % 300;
    }
  });
  const auto in = signal(64);
  bool finite = true;
  for (int block = 0; block < 3000; ++block) finite &= engine_test::allFinite(p.render(in, 64));
  running = false;
  automation.join();
  EXPECT_TRUE(finite);
}
