// render PLUGIN [IN.wav] OUT.wav: audio through processReplacing into a
// 32-bit float WAV, from a file or from the built-in test signal.
#include <cmath>
#include <cstdio>
#include <string>

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

constexpr double kMaxExtraSeconds = 3600.0;
constexpr double kMaxSettleSeconds = 60.0;

size_t secondsToFrames(const ParsedArguments& args, const char* option, double sampleRate) {
  const double seconds = parseNumber(args.value(option, "0"), option);
  if (seconds < 0.0 || seconds > kMaxExtraSeconds) {
    throw ToolError(std::string(option) + " must be between 0 and 3600 seconds");
  }
  return static_cast<size_t>(std::lround(seconds * sampleRate));
}

}  // namespace

int runRender(const std::vector<std::string>& args) {
  AcceptedOptions accepted;
  accepted.withValue = {"--program", "--block", "--rate", "--preroll", "--tempo", "--tail", "--chunk", "--log",
                    "--settle"};
  accepted.withoutValue = {"--no-time"};
  accepted.acceptsSettings = true;
  const ParsedArguments parsed = parseArguments(args, accepted);
  if (parsed.positional.size() != 2 && parsed.positional.size() != 3) {
    throw ToolError("usage: halden-host render PLUGIN [IN.wav] OUT.wav [options]");
  }
  const std::string& pluginPath = parsed.positional[0];
  const bool hasInputFile = parsed.positional.size() == 3;
  const std::string& outputPath = parsed.positional.back();

  AudioData source;
  if (hasInputFile) {
    source = readWav(parsed.positional[1]);
    if (parsed.has("--rate") &&
        parseNumber(parsed.value("--rate", ""), "sample rate") != source.sampleRate) {
      throw ToolError("--rate does not match the input file's rate of " +
                      std::to_string(static_cast<long>(source.sampleRate)) + " Hz");
    }
  } else {
    source = makeDefaultInput(
        checkedSampleRate(parseNumber(parsed.value("--rate", "44100"), "sample rate")));
  }
  const double rate = checkedSampleRate(source.sampleRate);

  HostServices host;
  host.setSampleRate(rate);
  host.setBlockSize(checkedBlockSize(parseInt(parsed.value("--block", "512"), "block size")));
  configureHost(host, parsed);
  const size_t prerollFrames = secondsToFrames(parsed, "--preroll", rate);
  const size_t tailFrames = secondsToFrames(parsed, "--tail", rate);
  const double settleSeconds = parseNumber(parsed.value("--settle", "0"), "--settle");
  if (settleSeconds < 0.0 || settleSeconds > kMaxSettleSeconds) throw ToolError("--settle must be 0..60 s");

  PluginInstance plugin(pluginPath, host);
  if (plugin.numOutputs() == 0) throw ToolError("plug-in '" + pluginPath + "' has no audio outputs");
  openPlugin(plugin, host);
  applyState(plugin, parsed.value("--chunk", ""), parsed.value("--program", ""), parsed.settings);

  // The source sets the length, also for a plug-in without inputs.
  const size_t frames = source.frames();
  const AudioData input = adaptChannels(source, plugin.numInputs());
  AudioData output = makeSilence(plugin.numOutputs(), 0, rate);
  for (auto& channel : output.channels) channel.reserve(frames + tailFrames);

  BlockRunner runner(plugin, host);
  startProcessing(plugin);
  settleInRealTime(runner, host, settleSeconds);
  if (prerollFrames > 0) {
    // Like a host's engine running before playback starts: the transport
    // stands at the start and the pre-rolled output is not kept.
    host.setTransportPlaying(false);
    runner.run(nullptr, 0, prerollFrames, nullptr);
    host.rewind();
    host.setTransportPlaying(true);
  }
  runner.run(&input, 0, frames + tailFrames, &output);
  stopProcessing(plugin);
  plugin.close();

  writeFloatWav(outputPath, output);
  const AudioStats stats = measure(output);
  std::printf("wrote %s: %zu frames, %d channels, %.0f Hz, peak %.6g", outputPath.c_str(),
              output.frames(), output.channelCount(), rate, static_cast<double>(stats.peak));
  if (stats.nonFinite > 0) std::printf(", %zu non-finite samples", stats.nonFinite);
  std::printf("\n");
  return 0;
}

}  // namespace hosttool
