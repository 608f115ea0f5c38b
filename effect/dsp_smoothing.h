// The one-pole parameter smoothing of the engine (30 Hz) and what each
// sample takes from it. Once the smoothed values settle into a two-sample
// cycle (the denormal offset alternates), the sample loop replays that cycle
// instead of recomputing it; sameBits tells when it has settled.
#pragma once

#include <cmath>
#include <cstring>

#include "effect/dsp_constants.h"
#include "effect/dsp_math.h"
#include "effect/dsp_stereo.h"

namespace dsp {

struct SmoothedValues {
  float input, output, mix, feedback, depth;
};

inline bool sameBits(const SmoothedValues& a, const SmoothedValues& b) noexcept {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// One smoothing step: k'·target + k·state (+ offset).
inline float smooth(float state, float target, double k, double kRest, double offset) noexcept {
  return static_cast<float>((kRest * target + k * state) + offset);
}

struct Smoother {
  SmoothedValues target;
  double k, kRest;

  // The values after one sample whose denormal offset is d.
  SmoothedValues step(SmoothedValues s, float d) const noexcept {
    s.input = smooth(s.input, target.input, k, kRest, d);
    s.output = smooth(s.output, target.output, k, kRest, d);
    s.mix = smooth(s.mix, target.mix, k, kRest, d);
    s.feedback = smooth(s.feedback, target.feedback, k, kRest, 0.0);
    if (std::fabs(s.feedback) < kFeedbackFloor) s.feedback = 0.0f;
    s.depth = smooth(s.depth, target.depth, k, kRest, d);
    return s;
  }
};

// What one sample needs of the smoothing, already in both lanes.
struct SampleGains {
  StereoFloat offset;     // this sample's denormal offset d
  StereoFloat inputGain;  // the smoothed input gain before this sample's step
  StereoFloat dryGain, wetGain;
  StereoFloat feedback;  // carries the feedback polarity
  float depth;
};

// The mix gains: wet = flush(mix × output), dry = output − wet; the wet gain
// carries the delay polarity and the feedback its own (signs are ±1: exact).
inline SampleGains gainsAfter(float d, float inputBefore, const SmoothedValues& s,
                              float delaySign, float feedbackSign) noexcept {
  const float wet = flush(s.mix * s.output);
  return {bothFloat(d),
          bothFloat(inputBefore),
          bothFloat(s.output - wet),
          bothFloat(wet * delaySign),
          bothFloat(s.feedback * feedbackSign),
          s.depth};
}

}  // namespace dsp
