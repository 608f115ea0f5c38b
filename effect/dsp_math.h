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

}  // namespace dsp
