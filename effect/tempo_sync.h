// Tempo-synchronised delay: the tempo range and the delay of a Num/Den
// fraction of a whole note, shared by the engine and the editor's display.
#pragma once

#include "effect/parameters.h"  // kNumTable, kDenTable

namespace dsp {

constexpr float kMinTempo = 40.0f;  // beats per minute
constexpr float kMaxTempo = 400.0f;
constexpr float kDefaultTempo = 120.0f;

constexpr double kMsPerWholeNoteAtOneBpm = 240000.0;  // four beats at one beat per minute

// The delay in ms of num/den whole notes at tempo (num and den are entries
// of kNumTable and kDenTable in parameters.h), rounded once to single
// precision; the products are exact in double.
inline float syncedDelayMs(float num, float den, float tempo) noexcept {
  return static_cast<float>(static_cast<double>(num) * kMsPerWholeNoteAtOneBpm /
                            (static_cast<double>(den) * tempo));
}

}  // namespace dsp
