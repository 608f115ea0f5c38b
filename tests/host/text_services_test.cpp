#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/text_services.h"

namespace {
constexpr VstInt32 kDisplayLength = 12;

std::string floatText(float value) {
  char text[64];
  std::memset(text, 'x', sizeof(text));
  float2string(value, text, kDisplayLength);
  return text;
}

std::string intText(VstInt32 value) {
  char text[64];
  std::memset(text, 'x', sizeof(text));
  int2string(value, text, kDisplayLength);
  return text;
}

std::string dbText(float value) {
  char text[64];
  dB2string(value, text, kDisplayLength);
  return text;
}
}  // namespace

TEST(Float2String, EightCharactersWithTruncatedFraction) {
  EXPECT_EQ(floatText(0.5f), "0.500000");
  EXPECT_EQ(floatText(100.0f), "100.0000");
  EXPECT_EQ(floatText(-2.0f), "-2.00000");
  EXPECT_EQ(floatText(0.0f), "0.000000");
  EXPECT_EQ(floatText(1234.5f), "1234.500");
  // The fraction is cut, not rounded.
  EXPECT_EQ(floatText(0.99999994f), "0.999999");
  EXPECT_EQ(floatText(1.5f), "1.500000");
}

TEST(Float2String, HugeBeyondTheRange) {
  EXPECT_EQ(floatText(-12345678.0f), "Huge!");
  EXPECT_EQ(floatText(-10000000.0f), "Huge!");
  EXPECT_EQ(floatText(100000000.0f), "Huge!");
  EXPECT_EQ(floatText(std::numeric_limits<float>::infinity()), "Huge!");
  EXPECT_EQ(floatText(std::numeric_limits<float>::quiet_NaN()), "Huge!");
}

TEST(Float2String, LargeValuesShowEveryIntegerDigit) {
  EXPECT_EQ(floatText(12345678.0f), "12345678.");
  EXPECT_EQ(floatText(99999992.0f), "99999992.");
  EXPECT_EQ(floatText(-1234567.0f), "-1234567.");
  EXPECT_EQ(floatText(1234567.0f), "1234567.");
}

TEST(Int2String, DigitsSignAndLimits) {
  EXPECT_EQ(intText(57), "57");
  EXPECT_EQ(intText(-7), "-7");
  EXPECT_EQ(intText(3200), "3200");
  EXPECT_EQ(intText(100), "100");
  EXPECT_EQ(intText(99999999), "99999999");
  EXPECT_EQ(intText(100000000), "Huge!");
  // A display is never empty.
  EXPECT_EQ(intText(0), "0");
  EXPECT_EQ(intText(std::numeric_limits<VstInt32>::min()), "Huge!");
}

TEST(DB2String, SilenceAndUnity) {
  EXPECT_EQ(dbText(0.0f), "-oo");
  EXPECT_EQ(dbText(-1.0f), "-oo");
  EXPECT_EQ(dbText(1.0f), "0.000000");
  EXPECT_EQ(dbText(4.0f), "12.04120");
  EXPECT_EQ(dbText(0.5f), "-6.02060");
}

TEST(HzAndMs, ConvertSamplesAtTheRate) {
  char text[32];
  Hz2string(441.0f, 44100.0f, text, kDisplayLength);
  EXPECT_STREQ(text, "100.0000");
  Hz2string(0.0f, 44100.0f, text, kDisplayLength);
  EXPECT_STREQ(text, "0.000000");
  ms2string(441.0f, 44100.0f, text, kDisplayLength);
  EXPECT_STREQ(text, "10.00000");
}

TEST(StringPrimitives, AlwaysTerminateWithinTheLimit) {
  char text[16];
  std::memset(text, 'x', sizeof(text));
  vst_strncpy(text, "abcdefghijkl", 8);
  EXPECT_STREQ(text, "abcdefgh");
  vst_strncpy(text, "ab", 8);
  vst_strncat(text, "cdefghijk", 8);
  EXPECT_STREQ(text, "abcdefgh");
  vst_strncpy(text, "ab", 8);
  vst_strncat(text, "cd", 8);
  EXPECT_STREQ(text, "abcd");
}
