#include "presets/name_cut.h"

#include <cstring>

namespace {

constexpr size_t kLongestSequence = 4;

bool isContinuation(unsigned char byte) { return (byte & 0xc0) == 0x80; }

// Bytes in the character that this lead byte starts; 1 for ASCII, 0 for a
// byte that cannot start one.
size_t sequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xe0) == 0xc0) return 2;
  if ((lead & 0xf0) == 0xe0) return 3;
  if ((lead & 0xf8) == 0xf0) return 4;
  return 0;
}

// The end of the text's first length bytes without a broken character at
// the end: the length itself, or where the last (incomplete or stray)
// character begins.
size_t endOfWholeCharacters(const unsigned char* bytes, size_t length) {
  // Walk back over the continuation bytes at the end to the lead byte of
  // the last character, then keep that character only when it is whole.
  size_t lead = length;
  while (lead > 0 && length - lead < kLongestSequence && isContinuation(bytes[lead - 1])) --lead;
  if (lead == 0) return 0;  // empty, or continuation bytes alone
  --lead;
  const size_t expected = sequenceLength(bytes[lead]);
  const size_t present = length - lead;
  if (expected == present) return length;
  // Too short: the character was cut. Too long, or no lead byte: the
  // continuation bytes beyond a whole character belong to nothing.
  if (expected > present || expected == 0) return lead;
  return lead + expected;
}

}  // namespace

size_t utf8CutLength(const char* text, size_t maxBytes) {
  if (!text) return 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  size_t length = strnlen(text, maxBytes);
  // Dropping one broken character can uncover another (a lead byte followed
  // by a second lead byte), so cut until the end is whole; then cutting the
  // result again changes nothing.
  for (;;) {
    const size_t whole = endOfWholeCharacters(bytes, length);
    if (whole == length) return length;
    length = whole;
  }
}

void cutUtf8(char* out, const char* text, size_t maxBytes) {
  const size_t length = utf8CutLength(text, maxBytes);
  if (length > 0) std::memcpy(out, text, length);
  out[length] = 0;
}
