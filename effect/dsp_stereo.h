// Both channels side by side in one SSE2 register, left in lane 0 and right
// in lane 1, so the per-channel arithmetic of the engine is written once and
// runs for both channels in one instruction. SSE2 is part of every x86-64
// processor. The lane-wise operations round exactly as the scalar ones do:
// one IEEE operation per lane, no contraction.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "effect/dsp_constants.h"

namespace dsp {

// Two doubles: the wide evaluation of per-channel expressions.
using StereoDouble = __m128d;
// Four floats of which lanes 0 and 1 carry the channels. Lanes 2 and 3 hold
// harmless values (zero, one or the same constants) that are never stored.
using StereoFloat = __m128;

inline StereoDouble both(double v) noexcept { return _mm_set1_pd(v); }
inline StereoFloat bothFloat(float v) noexcept { return _mm_set1_ps(v); }

inline StereoDouble widen(StereoFloat x) noexcept { return _mm_cvtps_pd(x); }
// Rounds each lane to single precision; lanes 2 and 3 become zero.
inline StereoFloat narrow(StereoDouble x) noexcept { return _mm_cvtpd_ps(x); }
// The value a float field would hold, kept in double form.
inline StereoDouble roundToFloat(StereoDouble x) noexcept { return widen(narrow(x)); }

inline float leftOf(StereoFloat x) noexcept { return _mm_cvtss_f32(x); }
inline float rightOf(StereoFloat x) noexcept {
  return _mm_cvtss_f32(_mm_shuffle_ps(x, x, _MM_SHUFFLE(1, 1, 1, 1)));
}
inline double leftOf(StereoDouble x) noexcept { return _mm_cvtsd_f64(x); }
inline double rightOf(StereoDouble x) noexcept { return _mm_cvtsd_f64(_mm_unpackhi_pd(x, x)); }

inline StereoFloat stereo(float left, float right) noexcept {
  return _mm_unpacklo_ps(_mm_set_ss(left), _mm_set_ss(right));
}
// Lane 0 from left[i], lane 1 from right[i].
inline StereoFloat loadStereo(const float* left, const float* right) noexcept {
  return _mm_unpacklo_ps(_mm_load_ss(left), _mm_load_ss(right));
}
inline void storeStereo(float* left, float* right, StereoFloat x) noexcept {
  _mm_store_ss(left, x);
  _mm_store_ss(right, _mm_shuffle_ps(x, x, _MM_SHUFFLE(1, 1, 1, 1)));
}
// Two adjacent floats (left, right) of an interleaved array.
inline StereoFloat loadPair(const float* pair) noexcept {
  return _mm_castpd_ps(_mm_load_sd(reinterpret_cast<const double*>(pair)));
}
inline void storePair(float* pair, StereoFloat x) noexcept {
  _mm_store_sd(reinterpret_cast<double*>(pair), _mm_castps_pd(x));
}

inline StereoFloat absolute(StereoFloat x) noexcept { return _mm_andnot_ps(bothFloat(-0.0f), x); }
inline StereoFloat negated(StereoFloat x) noexcept { return _mm_xor_ps(bothFloat(-0.0f), x); }
// mask ? a : b per lane, for a mask from a comparison.
inline StereoFloat select(StereoFloat mask, StereoFloat a, StereoFloat b) noexcept {
  return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b));
}
// NaN and ±inf become 0 (x − x is 0 only for finite x).
inline StereoFloat finiteOrZero(StereoFloat x) noexcept {
  return _mm_and_ps(_mm_cmpeq_ps(_mm_sub_ps(x, x), _mm_setzero_ps()), x);
}
// (x + F) − F in single precision, as the scalar flush.
inline StereoFloat flush(StereoFloat x) noexcept {
  const StereoFloat f = bothFloat(kFlushConstant);
  return _mm_sub_ps(_mm_add_ps(x, f), f);
}

}  // namespace dsp
