#include "tools/halden-host/script_tokens.h"

#include <cctype>

#include "tools/halden-host/tool_error.h"

namespace hosttool {

std::vector<std::string> splitScriptLine(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (char c : line) {
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else {
        word += c;
      }
    } else if (c == '"') {
      quoted = true;
      inWord = true;
    } else if (c == '#') {
      break;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quoted) throw ToolError("unterminated quote");
  if (inWord) words.push_back(word);
  return words;
}

std::string joinWords(const std::vector<std::string>& words, size_t first) {
  std::string joined;
  for (size_t i = first; i < words.size(); ++i) {
    if (i > first) joined += ' ';
    joined += words[i];
  }
  return joined;
}

}  // namespace hosttool
