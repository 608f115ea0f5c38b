// The engine's rounded sine and envelope power must give exactly the float
// the library's double functions round to. A stride through every float
// here; effect_rounded_math_exhaustive checks every single input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "effect/dsp_rounded_math.h"

namespace {

constexpr uint32_t kStride = 997;  // prime: every mantissa pattern gets its turn

float fromBits(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

uint32_t bitsOf(float f) {
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

float librarySin(float x) { return static_cast<float>(std::sin(static_cast<double>(x))); }

}  // namespace

TEST(RoundedMath, SineMatchesTheLibraryOverThePhaseRange) {
  const uint32_t last = bitsOf(4.0f);
  for (uint32_t sign : {0u, 0x80000000u})
    for (uint32_t bits = 0; bits <= last; bits += kStride) {
      const float x = fromBits(bits | sign);
      ASSERT_EQ(bitsOf(dsp::roundedSin(x)), bitsOf(librarySin(x))) << x;
    }
  const float pi = 3.1415927410125732f;
  for (float x : {0.0f, -0.0f, pi, -pi, pi / 2, -pi / 2, 1e-30f, -1e-45f, 4.0f, 5.0f, 1e30f})
    EXPECT_EQ(bitsOf(dsp::roundedSin(x)), bitsOf(librarySin(x))) << x;
  EXPECT_TRUE(std::isnan(dsp::roundedSin(std::numeric_limits<float>::quiet_NaN())));
  EXPECT_TRUE(std::isnan(dsp::roundedSin(INFINITY)));
}

TEST(RoundedMath, EnvelopePowerMatchesTheLibraryForEveryMagnitude) {
  const dsp::EnvelopePower power;
  for (uint32_t bits = 0; bits < 0x7f800000u; bits += kStride) {
    const float s = fromBits(bits);
    ASSERT_EQ(bitsOf(power(s)), bitsOf(dsp::EnvelopePower::library(s))) << s;
  }
  for (float s : {0.0f, -0.0f, 1.0f, 2.0f, 0.5f, 1e-45f, 1.17549435e-38f,
                  std::numeric_limits<float>::max(), INFINITY})
    EXPECT_EQ(bitsOf(power(s)), bitsOf(dsp::EnvelopePower::library(s))) << s;
  EXPECT_EQ(power(1.0f), 1.0f);
  EXPECT_NEAR(power(0.5f), 0.812252, 1e-6);  // 2^−0.3
  EXPECT_TRUE(std::isnan(power(-1.0f)));
}
