// The tool's commands. Each takes the arguments after its name, prints its
// results on stdout and returns the exit code; failures throw ToolError.
#pragma once

#include <string>
#include <vector>

namespace hosttool {

int runInfo(const std::vector<std::string>& args);
int runRender(const std::vector<std::string>& args);
int runBench(const std::vector<std::string>& args);
int runScript(const std::vector<std::string>& args);

}  // namespace hosttool
