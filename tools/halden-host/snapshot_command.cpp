// snapshot PLUGIN OUT.png: the editor opened in a window on the current
// display (a virtual one in tests), idled a few times, and its pixels written
// as a PNG. A generic host cannot ask a plug-in to draw off-screen, so the
// window's contents are read back from the X server.
#include <chrono>
#include <cstdio>
#include <thread>

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

constexpr int kDefaultIdlePasses = 10;
constexpr int kMaxIdlePasses = 1000;
constexpr auto kIdlePeriod = std::chrono::milliseconds(33);
constexpr double kMaxAudioSeconds = 60.0;

}  // namespace

int runSnapshot(const std::vector<std::string>& args) {
  AcceptedOptions accepted;
  accepted.withValue = {"--program", "--chunk", "--idle", "--audio", "--tempo"};
  accepted.acceptsSettings = true;
  const ParsedArguments parsed = parseArguments(args, accepted);
  if (parsed.positional.size() != 2)
    throw ToolError("usage: halden-host snapshot PLUGIN OUT.png [options]");
  const std::string& pluginPath = parsed.positional[0];
  const std::string& outputPath = parsed.positional[1];
  const int idlePasses = parseInt(parsed.value("--idle", std::to_string(kDefaultIdlePasses)), "--idle");
  if (idlePasses < 1 || idlePasses > kMaxIdlePasses) throw ToolError("--idle must be 1..1000");
  const double audioSeconds = parseNumber(parsed.value("--audio", "0"), "--audio");
  if (audioSeconds < 0.0 || audioSeconds > kMaxAudioSeconds) throw ToolError("--audio must be 0..60");

  HostServices host;
  configureHost(host, parsed);
  PluginInstance plugin(pluginPath, host);
  openPlugin(plugin, host);
  applyState(plugin, parsed.value("--chunk", ""), parsed.value("--program", ""), parsed.settings);
  {
    EditorWindow editor(plugin, host, "halden-host snapshot");
    editor.openEditor();
    if (audioSeconds > 0.0) {
      // Some audio first, so level displays show a signal.
      startProcessing(plugin);
      BlockRunner runner(plugin, host);
      const AudioData input = adaptChannels(makeDefaultInput(host.sampleRate()), plugin.numInputs());
      runner.run(&input, 0, static_cast<size_t>(audioSeconds * host.sampleRate()), nullptr);
    }
    for (int pass = 0; pass < idlePasses; ++pass) {
      editor.idle();
      std::this_thread::sleep_for(kIdlePeriod);
    }
    editor.window().writePng(outputPath);
    editor.closeEditor();
    if (audioSeconds > 0.0) stopProcessing(plugin);
  }
  plugin.close();
  std::printf("wrote %s\n", outputPath.c_str());
  return 0;
}

const char* const kGuiUsageText = R"(
  halden-host gui PLUGIN [IN.wav] [options]
      Opens the plug-in's editor in a window on the X display and idles it
      at about 30 Hz while the input (or the built-in test signal) loops
      through processReplacing in real time. Ends when the window is closed,
      on SIGINT or SIGTERM, or after --seconds.
      --seconds S        quit by itself after S seconds
      --reopen N         close and reopen the editor N times while running
      --screenshot FILE  write the window as a PNG before closing
      --print-parameters print every parameter's value at the end
      --title TEXT       window title
      --program, --set, --chunk, --rate, --block, --tempo, --no-time, --log
                         as for render

  halden-host snapshot PLUGIN OUT.png [options]
      Opens the editor in a window on the X display (DISPLAY; Xvfb works),
      idles it and writes its pixels as a PNG.
      --idle N           idle passes before the grab (default 10)
      --audio SECONDS    process the built-in signal first
      --program, --set, --chunk, --tempo as for render
)";

}  // namespace hosttool
