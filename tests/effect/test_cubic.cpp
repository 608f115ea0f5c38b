// The Catmull-Rom cubic against its maths: the nodes p1 and p2 at t = 0 and
// t = 1, exact reproduction of quadratics, closeness to the unrounded
// polynomial. That the two-lane form equals the scalar one bit for bit is
// tested with the other lane arithmetic (test_stereo_lanes.cpp).
#include <gtest/gtest.h>

#include <cmath>

#include "effect/dsp_cubic.h"

using namespace dsp;

namespace {

// 0.5 × (c0 + c1·t + c2·t² + c3·t³) without any intermediate rounding.
double exactCubic(const float p[4], double t) {
  const double p0 = p[0], p1 = p[1], p2 = p[2], p3 = p[3];
  const double c0 = 2 * p1, c1 = p2 - p0, c2 = 2 * p0 - 5 * p1 + 4 * p2 - p3,
               c3 = p3 - 3 * p2 + 3 * p1 - p0;
  return 0.5 * (c0 + t * (c1 + t * (c2 + t * c3)));
}

}  // namespace

TEST(Cubic, PassesThroughItsInnerNodes) {
  const float histories[][4] = {
      {0.0f, 1.0f, -2.0f, 3.0f}, {-7.0f, 0.5f, 0.25f, 9.0f}, {100.0f, -3.0f, 17.0f, -64.0f}};
  for (const auto& p : histories) {
    EXPECT_EQ(evaluateCubic(cubicOf(p), 0.0f), p[1]);
    EXPECT_EQ(evaluateCubic(cubicOf(p), 1.0f), p[2]);
    EXPECT_EQ(evaluateCubicAtOne(cubicOf(p)), p[2]);
    EXPECT_EQ(interpolateHistory(p, 0.0f), p[1]);
    EXPECT_EQ(interpolateHistory(p, 1.0f), p[2]);
  }
}

TEST(Cubic, ReproducesAQuadraticExactly) {
  // f(x) = 3x² − 2x + 1 at x = −1, 0, 1, 2; between the inner nodes at x = t.
  const float p[4] = {6.0f, 1.0f, 2.0f, 9.0f};
  for (float t : {0.125f, 0.25f, 0.5f, 0.75f}) {
    const float expected = 3.0f * t * t - 2.0f * t + 1.0f;
    EXPECT_EQ(evaluateCubic(cubicOf(p), t), expected) << t;
    EXPECT_EQ(interpolateHistory(p, t), expected) << t;
  }
}

TEST(Cubic, FollowsTheUnroundedPolynomial) {
  uint32_t seed = 7;
  auto unit = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<float>(seed >> 8) / 16777216.0f;
  };
  for (int n = 0; n < 10000; ++n) {
    const float p[4] = {unit() - 0.5f, unit() - 0.5f, unit() - 0.5f, unit() - 0.5f};
    const float t = unit();
    const double expected = exactCubic(p, t);
    // A few single-precision roundings of values below 10.
    EXPECT_NEAR(evaluateCubic(cubicOf(p), t), expected, 1e-5);
    EXPECT_NEAR(interpolateHistory(p, t), expected, 1e-5);
  }
}
