#include "render_fingerprints.h"

#include <cmath>
#include <cstring>
#include <iterator>

#include "effect/delay_engine.h"
#include "reference_engine.h"
#include "presets/factory_programs.h"

namespace fingerprint {
namespace {

constexpr float kRates[] = {44100.0f, 48000.0f, 96000.0f};
constexpr int kNumPrograms = static_cast<int>(std::size(kFactoryPrograms));
// Block sizes the automation run cycles through: single frames and empty
// blocks as at automation points, odd sizes, and large blocks.
constexpr int32_t kVaryingBlocks[] = {256, 1, 2, 0, 37, 64, 511, 3, 128, 1024};
constexpr int kDisplayPollInterval = 3;  // blocks between two editor polls
constexpr int kAutomationInterval = 4;   // blocks between two parameter changes
constexpr int kTimingInterval = 50;      // blocks between two host timing changes

struct Fnv1a {
  uint64_t state = 1469598103934665603ull;
  void add(uint32_t word) {
    for (int i = 0; i < 4; ++i) {
      state ^= (word >> (8 * i)) & 0xffu;
      state *= 1099511628211ull;
    }
  }
  void add(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    add(bits);
  }
};

struct Random {
  uint32_t seed;
  uint32_t next() { return seed = seed * 1664525u + 1013904223u; }
  float unit() { return static_cast<float>(next() >> 8) / 16777216.0f; }
};

// The parameter moves of the automation run: any sound parameter, any value
// in 0 … 1 (switches flip at 0.5), now and then slightly outside the range.
void automate(DelayEngine& engine, Random& random) {
  const int32_t index = static_cast<int32_t>(random.next() % kNumParams);
  float value = random.unit();
  if (random.next() % 16 == 0) value = value * 1.5f - 0.25f;
  engine.setParameter(index, value);
}

BlockTiming hostTiming(Random& random, double& ppq, bool& hasTime) {
  if (random.next() % 3 == 0) hasTime = !hasTime;
  BlockTiming t;
  if (!hasTime) return t;
  t.hasTempo = true;
  t.tempo = 30.0 + (random.next() % 420);  // some outside 40 … 400
  t.hasPpqPos = random.next() % 4 != 0;
  ppq += 1.75;
  t.ppqPos = ppq;
  return t;
}

}  // namespace

// Notes with decaying envelopes, a bass line, noise bursts and a loud passage
// that drives the limiter above its knee; the channels differ.
std::vector<float> musicalInput(size_t signalFrames, size_t totalFrames, float rate, int channel) {
  std::vector<float> v(totalFrames, 0.0f);
  constexpr double kTwoPi = 6.283185307179586;
  const double notes[] = {220.0, 277.18, 329.63, 440.0, 369.99, 293.66};
  const size_t noteLength = static_cast<size_t>(rate * 0.125);
  Random noise{977u + static_cast<uint32_t>(channel)};
  for (size_t i = 0; i < signalFrames; ++i) {
    const double t = i / static_cast<double>(rate);
    const size_t note = i / noteLength;
    const double inNote = (i % noteLength) / static_cast<double>(rate);
    const double pitch = notes[(note + channel) % std::size(notes)];
    double x = 0.4 * std::exp(-inNote * 12.0) * std::sin(kTwoPi * pitch * t);
    x += 0.15 * std::sin(kTwoPi * 55.0 * t + channel);
    if (note % 5 == 3) x += 0.3 * (noise.unit() - 0.5);
    if (i > signalFrames / 2 && i < signalFrames * 3 / 4) x *= 2.2;  // into the limiter
    v[i] = static_cast<float>(x);
  }
  return v;
}

uint64_t renderHash(const RenderCase& c) {
  DelayEngine engine;
  const FactoryProgram& program = kFactoryPrograms[c.program];
  engine.forceTempoSyncOff();
  for (int32_t i = 0; i < kNumParams; ++i) engine.setParameter(i, program.values[i]);
  engine.resume(c.rate);

  const size_t signalFrames = static_cast<size_t>(c.signalSeconds * c.rate);
  const size_t total = signalFrames + static_cast<size_t>(c.silenceSeconds * c.rate);
  const auto inL = musicalInput(signalFrames, total, c.rate, 0);
  const auto inR = musicalInput(signalFrames, total, c.rate, 1);
  std::vector<float> outL(total), outR(total);

  Fnv1a hash;
  Random random{static_cast<uint32_t>(c.program * 7919 + c.block + 1)};
  BlockTiming timing;
  double ppq = 0.0;
  bool hasTime = false;
  size_t pos = 0;
  for (int blockNumber = 0; pos < total; ++blockNumber) {
    int32_t frames = c.block;
    if (c.automation) {
      frames = kVaryingBlocks[blockNumber % std::size(kVaryingBlocks)];
      if (blockNumber % kAutomationInterval == 1) automate(engine, random);
      if (blockNumber % kTimingInterval == 7) timing = hostTiming(random, ppq, hasTime);
      if (blockNumber == 333) engine.setTempoFromControl(random.unit());
      if (blockNumber == 700) {
        engine.suspend();
        engine.resume(c.rate);
      }
    }
    frames = static_cast<int32_t>(std::min<size_t>(static_cast<size_t>(frames), total - pos));
    float* l = outL.data() + pos;
    float* r = c.monoOutput ? nullptr : outR.data() + pos;
    if (c.automation) {
      // In place, as hosts may do: the inputs are the output buffers.
      std::memcpy(l, inL.data() + pos, sizeof(float) * frames);
      if (r) std::memcpy(r, inR.data() + pos, sizeof(float) * frames);
      ReferenceEngine::process(engine, l, r ? r : l, l, r, frames, timing);
    } else {
      ReferenceEngine::process(engine, inL.data() + pos, c.monoOutput ? nullptr : inR.data() + pos, l, r, frames,
                     timing);
    }
    for (int32_t i = 0; i < frames; ++i) {
      hash.add(l[i]);
      if (r) hash.add(r[i]);
    }
    if (blockNumber % kDisplayPollInterval == 0) {
      float phase, meter;
      int32_t effective, nominal;
      uint8_t led;
      engine.getDisplayState(phase, meter, effective, nominal, led);
      hash.add(phase);
      hash.add(meter);
      hash.add(static_cast<uint32_t>(effective));
      hash.add(static_cast<uint32_t>(nominal));
      hash.add(static_cast<uint32_t>(led));
    }
    pos += static_cast<size_t>(frames);
  }
  return hash.state;
}

namespace {

std::string caseName(int program, float rate, int32_t block, const char* kind) {
  return std::string(kFactoryPrograms[program].name) + "|" +
         std::to_string(static_cast<int>(rate)) + "|" + std::to_string(block) + "|" + kind;
}

std::vector<RenderCase> cases(const std::vector<int32_t>& blocks, double signalSeconds,
                              double silenceSeconds, double automationSeconds) {
  std::vector<RenderCase> all;
  for (int p = 0; p < kNumPrograms; ++p) {
    for (float rate : kRates) {
      for (int32_t block : blocks)
        all.push_back({caseName(p, rate, block, "stereo"), p, rate, block, false, false,
                       signalSeconds, silenceSeconds});
      all.push_back(
          {caseName(p, rate, 64, "mono"), p, rate, 64, true, false, signalSeconds, silenceSeconds});
    }
    all.push_back({caseName(p, 48000.0f, 0, "automation"), p, 48000.0f, 0, false, true,
                   automationSeconds, 0.5});
    all.push_back({caseName(p, 44100.0f, 0, "automation-mono"), p, 44100.0f, 0, true, true,
                   automationSeconds, 0.5});
  }
  return all;
}

}  // namespace

std::vector<RenderCase> regressionCases() { return cases({1, 64, 512, 4096}, 0.4, 0.6, 1.5); }

std::vector<RenderCase> thoroughCases() { return cases({1, 7, 64, 256, 512, 4096}, 1.5, 5.0, 8.0); }

}  // namespace fingerprint
