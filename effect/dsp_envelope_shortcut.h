// Shortcut of the clock stage: when the envelope term cannot change the
// rounded clock bracket manual + depth·(lfo + em), its power s^0.3 need not
// be computed. The result is the same bit for bit either way.
//
// It cannot when its weight is 0, or when depth·(|lfo| + |em|) stays below a
// quarter step of the manual factor, so the bracket rounds to the manual
// factor either way; |em| ≤ max(1, s) since |s^0.3 − 0.5| ≤ 1 for s ≤ 1 and
// s^0.3 < s above (Depth 0 is the common case).
#pragma once

#include <algorithm>
#include <cmath>

namespace dsp {

constexpr double kQuarterStep = 0x1p-26;  // below a quarter of a float step, relative

// The per-sample test, for a depth that is still gliding.
inline bool envelopeCanMoveClock(float envAmount, float s, float depth, float lfoValue,
                                 float manualFactor) noexcept {
  if (envAmount == 0.0f) return false;
  constexpr double kSlack = 1.01;  // covers the roundings of the bound itself
  const double reach =
      std::fabs(static_cast<double>(depth)) *
      (std::fabs(static_cast<double>(lfoValue)) +
       std::fabs(static_cast<double>(envAmount)) * std::max(1.0, static_cast<double>(s))) *
      kSlack;
  return !(reach < std::fabs(static_cast<double>(manualFactor)) * kQuarterStep);
}

// The same test for a whole block of settled smoothing, where the depth takes
// one of two values and |lfo| ≤ |lfoAmount|: the envelope cannot move the
// clock while s stays below the returned limit (−inf: it always may).
inline float envelopeQuietBelow(float envAmount, float depthA, float depthB, float lfoAmount,
                                float manualFactor) noexcept {
  constexpr float kAlways = -INFINITY, kNever = INFINITY;
  constexpr double kSlack = 1.02;  // more room than the per-sample test needs
  if (envAmount == 0.0f) return kNever;
  const double depth =
      std::max(std::fabs(static_cast<double>(depthA)), std::fabs(static_cast<double>(depthB)));
  if (depth == 0.0) return kNever;
  const double room = std::fabs(static_cast<double>(manualFactor)) * kQuarterStep / kSlack;
  const double limit = (room / depth - std::fabs(static_cast<double>(lfoAmount))) /
                       std::fabs(static_cast<double>(envAmount));
  if (!(limit > 1.0)) return kAlways;
  float rounded = static_cast<float>(limit);
  if (rounded > limit) rounded = std::nextafter(rounded, 0.0f);
  return rounded;
}

// Marks "no block limit": the per-sample test decides (NaN compares false).
constexpr float kTestEverySample = NAN;
inline bool hasBlockLimit(float envelopeQuiet) noexcept { return envelopeQuiet == envelopeQuiet; }

}  // namespace dsp
