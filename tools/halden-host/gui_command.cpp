// gui PLUGIN [IN.wav]: the plug-in's editor in a top-level window, idled at
// about 30 Hz while audio loops through processReplacing at the same pace,
// so meters, lamps and modulation move as in a host.
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "tools/halden-host/audio_data.h"
#include "tools/halden-host/block_runner.h"
#include "tools/halden-host/command_line.h"
#include "tools/halden-host/editor_window.h"
#include "tools/halden-host/gui_commands.h"
#include "tools/halden-host/host_services.h"
#include "tools/halden-host/plugin_setup.h"
#include "tools/halden-host/test_signal.h"
#include "tools/halden-host/tool_error.h"

namespace hosttool {
namespace {

constexpr int kIdleRateHz = 30;
constexpr double kMaxSeconds = 24.0 * 3600.0;
constexpr int kMaxReopens = 1000;
// Reopening cycles are this many idle passes apart.
constexpr int kPassesPerReopen = 6;

volatile sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

// SIGINT and SIGTERM end the loop so the editor and plug-in close cleanly;
// the previous handlers come back afterwards.
class StopSignals {
 public:
  StopSignals() {
    stopRequested = 0;
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &oldInterrupt_);
    sigaction(SIGTERM, &action, &oldTerminate_);
  }
  ~StopSignals() {
    sigaction(SIGINT, &oldInterrupt_, nullptr);
    sigaction(SIGTERM, &oldTerminate_, nullptr);
  }

 private:
  struct sigaction oldInterrupt_ {};
  struct sigaction oldTerminate_ {};
};

// Plays the input over and over, one idle period at a time.
class LoopingInput {
 public:
  LoopingInput(AudioData input, BlockRunner& runner) : input_(std::move(input)), runner_(runner) {}
  void play(size_t frames) {
    const size_t total = input_.frames();
    if (total == 0) {
      runner_.run(nullptr, 0, frames, nullptr);
      return;
    }
    while (frames > 0) {
      const size_t part = std::min(frames, total - position_);
      runner_.run(&input_, position_, part, nullptr);
      position_ = (position_ + part) % total;
      frames -= part;
    }
  }

 private:
  AudioData input_;
  BlockRunner& runner_;
  size_t position_ = 0;
};

void printParameters(PluginInstance& plugin) {
  for (int i = 0; i < plugin.numParams(); ++i)
    std::printf("parameter %d %.9g\n", i, static_cast<double>(plugin.getParameter(i)));
}

}  // namespace

int runGui(const std::vector<std::string>& args) {
  AcceptedOptions accepted;
  accepted.withValue = {"--program", "--chunk", "--rate", "--block", "--tempo", "--log",
                        "--seconds", "--reopen",  "--screenshot", "--title"};
  accepted.withoutValue = {"--no-time", "--print-parameters"};
  accepted.acceptsSettings = true;
  const ParsedArguments parsed = parseArguments(args, accepted);
  if (parsed.positional.empty() || parsed.positional.size() > 2)
    throw ToolError("usage: halden-host gui PLUGIN [IN.wav] [options]");
  const std::string& pluginPath = parsed.positional[0];

  const double seconds = parseNumber(parsed.value("--seconds", "0"), "--seconds");
  if (seconds < 0.0 || seconds > kMaxSeconds) throw ToolError("--seconds must be 0..86400");
  const int reopens = parseInt(parsed.value("--reopen", "0"), "--reopen");
  if (reopens < 0 || reopens > kMaxReopens) throw ToolError("--reopen must be 0..1000");

  AudioData source =
      parsed.positional.size() == 2
          ? readWav(parsed.positional[1])
          : makeDefaultInput(checkedSampleRate(parseNumber(parsed.value("--rate", "44100"), "rate")));
  HostServices host;
  host.setSampleRate(checkedSampleRate(source.sampleRate));
  host.setBlockSize(checkedBlockSize(parseInt(parsed.value("--block", "512"), "block size")));
  configureHost(host, parsed);

  PluginInstance plugin(pluginPath, host);
  openPlugin(plugin, host);
  applyState(plugin, parsed.value("--chunk", ""), parsed.value("--program", ""), parsed.settings);
  BlockRunner runner(plugin, host);
  LoopingInput input(adaptChannels(source, plugin.numInputs()), runner);
  const size_t framesPerPass = static_cast<size_t>(host.sampleRate() / kIdleRateHz);

  StopSignals signals;
  int opened = 0;
  int passes = 0;
  int leftWindows = 0;
  {
    EditorWindow editor(plugin, host, parsed.value("--title", "halden-host: " + pluginPath));
    editor.openEditor();
    ++opened;
    startProcessing(plugin);
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::microseconds(1000000 / kIdleRateHz);
    const auto start = Clock::now();
    auto next = start;
    int reopensLeft = reopens;
    while (!stopRequested) {
      input.play(framesPerPass);
      if (!editor.idle()) break;
      ++passes;
      if (reopensLeft > 0 && passes % kPassesPerReopen == 0) {
        editor.closeEditor();
        leftWindows += editor.window().childWindowCount();
        editor.openEditor();
        ++opened;
        --reopensLeft;
      }
      if (seconds > 0.0 && Clock::now() - start >= std::chrono::duration<double>(seconds)) break;
      next += period;
      std::this_thread::sleep_until(next);
    }
    if (parsed.has("--screenshot") && !editor.window().isDestroyed())
      editor.window().writePng(parsed.value("--screenshot", ""));
    editor.closeEditor();
    leftWindows += editor.window().childWindowCount();
    stopProcessing(plugin);
  }
  if (parsed.has("--print-parameters")) printParameters(plugin);
  plugin.close();
  std::printf("gui: %d idle passes, editor opened %d times, %d windows left behind\n", passes,
              opened, leftWindows);
  return leftWindows == 0 ? 0 : 1;
}

}  // namespace hosttool
