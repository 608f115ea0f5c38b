// The host tool end to end, against test doubles whose behaviour is known:
// the probe plug-ins report what the host answered and scale audio by a
// known gain, so every number checked here comes from the tool.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>

#include "tests/tools/tool_test_support.h"

namespace hosttool_test {
namespace {

const std::string kProbe = HOST_PROBE;
const std::string kChunkProbe = CHUNK_PROBE;
const std::string kNullEntryProbe = NULL_ENTRY_PROBE;
const std::string kNoEntryLibrary = NO_ENTRY_LIBRARY;

constexpr int kRate = 44100;
constexpr size_t kDefaultInputFrames = 4 * kRate;  // the built-in input lasts 4 s
constexpr float kFirstFrameMarker = 0.75f;          // added by the probe
constexpr float kTolerance = 1e-6f;

std::string lineStartingWith(const std::string& text, const std::string& prefix) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (line.compare(0, prefix.size(), prefix) == 0) return line;
    start = end + 1;
  }
  return "";
}

// The probe's report line, printed by "dispatch 50 1 0 0 buf 256".
std::string reportField(const std::string& out, const std::string& field) {
  const std::string report = lineStartingWith(out, "buffer ");
  const size_t at = report.find(" " + field + "=");
  if (at == std::string::npos) return "<missing>";
  const size_t begin = at + field.size() + 2;
  const size_t end = report.find(' ', begin);
  return report.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

const char* const kReport = "dispatch 50 1 0 0 buf 256\n";

// A path as one word of a script line.
std::string word(const std::string& text) { return "\"" + text + "\""; }

// Every failure: exit status 1, nothing else than one line on stderr.
void expectOneLineFailure(const ToolRun& run, const std::string& mentions) {
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(countLines(run.err), 1) << run.err;
  EXPECT_EQ(run.err.rfind("halden-host: ", 0), 0u) << run.err;
  EXPECT_NE(run.err.find(mentions), std::string::npos) << run.err;
}

TEST(HostToolInfo, ListsIdentityParametersAndPrograms) {
  const ToolRun run = runTool("info " + quoted(kProbe));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("effect name: Host Probe\n"), std::string::npos);
  EXPECT_NE(run.out.find("vendor: Probe Works\n"), std::string::npos);
  EXPECT_NE(run.out.find("unique id: 'HPrb'"), std::string::npos);
  EXPECT_NE(run.out.find("flags: 0x10 (replacing)\n"), std::string::npos);
  EXPECT_NE(run.out.find("param 0: name=\"Gain\" label=\"x\" display=\"1.000\" value=0.5\n"),
            std::string::npos);
  EXPECT_NE(run.out.find("current program: 0 \"Alpha\"\n"), std::string::npos);
  EXPECT_NE(run.out.find("program 2: \"Gamma\"\n"), std::string::npos);
}

TEST(HostToolInfo, NamesInternalProgramsBeyondTheHostCount) {
  const ToolRun run = runTool("info " + quoted(kChunkProbe));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("programs: 1\n"), std::string::npos);
  EXPECT_NE(run.out.find("program names: 17\n"), std::string::npos);
  EXPECT_NE(run.out.find("program 16: \"program 16\"\n"), std::string::npos);
}

class HostToolRender : public ::testing::Test {
 protected:
  ScratchDir dir;
};

TEST_F(HostToolRender, DefaultInputIsFourSecondsOfStereoFloat) {
  const ToolRun run = runTool("render " + quoted(kProbe) + " " + quoted(dir.path("out.wav")));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("wrote " + dir.path("out.wav")), std::string::npos);
  Wav out;
  ASSERT_TRUE(readWavFile(dir.path("out.wav"), out));
  EXPECT_EQ(out.sampleRate, kRate);
  EXPECT_EQ(out.channels, 2);
  EXPECT_EQ(out.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  EXPECT_EQ(out.frames(), kDefaultInputFrames);
  // A musical signal, not silence, reaches the plug-in on both channels.
  for (int c = 0; c < 2; ++c) {
    double energy = 0.0;
    for (size_t f = 1; f < out.frames(); ++f) energy += out.samples[c][f] * out.samples[c][f];
    EXPECT_GT(energy, 100.0) << "channel " << c;
  }
}

TEST_F(HostToolRender, RateTailAndBlockShapeTheOutput) {
  const ToolRun run = runTool("render " + quoted(kProbe) + " " + quoted(dir.path("out.wav")) +
                              " --rate 48000 --tail 0.5 --block 7");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  Wav out;
  ASSERT_TRUE(readWavFile(dir.path("out.wav"), out));
  EXPECT_EQ(out.sampleRate, 48000);
  EXPECT_EQ(out.frames(), 4 * 48000 + 24000u);
}

TEST_F(HostToolRender, FileInputIsScaledByProgramAndSettings) {
  writeWavFile(dir.path("in.wav"), constantWav(2, 1000, kRate, 0.5f));
  // Beta's gain is 1/3 of full scale, i.e. 2/3 in the probe's out = 2 * gain * in.
  ToolRun run = runTool("render " + quoted(kProbe) + " " + quoted(dir.path("in.wav")) + " " +
                        quoted(dir.path("beta.wav")) + " --program beta");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  Wav out;
  ASSERT_TRUE(readWavFile(dir.path("beta.wav"), out));
  ASSERT_EQ(out.frames(), 1000u);
  EXPECT_NEAR(out.samples[1][500], 0.5f * 2.0f / 3.0f, kTolerance);

  run = runTool("render " + quoted(kProbe) + " " + quoted(dir.path("in.wav")) + " " +
                quoted(dir.path("set.wav")) + " --program 2 --set 0=0.1 1=0.3");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_TRUE(readWavFile(dir.path("set.wav"), out));
  EXPECT_NEAR(out.samples[0][999], 0.5f * 0.2f, kTolerance);
}

TEST_F(HostToolRender, ChunkProgramsAreSelectedThroughTheStateChunk) {
  writeWavFile(dir.path("in.wav"), constantWav(2, 100, kRate, 0.5f));
  const ToolRun run = runTool("render " + quoted(kChunkProbe) + " " + quoted(dir.path("in.wav")) +
                              " " + quoted(dir.path("out.wav")) + " --program 'wow tape'");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  Wav out;
  ASSERT_TRUE(readWavFile(dir.path("out.wav"), out));
  // Program 1 of the chunk probe has gain 2/34; effSetProgram alone would
  // have left program 0 (unity) in place.
  EXPECT_NEAR(out.samples[0][50], 0.5f * 2.0f * 2.0f / 34.0f, kTolerance);
}

TEST_F(HostToolRender, MonoAndWideInputsAreAdapted) {
  Wav mono = constantWav(1, 64, kRate, 0.25f);
  writeWavFile(dir.path("mono.wav"), mono);
  Wav wide = constantWav(3, 64, kRate, 0.0f);
  wide.samples[0].assign(64, 0.1f);
  wide.samples[1].assign(64, 0.2f);
  wide.samples[2].assign(64, 0.3f);
  writeWavFile(dir.path("wide.wav"), wide);

  ASSERT_EQ(runTool("render " + quoted(kProbe) + " " + quoted(dir.path("mono.wav")) + " " +
                    quoted(dir.path("m.wav"))).exitCode, 0);
  ASSERT_EQ(runTool("render " + quoted(kProbe) + " " + quoted(dir.path("wide.wav")) + " " +
                    quoted(dir.path("w.wav"))).exitCode, 0);
  Wav out;
  ASSERT_TRUE(readWavFile(dir.path("m.wav"), out));
  ASSERT_EQ(out.channels, 2);
  EXPECT_NEAR(out.samples[0][10], 0.25f, kTolerance);
  EXPECT_NEAR(out.samples[1][10], 0.25f, kTolerance);
  ASSERT_TRUE(readWavFile(dir.path("w.wav"), out));
  ASSERT_EQ(out.channels, 2);
  EXPECT_NEAR(out.samples[0][10], 0.1f, kTolerance);
  EXPECT_NEAR(out.samples[1][10], 0.2f, kTolerance);
}

TEST_F(HostToolRender, PrerollIsProcessedButNotWritten) {
  writeWavFile(dir.path("in.wav"), constantWav(2, 100, kRate, 0.0f));
  ASSERT_EQ(runTool("render " + quoted(kProbe) + " " + quoted(dir.path("in.wav")) + " " +
                    quoted(dir.path("plain.wav"))).exitCode, 0);
  ASSERT_EQ(runTool("render " + quoted(kProbe) + " " + quoted(dir.path("in.wav")) + " " +
                    quoted(dir.path("pre.wav")) + " --preroll 0.01").exitCode, 0);
  Wav plain, pre;
  ASSERT_TRUE(readWavFile(dir.path("plain.wav"), plain));
  ASSERT_TRUE(readWavFile(dir.path("pre.wav"), pre));
  EXPECT_EQ(pre.frames(), 100u);
  EXPECT_EQ(plain.samples[0][0], kFirstFrameMarker);
  EXPECT_EQ(pre.samples[0][0], 0.0f);
}

TEST(HostToolUsage, HelpDocumentsTheScriptGrammar) {
  const ToolRun help = runTool("--help");
  EXPECT_EQ(help.exitCode, 0);
  for (const char* word : {"info PLUGIN", "render PLUGIN", "bench PLUGIN", "script PLUGIN FILE|-",
                           "dispatch OPCODE", "midi cc", "time ppq", "chunk get FILE", "progname set"}) {
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  }
  const ToolRun bare = runTool("");
  EXPECT_EQ(bare.exitCode, 2);
  EXPECT_TRUE(bare.out.empty());
  const ToolRun unknown = runTool("frobnicate");
  EXPECT_EQ(unknown.exitCode, 2);
  EXPECT_EQ(unknown.err, "halden-host: unknown command 'frobnicate' (see --help)\n");
}

TEST(HostToolBadInput, EveryFailureIsOneLineAndNonZero) {
  ScratchDir dir;
  writeTextFile(dir.path("text.so"), "not a shared object\n");
  writeTextFile(dir.path("text.wav"), "not a wave file\n");
  const std::string out = quoted(dir.path("out.wav"));
  expectOneLineFailure(runTool("info " + quoted(dir.path("missing.so"))), "does not exist");
  expectOneLineFailure(runTool("info " + quoted(dir.path("text.so"))), "cannot load plug-in");
  expectOneLineFailure(runTool("info " + quoted(kNoEntryLibrary)), "no VSTPluginMain or main");
  expectOneLineFailure(runTool("info " + quoted(kNullEntryProbe)), "refused to load");
  expectOneLineFailure(runTool("render " + quoted(kProbe) + " " + quoted(dir.path("none.wav")) + " " + out),
                       "cannot read audio file");
  expectOneLineFailure(runTool("render " + quoted(kProbe) + " " + quoted(dir.path("text.wav")) + " " + out),
                       "cannot read audio file");
  expectOneLineFailure(runTool("render " + quoted(kProbe) + " " + quoted(dir.path("no/such/dir/o.wav"))),
                       "cannot write audio file");
  expectOneLineFailure(runTool("render " + quoted(kProbe) + " " + out + " --set 9=0.5"), "out of range");
  expectOneLineFailure(runTool("render " + quoted(kProbe) + " " + out + " --set 0=loud"), "expected a number");
  expectOneLineFailure(runTool("render " + quoted(kProbe) + " " + out + " --program Delta"), "no program named");
  expectOneLineFailure(runTool("render " + quoted(kProbe) + " " + out + " --block 0"), "block size");
  expectOneLineFailure(runTool("render " + quoted(kProbe) + " " + out + " --frobnicate"), "unknown option");
  expectOneLineFailure(runTool("bench " + quoted(kProbe) + " --runs 0"), "--runs");
  expectOneLineFailure(runTool("script " + quoted(kProbe) + " -", "get 0\nfly away\n"),
                       "script line 2: unknown command 'fly'");
  expectOneLineFailure(runTool("script " + quoted(kProbe) + " " + quoted(dir.path("none.txt"))),
                       "cannot read script");
}

class HostToolScript : public ::testing::Test {
 protected:
  ToolRun script(const std::string& plugin, const std::string& commands) {
    return runTool("script " + quoted(plugin) + " -", commands);
  }
  ScratchDir dir;
};

TEST_F(HostToolScript, ParametersRoundTripAndDisplay) {
  const ToolRun run = script(kProbe, "open\nset 0 0.125\nget 0\ndisplay 0\nname 0\nlabel 0\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "param 0 0.125\ndisplay 0 0.250\nname 0 Gain\nlabel 0 x\n");
}

TEST_F(HostToolScript, ChunkGoesToAFileAndComesBack) {
  const std::string chunk = word(dir.path("state.bin"));
  const ToolRun run = script(kChunkProbe, "open\nset 0 0.3\nchunk get " + chunk +
                                              "\nset 0 0.9\nget 0\nchunk set " + chunk + "\nget 0\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "chunk get 1736\nparam 0 0.899999976\nchunk set 0\nparam 0 0.300000012\n");
  EXPECT_EQ(readTextFile(dir.path("state.bin")).size(), 1736u);
}

TEST_F(HostToolScript, ProgramsAndProgramNames) {
  const ToolRun run = script(kProbe, "program Gamma\nprogram get\nprogname get\n"
                                     "progname set \"New  Name\"\nprogname get\nprogram 0\nprogname get\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "program 2\nprogram 2\nprogname Gamma\nprogname New  Name\nprogram 0\nprogname Alpha\n");
}

TEST_F(HostToolScript, HostAnswersWhatPluginsAsk) {
  const ToolRun run = script(kProbe, std::string("rate 48000\nblock 256\n") + kReport);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(lineStartingWith(run.out, "dispatch "), "dispatch 50 1");
  EXPECT_EQ(reportField(run.out, "version"), "2400");
  EXPECT_EQ(reportField(run.out, "midicando"), "1");
  EXPECT_EQ(reportField(run.out, "unknowncando"), "0");
  EXPECT_EQ(reportField(run.out, "pin"), "0");
  EXPECT_EQ(reportField(run.out, "rate"), "48000");
  EXPECT_EQ(reportField(run.out, "block"), "256");
  EXPECT_EQ(reportField(run.out, "vendor"), "Halden");
  EXPECT_EQ(reportField(run.out, "product"), "halden-host");
}

TEST_F(HostToolScript, TimeInfoFollowsTempoPositionAndSwitch) {
  // Two blocks of 256 at 48 kHz and 150 BPM: the second block starts at
  // sample 256, i.e. 256 / 48000 * 150 / 60 quarter notes.
  ToolRun run = script(kProbe, std::string("rate 48000\nblock 256\ntime tempo 150\n"
                                           "process 512 silence\n") + kReport);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(reportField(run.out, "time"), "150.000000:0.013333:256");

  run = script(kProbe, std::string("time ppq 8\nprocess 10 silence\n") + kReport);
  EXPECT_EQ(reportField(run.out, "time"), "120.000000:8.000000:176400");

  run = script(kProbe, std::string("time stop\nprocess 1024 silence\n") + kReport);
  EXPECT_EQ(reportField(run.out, "time"), "120.000000:0.000000:0");

  run = script(kProbe, std::string("time none\nprocess 10 silence\n") + kReport);
  EXPECT_EQ(reportField(run.out, "time"), "none");
}

TEST_F(HostToolScript, MidiEventsReachThePlugin) {
  const ToolRun run = script(kProbe, std::string("midi cc 2 7 100\nmidi raw 144 60 99 5\n") + kReport);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(lineStartingWith(run.out, "midi "), "midi 1");
  EXPECT_EQ(reportField(run.out, "midi"), "2");
  EXPECT_EQ(reportField(run.out, "last"), "144,60,99");
  const ToolRun cc = script(kProbe, std::string("midi cc 16 1 2\n") + kReport);
  EXPECT_EQ(reportField(cc.out, "last"), "191,1,2");
}

TEST_F(HostToolScript, AutomationGesturesAreLogged) {
  const std::string log = dir.path("edits.log");
  const ToolRun run = script(kProbe, "log " + word(log) + "\ndispatch 50 2\nget 0\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(readTextFile(log), "beginEdit 0\nautomate 0 0.25\nendEdit 0\nupdateDisplay\n");
  EXPECT_NE(run.out.find("param 0 0.25\n"), std::string::npos);
}

TEST_F(HostToolScript, ProcessWritesImpulseAndFileSources) {
  writeWavFile(dir.path("in.wav"), constantWav(2, 32, kRate, 0.4f));
  const ToolRun run = script(kProbe, "set 0 0.25\nprocess 16 impulse " + word(dir.path("imp.wav")) +
                                         "\nprocess 48 " + word(dir.path("in.wav")) + " " +
                                         word(dir.path("file.wav")) + "\nclose\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // The first processed frame also carries the probe's marker.
  EXPECT_EQ(run.out, "process 16 peak 1.25 nonfinite 0\nprocess 48 peak 0.200000003 nonfinite 0\nclosed\n");
  Wav out;
  ASSERT_TRUE(readWavFile(dir.path("imp.wav"), out));
  EXPECT_EQ(out.frames(), 16u);
  EXPECT_FLOAT_EQ(out.samples[1][0], 0.5f + kFirstFrameMarker);
  EXPECT_EQ(out.samples[1][1], 0.0f);
  ASSERT_TRUE(readWavFile(dir.path("file.wav"), out));
  EXPECT_EQ(out.frames(), 48u);
  EXPECT_FLOAT_EQ(out.samples[0][31], 0.2f);
  EXPECT_EQ(out.samples[0][32], 0.0f);  // past the file's end: silence
}

TEST_F(HostToolScript, DispatchPassesTextAndBuffers) {
  const ToolRun run = script(kProbe, "dispatch 45 0 0 0 buf 64\ndispatch 4 0 0 0 str Renamed Program\n"
                                     "progname get\ndispatch 12345\n");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "dispatch 45 1\nbuffer Host Probe\ndispatch 4 0\nprogname Renamed Program\n"
                     "dispatch 12345 0\n");
}

TEST(HostToolBench, PrintsAMedianPerFrame) {
  const ToolRun run = runTool("bench " + quoted(kProbe) + " --seconds 0.2 --runs 3 --program Beta");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  double nanoseconds = -1.0;
  ASSERT_EQ(std::sscanf(run.out.c_str(), "%lf ns/frame median of 3 runs", &nanoseconds), 1) << run.out;
  EXPECT_GT(nanoseconds, 0.0);
  EXPECT_TRUE(std::isfinite(nanoseconds));
}

}  // namespace
}  // namespace hosttool_test
