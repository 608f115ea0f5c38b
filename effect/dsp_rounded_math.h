// The two transcendental functions of the sample loop, rounded to single
// precision exactly as float(std::sin(double)) and
// float(std::pow(double, double)) round, at a fraction of their cost.
//
// Each evaluates its function in double with a known error bound (about
// 1e-15 relative, against the 1e-14 margin used here), rounds the two ends
// of the error interval to float and, when both ends agree, returns that
// float: the library's result, which lies inside the interval too, rounds to
// the same value. Only when the interval straddles a rounding boundary (a few
// inputs in ten million) is the library called. An exhaustive check over
// every float input compares both with the library (tests/effect).
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "effect/dsp_constants.h"

namespace dsp {

// Relative half-width of the interval that the fast evaluation and the
// library result both lie in.
constexpr double kRoundingMargin = 1e-14;

// True when both ends of [v·(1 − m), v·(1 + m)] round to the same float, so
// that float(v) is also the float of every value in between.
inline bool roundsUnambiguously(double v) noexcept {
  return static_cast<float>(v * (1.0 - kRoundingMargin)) ==
         static_cast<float>(v * (1.0 + kRoundingMargin));
}

// Taylor coefficients for |r| ≤ π/4: sin r = r + r·z·S(z) with the terms up
// to r^15, cos r = 1 − z/2 + z²·C(z) with the terms up to r^16 (z = r²);
// the truncation stays below 1e-16.
constexpr double kSineSeries[] = {
    -1.0 / 6,        1.0 / 120,          -1.0 / 5040,           1.0 / 362880,
    -1.0 / 39916800, 1.0 / 6227020800.0, -1.0 / 1307674368000.0};
constexpr double kCosineSeries[] = {
    1.0 / 24,        -1.0 / 720,           1.0 / 40320,           -1.0 / 3628800,
    1.0 / 479001600, -1.0 / 87178291200.0, 1.0 / 20922789888000.0};

// c0 + z·(c1 + z·(c2 + …)) by Horner's rule.
template <size_t N>
inline double series(const double (&c)[N], double z) noexcept {
  double sum = c[N - 1];
  for (size_t i = N - 1; i-- > 0;) sum = c[i] + z * sum;
  return sum;
}

// float(std::sin(double(x))) for any float x.
inline float roundedSin(float x) noexcept {
  // Beyond one turn either side, or for ±0, the library answers directly.
  constexpr float kFastRange = 4.0f;
  if (!(std::fabs(x) <= kFastRange) || x == 0.0f)
    return static_cast<float>(std::sin(static_cast<double>(x)));
  // x = k·π/2 + r with |r| ≤ π/4; π/2 in two parts, the first with 33
  // significant bits so that k·part and x − k·part are exact.
  constexpr double kTwoOverPi = 0.63661977236758134308;
  constexpr double kHalfPiHigh = 1.57079632673412561417e+00;
  constexpr double kHalfPiLow = 6.07710050650619224932e-11;
  constexpr double kRoundToInteger = 6755399441055744.0;  // 1.5·2^52
  const double xd = x;
  const double k = (xd * kTwoOverPi + kRoundToInteger) - kRoundToInteger;
  const double r = (xd - k * kHalfPiHigh) - k * kHalfPiLow;
  const double z = r * r;
  // sin x = ±sin r for even quadrants, ±cos r for odd ones; the quadrant
  // changes rarely along an LFO, so only one series is evaluated.
  const int quadrant = static_cast<int>(k) & 3;
  double v = (quadrant & 1) == 0 ? r + r * z * series(kSineSeries, z)
                                 : 1.0 - 0.5 * z + z * z * series(kCosineSeries, z);
  if (quadrant & 2) v = -v;
  if (!roundsUnambiguously(v)) return static_cast<float>(std::sin(xd));
  return static_cast<float>(v);
}

// float(std::pow(double(s), double(kEnvelopeExponent))): the envelope shaping
// s^0.3. Tables are built once, outside the audio path.
class EnvelopePower {
 public:
  EnvelopePower() noexcept {
    const double y = kEnvelopeExponent;
    for (int e = kMinExponent; e <= kMaxExponent; ++e)
      exponentPower_[e - kMinExponent] = std::pow(2.0, y * e);
    for (int i = 0; i < kSegments; ++i) {
      // A reciprocal of the segment's centre with at most 21 significant
      // bits, so that m·inverse is exact for a 24-bit mantissa m.
      const double centre = 1.0 + (i + 0.5) / kSegments;
      segmentInverse_[i] = std::nearbyint(kInverseScale / centre) / kInverseScale;
      segmentPower_[i] = std::pow(segmentInverse_[i], -y);
    }
    // Binomial series of (1 + r)^y.
    double c = 1.0;
    for (int k = 1; k <= kSeriesTerms; ++k) {
      c *= (y - (k - 1)) / k;
      binomialTerms_[k] = c;
    }
    binomialTerms_[0] = 1.0;
  }

  float operator()(float s) const noexcept {
    uint32_t bits;
    std::memcpy(&bits, &s, sizeof bits);
    const int field = static_cast<int>(bits >> 23);  // sign and exponent
    // Positive normal numbers only; zero, subnormals, negatives, inf and NaN
    // go to the library.
    if (field < 1 || field > 254) return library(s);
    const int exponent = field - 127;
    const int segment = static_cast<int>((bits >> (23 - kSegmentBits)) & (kSegments - 1));
    const uint32_t mantissaBits = (bits & 0x7fffffu) | 0x3f800000u;  // 1.f
    float mantissa;
    std::memcpy(&mantissa, &mantissaBits, sizeof mantissa);
    // m^y = (m·inverse)^y · inverse^−y, with |m·inverse − 1| < 2^−8.
    const double r = static_cast<double>(mantissa) * segmentInverse_[segment] - 1.0;
    // The series in pairs of terms, which shortens the chain of dependent
    // operations (the envelope feeds the clock within the sample).
    const double r2 = r * r;
    const double high = binomialTerms_[4] + r * binomialTerms_[5] + r2 * binomialTerms_[6];
    const double middle = binomialTerms_[2] + r * binomialTerms_[3] + r2 * high;
    const double p = (1.0 + r * binomialTerms_[1]) + r2 * middle;
    const double v = exponentPower_[exponent - kMinExponent] * segmentPower_[segment] * p;
    if (!roundsUnambiguously(v)) return library(s);
    return static_cast<float>(v);
  }

  static float library(float s) noexcept {
    return static_cast<float>(
        std::pow(static_cast<double>(s), static_cast<double>(kEnvelopeExponent)));
  }

 private:
  static constexpr int kMinExponent = -126, kMaxExponent = 127;
  static constexpr int kSegmentBits = 7;
  static constexpr int kSegments = 1 << kSegmentBits;
  static constexpr double kInverseScale = 1048576.0;  // 2^20
  static constexpr int kSeriesTerms = 6;              // truncation below 1e-18 for |r| < 2^−8

  double exponentPower_[kMaxExponent - kMinExponent + 1];
  double segmentInverse_[kSegments];
  double segmentPower_[kSegments];
  double binomialTerms_[kSeriesTerms + 1];
};

}  // namespace dsp
