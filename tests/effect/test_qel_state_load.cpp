// Whole-state loads through the real entry point: an instance driven through
// abuse and then loaded with a state sounds bit for bit like a fresh
// instance loaded with the same state; values from outside are clamped.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "fake_host.h"
#include "tests/host/temporary_settings.h"

using fake_host::Instance;

namespace {

constexpr float kOff = 0.25f;
constexpr float kOn = 0.75f;
constexpr int32_t kBlock = 512;

std::vector<float> noise(size_t n, float amplitude, uint32_t seed) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> uniform(-amplitude, amplitude);
  std::vector<float> v(n);
  for (float& x : v) x = uniform(random);
  return v;
}

// Clicks and a noise burst over 3.5 s: long enough to hear any delay time
// up to 3200 ms, and the modulation's effect on the repeats.
std::vector<float> probe() {
  std::vector<float> v = noise(154350, 0.0f, 1);
  v[0] = 0.9f;
  v[30000] = -0.7f;
  const std::vector<float> burst = noise(4000, 0.5f, 7);
  std::copy(burst.begin(), burst.end(), v.begin() + 60000);
  return v;
}

std::vector<uint8_t> chunkOf(Instance& p) {
  void* data = nullptr;
  const VstIntPtr size = p.dispatch(effGetChunk, 0, 0, &data);
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

VstIntPtr loadChunk(Instance& p, std::vector<uint8_t> chunk) {
  return p.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(chunk.size()), chunk.data());
}

void suspendResume(Instance& p) {
  p.dispatch(effMainsChanged, 0, 0);
  p.dispatch(effMainsChanged, 0, 1);
}

// Index of the first sample whose bits differ, or -1 when every bit agrees.
long firstDifference(const std::vector<float>& a, const std::vector<float>& b) {
  if (a.size() != b.size()) return 0;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0) return static_cast<long>(i);
  return -1;
}

// Both outputs of the probe, left then right.
std::vector<float> renderProbe(Instance& p) {
  std::vector<float> right;
  std::vector<float> out = p.render(probe(), kBlock, &right);
  out.insert(out.end(), right.begin(), right.end());
  return out;
}

// A state to load: program 3 current, with a delay time, modulation and a
// mix of its own, RptInf as asked.
std::vector<uint8_t> stateWith(float rptInf, float dlyTime) {
  Instance source;
  source.qel().selectProgram(3);
  source.setParameter(kMix, 0.6f);
  source.setParameter(kDlyTime, dlyTime);
  source.setParameter(kFbck, 0.45f);
  source.setParameter(kManVCO, 0.8f);
  source.setParameter(kDepth, 0.3f);
  source.setParameter(kWaveform, 0.2f);
  source.setParameter(kRptInf, rptInf);
  return chunkOf(source);
}

class StateLoad : public ::testing::Test {
 protected:
  TemporarySettings temp;
};

TEST_F(StateLoad, LoadedDelayTimeAppliesWhenTheRepeatWasOn) {
  for (float loadedRepeat : {kOff, kOn}) {
    const std::vector<uint8_t> state = stateWith(loadedRepeat, 0.15f);
    Instance held;
    held.setParameter(kDlyTime, 0.9f);
    held.setParameter(kRptInf, kOn);
    ASSERT_EQ(loadChunk(held, state), 0);
    Instance fresh;
    ASSERT_EQ(loadChunk(fresh, state), 0);
    EXPECT_EQ(held.qel().getEngine().delayMs(), fresh.qel().getEngine().delayMs()) << loadedRepeat;
    EXPECT_EQ(held.qel().getEngine().repeatOn(), loadedRepeat == kOn);
    EXPECT_EQ(held.display(kDlyTime), fresh.display(kDlyTime));
    EXPECT_EQ(firstDifference(renderProbe(held), renderProbe(fresh)), -1) << loadedRepeat;
  }
}

TEST_F(StateLoad, ProgramChangeWithTheRepeatOnTakesTheProgramsDelay) {
  Instance held;
  held.qel().selectProgram(5);
  held.setParameter(kDlyTime, 0.9f);
  held.setParameter(kRptInf, kOn);
  held.qel().selectProgram(1);  // a program with a delay time of its own (not synced)
  Instance fresh;
  fresh.qel().selectProgram(1);
  EXPECT_EQ(held.qel().getEngine().delayMs(), fresh.qel().getEngine().delayMs());
  EXPECT_EQ(firstDifference(renderProbe(held), renderProbe(fresh)), -1);
}

// The ManVCO factor is taken with the Depth in force; a load must use the
// loaded Depth, not the one the instance had before.
TEST_F(StateLoad, ClockFactorDependsOnTheLoadedDepthOnly) {
  const std::vector<uint8_t> state = stateWith(kOff, 0.2f);
  Instance before;
  before.setParameter(kDepth, 0.95f);
  ASSERT_EQ(loadChunk(before, state), 0);
  Instance fresh;
  ASSERT_EQ(loadChunk(fresh, state), 0);
  EXPECT_EQ(before.qel().getEngine().manualFactor(), fresh.qel().getEngine().manualFactor());
  EXPECT_EQ(firstDifference(renderProbe(before), renderProbe(fresh)), -1);
}

// Feedback and depth far out of range drove hidden running state (the
// envelope) to infinity, which neither a load nor suspend/resume cleared.
TEST_F(StateLoad, AbusedInstanceRecoversThroughLoadAndSuspendResume) {
  const std::vector<uint8_t> state = stateWith(kOff, 0.5f);
  Instance abused;
  const std::vector<float> loud = noise(kBlock, 0.5f, 3);
  for (int block = 0; block < 800; ++block) {
    const float sign = block % 2 ? 1.0f : -1.0f;
    abused.setParameter(kFbck, 1e4f * sign);
    abused.setParameter(kDepth, -1e4f * sign);
    abused.render(loud, kBlock);
  }
  ASSERT_EQ(loadChunk(abused, state), 0);
  suspendResume(abused);
  Instance fresh;
  ASSERT_EQ(loadChunk(fresh, state), 0);
  suspendResume(fresh);
  EXPECT_EQ(chunkOf(abused), chunkOf(fresh));
  EXPECT_EQ(firstDifference(renderProbe(abused), renderProbe(fresh)), -1);
}

TEST_F(StateLoad, ValuesFromOutsideAreClampedAndNonNumbersIgnored) {
  Instance p;
  p.setParameter(kInput, 1e6f);
  EXPECT_EQ(p.getParameter(kInput), 1.0f);
  p.setParameter(kMix, -1e30f);
  EXPECT_EQ(p.getParameter(kMix), 0.0f);
  EXPECT_EQ(p.display(kMix), "dry");
  p.setParameter(kFbck, 0.4f);
  p.setParameter(kFbck, std::numeric_limits<float>::quiet_NaN());
  p.setParameter(kFbck, std::numeric_limits<float>::infinity());
  EXPECT_EQ(p.getParameter(kFbck), 0.4f);
  const auto& program = p.qel().getPrograms()[p.qel().getCurrentProgramIndex()];
  EXPECT_EQ(program.values[kInput], 1.0f);
  EXPECT_EQ(program.values[kMix], 0.0f);
  EXPECT_EQ(program.values[kFbck], 0.4f);
  // The loudest input gain stays a gain, not +108 dB.
  p.setParameter(kMix, 0.0f);
  suspendResume(p);
  float peak = 0.0f;
  for (float x : p.render(noise(44100, 0.5f, 5), kBlock)) peak = std::max(peak, std::fabs(x));
  EXPECT_LT(peak, 8.0f);
}

TEST_F(StateLoad, EveryDisplayOfAClampedValueIsASensibleText) {
  Instance p;
  for (VstInt32 i = 0; i < kNumParams; ++i) {
    for (float value : {-1e30f, -1.0f, 2.0f, 1e30f}) {
      p.setParameter(i, value);
      const std::string text = p.display(i);
      EXPECT_FALSE(text.empty()) << i;
      EXPECT_LE(text.size(), 12u) << i;
      EXPECT_EQ(text.find("2147483647"), std::string::npos) << i << " " << text;
      EXPECT_EQ(text.find("nan"), std::string::npos) << i << " " << text;
      EXPECT_EQ(text.find("inf"), std::string::npos) << i << " " << text;
    }
  }
}

}  // namespace
