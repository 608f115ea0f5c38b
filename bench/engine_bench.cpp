// The delay engine alone, at 48 kHz in blocks of 256 stereo frames: every
// factory program with signal and on silence after a signal (the decaying
// tail must not cost more than signal), the same programs through the plain
// reference engine of the tests, and the worst case the clock allows (16
// ticks per sample).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "effect/delay_engine.h"
#include "effect/dsp_fast_math.h"
#include "effect/dsp_stereo_channel.h"
#include "presets/factory_programs.h"
#include "reference_engine.h"

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

enum class Engine { shipped, reference };

void processBlock(Engine which, DelayEngine& engine, const float* in, float* outL,
                  float* outR) {
  const BlockTiming timing;
  if (which == Engine::shipped)
    engine.process(in, in, outL, outR, kBlock, timing);
  else
    ReferenceEngine::process(engine, in, in, outL, outR, kBlock, timing);
}

void runEngine(benchmark::State& state, DelayEngine& engine, Engine which,
               bool silenceAfterSignal) {
  const std::vector<float> signal = testSignal(kBlock);
  const std::vector<float> silence(kBlock, 0.0f);
  std::vector<float> outL(kBlock), outR(kBlock);
  if (silenceAfterSignal)
    for (int b = 0; b < kSignalBlocks; ++b)
      processBlock(which, engine, signal.data(), outL.data(), outR.data());
  const std::vector<float>& in = silenceAfterSignal ? silence : signal;
  for (auto _ : state) {
    processBlock(which, engine, in.data(), outL.data(), outR.data());
    benchmark::DoNotOptimize(outL.data());
    benchmark::DoNotOptimize(outR.data());
  }
  state.SetItemsProcessed(state.iterations() * kBlock);
  state.counters["time_per_frame"] = perFrame(state);
}

void runProgram(benchmark::State& state, int program, Engine which, bool silenceAfterSignal) {
  DelayEngine engine;
  applyProgram(engine, kFactoryPrograms[program]);
  runEngine(state, engine, which, silenceAfterSignal);
}

// The clock bracket at its floor of 1/16 (a manual factor far below the
// knob's range, which setParameter accepts), so every sample writes 16
// ticks, on the modulated program "wow tape".
void worstCaseTicks(benchmark::State& state, Engine which) {
  DelayEngine engine;
  applyProgram(engine, *findProgram("wow tape"));
  engine.setParameter(kDepth, 0.0f);
  engine.setParameter(kManVCO, -1.0f);
  engine.suspend();
  runEngine(state, engine, which, false);
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
  const dsp::LowPassLanes lp{dsp::bothFloat(k.a0), dsp::bothFloat(k.a1), dsp::bothFloat(k.a2),
                             dsp::bothFloat(k.b1), dsp::bothFloat(k.b2)};
  dsp::SectionLanes first{}, second{};
  const std::vector<float> signal = testSignal(kBlock);
  for (auto _ : state) {
    for (int32_t n = 0; n < kBlock; ++n) {
      const dsp::StereoFloat x = dsp::bothFloat(signal[n]);
      benchmark::DoNotOptimize(runSection(second, runSection(first, x, lp), lp));
    }
  }
  state.counters["time_per_frame"] = perFrame(state);
}

// The envelope's shaping power with each result feeding the next input, as
// the envelope feeds the clock and the clock, through the echo and its
// feedback, the next envelope value.
void envelopePowerChain(benchmark::State& state) {
  const dsp::FastEnvelopePower power;
  float s = 0.25f;
  for (auto _ : state) {
    for (int32_t n = 0; n < kBlock; ++n) s = power(s) * 0.5f + 0.0625f;
    benchmark::DoNotOptimize(s);
  }
  state.counters["time_per_frame"] = perFrame(state);
}


std::string benchmarkName(const char* program, const char* what) {
  std::string name = program;
  for (char& c : name)
    if (c == ' ') c = '_';
  return name + "/" + what;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("antiAliasFilterAlone", antiAliasFilterAlone);
  benchmark::RegisterBenchmark("envelopePowerChain", envelopePowerChain);
  for (int p = 0; p < static_cast<int>(std::size(kFactoryPrograms)); ++p) {
    const char* name = kFactoryPrograms[p].name;
    benchmark::RegisterBenchmark(benchmarkName(name, "signal").c_str(), runProgram, p,
                                 Engine::shipped, false);
    benchmark::RegisterBenchmark(benchmarkName(name, "silence_after_signal").c_str(), runProgram,
                                 p, Engine::shipped, true);
    benchmark::RegisterBenchmark(benchmarkName(name, "reference").c_str(), runProgram, p,
                                 Engine::reference, false);
  }
  benchmark::RegisterBenchmark("worst_case_16_ticks/signal", worstCaseTicks, Engine::shipped);
  benchmark::RegisterBenchmark("worst_case_16_ticks/reference", worstCaseTicks,
                               Engine::reference);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
