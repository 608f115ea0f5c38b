// The host tool with real plug-ins: our own and Debian's packaged ones.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

#include "tests/tools/tool_test_support.h"

namespace hosttool_test {
namespace {

const std::string kHalden = HALDEN_PLUGIN;
const std::string kZamDelay = std::string(DEBIAN_VST_DIR) + "/ZamDelay-vst.so";
const std::string kLspSlapback = std::string(DEBIAN_VST_DIR) + "/lsp-plugins/slap-delay-stereo.so";
// Debian's plug-ins are not ours to leak-check.
const std::string kNoLeakCheck = "ASAN_OPTIONS=detect_leaks=0";

constexpr size_t kDefaultInputFrames = 4 * 44100;
constexpr int kHaldenParameters = 36;

bool allFinite(const Wav& wav) {
  for (const auto& channel : wav.samples) {
    for (float s : channel) {
      if (!std::isfinite(s)) return false;
    }
  }
  return true;
}

TEST(HostToolWithHalden, InfoShowsIdentityParametersAndPrograms) {
  const ToolRun run = runTool("info " + quoted(kHalden));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("effect name: Marlow Halden\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("vendor: Qelworks\n"), std::string::npos);
  EXPECT_NE(run.out.find("unique id: 'Hldn'"), std::string::npos);
  EXPECT_NE(run.out.find("inputs: 2\noutputs: 2\n"), std::string::npos);
  EXPECT_NE(run.out.find("parameters: " + std::to_string(kHaldenParameters) + "\n"), std::string::npos);
  EXPECT_NE(run.out.find("param 35: name="), std::string::npos);
  EXPECT_NE(run.out.find("programs: 1\n"), std::string::npos);
  EXPECT_NE(run.out.find("program names: 17\n"), std::string::npos);
  EXPECT_NE(run.out.find("program 0: \"default\"\n"), std::string::npos);
}

TEST(HostToolWithHalden, RendersTheDefaultInputAndFactoryPrograms) {
  ScratchDir dir;
  ToolRun run = runTool("render " + quoted(kHalden) + " " + quoted(dir.path("default.wav")));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  Wav out;
  ASSERT_TRUE(readWavFile(dir.path("default.wav"), out));
  EXPECT_EQ(out.channels, 2);
  EXPECT_EQ(out.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  EXPECT_EQ(out.frames(), kDefaultInputFrames);
  EXPECT_TRUE(allFinite(out));

  run = runTool("render " + quoted(kHalden) + " " + quoted(dir.path("wow.wav")) +
                " --program 'wow tape' --block 64 --preroll 0.5 --tempo 90");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_TRUE(readWavFile(dir.path("wow.wav"), out));
  EXPECT_EQ(out.frames(), kDefaultInputFrames);
  EXPECT_TRUE(allFinite(out));
}

TEST(HostToolWithHalden, ProgramSelectionReachesTheChunkAndParametersRoundTrip) {
  ScratchDir dir;
  const std::string chunk = "\"" + dir.path("state.bin") + "\"";  // one script word
  const ToolRun run = runTool("script " + quoted(kHalden) + " -",
                              "open\nrate 48000\nblock 256\nresume\n"
                              "program 5\nprogname get\nchunk get " + chunk + "\n"
                              "set 2 0.25\nget 2\nchunk set " + chunk + "\nget 2\n"
                              "process 4800 impulse\nsuspend\nclose\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("program 5\nprogname light flanger\nchunk get 1736\nparam 2 0.25\nchunk set 0\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("nonfinite 0\nclosed\n"), std::string::npos) << run.out;
  const std::string saved = readTextFile(dir.path("state.bin"));
  ASSERT_EQ(saved.size(), 1736u);
  EXPECT_EQ(static_cast<unsigned char>(saved[12]), 5u);  // the current-program word
}

TEST(HostToolWithDebianPlugins, ZamDelayInfoAndRender) {
  if (!fileExists(kZamDelay)) GTEST_SKIP() << "zam-plugins is not installed (" << kZamDelay << ")";
  ScratchDir dir;
  ToolRun run = runTool("info " + quoted(kZamDelay), "", kNoLeakCheck);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("effect name: ZamDelay\n"), std::string::npos);
  EXPECT_NE(run.out.find("name=\"Feedback\""), std::string::npos);

  run = runTool("render " + quoted(kZamDelay) + " " + quoted(dir.path("zam.wav")) + " --set 7=0.5",
                "", kNoLeakCheck);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  Wav out;
  ASSERT_TRUE(readWavFile(dir.path("zam.wav"), out));
  EXPECT_EQ(out.channels, 1);  // ZamDelay is mono: the stereo input was adapted
  EXPECT_EQ(out.frames(), kDefaultInputFrames);
  EXPECT_TRUE(allFinite(out));
}

TEST(HostToolWithDebianPlugins, LspStereoDelayRenders) {
  if (!fileExists(kLspSlapback)) GTEST_SKIP() << "lsp-plugins-vst is not installed (" << kLspSlapback << ")";
  ScratchDir dir;
  const ToolRun run = runTool("render " + quoted(kLspSlapback) + " " + quoted(dir.path("lsp.wav")) +
                                  " --rate 48000 --block 256",
                              "", kNoLeakCheck);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  Wav out;
  ASSERT_TRUE(readWavFile(dir.path("lsp.wav"), out));
  EXPECT_EQ(out.channels, 2);
  EXPECT_EQ(out.frames(), 4 * 48000u);
}

}  // namespace
}  // namespace hosttool_test
