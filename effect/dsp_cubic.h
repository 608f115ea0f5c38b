// Four-point Catmull-Rom cubic over p0 … p3 (oldest first), value at t in
// [0, 1] between p1 and p2:
//   c0 = 2·p1, c1 = p2 − p0, c2 = 2·p0 − 5·p1 + 4·p2 − p3,
//   c3 = p3 − 3·p2 + 3·p1 − p0, value = 0.5 × (c0 + c1·t + c2·t² + c3·t³).
//
// Written once for two kinds of arithmetic: one channel (ScalarArithmetic)
// and both channels as the lanes of one SSE register (LaneArithmetic, what
// the sample loop runs), both in single precision throughout. They round at
// the same points, so each lane is bit for bit the scalar result.
#pragma once

#include "effect/dsp_stereo.h"

namespace dsp {

// One channel.
struct ScalarArithmetic {
  using Wide = float;
  using Narrow = float;
  static Wide splat(float v) noexcept { return v; }
  static Narrow half(Wide x) noexcept { return 0.5f * x; }
};

// Both channels: lane 0 left, lane 1 right.
struct LaneArithmetic {
  using Wide = StereoFloat;
  using Narrow = StereoFloat;
  static Wide splat(float v) noexcept { return bothFloat(v); }
  static Narrow half(Wide x) noexcept { return bothFloat(0.5f) * x; }
};

// Four values, oldest first.
template <class A>
struct History {
  using Wide = typename A::Wide;
  Wide p0, p1, p2, p3;
  void push(Wide v) noexcept {
    p0 = p1;
    p1 = p2;
    p2 = p3;
    p3 = v;
  }
};

template <class A>
struct CubicCoefficients {
  typename A::Wide c0, c1, c2, c3;
};

// c2 and c3.
template <class A>
inline typename A::Wide curvatureTerm(const History<A>& h) noexcept {
  return A::splat(2.0f) * h.p0 - A::splat(5.0f) * h.p1 + A::splat(4.0f) * h.p2 - h.p3;
}
template <class A>
inline typename A::Wide cubicTerm(const History<A>& h) noexcept {
  return h.p3 - A::splat(3.0f) * h.p2 + A::splat(3.0f) * h.p1 - h.p0;
}

// All four coefficients (the input side).
template <class A>
inline CubicCoefficients<A> cubicOf(const History<A>& h) noexcept {
  return {A::splat(2.0f) * h.p1, h.p2 - h.p0, curvatureTerm(h), cubicTerm(h)};
}

// a = c2·t² + a, then 0.5 × (c3·t³ + a): the terms both sides share.
template <class A>
inline typename A::Narrow addHigherTerms(typename A::Wide a, typename A::Wide c2,
                                         typename A::Wide c3, float t) noexcept {
  const float t2 = t * t;
  const float t3 = t2 * t;
  a = c2 * A::splat(t2) + a;
  return A::half(c3 * A::splat(t3) + a);
}

// The input side: a = c1·t + c0 first.
template <class A>
inline typename A::Narrow evaluateCubic(const CubicCoefficients<A>& c, float t) noexcept {
  return addHigherTerms<A>(c.c1 * A::splat(t) + c.c0, c.c2, c.c3, t);
}

// Shortcut: the same at t = 1, where every multiplication by t is exact and
// dropped.
template <class A>
inline typename A::Narrow evaluateCubicAtOne(const CubicCoefficients<A>& c) noexcept {
  typename A::Wide a = c.c1 + c.c0;
  a = c.c2 + a;
  return A::half(c.c3 + a);
}

// The output side: the linear term is formed as (p2 − p0)·t + 2·p1 directly,
// without rounding c0 and c1 first.
template <class A>
inline typename A::Narrow interpolateHistory(const History<A>& h, float t) noexcept {
  const typename A::Wide linear = (h.p2 - h.p0) * A::splat(t) + A::splat(2.0f) * h.p1;
  return addHigherTerms<A>(linear, curvatureTerm(h), cubicTerm(h), t);
}

// The scalar forms over a float history, what the lanes are tested against.
using ScalarHistory = History<ScalarArithmetic>;
inline ScalarHistory scalarHistory(const float p[4]) noexcept { return {p[0], p[1], p[2], p[3]}; }
inline CubicCoefficients<ScalarArithmetic> cubicOf(const float p[4]) noexcept {
  return cubicOf(scalarHistory(p));
}
inline float interpolateHistory(const float p[4], float t) noexcept {
  return interpolateHistory(scalarHistory(p), t);
}

}  // namespace dsp
