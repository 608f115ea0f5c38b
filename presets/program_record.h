// One program: a 24-byte name field and the 18 sound-parameter values. The
// program store, the state chunk and the bank record share this layout.
#pragma once

#include <cstddef>

#include "effect/parameters.h"

constexpr int kProgramNameLength = 24;

struct ProgramRecord {
  char name[kProgramNameLength];  // zero-padded; no terminator when full
  float values[kNumParams];
};
static_assert(sizeof(ProgramRecord) == 96, "ProgramRecord is 96 bytes");
static_assert(offsetof(ProgramRecord, values) == 24, "values follow the name");

// Stores a name: shorter texts are zero-padded with their terminator, longer
// ones are cut to at most 24 bytes at a character boundary (24 bytes have no
// terminator).
void storeProgramName(ProgramRecord& record, const char* text);
// Reads the 24 name bytes followed by a zero byte (25 bytes written); an
// incomplete character at the end of the field is left out.
void readProgramName(const ProgramRecord& record, char* text);

// Every value that enters from outside must be a normalised value: finite
// and within 0 … 1 (a NaN fails both comparisons).
inline bool isNormalisedValue(float value) { return value >= 0.0f && value <= 1.0f; }
// A finite value brought into 0 … 1; callers drop non-finite values first.
inline float clampToNormalised(float value) {
  return value < 0.0f ? 0.0f : value > 1.0f ? 1.0f : value;
}

// Program values are written by automation and MIDI on one thread while the
// user-interface thread may read them; each value moves as one relaxed atomic.
inline void storeValueRelaxed(float& slot, float value) {
  __atomic_store(&slot, &value, __ATOMIC_RELAXED);
}
inline float loadValueRelaxed(const float& slot) {
  float value;
  __atomic_load(&slot, &value, __ATOMIC_RELAXED);
  return value;
}
