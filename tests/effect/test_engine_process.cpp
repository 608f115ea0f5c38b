// The delay engine's sound path, driven through the engine alone.
#include <gtest/gtest.h>

#include <cmath>

#include "engine_harness.h"

using namespace engine_test;

namespace {

constexpr size_t kSettle = 8192;      // smoothing and the 50 ms crossfade have settled
constexpr float kDelayValue = 0.01f;  // 32 ms: 1411.2 samples at 44100 Hz

// Output of a neutral engine for an impulse after the settling time.
std::vector<float> impulseResponse(DelayEngine& e, size_t length, int32_t block = 64) {
  render(e, silence(kSettle), block);
  return render(e, impulseAt(length, 0), block).left;
}

}  // namespace

TEST(DelayEngine, ImpulseArrivesTruncDelayPlusThreeLater) {
  DelayEngine bypass, delayed;
  setNeutral(bypass, 0.0f);  // below 3 samples the memory is skipped
  setNeutral(delayed, kDelayValue);
  const int32_t delay = static_cast<int32_t>(delayed.delaySamples());
  ASSERT_EQ(delay, 1411);
  const auto direct = impulseResponse(bypass, 4096);
  const auto echo = impulseResponse(delayed, 4096);
  for (size_t n = 0; n + delay + 3 < echo.size(); ++n)
    ASSERT_NEAR(echo[n + delay + 3], direct[n], 1e-6f) << n;
  for (size_t n = 0; n < static_cast<size_t>(delay) + 3; ++n) ASSERT_NEAR(echo[n], 0.0f, 1e-6f);
}

TEST(DelayEngine, DoublingHalvesTheClockAndDoublesTheDelay) {
  DelayEngine bypass, delayed;
  setNeutral(bypass, 0.0f);
  setNeutral(delayed, kDelayValue);
  bypass.setParameter(kDlyx2, kOn);
  delayed.setParameter(kDlyx2, kOn);
  const int32_t delay = static_cast<int32_t>(delayed.delaySamples());
  const auto direct = impulseResponse(bypass, 8192);
  const auto echo = impulseResponse(delayed, 8192);
  const long shift = static_cast<long>(indexOfPeak(echo)) - static_cast<long>(indexOfPeak(direct));
  EXPECT_NEAR(shift, 2 * delay + 5, 3);
  EXPECT_NEAR(std::fabs(echo[indexOfPeak(echo)]), std::fabs(direct[indexOfPeak(direct)]), 0.05f);
}

TEST(DelayEngine, ZeroDelayGivesTheLimitedInputAtOnce) {
  // DC through the input filters reaches the limiter unchanged: 0.1 is
  // scaled by 1 − m/4, 3.0 (above the knee) by 1/m.
  for (auto [level, expected] : {std::pair{0.1f, 0.1f * (1.0f - 0.025f)}, std::pair{3.0f, 1.0f}}) {
    DelayEngine e;
    setNeutral(e, 0.0f);
    const auto out = render(e, std::vector<float>(4096, level)).left;
    EXPECT_NEAR(out.back(), expected, 1e-5f) << level;
  }
}

TEST(DelayEngine, EngagedRepeatLoopsWithoutDecay) {
  DelayEngine e;
  setNeutral(e, kDelayValue);
  e.setParameter(kFbck, 0.9f);
  render(e, silence(kSettle));
  std::vector<float> burst(2048);
  for (size_t i = 0; i < burst.size(); ++i)
    burst[i] = 0.3f * std::sin(0.05f * i) * std::sin(0.0011f * i);
  render(e, burst);
  e.setParameter(kRptInf, kOn);
  EXPECT_TRUE(e.repeatActive());
  // Whatever the feedback settings, the loop neither decays nor takes input.
  e.setParameter(kFbck, 0.0f);
  e.setParameter(kFbInv, kOn);
  e.setParameter(kHiCut, kOn);
  render(e, std::vector<float>(kSettle, 0.0f));
  const size_t period = static_cast<size_t>(e.delaySamples());
  auto out = render(e, silence(20 * period)).left;
  double energyFirst = 0, energyLast = 0;
  for (size_t n = 0; n < period; ++n) {
    energyFirst += out[n] * out[n];
    energyLast += out[19 * period + n] * out[19 * period + n];
    ASSERT_NEAR(out[19 * period + n], out[n], 1e-6f);
  }
  EXPECT_GT(energyFirst, 1.0);
  EXPECT_NEAR(energyLast / energyFirst, 1.0, 1e-5);
}

TEST(DelayEngine, HiCutLeavesTheFirstEchoUnfiltered) {
  DelayEngine plain, cut;
  for (DelayEngine* e : {&plain, &cut}) {
    setNeutral(*e, kDelayValue);
    e->setParameter(kFbck, 0.9f);
  }
  cut.setParameter(kHiCut, kOn);
  const size_t d = static_cast<size_t>(plain.delaySamples()) + 3;
  const auto a = impulseResponse(plain, 3 * d + 100);
  const auto b = impulseResponse(cut, 3 * d + 100);
  for (size_t n = 0; n < 2 * d - 10; ++n)
    ASSERT_NEAR(a[n], b[n], 1e-12f) << n;  // first echo identical
  const size_t second = indexOfPeak(a, 2 * d - 10, 2 * d + 20);
  const size_t secondCut = indexOfPeak(b, 2 * d - 10, 2 * d + 30);
  EXPECT_LT(std::fabs(b[secondCut]), 0.8f * std::fabs(a[second]));
  const size_t third = indexOfPeak(a, 3 * d - 10, 3 * d + 20);
  const size_t thirdCut = indexOfPeak(b, 3 * d - 10, 3 * d + 40);
  EXPECT_LT(std::fabs(b[thirdCut]) / std::fabs(b[secondCut]),
            std::fabs(a[third]) / std::fabs(a[second]));
}

TEST(DelayEngine, DlyInvInvertsOnlyTheWetSignal) {
  DelayEngine plain, inverted;
  for (DelayEngine* e : {&plain, &inverted}) {
    setNeutral(*e, kDelayValue);
    e->setParameter(kMix, 0.5f);
    e->suspend();
  }
  inverted.setParameter(kDlyInv, kOn);
  const auto a = impulseResponse(plain, 2000);
  const auto b = impulseResponse(inverted, 2000);
  const size_t d = static_cast<size_t>(plain.delaySamples()) + 3;
  for (size_t n = 0; n < 200; ++n) ASSERT_EQ(a[n], b[n]);  // dry part
  EXPECT_GT(std::fabs(a[indexOfPeak(a, d - 5, d + 10)]), 0.1f);
  for (size_t n = d - 5; n < d + 100; ++n) ASSERT_NEAR(b[n], -a[n], 1e-9f);
}

TEST(DelayEngine, FbInvAlternatesTheRepeats) {
  DelayEngine e;
  setNeutral(e, kDelayValue);
  e.setParameter(kFbck, 0.9f);
  e.setParameter(kFbInv, kOn);
  e.suspend();
  const size_t d = static_cast<size_t>(e.delaySamples()) + 3;
  const auto out = impulseResponse(e, 5 * d + 50);
  float sign = 1.0f;
  for (size_t k = 1; k <= 4; ++k) {
    const float peak = out[indexOfPeak(out, k * d - 10, k * d + 20)];
    EXPECT_GT(peak * sign, 0.01f) << "echo " << k;
    sign = -sign;
  }
}

TEST(DelayEngine, PowerOffPassesInputBitIdentical) {
  DelayEngine e;
  e.setParameter(kPower, kOff);
  e.setParameter(kFbck, 0.8f);
  std::vector<float> left(1000), right(1000);
  for (size_t i = 0; i < left.size(); ++i) {
    left[i] = std::sin(0.1f * i) * 0.7f + 1e-30f;
    right[i] = std::cos(0.37f * i) * 1.3f;
  }
  const auto out = render(e, left, 64, &right);
  EXPECT_EQ(out.left, left);
  EXPECT_EQ(out.right, right);

  std::vector<float> mono(left.size());
  e.process(left.data(), right.data(), mono.data(), nullptr, static_cast<int32_t>(left.size()), {});
  for (size_t i = 0; i < left.size(); ++i)
    ASSERT_EQ(mono[i], static_cast<float>(0.5 * (static_cast<double>(left[i]) + right[i])));
}

TEST(DelayEngine, MonoOutputIsTheAverageOfBothChannels) {
  DelayEngine stereo, mono;
  setNeutral(stereo, kDelayValue);
  setNeutral(mono, kDelayValue);
  std::vector<float> left(3000), right(3000);
  for (size_t i = 0; i < left.size(); ++i) {
    left[i] = 0.3f * std::sin(0.02f * i);
    right[i] = 0.2f * std::sin(0.07f * i);
  }
  const auto both = render(stereo, left, 64, &right);
  std::vector<float> out(left.size());
  for (size_t pos = 0; pos < out.size(); pos += 64)  // same blocks: level sums restart per block
    mono.process(left.data() + pos, right.data() + pos, out.data() + pos, nullptr,
                 static_cast<int32_t>(std::min<size_t>(64, out.size() - pos)), {});
  for (size_t i = 0; i < out.size(); ++i)
    ASSERT_EQ(out[i],
              static_cast<float>(0.5 * (static_cast<double>(both.left[i]) + both.right[i])));
}

TEST(DelayEngine, StatesDecayToExactZeros) {
  DelayEngine e;
  setNeutral(e, kDelayValue);
  e.setParameter(kMix, 0.5f);
  e.setParameter(kFbck, 0.7f);
  e.setParameter(kHiCut, kOn);
  std::vector<float> noise(4096);
  uint32_t seed = 1;
  for (float& x : noise) {
    seed = seed * 1664525u + 1013904223u;
    x = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
  }
  render(e, noise);
  render(e, silence(44100 * 6));
  // The envelope's decrement falls below half a step of the flush grid
  // (multiples of ~1e-25) and it settles there: tiny, but never denormal.
  EXPECT_LT(e.envState(), 1e-22f);
  EXPECT_NE(std::fpclassify(e.envState()), FP_SUBNORMAL);
  for (int c = 0; c < 2; ++c) {
    // The first section's inputs hold the alternating offset; everything
    // the filters compute is exactly zero.
    const ChannelState& ch = e.channel(c);
    EXPECT_EQ(ch.antiAlias[0][2], 0.0f);
    EXPECT_EQ(ch.antiAlias[0][3], 0.0f);
    for (float s : ch.antiAlias[1]) EXPECT_EQ(s, 0.0f);
    EXPECT_EQ(ch.hiCutState, 0.0f);
    EXPECT_EQ(ch.feedbackSignal, 0.0f);
  }
  const auto tail = render(e, silence(256)).left;
  for (float x : tail) EXPECT_EQ(std::fpclassify(x) == FP_SUBNORMAL, false);
}

TEST(DelayEngine, AfterSuspendTheFirstSampleHasNoGlide) {
  DelayEngine e;
  setNeutral(e, 0.0f);
  e.setParameter(kMix, 0.0f);  // dry only
  e.setParameter(kInput, 0.8f);
  e.setParameter(kOutput, 0.3f);
  e.suspend();
  e.resume(44100.0f);
  float in = 0.25f, outL = 0, outR = 0;
  e.process(&in, &in, &outL, &outR, 1, {});
  const double gain = static_cast<float>(static_cast<double>(0.8f) * 0.8f * 4.0);
  const double out = static_cast<float>(static_cast<double>(0.3f) * 0.3f * 4.0);
  EXPECT_NEAR(outL, 0.25 * gain * out, 1e-6);
}

TEST(DelayEngine, ArmedRepeatEngagesAtTheBoundaryForAnyBlockSize) {
  // Dly<>Clk on at 120 BPM, 1/4: a 500 ms period (22050 samples).
  auto framesUntilEngaged = [](int32_t block) {
    DelayEngine e;
    e.setParameter(kDen, paramFromIndex(3, 13));
    e.setParameter(kDlyClk, kOn);
    e.resume(44100.0f);
    e.setParameter(kRptInf, kOn);
    std::vector<float> in(block, 0.0f), out(block);
    for (int64_t done = 0; done < 3 * 22050; done += block) {
      e.process(in.data(), in.data(), out.data(), out.data(), block, {});
      if (e.repeatActive()) return done + block;
    }
    return int64_t{-1};
  };
  const int64_t reference = framesUntilEngaged(512);
  ASSERT_GT(reference, 0);
  EXPECT_LE(reference, 22050 + 512);
  for (int32_t block : {1, 2, 3, 64})
    EXPECT_NEAR(static_cast<double>(framesUntilEngaged(block)), static_cast<double>(reference),
                512 + 2)
        << block;
}

TEST(DelayEngine, ArmedRepeatEngagesWithHostPositionAndTinyBlocks) {
  // Hosts report the position at each block's start; with blocks of one or
  // two frames the counter never passes the period inside a block, so the
  // boundary between blocks must engage the repeat.
  auto frameOfEngagement = [](int32_t block) {
    DelayEngine e;
    e.setParameter(kDen, paramFromIndex(3, 13));  // 1/4 at 120 BPM: one beat, 22050 samples
    e.setParameter(kDlyClk, kOn);
    e.resume(44100.0f);
    e.setParameter(kRptInf, kOn);
    std::vector<float> in(block, 0.0f), out(block);
    BlockTiming timing;
    timing.hasTempo = true;
    timing.tempo = 120.0;
    timing.hasPpqPos = true;
    for (int64_t done = 0; done < 3 * 22050; done += block) {
      timing.ppqPos = 0.25 + static_cast<double>(done) / 22050.0;  // starts a quarter in
      e.process(in.data(), in.data(), out.data(), out.data(), block, timing);
      if (e.repeatActive()) return done + block;
    }
    return int64_t{-1};
  };
  const int64_t boundary = 22050 - 22050 / 4;
  for (int32_t block : {1, 2, 256, 512}) {
    const int64_t engaged = frameOfEngagement(block);
    EXPECT_GE(engaged, boundary - 2) << block;
    EXPECT_LE(engaged, boundary + block + 2) << block;
  }
}

TEST(DelayEngine, ZeroDelayStartsTheBeatCounterAtZero) {
  DelayEngine e;
  e.setParameter(kDlyTime, 0.0f);
  e.setParameter(kDlyClk, kOff);
  e.resume(44100.0f);
  BlockTiming timing;
  timing.hasPpqPos = true;
  timing.ppqPos = 12.345;
  const auto out = render(e, silence(64), 64, nullptr, timing);
  EXPECT_TRUE(allFinite(out.left));
  EXPECT_TRUE(e.ledState());
}
