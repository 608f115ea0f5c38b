// The two-lane arithmetic of the engine must round exactly like the same
// single-precision arithmetic on one channel: random histories, fractions and filter states,
// compared bit for bit with the scalar helpers, lane by lane.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "effect/dsp_math.h"
#include "effect/dsp_stereo_channel.h"

using namespace dsp;

namespace {

uint32_t bitsOf(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

struct Random {
  uint32_t seed = 2024;
  uint32_t next() { return seed = seed * 1664525u + 1013904223u; }
  float unit() { return static_cast<float>(next() >> 8) / 16777216.0f; }
  // Signal-like values with exact zeros of both signs and tiny magnitudes.
  float sample() {
    switch (next() % 16) {
      case 0:
        return 0.0f;
      case 1:
        return -0.0f;
      case 2:
        return 1e-30f * (unit() - 0.5f);
      case 3:
        return 1e-41f;  // subnormal
      default:
        return 4.0f * (unit() - 0.5f);
    }
  }
  // Fractions in [0, 1] with both ends often.
  float fraction() {
    const uint32_t kind = next() % 8;
    return kind == 0 ? 0.0f : kind == 1 ? 1.0f : unit();
  }
};

struct Pair {
  float left[4], right[4];
};

Pair randomHistories(Random& random) {
  Pair p;
  for (int i = 0; i < 4; ++i) {
    p.left[i] = random.sample();
    p.right[i] = random.sample();
  }
  return p;
}

constexpr int kCases = 200000;

}  // namespace

TEST(StereoLanes, CubicsMatchTheScalarHelpersBitForBit) {
  Random random;
  int shortcuts = 0;
  for (int n = 0; n < kCases; ++n) {
    const Pair p = randomHistories(random);
    const HistoryLanes h = historyOf(p.left, p.right);
    const float t = random.fraction();

    const StereoFloat tick = evaluateCubic(cubicOf(h), t);
    const StereoFloat out = interpolateHistory(h, t);
    for (int c = 0; c < 2; ++c) {
      const float* history = c == 0 ? p.left : p.right;
      ASSERT_EQ(bitsOf(laneOf(tick, c)), bitsOf(dsp::evaluateCubic(dsp::cubicOf(history), t)));
      ASSERT_EQ(bitsOf(laneOf(out, c)), bitsOf(dsp::interpolateHistory(history, t)));
    }
    const StereoFloat atOne = evaluateCubicAtOne(cubicOf(h));
    const StereoFloat general = evaluateCubic(cubicOf(h), 1.0f);
    for (int c = 0; c < 2; ++c) ASSERT_EQ(bitsOf(laneOf(atOne, c)), bitsOf(laneOf(general, c)));

    // The shortcut at t = +0 gives the evaluation's exact bits.
    if (interpolatesToP1AtZero(h)) {
      ++shortcuts;
      const StereoFloat full = interpolateHistory(h, 0.0f);
      const StereoFloat p1 = h.p1;
      for (int c = 0; c < 2; ++c) ASSERT_EQ(bitsOf(laneOf(p1, c)), bitsOf(laneOf(full, c)));
    }
  }
  EXPECT_GT(shortcuts, kCases / 2);  // the common case takes it

  const float zeros[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  EXPECT_TRUE(interpolatesToP1AtZero(historyOf(zeros, zeros)));
  const float negativeZero[4] = {0.0f, -0.0f, 0.0f, -1.0f};
  EXPECT_FALSE(interpolatesToP1AtZero(historyOf(zeros, negativeZero)));
}

TEST(StereoLanes, SectionsLimiterAndFlushMatchTheScalarFormulas) {
  Random random;
  const LowPassLanes lp{bothFloat(0.3739779f), bothFloat(0.7479558f), bothFloat(0.3739779f),
                        bothFloat(0.30756649f), bothFloat(0.18834518f)};
  SectionLanes lanes{};
  float state[2][4] = {};
  for (int n = 0; n < kCases; ++n) {
    const float x[2] = {random.sample(), random.sample()};
    const StereoFloat y = runSection(lanes, lanesOf(x[0], x[1]), lp);
    for (int c = 0; c < 2; ++c) {
      float* s = state[c];
      const float acc = 0.3739779f * x[c] + 0.7479558f * s[0] + 0.3739779f * s[1] -
                        0.30756649f * s[2] - 0.18834518f * s[3];
      const float expected = dsp::flush(acc);
      s[1] = s[0];
      s[0] = x[c];
      s[3] = s[2];
      s[2] = expected;
      ASSERT_EQ(bitsOf(laneOf(y, c)), bitsOf(expected));
    }

    const float m[2] = {4.0f * random.unit(), 4.0f * random.unit()};
    const StereoFloat levels = stereo(m[0], m[1]);
    const StereoFloat gain = belowKnee(levels) ? bothFloat(1.0f) - bothFloat(kLimiterSlope) * levels
                                               : limiterGain(levels);
    for (int c = 0; c < 2; ++c) {
      const float expected = m[c] <= kLimiterKnee ? 1.0f - kLimiterSlope * m[c] : 1.0f / m[c];
      ASSERT_EQ(bitsOf(laneOf(gain, c)), bitsOf(expected));
    }
  }
  const StereoFloat tiny = flush(stereo(3e-26f, -5e-20f));
  EXPECT_EQ(bitsOf(laneOf(tiny, 0)), bitsOf(dsp::flush(3e-26f)));
  EXPECT_EQ(bitsOf(laneOf(tiny, 1)), bitsOf(dsp::flush(-5e-20f)));
  const StereoFloat bad = finiteOrZero(stereo(NAN, -INFINITY));
  EXPECT_EQ(laneOf(bad, 0), 0.0f);
  EXPECT_EQ(laneOf(bad, 1), 0.0f);
}
