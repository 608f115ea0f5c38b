// Splitting a command's arguments into positionals and options, and strict
// number parsing with one-line errors.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace hosttool {

struct ParameterSetting {
  int index;
  float value;
};

struct ParsedArguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;  // options with a value
  std::set<std::string> flags;                // options without one
  std::vector<ParameterSetting> settings;     // every --set INDEX=VALUE

  bool has(const std::string& option) const { return values.count(option) || flags.count(option); }
  std::string value(const std::string& option, const std::string& fallback) const;
};

struct AcceptedOptions {
  std::vector<std::string> withValue;
  std::vector<std::string> withoutValue;
  bool acceptsSettings = false;
};

// Throws ToolError for an unknown option or a missing value.
ParsedArguments parseArguments(const std::vector<std::string>& args, const AcceptedOptions& accepted);

int parseInt(const std::string& text, const std::string& what);
double parseNumber(const std::string& text, const std::string& what);
// Sample rate and block size limits every command accepts; the checks
// return their argument or throw ToolError.
constexpr double kMinSampleRate = 1000.0;
constexpr double kMaxSampleRate = 768000.0;
constexpr int kMaxBlockSize = 65536;
double checkedSampleRate(double rate);
int checkedBlockSize(int frames);

// "INDEX=VALUE"
ParameterSetting parseSetting(const std::string& text);

}  // namespace hosttool
