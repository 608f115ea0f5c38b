// halden-host: loads any VST 2.4 plug-in and drives it from the command line.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "tools/halden-host/commands.h"
#include "tools/halden-host/gui_commands.h"
#include "tools/halden-host/tool_error.h"
#include "tools/halden-host/usage_text.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void reportError(const char* message) {
  std::fflush(stdout);
  std::fprintf(stderr, "halden-host: %s\n", message);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(hosttool::kUsageText, stderr);
    return kExitUsage;
  }
  const std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(hosttool::kUsageText, stdout);
    std::fputs(hosttool::kGuiUsageText, stdout);
    return 0;
  }
  const std::vector<std::string> args(argv + 2, argv + argc);
  try {
    if (command == "info") return hosttool::runInfo(args);
    if (command == "render") return hosttool::runRender(args);
    if (command == "bench") return hosttool::runBench(args);
    if (command == "script") return hosttool::runScript(args);
    if (command == "gui") return hosttool::runGui(args);
    if (command == "snapshot") return hosttool::runSnapshot(args);
    reportError(("unknown command '" + command + "' (see --help)").c_str());
    return kExitUsage;
  } catch (const hosttool::ToolError& error) {
    reportError(error.what());
  } catch (const std::exception& error) {
    reportError(error.what());
  }
  return kExitFailure;
}
