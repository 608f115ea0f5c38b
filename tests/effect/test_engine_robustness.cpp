// Bad input from a host never poisons the engine or reaches the output.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "engine_harness.h"

using namespace engine_test;

namespace {

std::vector<float> testSignal(size_t n) {
  std::vector<float> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = 0.4f * std::sin(0.013f * i) + 0.2f * std::sin(0.31f * i);
  return v;
}

}  // namespace

TEST(EngineRobustness, NonFiniteInputEntersAsZero) {
  DelayEngine clean, dirty;
  for (DelayEngine* e : {&clean, &dirty}) {
    setNeutral(*e, 0.01f);
    e->setParameter(kMix, 0.5f);
    e->setParameter(kFbck, 0.9f);
  }
  auto signal = testSignal(20000);
  auto zeroed = signal;
  const float bad[] = {std::numeric_limits<float>::quiet_NaN(), INFINITY, -INFINITY};
  for (size_t i = 0; i < 3; ++i) {
    signal[1000 + 7 * i] = bad[i];
    zeroed[1000 + 7 * i] = 0.0f;
  }
  const auto a = render(clean, zeroed);
  const auto b = render(dirty, signal);
  EXPECT_TRUE(allFinite(b.left));
  EXPECT_TRUE(allFinite(b.right));
  EXPECT_EQ(a.left, b.left);

  DelayEngine off;
  off.setParameter(kPower, kOff);
  const auto passed = render(off, signal);
  EXPECT_TRUE(allFinite(passed.left));
  EXPECT_EQ(passed.left[100], signal[100]);
}

TEST(EngineRobustness, ExtremeParameterValuesKeepOutputFinite) {
  for (float extreme : {1e30f, -1e30f, 3.0e38f, -7.5f, 42.0f}) {
    DelayEngine e;
    for (int32_t i = 0; i < kNumParams; ++i) {
      if (i == kPower) continue;
      e.setParameter(i, extreme);
    }
    auto signal = testSignal(8192);
    signal[10] = 3.0e38f;
    const auto out = render(e, signal, 256);
    EXPECT_TRUE(allFinite(out.left)) << extreme;
    EXPECT_TRUE(allFinite(out.right)) << extreme;
  }
}

TEST(EngineRobustness, ClockBracketStaysPositiveAndBounded) {
  // ManVCO set at Depth 0 gives a manual factor of 0.5; raising Depth then
  // lets the sine LFO and the envelope pull the bracket to zero and below.
  DelayEngine e;
  e.setParameter(kDepth, 0.0f);
  e.setParameter(kManVCO, 0.0f);
  e.setParameter(kDepth, 1.0f);
  e.setParameter(kWaveform, 0.0f);
  e.setParameter(kRate, 1.0f);
  e.setParameter(kFbck, 0.8f);
  e.suspend();
  e.resume(44100.0f);
  float smallest = 1e9f;
  const auto signal = testSignal(64);
  for (int block = 0; block < 2000; ++block) {
    auto out = render(e, signal, 64);
    ASSERT_TRUE(allFinite(out.left));
    smallest = std::min(smallest, e.clockFactor());
  }
  EXPECT_EQ(smallest, dsp::kMinClockBracket);
}

TEST(EngineRobustness, NullAndNegativeBlocksAreHarmless) {
  DelayEngine e;
  float out[4] = {1, 1, 1, 1};
  e.process(nullptr, nullptr, out, out, 4, {});
  e.process(out, out, nullptr, nullptr, 4, {});
  e.process(out, nullptr, out, nullptr, -5, {});
  EXPECT_EQ(out[0], 1.0f);
}

TEST(EngineRobustness, HostPositionExtremesAreHarmless) {
  DelayEngine e;
  BlockTiming timing;
  timing.hasPpqPos = true;
  timing.hasTempo = true;
  for (double ppq : {-1e9, 1e300, -0.5, std::nan(""), 1e12}) {
    timing.ppqPos = ppq;
    timing.tempo = ppq;
    const auto out = render(e, testSignal(128), 128, nullptr, timing);
    EXPECT_TRUE(allFinite(out.left));
  }
}

namespace {

// A whole state applied the way the effect class applies a load.
void loadState(DelayEngine& e, const float* values) {
  e.prepareStateLoad(values[kDepth]);
  for (int32_t i = 0; i < kNumParams; ++i) e.setParameter(i, values[i]);
}

}  // namespace

// Out-of-range feedback and depth drive the running state (the envelope,
// the clock increment) to extremes; suspend and resume must bring every
// piece of it back, so the engine then matches a new one bit for bit.
TEST(EngineRobustness, SuspendAndResumeUndoEveryTraceOfAbuse) {
  const float state[kNumParams] = {0.5f, 0.5f, 0.7f, 0.4f,  kOff, kOff, 0.5f, kOn, kOff,
                                   0.6f, 0.2f, 0.3f, 0.45f, kOff, kOn,  kOff, 0.2f, 0.3f};
  DelayEngine abused;
  abused.resume(44100.0f);
  const std::vector<float> loud(512, 0.5f);
  for (int block = 0; block < 800; ++block) {
    const float sign = block % 2 ? 1.0f : -1.0f;
    abused.setParameter(kFbck, 1e4f * sign);
    abused.setParameter(kDepth, -1e4f * sign);
    render(abused, loud, 512);
  }
  loadState(abused, state);
  abused.suspend();
  abused.resume(44100.0f);
  EXPECT_EQ(abused.envState(), 0.0f);
  EXPECT_EQ(abused.clockIncrement(), 1.0f);

  DelayEngine fresh;
  fresh.resume(44100.0f);
  loadState(fresh, state);
  fresh.suspend();
  fresh.resume(44100.0f);

  std::vector<float> probe(154350, 0.0f);
  probe[0] = 0.9f;
  for (size_t i = 40000; i < 44000; ++i) probe[i] = 0.3f * std::sin(0.05f * i);
  const Stereo a = render(abused, probe, 512), b = render(fresh, probe, 512);
  EXPECT_EQ(std::memcmp(a.left.data(), b.left.data(), a.left.size() * sizeof(float)), 0);
  EXPECT_EQ(std::memcmp(a.right.data(), b.right.data(), a.right.size() * sizeof(float)), 0);
}
