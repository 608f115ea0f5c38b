// The delay engine alone, at 48 kHz in blocks of 256 stereo frames: three
// factory programs with signal, and the same programs on silence after a
// signal (the decaying tail must not cost more than signal).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "effect/delay_engine.h"
#include "effect/dsp_rounded_math.h"
#include "effect/dsp_stereo_channel.h"
#include "presets/factory_programs.h"

namespace {

constexpr float kRate = 48000.0f;
constexpr int32_t kBlock = 256;
constexpr int kSignalBlocks = 400;  // about two seconds of signal before the silence cases

const FactoryProgram* findProgram(const char* name) {
  for (const FactoryProgram& p : kFactoryPrograms)
    if (std::strcmp(p.name, name) == 0) return &p;
  return nullptr;
}

void applyProgram(DelayEngine& engine, const FactoryProgram& program) {
  engine.forceTempoSyncOff();
  for (int32_t i = 0; i < kNumParams; ++i) engine.setParameter(i, program.values[i]);
  engine.resume(kRate);
}

std::vector<float> testSignal(size_t n) {
  std::vector<float> v(n);
  for (size_t i = 0; i < n; ++i)
    v[i] = 0.3f * std::sin(0.031f * i) + 0.1f * std::sin(0.47f * i + 0.5f);
  return v;
}

// Per stereo frame, shown with an SI prefix: "150n" is 150 ns per frame.
benchmark::Counter perFrame(const benchmark::State& state) {
  return benchmark::Counter(static_cast<double>(state.iterations()) * kBlock,
                            benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void runProgram(benchmark::State& state, const char* name, bool silenceAfterSignal) {
  const FactoryProgram* program = findProgram(name);
  if (!program) {
    state.SkipWithError("no such factory program");
    return;
  }
  DelayEngine engine;
  applyProgram(engine, *program);
  const std::vector<float> signal = testSignal(kBlock);
  const std::vector<float> silence(kBlock, 0.0f);
  std::vector<float> outL(kBlock), outR(kBlock);
  const BlockTiming timing;
  if (silenceAfterSignal)
    for (int b = 0; b < kSignalBlocks; ++b)
      engine.process(signal.data(), signal.data(), outL.data(), outR.data(), kBlock, timing);
  const std::vector<float>& in = silenceAfterSignal ? silence : signal;
  for (auto _ : state) {
    engine.process(in.data(), in.data(), outL.data(), outR.data(), kBlock, timing);
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
  state.counters["time_per_frame"] = perFrame(state);
}

// Floors of the work every sample must do in order: each of these is a
// recurrence (the next sample needs this one's rounded result), so no
// reordering inside the engine can make a sample cheaper than its chain.

// The two anti-aliasing sections of both channels, nothing else: each
// output is rounded, flushed and fed back before the next sample can start.
void antiAliasFilterAlone(benchmark::State& state) {
  DelayEngine engine;
  engine.resume(kRate);
  const AntiAliasCoefficients k = engine.antiAliasCoefficients();
  const dsp::LowPassLanes lp{dsp::both(k.a0), dsp::both(k.a1), dsp::both(k.a2), dsp::both(k.b1),
                             dsp::both(k.b2)};
  dsp::SectionLanes first{}, second{};
  const std::vector<float> signal = testSignal(kBlock);
  for (auto _ : state) {
    for (int32_t n = 0; n < kBlock; ++n) {
      const dsp::StereoDouble x = dsp::widen(dsp::bothFloat(signal[n]));
      benchmark::DoNotOptimize(runSection(second, runSection(first, x, lp), lp));
    }
  }
  state.counters["time_per_frame"] = perFrame(state);
}

// The envelope's shaping power with each result feeding the next input, as
// the envelope feeds the clock and the clock, through the echo and its
// feedback, the next envelope value.
void envelopePowerChain(benchmark::State& state) {
  const dsp::EnvelopePower power;
  float s = 0.25f;
  for (auto _ : state) {
    for (int32_t n = 0; n < kBlock; ++n) s = power(s) * 0.5f + 0.0625f;
    benchmark::DoNotOptimize(s);
  }
  state.counters["time_per_frame"] = perFrame(state);
}

}  // namespace

BENCHMARK(antiAliasFilterAlone);
BENCHMARK(envelopePowerChain);
BENCHMARK_CAPTURE(runProgram, default_signal, "default", false);
BENCHMARK_CAPTURE(runProgram, wow_tape_signal, "wow tape", false);
BENCHMARK_CAPTURE(runProgram, deep_flanger_signal, "deep flanger", false);
BENCHMARK_CAPTURE(runProgram, default_silence_after_signal, "default", true);
BENCHMARK_CAPTURE(runProgram, wow_tape_silence_after_signal, "wow tape", true);
BENCHMARK_CAPTURE(runProgram, deep_flanger_silence_after_signal, "deep flanger", true);

BENCHMARK_MAIN();
