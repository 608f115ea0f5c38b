// The one kind of failure the tool reports: a single line on stderr, then a
// non-zero exit. Thrown only inside the tool, never through a plug-in call.
#pragma once

#include <stdexcept>
#include <string>

namespace hosttool {

class ToolError : public std::runtime_error {
 public:
  explicit ToolError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace hosttool
