#include "tools/halden-host/command_line.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "tools/halden-host/tool_error.h"

namespace hosttool {
namespace {

constexpr const char* kSetOption = "--set";

bool contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

bool looksLikeSetting(const std::string& text) {
  const size_t equals = text.find('=');
  return equals != std::string::npos && equals > 0 && text.compare(0, 2, "--") != 0;
}

}  // namespace

std::string ParsedArguments::value(const std::string& option, const std::string& fallback) const {
  const auto found = values.find(option);
  return found == values.end() ? fallback : found->second;
}

ParsedArguments parseArguments(const std::vector<std::string>& args, const AcceptedOptions& accepted) {
  ParsedArguments parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
      parsed.positional.push_back(arg);
    } else if (accepted.acceptsSettings && arg == kSetOption) {
      // "--set 3=0.5 4=0.25" and "--set 3=0.5 --set 4=0.25" both work.
      if (i + 1 >= args.size()) throw ToolError("--set needs INDEX=VALUE");
      parsed.settings.push_back(parseSetting(args[++i]));
      while (i + 1 < args.size() && looksLikeSetting(args[i + 1])) {
        parsed.settings.push_back(parseSetting(args[++i]));
      }
    } else if (contains(accepted.withValue, arg)) {
      if (i + 1 >= args.size()) throw ToolError(arg + " needs a value");
      parsed.values[arg] = args[++i];
    } else if (contains(accepted.withoutValue, arg)) {
      parsed.flags.insert(arg);
    } else {
      throw ToolError("unknown option " + arg);
    }
  }
  return parsed;
}

int parseInt(const std::string& text, const std::string& what) {
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != 0 || errno != 0 || value < std::numeric_limits<int>::min() ||
      value > std::numeric_limits<int>::max()) {
    throw ToolError("bad " + what + " '" + text + "': expected an integer");
  }
  return static_cast<int>(value);
}

double parseNumber(const std::string& text, const std::string& what) {
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != 0 || errno != 0 || !std::isfinite(value)) {
    throw ToolError("bad " + what + " '" + text + "': expected a number");
  }
  return value;
}

double checkedSampleRate(double rate) {
  if (rate < kMinSampleRate || rate > kMaxSampleRate) {
    throw ToolError("sample rate " + std::to_string(rate) + " is out of range");
  }
  return rate;
}

int checkedBlockSize(int frames) {
  if (frames < 1 || frames > kMaxBlockSize) {
    throw ToolError("block size " + std::to_string(frames) + " is out of range (1.." +
                    std::to_string(kMaxBlockSize) + ")");
  }
  return frames;
}

ParameterSetting parseSetting(const std::string& text) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos) throw ToolError("bad setting '" + text + "': expected INDEX=VALUE");
  ParameterSetting setting{};
  setting.index = parseInt(text.substr(0, equals), "parameter index");
  setting.value = static_cast<float>(parseNumber(text.substr(equals + 1), "parameter value"));
  return setting;
}

}  // namespace hosttool
