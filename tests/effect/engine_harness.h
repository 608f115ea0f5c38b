// Helpers for driving the engine alone in tests.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "effect/delay_engine.h"
#include "effect/parameters.h"

namespace engine_test {

constexpr float kOff = 0.25f;
constexpr float kOn = 0.75f;

struct Stereo {
  std::vector<float> left, right;
};

// Processes in blocks of `block` frames; both channels get the same input
// unless `right` is given.
inline Stereo render(DelayEngine& engine, const std::vector<float>& left, int32_t block = 64,
                     const std::vector<float>* right = nullptr, BlockTiming timing = {}) {
  const size_t n = left.size();
  Stereo out{std::vector<float>(n), std::vector<float>(n)};
  for (size_t pos = 0; pos < n; pos += static_cast<size_t>(block)) {
    const int32_t frames = static_cast<int32_t>(std::min<size_t>(block, n - pos));
    engine.process(left.data() + pos, right ? right->data() + pos : left.data() + pos,
                   out.left.data() + pos, out.right.data() + pos, frames, timing);
  }
  return out;
}

inline std::vector<float> silence(size_t n) { return std::vector<float>(n, 0.0f); }

inline std::vector<float> impulseAt(size_t n, size_t at, float height = 0.5f) {
  std::vector<float> v(n, 0.0f);
  v[at] = height;
  return v;
}

// A settled, neutral engine: unity gains, wet only, no feedback, clock
// factor 1, no modulation.
inline void setNeutral(DelayEngine& e, float dlyTime) {
  e.setParameter(kInput, 0.5f);
  e.setParameter(kOutput, 0.5f);
  e.setParameter(kMix, 1.0f);
  e.setParameter(kFbck, 0.0f);
  e.setParameter(kManVCO, 0.5f);
  e.setParameter(kDepth, 0.0f);
  e.setParameter(kWaveform, 0.5f);
  e.setParameter(kDlyx2, kOff);
  e.setParameter(kDlyTime, dlyTime);
  e.suspend();  // smoothed values jump to their targets
  e.resume(44100.0f);
}

inline size_t indexOfPeak(const std::vector<float>& v, size_t from = 0, size_t to = SIZE_MAX) {
  size_t best = from;
  to = std::min(to, v.size());
  for (size_t i = from; i < to; ++i)
    if (std::fabs(v[i]) > std::fabs(v[best])) best = i;
  return best;
}

inline bool allFinite(const std::vector<float>& v) {
  for (float x : v)
    if (!std::isfinite(x)) return false;
  return true;
}

}  // namespace engine_test
