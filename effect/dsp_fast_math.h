// The two transcendental functions of the sample loop in single precision,
// short enough for the chain of dependent operations that runs from the
// envelope through the clock to the echo and its feedback. Their error
// bounds are stated here and tested over the whole input range
// (tests/effect/test_fast_math.cpp).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "effect/dsp_constants.h"

namespace dsp {

// sin x for the LFO phase, x in [−π, π] (π rounded to float included):
// |fastSin(x) − sin(x)| ≤ kFastSinMaxError. The phase is folded into
// [−π/2, π/2], where the odd Taylor series to x^11 leaves a truncation below
// 6e-8; the fold with the float π adds at most 9e-8.
constexpr float kFastSinMaxError = 3e-7f;

inline float fastSin(float x) noexcept {
  constexpr float kPiF = static_cast<float>(kPi);
  constexpr float kHalfPi = 1.57079637f;
  // π − x and −π − x are exact for |x| ≥ π/2 (Sterbenz).
  float y = x > kHalfPi ? kPiF - x : x;
  y = y < -kHalfPi ? -kPiF - y : y;
  const float z = y * y;
  const float series =
      -1.0f / 6 +
      z * (1.0f / 120 + z * (-1.0f / 5040 + z * (1.0f / 362880 + z * (-1.0f / 39916800))));
  return y + y * z * series;
}

// s^0.3 of the envelope for every finite s ≥ 0 (the sign is ignored):
// relative error ≤ kFastPowerMaxRelativeError. s = 2^e · m with m in
// [1, 2); 2^(0.3·e) comes from a table, and m^0.3 from a quadratic around
// the centre of one of 64 segments of [1, 2) (truncation below 3e-8).
constexpr float kFastPowerMaxRelativeError = 1e-6f;

class FastEnvelopePower {
 public:
  FastEnvelopePower() noexcept {
    const double y = kEnvelopeExponent;
    for (int e = 0; e < kExponents; ++e) exponentPower_[e] = static_cast<float>(std::pow(2.0, y * (e - 127)));
    for (int i = 0; i < kSegments; ++i) {
      const double centre = 1.0 + (i + 0.5) / kSegments;
      centre_[i] = static_cast<float>(centre);
      const double c = centre_[i];  // the expansion point the evaluation uses
      Segment& s = segment_[i];
      s.value = static_cast<float>(std::pow(c, y));
      s.slope = static_cast<float>(y * std::pow(c, y - 1.0));
      s.curve = static_cast<float>(0.5 * y * (y - 1.0) * std::pow(c, y - 2.0));
    }
    // Subnormals are scaled by 2^24 first, then the result by 2^(−0.3·24).
    subnormalScale_ = static_cast<float>(std::pow(2.0, -y * 24.0));
  }

  float operator()(float s) const noexcept {
    uint32_t bits;
    std::memcpy(&bits, &s, sizeof bits);
    bits &= 0x7fffffffu;
    if (bits < 0x00800000u) return bits == 0 ? 0.0f : subnormal(bits);
    return normal(bits);
  }

 private:
  static constexpr int kExponents = 256;
  static constexpr int kSegmentBits = 6;
  static constexpr int kSegments = 1 << kSegmentBits;

  struct Segment {
    float value, slope, curve;  // c^y, y·c^(y−1), y(y−1)/2·c^(y−2)
  };

  float normal(uint32_t bits) const noexcept {
    const uint32_t exponent = bits >> 23;
    const uint32_t index = (bits >> (23 - kSegmentBits)) & (kSegments - 1);
    const uint32_t mantissaBits = (bits & 0x7fffffu) | 0x3f800000u;  // 1.f
    float mantissa;
    std::memcpy(&mantissa, &mantissaBits, sizeof mantissa);
    const Segment& k = segment_[index];
    const float d = mantissa - centre_[index];  // exact: both in [1, 2)
    const float power = k.value + d * (k.slope + d * k.curve);
    return power * exponentPower_[exponent];
  }

  float subnormal(uint32_t bits) const noexcept {
    float s;
    std::memcpy(&s, &bits, sizeof s);
    const float scaled = s * 0x1p24f;
    uint32_t scaledBits;
    std::memcpy(&scaledBits, &scaled, sizeof scaledBits);
    return normal(scaledBits) * subnormalScale_;
  }

  float exponentPower_[kExponents];  // 2^(0.3·(e − 127)) by biased exponent
  float centre_[kSegments];
  Segment segment_[kSegments];
  float subnormalScale_;
};

}  // namespace dsp
