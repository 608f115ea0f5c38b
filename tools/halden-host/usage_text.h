#pragma once

namespace hosttool {

// The full --help text, including the script grammar.
extern const char* const kUsageText;

}  // namespace hosttool
