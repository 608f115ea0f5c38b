// The tool's pure helpers: script words, argument parsing, the chunk's
// current-program word, channel adaptation and the built-in input.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tools/halden-host/audio_data.h"
#include "tools/halden-host/command_line.h"
#include "tools/halden-host/program_selection.h"
#include "tools/halden-host/script_tokens.h"
#include "tools/halden-host/test_signal.h"
#include "tools/halden-host/tool_error.h"

namespace hosttool {
namespace {

TEST(ScriptWords, QuotesKeepSpacesAndHashStartsAComment) {
  EXPECT_EQ(splitScriptLine("  program \"wow  tape\"  # pick it"),
            (std::vector<std::string>{"program", "wow  tape"}));
  EXPECT_EQ(splitScriptLine("set 3 \"\""), (std::vector<std::string>{"set", "3", ""}));
  EXPECT_TRUE(splitScriptLine("   # only a comment").empty());
  EXPECT_EQ(splitScriptLine("echo \"a # b\""), (std::vector<std::string>{"echo", "a # b"}));
  EXPECT_THROW(splitScriptLine("echo \"open"), ToolError);
  EXPECT_EQ(joinWords({"progname", "set", "My", "Name"}, 2), "My Name");
}

TEST(CommandLine, SettingsMayFollowOneSetOrRepeatIt) {
  AcceptedOptions accepted;
  accepted.withValue = {"--block"};
  accepted.withoutValue = {"--no-time"};
  accepted.acceptsSettings = true;
  const ParsedArguments parsed =
      parseArguments({"plug.so", "--set", "3=0.5", "4=1", "out.wav", "--set", "5=0", "--no-time",
                      "--block", "64"},
                     accepted);
  EXPECT_EQ(parsed.positional, (std::vector<std::string>{"plug.so", "out.wav"}));
  ASSERT_EQ(parsed.settings.size(), 3u);
  EXPECT_EQ(parsed.settings[1].index, 4);
  EXPECT_EQ(parsed.settings[1].value, 1.0f);
  EXPECT_EQ(parsed.value("--block", ""), "64");
  EXPECT_TRUE(parsed.has("--no-time"));
  EXPECT_THROW(parseArguments({"--block"}, accepted), ToolError);
  EXPECT_THROW(parseArguments({"--set", "x"}, accepted), ToolError);
  EXPECT_THROW(parseInt("12abc", "n"), ToolError);
  EXPECT_THROW(parseNumber("nan", "n"), ToolError);
}

TEST(ChunkProgramWord, IsLittleEndianAtByteTwelveAndNothingElseChanges) {
  std::vector<uint8_t> chunk(kHaldenChunkBytes, 0xAB);
  setChunkCurrentProgram(chunk, 0x0102030F);
  EXPECT_EQ(chunk[12], 0x0F);
  EXPECT_EQ(chunk[13], 0x03);
  EXPECT_EQ(chunk[14], 0x02);
  EXPECT_EQ(chunk[15], 0x01);
  for (size_t i = 0; i < chunk.size(); ++i) {
    if (i < 12 || i > 15) {
      ASSERT_EQ(chunk[i], 0xAB) << "byte " << i;
    }
  }
  std::vector<uint8_t> tooShort(15);
  EXPECT_THROW(setChunkCurrentProgram(tooShort, 1), ToolError);
}

TEST(ChannelAdaptation, MonoFeedsAllExtraDroppedMissingSilent) {
  AudioData mono = makeSilence(1, 4, 48000.0);
  mono.channels[0] = {1, 2, 3, 4};
  const AudioData fromMono = adaptChannels(mono, 2);
  EXPECT_EQ(fromMono.channels[1], mono.channels[0]);

  AudioData three = makeSilence(3, 2, 48000.0);
  three.channels = {{1, 1}, {2, 2}, {3, 3}};
  const AudioData fromThree = adaptChannels(three, 2);
  ASSERT_EQ(fromThree.channelCount(), 2);
  EXPECT_EQ(fromThree.channels[1], (std::vector<float>{2, 2}));

  const AudioData toFour = adaptChannels(three, 4);
  EXPECT_EQ(toFour.channels[3], (std::vector<float>{0, 0}));
  EXPECT_EQ(toFour.sampleRate, 48000.0);
}

TEST(DefaultInput, IsStereoDeterministicAndBounded) {
  const AudioData a = makeDefaultInput(44100.0);
  const AudioData b = makeDefaultInput(44100.0);
  ASSERT_EQ(a.channelCount(), 2);
  EXPECT_EQ(a.frames(), 176400u);
  EXPECT_EQ(a.channels, b.channels);
  EXPECT_EQ(makeDefaultInput(96000.0).frames(), 384000u);
  const AudioStats stats = measure(a);
  EXPECT_EQ(stats.nonFinite, 0u);
  EXPECT_LE(stats.peak, 1.0f);
  EXPECT_GT(stats.peak, 0.4f);
  // The channels differ: the tones are panned.
  EXPECT_NE(a.channels[0], a.channels[1]);
}

}  // namespace
}  // namespace hosttool
