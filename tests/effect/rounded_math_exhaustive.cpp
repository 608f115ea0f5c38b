// Every float input of the engine's rounded sine and envelope power against
// the library: sin over [−4, 4] (the LFO phase stays in [−π, π)), s^0.3 over
// every non-negative float. Takes a few minutes; prints the mismatches (there
// must be none) and how often the library fallback was taken.
//   usage: effect_rounded_math_exhaustive [sin|pow]
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "effect/dsp_rounded_math.h"

namespace {

float fromBits(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Bit patterns of the non-negative floats up to `last`, and their negatives.
template <typename Fast, typename Library>
uint64_t compareAll(const char* name, uint32_t last, bool negativesToo, Fast fast,
                    Library library) {
  uint64_t mismatches = 0, checked = 0;
  for (int sign = 0; sign < (negativesToo ? 2 : 1); ++sign) {
    for (uint64_t bits = 0; bits <= last; ++bits) {
      const float x = fromBits(static_cast<uint32_t>(bits) | (sign ? 0x80000000u : 0u));
      const float a = fast(x), b = library(x);
      ++checked;
      if (!sameBits(a, b) && ++mismatches <= 20)
        std::printf("%s mismatch at %.9g: %.9g vs %.9g\n", name, x, a, b);
    }
  }
  std::printf("%s: %" PRIu64 " inputs, %" PRIu64 " mismatches\n", name, checked, mismatches);
  return mismatches;
}

}  // namespace

int main(int argc, char** argv) {
  const bool doSin = argc < 2 || std::strcmp(argv[1], "sin") == 0;
  const bool doPow = argc < 2 || std::strcmp(argv[1], "pow") == 0;
  uint64_t mismatches = 0;
  if (doSin) {
    uint32_t four;
    const float f = 4.0f;
    std::memcpy(&four, &f, sizeof four);
    mismatches += compareAll(
        "sin", four, true, [](float x) { return dsp::roundedSin(x); },
        [](float x) { return static_cast<float>(std::sin(double(x))); });
  }
  if (doPow) {
    static const dsp::EnvelopePower power;
    mismatches += compareAll(
        "pow", 0x7f800000u, false, [](float s) { return power(s); },
        [](float s) { return dsp::EnvelopePower::library(s); });
  }
  return mismatches == 0 ? 0 : 1;
}
