// Names cut to a byte limit keep whole UTF-8 characters only.
#include <gtest/gtest.h>

#include <string>

#include "presets/name_cut.h"
#include "presets/program_record.h"

namespace {

std::string cut(const std::string& text, size_t limit) {
  char out[64];
  cutUtf8(out, text.c_str(), limit);
  return out;
}

const std::string k23Letters = "abcdefghijklmnopqrstuvw";

TEST(NameCut, AsciiIsCutAtTheLimit) {
  EXPECT_EQ(cut("abcdef", 4), "abcd");
  EXPECT_EQ(cut("abc", 24), "abc");
  EXPECT_EQ(cut("", 24), "");
}

TEST(NameCut, ACharacterThatDoesNotFitIsLeftOutWhole) {
  EXPECT_EQ(cut(k23Letters + "\xc3\xa9\xc3\xa9", 24), k23Letters);  // é is two bytes
  EXPECT_EQ(cut("ab\xe2\x82\xac", 4), "ab");                        // € is three
  EXPECT_EQ(cut("a\xf0\x9f\x8e\xb8", 4), "a");                      // 🎸 is four
  EXPECT_EQ(cut("a\xf0\x9f\x8e\xb8", 5), "a\xf0\x9f\x8e\xb8");
  EXPECT_EQ(cut("\xc3\xa9\xc3\xa9", 3), "\xc3\xa9");
}

TEST(NameCut, AnIncompleteOrStrayTailIsDropped) {
  EXPECT_EQ(utf8CutLength("abc\xc3", 24), 3u);
  EXPECT_EQ(utf8CutLength("abc\xe2\x82", 24), 3u);
  EXPECT_EQ(utf8CutLength("abc\x80", 24), 3u);
  EXPECT_EQ(utf8CutLength("\x80\x80", 24), 0u);
  EXPECT_EQ(utf8CutLength("\xc3\xa9\x80", 24), 2u);
  EXPECT_EQ(utf8CutLength(nullptr, 24), 0u);
}

TEST(NameCut, BrokenLeadBytesInARowAreAllDropped) {
  // A four-byte lead followed by a two-byte lead: dropping the second
  // leaves the first, which is just as incomplete.
  EXPECT_EQ(cut("p@\xf7\xcc", 24), "p@");
  EXPECT_EQ(cut("ab\xe2\xc3\xf0", 24), "ab");
  EXPECT_EQ(cut("ab\x80\x80\x80\x80\x80", 24), "ab");
}

TEST(NameCut, CuttingTwiceChangesNothing) {
  // Every two- and three-byte tail after a letter, cut once, is already whole.
  for (int first = 0x80; first < 0x100; ++first) {
    for (int second = 0x80; second < 0x100; ++second) {
      for (int third : {0, 0x41, 0x80, 0xa9, 0xc3, 0xe2, 0xf0}) {
        const std::string text{'a', static_cast<char>(first), static_cast<char>(second),
                               static_cast<char>(third)};
        const std::string once = cut(text, 24);
        ASSERT_EQ(cut(once, 24), once) << first << " " << second << " " << third;
      }
    }
  }
}

TEST(NameCut, ProgramNamesNeverHoldHalfACharacter) {
  ProgramRecord record{};
  storeProgramName(record, (k23Letters + "\xc3\xa9\xc3\xa9").c_str());
  char text[kProgramNameLength + 1];
  readProgramName(record, text);
  EXPECT_EQ(std::string(text), k23Letters);
  EXPECT_EQ(record.name[23], 0);

  // A field filled from outside that ends in half a character reads
  // without it.
  std::string raw = k23Letters + "\xc3";
  std::copy(raw.begin(), raw.end(), record.name);
  readProgramName(record, text);
  EXPECT_EQ(std::string(text), k23Letters);
}

}  // namespace
