// Bit-exact fingerprints of engine renders: every factory program at several
// rates and block sizes, on a musical input followed by silence, plus a run
// with automation between blocks. Any change of a single output bit, of the
// display state or of the timing of a parameter change alters the hash, so
// speed work on the engine can prove that it changed no arithmetic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fingerprint {

struct RenderCase {
  std::string name;  // "program|rate|block|kind", unique
  int program;       // index into kFactoryPrograms
  float rate;
  int32_t block;    // 0: the varying block sequence of the automation kind
  bool monoOutput;  // outR null: the left output gets the average
  bool automation;  // parameters, tempo and host timing change between blocks
  double signalSeconds;
  double silenceSeconds;
};

// The short set checked by the test suite.
std::vector<RenderCase> regressionCases();
// A longer, wider set for checking a change by hand against an older build.
std::vector<RenderCase> thoroughCases();

// Notes with decaying envelopes, a bass line, noise bursts and a loud passage
// that drives the limiter above its knee; the channels differ. Silence
// after signalFrames.
std::vector<float> musicalInput(size_t signalFrames, size_t totalFrames, float rate, int channel);

// FNV-1a over every output sample's bits and the display state polled
// between blocks.
uint64_t renderHash(const RenderCase& c);

}  // namespace fingerprint
