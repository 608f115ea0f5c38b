// The delay engine's sample loop written as plainly as possible: one channel
// at a time, every intermediate in double and rounded to float exactly where
// a value is stored, the library's sine and power, no shortcuts and no SIMD.
// It is the oracle the shipped, single-precision loop is checked against, and
// the readable statement of the algorithm.
//
// It runs on a DelayEngine: the block's set-up, the hand-overs with the
// editor and the parameter thread, the coefficients and every running field
// are the engine's own; only the loop over the samples is this one.
#pragma once

#include <cstdint>

#include "effect/delay_engine.h"

class ReferenceEngine {
 public:
  // DelayEngine::process with the reference sample loop.
  static void process(DelayEngine& engine, const float* inL, const float* inR, float* outL,
                      float* outR, int32_t frames, const BlockTiming& timing) noexcept;

 private:
  static int64_t runSamples(DelayEngine& engine, const float* inL, const float* inR, float* outL,
                            float* outR, int32_t frames, const BlockStart& block) noexcept;
};
