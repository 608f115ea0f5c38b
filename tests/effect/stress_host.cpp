// A stress host of our own, through VSTPluginMain like a plug-in validator:
// create/close cycles at every kind of sample rate and block size with heap,
// descriptor and thread counts; abusive automation from a second thread
// while processing, with broken MIDI and host tempos; then the abused
// instance, loaded with a state and suspended/resumed, must sound bit for bit
// like a fresh instance loaded with the same state.
// Usage: stress_host [SECONDS]   (exit status 0 when every check held)
#include <dirent.h>
#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "fake_host.h"
#include "tests/host/temporary_settings.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr int32_t kMaxBlock = 8192;

int failures = 0;

void expect(bool condition, const char* what) {
  if (condition) return;
  ++failures;
  std::fprintf(stderr, "FAILED: %s\n", what);
}

size_t heapInUse() { return mallinfo2().uordblks; }

int countEntries(const char* folder) {
  int n = 0;
  if (DIR* dir = opendir(folder)) {
    while (readdir(dir)) ++n;
    closedir(dir);
  }
  return n;
}

int threadCount() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("Threads:", 0) == 0) return std::atoi(line.c_str() + 8);
  return -1;
}

struct Counts {
  size_t heap;
  int fds, threads;
  static Counts now() { return {heapInUse(), countEntries("/proc/self/fd"), threadCount()}; }
};

const float kRates[] = {0.0f,    -44100.0f, kNaN,     kInf,     -kInf,    1e9f,
                        1e-30f,  1.0f,      4999.0f,  5000.0f,  8000.0f,  22050.0f,
                        44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f, 200000.0f,
                        200001.0f};
const int32_t kBlocks[] = {0, 1, 2, 3, 17, 64, 511, 512, 1024, 4096, 8192};
const float kAbusiveValues[] = {kNaN,  kInf,   -kInf, 1e30f,  -1e30f, 1e-40f, -1e-40f,
                                -1.0f, 2.0f,   1e4f,  -1e4f,  0.0f,   1.0f,   0.5f};

// One block through the record; every output sample must be finite.
bool processBlock(AEffect* effect, std::vector<float>& in, std::vector<float>& outL,
                  std::vector<float>& outR, int32_t frames) {
  float* inputs[2] = {in.data(), in.data()};
  float* outputs[2] = {outL.data(), outR.data()};
  effect->processReplacing(effect, inputs, outputs, frames);
  for (int32_t i = 0; i < frames; ++i)
    if (!std::isfinite(outL[i]) || !std::isfinite(outR[i])) return false;
  return true;
}

void lifecycleCycles(double seconds, std::mt19937& random) {
  std::vector<float> in(kMaxBlock), outL(kMaxBlock), outR(kMaxBlock);
  std::uniform_real_distribution<float> sample(-0.5f, 0.5f);
  for (float& x : in) x = sample(random);
  { fake_host::Instance warmUp; }  // first-use allocations of the libraries
  const Counts before = Counts::now();
  const auto end = Clock::now() + std::chrono::duration<double>(seconds);
  int cycles = 0;
  bool finite = true;
  while (Clock::now() < end || cycles < 3) {
    AEffect* effect = VSTPluginMain(fake_host::callback);
    if (!effect) {
      expect(false, "VSTPluginMain answers a record");
      return;
    }
    const float rate = kRates[cycles % (sizeof(kRates) / sizeof(kRates[0]))];
    const int32_t block = kBlocks[(cycles / 3) % (sizeof(kBlocks) / sizeof(kBlocks[0]))];
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, rate);
    effect->dispatcher(effect, effSetBlockSize, 0, block, nullptr, 0.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    for (int b = 0; b < 3; ++b) finite = processBlock(effect, in, outL, outR, block) && finite;
    void* chunk = nullptr;
    effect->dispatcher(effect, effGetChunk, 0, 0, &chunk, 0.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    ++cycles;
  }
  const Counts after = Counts::now();
  std::printf("lifecycle: %d cycles; heap %zu -> %zu bytes, fds %d -> %d, threads %d -> %d\n",
              cycles, before.heap, after.heap, before.fds, after.fds, before.threads,
              after.threads);
  expect(finite, "every output of the cycles is finite");
  expect(after.heap <= before.heap + 4096, "the cycles leave no heap behind");
  expect(after.fds == before.fds, "the cycles leave no descriptor open");
  expect(after.threads == before.threads, "the cycles leave no thread running");
}

// Automation with abusive values from a second thread while this one
// processes blocks of every size, with broken MIDI and strange tempos.
void abuse(fake_host::Instance& plugin, double seconds, std::mt19937& random) {
  AEffect* effect = plugin.record();
  std::atomic<bool> running{true};
  std::thread automation([effect, &running] {
    std::mt19937 own(99);
    std::uniform_int_distribution<int> index(-2, kNumAllParams + 1);
    std::uniform_int_distribution<size_t> pick(0, sizeof(kAbusiveValues) / sizeof(float) - 1);
    std::uniform_real_distribution<float> normal(0.0f, 1.0f);
    while (running.load(std::memory_order_relaxed)) {
      const int i = index(own);
      const size_t k = pick(own);
      const float value = k + 2 < sizeof(kAbusiveValues) / sizeof(float) ? kAbusiveValues[k]
                                                                           : normal(own);
      effect->setParameter(effect, i, value);
      effect->getParameter(effect, i);
    }
  });

  std::vector<float> in(kMaxBlock), outL(kMaxBlock), outR(kMaxBlock);
  std::uniform_real_distribution<float> sample(-0.8f, 0.8f);
  std::uniform_int_distribution<int> byte(0, 255);
  const double tempos[] = {120.0, 0.0, -60.0, 1e9, std::nan(""), 1e-30, 999.0};
  const auto end = Clock::now() + std::chrono::duration<double>(seconds);
  bool finite = true;
  int blocks = 0;
  while (Clock::now() < end) {
    const int32_t frames = kBlocks[blocks % (sizeof(kBlocks) / sizeof(kBlocks[0]))];
    for (int32_t i = 0; i < frames; ++i) in[i] = sample(random);
    if (blocks % 7 == 0) in[0] = kNaN;
    fake_host::settings().hasTime = blocks % 3 != 0;
    fake_host::settings().tempo = tempos[blocks % (sizeof(tempos) / sizeof(tempos[0]))];
    fake_host::settings().ppqPos = blocks % 5 == 0 ? -1e12 : blocks * 0.25;

    VstMidiEvent midi{};
    midi.type = kVstMidiType;
    midi.byteSize = sizeof(midi);
    for (int b = 0; b < 3; ++b) midi.midiData[b] = static_cast<char>(byte(random));
    VstEvents events{};
    events.numEvents = 1;
    events.events[0] = reinterpret_cast<VstEvent*>(&midi);
    plugin.dispatch(effProcessEvents, 0, 0, &events);

    finite = processBlock(effect, in, outL, outR, frames) && finite;
    if (blocks % 97 == 0) {  // a rate change between blocks, as hosts do it
      plugin.setSampleRate(kRates[(blocks / 97) % (sizeof(kRates) / sizeof(kRates[0]))]);
    }
    ++blocks;
  }
  running = false;
  automation.join();
  fake_host::settings().hasTime = false;
  std::printf("abuse: %d blocks with automation from a second thread\n", blocks);
  expect(finite, "every output under abuse is finite");
}

std::vector<uint8_t> chunkOf(fake_host::Instance& p) {
  void* data = nullptr;
  const VstIntPtr size = p.dispatch(effGetChunk, 0, 0, &data);
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

std::vector<float> loadAndRender(fake_host::Instance& p, std::vector<uint8_t> state) {
  p.setSampleRate(44100.0f);
  expect(p.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(state.size()), state.data()) == 0,
         "the state loads");
  p.dispatch(effMainsChanged, 0, 0);
  p.dispatch(effMainsChanged, 0, 1);
  std::vector<float> probe(100000, 0.0f);
  probe[0] = 0.9f;
  for (size_t i = 20000; i < 24000; ++i) probe[i] = 0.4f * std::sin(0.031f * i);
  std::vector<float> right;
  std::vector<float> out = p.render(probe, 256, &right);
  out.insert(out.end(), right.begin(), right.end());
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
  TemporarySettings settings;
  std::mt19937 random(2024);

  lifecycleCycles(seconds * 0.4, random);

  std::vector<uint8_t> state;
  {
    fake_host::Instance source;
    source.qel().selectProgram(5);
    source.setParameter(kDlyTime, 0.3f);
    source.setParameter(kFbck, 0.6f);
    source.setParameter(kRptInf, 0.75f);
    state = chunkOf(source);
  }
  fake_host::Instance abused;
  abuse(abused, seconds * 0.6, random);
  fake_host::Instance fresh;
  const std::vector<float> a = loadAndRender(abused, state);
  const std::vector<float> b = loadAndRender(fresh, state);
  expect(a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0,
         "the abused instance, loaded, sounds bit for bit like a fresh one");
  expect(chunkOf(abused) == chunkOf(fresh), "the abused instance's chunk is the loaded state");

  std::printf("stress host: %s\n", failures == 0 ? "every check held" : "FAILED");
  return failures == 0 ? 0 : 1;
}
