// Splitting one script line into words; "double quotes" keep spaces.
#pragma once

#include <string>
#include <vector>

namespace hosttool {

// Returns no words for blank lines and comments (# to the end of the line,
// outside quotes). Throws ToolError for an unterminated quote.
std::vector<std::string> splitScriptLine(const std::string& line);

// The words from `first` on, joined by single spaces.
std::string joinWords(const std::vector<std::string>& words, size_t first);

}  // namespace hosttool
