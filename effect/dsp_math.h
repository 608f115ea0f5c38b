// Small arithmetic helpers of the engine, each rounding exactly where the
// engine stores a value.
#pragma once

#include <cmath>
#include <cstdint>

#include "effect/dsp_constants.h"

namespace dsp {

// (x + F) − F in single precision: magnitudes below ~6e-26 become exactly 0,
// so decaying states never turn into denormal numbers.
inline float flush(float x) noexcept {
  const float raised = x + kFlushConstant;
  return raised - kFlushConstant;
}

// Truncation toward zero that is defined for every input: NaN gives 0 and
// values beyond the 32-bit range give its ends.
inline int32_t truncToInt(double x) noexcept {
  if (!(x == x)) return 0;
  if (x >= 2147483647.0) return INT32_MAX;
  if (x <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(x);
}

inline float finiteOrZero(float x) noexcept { return std::isfinite(x) ? x : 0.0f; }

// Four-point Catmull-Rom cubic over p0 … p3 (oldest first), value at t in
// [0, 1] between p1 and p2. The sample loop runs the two-channel forms of
// dsp_stereo_channel.h; these scalar forms are the reference they are tested
// against.
struct Cubic {
  float c0, c1, c2, c3;
};

inline Cubic cubicOf(const float p[4]) noexcept {
  const double p0 = p[0], p1 = p[1], p2 = p[2], p3 = p[3];
  return {static_cast<float>(2.0 * p1), static_cast<float>(p2 - p0),
          static_cast<float>(2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3),
          static_cast<float>(p3 - 3.0 * p2 + 3.0 * p1 - p0)};
}

// 0.5 × (c0 + c1·t + c2·t² + c3·t³), summed from the low terms up with t²,
// t³ and every partial sum in single precision.
inline float evaluateCubic(const Cubic& c, float t) noexcept {
  const float t2 = t * t;
  const float t3 = t2 * t;
  float a = static_cast<float>(static_cast<double>(c.c1) * t + c.c0);
  a = static_cast<float>(static_cast<double>(c.c2) * t2 + a);
  return 0.5f * static_cast<float>(static_cast<double>(c.c3) * t3 + a);
}

// The output side: the linear term is formed as (p2 − p0)·t + 2·p1 directly.
inline float interpolateHistory(const float p[4], float t) noexcept {
  const double p0 = p[0], p1 = p[1], p2 = p[2], p3 = p[3];
  const float t2 = t * t;
  const float t3 = t2 * t;
  const double c2 = static_cast<float>(2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3);
  const double c3 = static_cast<float>(p3 - 3.0 * p2 + 3.0 * p1 - p0);
  float a = static_cast<float>((p2 - p0) * t + 2.0 * p1);
  a = static_cast<float>(c2 * t2 + a);
  return 0.5f * static_cast<float>(c3 * t3 + a);
}

inline void pushHistory(float h[4], float value) noexcept {
  h[0] = h[1];
  h[1] = h[2];
  h[2] = h[3];
  h[3] = value;
}

}  // namespace dsp
