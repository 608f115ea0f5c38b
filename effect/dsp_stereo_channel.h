// The engine's per-channel arithmetic for both channels at once (lane 0
// left, lane 1 right), in single precision: the anti-aliasing sections, the
// interpolation histories, the gained input and the limiter. Each lane
// rounds exactly as the same arithmetic on one channel's floats.
#pragma once

#include <emmintrin.h>

#include "effect/dsp_constants.h"
#include "effect/dsp_cubic.h"
#include "effect/dsp_stereo.h"

namespace dsp {

struct LowPassLanes {
  StereoFloat a0, a1, a2, b1, b2;
};

// One second-order section's memory: inputs x1, x2 and outputs y1, y2.
struct SectionLanes {
  StereoFloat x1, x2, y1, y2;
};

// y = A0·x + A1·x1 + A2·x2 − B1·y1 − B2·y2, flushed.
inline StereoFloat runSection(SectionLanes& s, StereoFloat x, const LowPassLanes& k) noexcept {
  const StereoFloat y = flush(k.a0 * x + k.a1 * s.x1 + k.a2 * s.x2 - k.b1 * s.y1 - k.b2 * s.y2);
  s.x2 = s.x1;
  s.x1 = x;
  s.y2 = s.y1;
  s.y1 = y;
  return y;
}

// The interpolation histories and cubics of both channels (dsp_cubic.h).
using HistoryLanes = History<LaneArithmetic>;
using CubicLanes = CubicCoefficients<LaneArithmetic>;

inline StereoFloat lanesOf(float left, float right) noexcept { return stereo(left, right); }
inline float laneOf(StereoFloat v, int channel) noexcept {
  return channel == 0 ? leftOf(v) : rightOf(v);
}
inline HistoryLanes historyOf(const float (&left)[4], const float (&right)[4]) noexcept {
  return {lanesOf(left[0], right[0]), lanesOf(left[1], right[1]), lanesOf(left[2], right[2]),
          lanesOf(left[3], right[3])};
}
inline void storeHistory(const HistoryLanes& h, int channel, float (&history)[4]) noexcept {
  history[0] = laneOf(h.p0, channel);
  history[1] = laneOf(h.p1, channel);
  history[2] = laneOf(h.p2, channel);
  history[3] = laneOf(h.p3, channel);
}

// At t = +0 the output-side cubic is p1 itself, bit for bit, when p1 is not
// zero (every other term adds a signed zero to 2·p1, then halved) and the
// values are far from overflow, or when all four values are +0. This holds
// for both channels in the steady state of an unmodulated clock, so the
// evaluation can be skipped.
inline bool interpolatesToP1AtZero(const HistoryLanes& h) noexcept {
  const StereoFloat largest = _mm_max_ps(_mm_max_ps(absolute(h.p0), absolute(h.p1)),
                                         _mm_max_ps(absolute(h.p2), absolute(h.p3)));
  constexpr float kFarFromOverflow = 0x1p64f;
  const int nonZeroAndSmall = _mm_movemask_ps(_mm_and_ps(
      _mm_cmpneq_ps(h.p1, _mm_setzero_ps()), _mm_cmplt_ps(largest, bothFloat(kFarFromOverflow))));
  if ((nonZeroAndSmall & 3) == 3) return true;
  const __m128i bits = _mm_or_si128(_mm_or_si128(_mm_castps_si128(h.p0), _mm_castps_si128(h.p1)),
                                    _mm_or_si128(_mm_castps_si128(h.p2), _mm_castps_si128(h.p3)));
  return (_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(bits, _mm_setzero_si128()))) & 3) == 3;
}

// The gained input x·gain + offset, limited so the filters cannot overflow.
inline StereoFloat gainedInput(StereoFloat in, StereoFloat gain, StereoFloat offset) noexcept {
  const StereoFloat x = in * gain + offset;
  const float ceiling = static_cast<float>(kSignalCeiling);
  return _mm_min_ps(_mm_max_ps(x, bothFloat(-ceiling)), bothFloat(ceiling));
}

// Both channels' levels at or below the knee (the common case: no division).
inline bool belowKnee(StereoFloat m) noexcept {
  return (_mm_movemask_ps(_mm_cmple_ps(m, bothFloat(kLimiterKnee))) & 3) == 3;
}

// Level-dependent limiter gain: 1 − slope·m up to the knee, 1/m above.
inline StereoFloat limiterGain(StereoFloat m) noexcept {
  const StereoFloat one = bothFloat(1.0f);
  return select(_mm_cmple_ps(m, bothFloat(kLimiterKnee)), one - bothFloat(kLimiterSlope) * m,
                one / m);
}

}  // namespace dsp
