// The error bounds of the fast sine and envelope power, over their whole
// input range: a stride through every float bit pattern of the range (every
// exponent and every segment of the power's table is met many times), plus
// the ends, zero and the subnormals.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "effect/dsp_constants.h"
#include "effect/dsp_fast_math.h"

using namespace dsp;

namespace {

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

constexpr uint32_t kStride = 997;  // prime: visits every low-bit pattern

}  // namespace

TEST(FastMath, SineStaysWithinItsBoundOverThePhaseRange) {
  const float pi = static_cast<float>(kPi);
  double worst = 0.0;
  auto check = [&](float x) {
    const double error = std::fabs(static_cast<double>(fastSin(x)) - std::sin(static_cast<double>(x)));
    worst = std::max(worst, error);
    ASSERT_LE(error, kFastSinMaxError) << "x = " << x;
  };
  // Every magnitude from the smallest float up to π, both signs.
  for (uint32_t bits = 0; bits <= bitsOf(pi); bits += kStride) {
    check(fromBits(bits));
    check(-fromBits(bits));
  }
  for (float x : {0.0f, -0.0f, pi, -pi, 1.57079637f, -1.57079637f, 1.5707962f, -1.5707962f})
    check(x);
  std::printf("fast sine: largest error %.3g (bound %.3g)\n", worst, kFastSinMaxError);
}

TEST(FastMath, EnvelopePowerStaysWithinItsRelativeBoundForEveryMagnitude) {
  const FastEnvelopePower power;
  double worst = 0.0;
  auto check = [&](float s) {
    const double exact = std::pow(static_cast<double>(s), static_cast<double>(kEnvelopeExponent));
    const double got = power(s);
    const double error = exact == 0.0 ? std::fabs(got) : std::fabs(got - exact) / exact;
    worst = std::max(worst, error);
    ASSERT_LE(error, kFastPowerMaxRelativeError) << "s = " << s;
  };
  // Zero, the subnormals and every normal magnitude up to the largest float.
  for (uint32_t bits = 0; bits < 0x7f800000u; bits += kStride) check(fromBits(bits));
  for (float s : {0.0f, 1e-45f, 1.17549435e-38f, 1.0f, 0.5f, 1.99999988f, 3.40282347e+38f}) check(s);
  EXPECT_EQ(power(0.0f), 0.0f);
  std::printf("fast power: largest relative error %.3g (bound %.3g)\n", worst,
              kFastPowerMaxRelativeError);
}
