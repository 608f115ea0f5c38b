// The editor commands of halden-host, on X11:
//   gui PLUGIN [IN.wav] [options]       the editor in a window, audio looping
//   snapshot PLUGIN OUT.png [options]   the editor's pixels as a PNG
// Each takes the arguments after its name and returns the exit code;
// failures throw ToolError. The usage text is kGuiUsageText.
#pragma once

#include <string>
#include <vector>

namespace hosttool {

int runGui(const std::vector<std::string>& args);
int runSnapshot(const std::vector<std::string>& args);

extern const char* const kGuiUsageText;

}  // namespace hosttool
