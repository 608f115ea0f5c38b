// The delay engine alone, at 48 kHz in blocks of 256 stereo frames: three
// factory programs with signal, and the same programs on silence after a
// signal (the decaying tail must not cost more than signal).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "effect/delay_engine.h"
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
  // Shown with an SI prefix: "150n" is 150 ns per stereo frame.
  state.counters["time_per_frame"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kBlock,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK_CAPTURE(runProgram, default_signal, "default", false);
BENCHMARK_CAPTURE(runProgram, wow_tape_signal, "wow tape", false);
BENCHMARK_CAPTURE(runProgram, deep_flanger_signal, "deep flanger", false);
BENCHMARK_CAPTURE(runProgram, default_silence_after_signal, "default", true);
BENCHMARK_CAPTURE(runProgram, wow_tape_silence_after_signal, "wow tape", true);
BENCHMARK_CAPTURE(runProgram, deep_flanger_silence_after_signal, "deep flanger", true);

BENCHMARK_MAIN();
