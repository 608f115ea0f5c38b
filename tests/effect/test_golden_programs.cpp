// Golden data: every factory program renders a fixed input at 48 kHz, and the
// RMS of each 4096-frame window per channel must match the committed
// reference. There is no closed form for the clocked, modulated memory; this
// catches any change of the arithmetic. Regenerate with golden/regenerate.sh
// after an intended change of the sound.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "effect/delay_engine.h"
#include "reference_engine.h"
#include "presets/factory_programs.h"

namespace {

constexpr float kRate = 48000.0f;
constexpr int32_t kBlock = 256;
constexpr size_t kWindow = 4096;
constexpr size_t kWindows = 36;  // about 3 s: the longest factory delay (2 s) echoes inside
// Relative tolerance, with a floor for near-silent windows: room for the
// last bits of the maths library, far below any audible change.
constexpr double kRelativeTolerance = 1e-4;
constexpr double kAbsoluteFloor = 1e-7;

const char* referencePath() { return HALDEN_GOLDEN_DIR "/factory_programs.txt"; }

// A burst of two tones and noise, then silence, so repeats and tails count.
std::vector<float> fixedInput(size_t frames, int channel) {
  std::vector<float> v(frames, 0.0f);
  uint32_t seed = 12345u + static_cast<uint32_t>(channel);
  for (size_t i = 0; i < frames / 3; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const float noise = static_cast<float>(seed >> 8) / 16777216.0f - 0.5f;
    v[i] =
        0.35f * std::sin(0.0123f * (i + 40 * channel)) + 0.2f * std::sin(0.211f * i) + 0.1f * noise;
  }
  return v;
}

std::vector<double> renderFingerprint(const FactoryProgram& program) {
  DelayEngine engine;
  engine.forceTempoSyncOff();
  for (int32_t i = 0; i < kNumParams; ++i) engine.setParameter(i, program.values[i]);
  engine.resume(kRate);
  const size_t frames = kWindow * kWindows;
  const auto left = fixedInput(frames, 0), right = fixedInput(frames, 1);
  std::vector<float> outL(frames), outR(frames);
  for (size_t pos = 0; pos < frames; pos += kBlock)
    ReferenceEngine::process(engine, left.data() + pos, right.data() + pos, outL.data() + pos, outR.data() + pos,
                   kBlock, BlockTiming{});
  std::vector<double> rms;
  for (const auto* out : {&outL, &outR})
    for (size_t w = 0; w < kWindows; ++w) {
      double sum = 0.0;
      for (size_t i = w * kWindow; i < (w + 1) * kWindow; ++i) sum += double((*out)[i]) * (*out)[i];
      rms.push_back(std::sqrt(sum / kWindow));
    }
  return rms;
}

}  // namespace

TEST(GoldenPrograms, WindowLevelsMatchTheReference) {
  if (const char* write = std::getenv("HALDEN_WRITE_GOLDEN"); write && *write == '1') {
    std::ofstream file(referencePath());
    file << "# program window-RMS values: left windows then right windows\n";
    for (const FactoryProgram& p : kFactoryPrograms) {
      file << '"' << p.name << '"';
      char number[32];
      for (double r : renderFingerprint(p)) {
        std::snprintf(number, sizeof(number), " %.9g", r);
        file << number;
      }
      file << '\n';
    }
    GTEST_SKIP() << "reference written to " << referencePath();
  }

  std::ifstream file(referencePath());
  ASSERT_TRUE(file) << "missing " << referencePath();
  std::string line;
  size_t program = 0;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    ASSERT_LT(program, std::size(kFactoryPrograms));
    const FactoryProgram& p = kFactoryPrograms[program++];
    const std::string name = line.substr(1, line.find('"', 1) - 1);
    EXPECT_EQ(name, p.name);
    std::istringstream values(line.substr(line.find('"', 1) + 1));
    const auto rms = renderFingerprint(p);
    for (size_t i = 0; i < rms.size(); ++i) {
      double expected = 0.0;
      ASSERT_TRUE(values >> expected) << p.name;
      EXPECT_NEAR(rms[i], expected, std::max(kAbsoluteFloor, kRelativeTolerance * expected))
          << p.name << " window " << i % kWindows << (i < kWindows ? " left" : " right");
    }
  }
  EXPECT_EQ(program, std::size(kFactoryPrograms));
}
