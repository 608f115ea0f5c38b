// bench PLUGIN: processing cost in nanoseconds per frame, the median of
// several timed runs over the same input.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/halden-host/audio_data.h"
#include "tools/halden-host/block_runner.h"
#include "tools/halden-host/command_line.h"
#include "tools/halden-host/commands.h"
#include "tools/halden-host/host_services.h"
#include "tools/halden-host/plugin_instance.h"
#include "tools/halden-host/plugin_setup.h"
#include "tools/halden-host/test_signal.h"
#include "tools/halden-host/tool_error.h"

namespace hosttool {
namespace {

constexpr int kMaxRuns = 1000;
constexpr double kMaxSeconds = 600.0;
constexpr double kMaxSettleSeconds = 60.0;

// The test signal repeated to the wanted length, so long runs stay musical.
AudioData makeBenchInput(double rate, size_t frames, int channels) {
  const AudioData pattern = makeDefaultInput(rate);
  AudioData tiled = makeSilence(2, frames, rate);
  for (size_t c = 0; c < tiled.channels.size(); ++c) {
    for (size_t f = 0; f < frames; ++f) tiled.channels[c][f] = pattern.channels[c][f % pattern.frames()];
  }
  return adaptChannels(tiled, channels);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : 0.5 * (values[middle - 1] + values[middle]);
}

}  // namespace

int runBench(const std::vector<std::string>& args) {
  AcceptedOptions accepted;
  accepted.withValue = {"--rate", "--block", "--seconds", "--runs", "--program", "--chunk", "--tempo", "--settle"};
  accepted.withoutValue = {"--silence-after", "--no-time"};
  accepted.acceptsSettings = true;
  const ParsedArguments parsed = parseArguments(args, accepted);
  if (parsed.positional.size() != 1) throw ToolError("usage: halden-host bench PLUGIN [options]");

  const double rate = checkedSampleRate(parseNumber(parsed.value("--rate", "48000"), "sample rate"));
  const int block = checkedBlockSize(parseInt(parsed.value("--block", "256"), "block size"));
  const double seconds = parseNumber(parsed.value("--seconds", "5"), "seconds");
  const int runs = parseInt(parsed.value("--runs", "5"), "run count");
  if (seconds <= 0.0 || seconds > kMaxSeconds) throw ToolError("--seconds must be in (0, 600]");
  if (runs < 1 || runs > kMaxRuns) throw ToolError("--runs must be in 1..1000");
  const bool silenceAfter = parsed.has("--silence-after");
  const double settleSeconds = parseNumber(parsed.value("--settle", "0"), "settle time");
  if (settleSeconds < 0.0 || settleSeconds > kMaxSettleSeconds) throw ToolError("--settle must be 0..60 s");

  HostServices host;
  host.setSampleRate(rate);
  host.setBlockSize(block);
  configureHost(host, parsed);
  PluginInstance plugin(parsed.positional[0], host);
  openPlugin(plugin, host);
  applyState(plugin, parsed.value("--chunk", ""), parsed.value("--program", ""), parsed.settings);

  const size_t frames = static_cast<size_t>(seconds * rate);
  const AudioData signal = makeBenchInput(rate, frames, plugin.numInputs());
  if (frames == 0) throw ToolError("--seconds is too short for one frame");
  BlockRunner runner(plugin, host);
  startProcessing(plugin);
  settleInRealTime(runner, host, settleSeconds);
  runner.run(&signal, 0, frames, nullptr);  // warm-up: caches, lazy allocations

  std::vector<double> nsPerFrame;
  for (int run = 0; run < runs; ++run) {
    // With --silence-after the timed part is the silence that follows the
    // signal: the delay memory is full and the tail is decaying.
    if (silenceAfter) runner.run(&signal, 0, frames, nullptr);
    const auto start = std::chrono::steady_clock::now();
    runner.run(silenceAfter ? nullptr : &signal, 0, frames, nullptr);
    const auto stop = std::chrono::steady_clock::now();
    const double ns = std::chrono::duration<double, std::nano>(stop - start).count();
    nsPerFrame.push_back(ns / static_cast<double>(frames));
  }
  stopProcessing(plugin);
  plugin.close();

  std::printf("%.3f ns/frame median of %d runs (%s, %.0f Hz, block %d, %g s of %s)\n",
              median(nsPerFrame), runs, parsed.positional[0].c_str(), rate, block, seconds,
              silenceAfter ? "silence after signal" : "signal");
  return 0;
}

}  // namespace hosttool
