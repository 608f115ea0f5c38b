// A damaged settings folder and hostile state through the real entry point:
// pipes, devices, links, folders and junk in place of value files never
// hang or break a new instance; values are not rewritten when unchanged;
// a chunk or stored record with a value outside 0 … 1 is rejected whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "effect/parameters.h"
#include "presets/factory_programs.h"
#include "presets/record_files.h"
#include "tests/presets/preset_test_support.h"

namespace preset_test {
namespace {

namespace fs = std::filesystem;

constexpr int kTimeLimitMs = 5000;
const char* const kRecordValues[] = {"DefaultBank", "DefaultPreset", "DefaultMidi"};
const char* const kAllValues[] = {"DefaultBank", "DefaultPreset", "DefaultMidi", "CurrDir"};

bool programIsFactory(CPresetSystemEffect& fx, int k, int factory) {
  const ProgramRecord& p = fx.getPrograms()[k];
  if (std::string(p.name, strnlen(p.name, kProgramNameLength)) != kFactoryPrograms[factory].name)
    return false;
  for (int i = 0; i < kNumParams; ++i)
    if (p.values[i] != kFactoryPrograms[factory].values[i]) return false;
  return true;
}

// Creates and closes an instance in a child process; true when the child
// finished within the time limit with a factory-fresh program 0.
bool newInstanceStartsFreshInTime() {
  const pid_t child = fork();
  if (child == 0) {
    bool fresh = false;
    {
      PluginInstance plugin;
      fresh = plugin.record && programIsFactory(plugin.effect(), 0, 0);
    }
    _exit(fresh ? 0 : 1);
  }
  if (child < 0) return false;
  const timespec step{0, 10000000L};
  for (int waited = 0; waited < kTimeLimitMs; waited += 10) {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child)
      return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    nanosleep(&step, nullptr);
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  ADD_FAILURE() << "creating an instance hung";
  return false;
}

class HostileSettings : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(temp.storeFolder()); }
  std::string valuePath(const char* name) { return temp.storeFolder() + "/" + name; }
  bool isFifo(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
  }

  ScopedSettingsFolder temp;
};

TEST_F(HostileSettings, PipeInPlaceOfAValueNeitherHangsNorIsWrittenThrough) {
  for (const char* name : kAllValues) {
    fs::remove(valuePath(name));  // an earlier instance may have written it
    ASSERT_EQ(mkfifo(valuePath(name).c_str(), 0600), 0);
    EXPECT_TRUE(newInstanceStartsFreshInTime()) << name;
    fs::remove(valuePath(name));
  }
  // A pipe for a record the instance only reads is still there untouched.
  fs::remove(valuePath("DefaultBank"));
  ASSERT_EQ(mkfifo(valuePath("DefaultBank").c_str(), 0600), 0);
  EXPECT_TRUE(newInstanceStartsFreshInTime());
  EXPECT_TRUE(isFifo(valuePath("DefaultBank")));
}

TEST_F(HostileSettings, LinksFoldersAndDevicesAreIgnoredAsIfAbsent) {
  const std::string pipe = temp.path() + "/pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  for (const char* name : kAllValues) {
    fs::remove(valuePath(name));  // an earlier instance may have written it
    fs::create_symlink(pipe, valuePath(name));
    EXPECT_TRUE(newInstanceStartsFreshInTime()) << "link to a pipe " << name;
    fs::remove(valuePath(name));
    fs::create_symlink("/dev/zero", valuePath(name));
    EXPECT_TRUE(newInstanceStartsFreshInTime()) << "link to a device " << name;
    fs::remove(valuePath(name));
    fs::create_directory(valuePath(name));
    EXPECT_TRUE(newInstanceStartsFreshInTime()) << "folder " << name;
    fs::remove_all(valuePath(name));
    // A device node itself needs the privilege to make one.
    if (mknod(valuePath(name).c_str(), S_IFCHR | 0600, makedev(1, 5)) == 0) {
      EXPECT_TRUE(newInstanceStartsFreshInTime()) << "device " << name;
      fs::remove(valuePath(name));
    }
  }
  EXPECT_TRUE(isFifo(pipe));
}

TEST_F(HostileSettings, OversizedAndGarbageValuesAreIgnored) {
  for (const char* name : kRecordValues) {
    std::ofstream(valuePath(name), std::ios::binary) << std::string(4 << 20, 'x');
    EXPECT_TRUE(newInstanceStartsFreshInTime()) << "oversized " << name;
    std::string garbage(kBankFileSize, 0);
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 37 + 11);
    std::ofstream(valuePath(name), std::ios::binary | std::ios::trunc) << garbage;
    EXPECT_TRUE(newInstanceStartsFreshInTime()) << "garbage " << name;
    fs::remove(valuePath(name));
  }
}

// A default preset of our own identifier whose values are huge: rejected,
// so the new instance neither stores nor plays them.
TEST_F(HostileSettings, DefaultPresetWithHugeValuesIsRejected) {
  std::vector<uint8_t> record(kPresetFileSize, 0);
  writeWord(record.data(), static_cast<uint32_t>(kOwnId));
  record[4] = kPresetTag;
  std::memcpy(&record[5], "loud", 4);
  for (int i = 0; i < kNumParams; ++i) writeWord(&record[29 + 4 * i], wordFromFloat(1e30f));
  std::ofstream(valuePath("DefaultPreset"), std::ios::binary)
      .write(reinterpret_cast<const char*>(record.data()), record.size());
  EXPECT_TRUE(newInstanceStartsFreshInTime());

  PluginInstance plugin;
  plugin.dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  plugin.dispatch(effMainsChanged, 0, 1);
  std::vector<float> in(512, 0.5f), outL(512), outR(512);
  float* inputs[2] = {in.data(), in.data()};
  float* outputs[2] = {outL.data(), outR.data()};
  float peak = 0.0f;
  for (int block = 0; block < 100; ++block) {
    in[block % 512] = -0.5f;
    plugin.record->processReplacing(plugin.record, inputs, outputs, 512);
    for (float x : outL) peak = std::max(peak, std::fabs(x));
  }
  EXPECT_LT(peak, 8.0f);
  for (int i = 0; i < kNumParams; ++i) EXPECT_LE(plugin.get(i), 1.0f) << i;
}

// Inode and modification time of every file in the folder.
std::map<std::string, std::pair<ino_t, long long>> folderState(const std::string& folder) {
  std::map<std::string, std::pair<ino_t, long long>> state;
  for (const auto& entry : fs::directory_iterator(folder)) {
    struct stat info {};
    ::lstat(entry.path().c_str(), &info);
    state[entry.path().filename()] = {info.st_ino,
                                      info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec};
  }
  return state;
}

TEST_F(HostileSettings, UnchangedValuesAreNotWrittenAgain) {
  { PluginInstance first; }  // writes the file locations at close
  const auto written = folderState(temp.storeFolder());
  ASSERT_FALSE(written.empty());
  { PluginInstance second; }
  EXPECT_EQ(folderState(temp.storeFolder()), written);
  {
    PluginInstance third;
    third.presets().storeDefaultMidi();
  }
  const auto withMidi = folderState(temp.storeFolder());
  EXPECT_EQ(withMidi.size(), written.size() + 1);
  {
    PluginInstance fourth;
    fourth.presets().storeDefaultMidi();  // the same bindings again
  }
  EXPECT_EQ(folderState(temp.storeFolder()), withMidi);
}

class HostileChunks : public ::testing::Test {
 protected:
  std::vector<uint8_t> chunk() {
    void* data = nullptr;
    const VstIntPtr size = plugin.dispatch(effGetChunk, 0, 0, &data);
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
  }
  VstIntPtr load(std::vector<uint8_t> bytes, VstIntPtr size) {
    return plugin.dispatch(effSetChunk, 0, size, bytes.data());
  }

  ScopedSettingsFolder temp;
  PluginInstance plugin;
};

TEST_F(HostileChunks, AValueOutsideTheRangeRejectsTheWholeChunk) {
  plugin.effect().selectProgram(4);
  const std::vector<uint8_t> before = chunk();
  const auto valueOffset = [](size_t program, size_t index) {
    return kChunkProgramsOffset + program * sizeof(ProgramRecord) + 24 + 4 * index;
  };
  const size_t someProgramValue = valueOffset(9, kFbck);
  const size_t currentProgramValue = valueOffset(4, kMix);
  const size_t assignmentValue = kChunkAssignmentsOffset + 4 * kRate;
  for (size_t offset : {someProgramValue, currentProgramValue, assignmentValue}) {
    for (float bad : {std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity(), -0.001f, 1.001f, 1e30f}) {
      std::vector<uint8_t> hostile = before;
      writeWord(&hostile[offset], wordFromFloat(bad));
      hostile[kChunkCurrentOffset] = 2;  // would select another program if loaded
      EXPECT_EQ(load(hostile, kChunkSize), 0) << offset << " " << bad;
      EXPECT_EQ(chunk(), before) << offset << " " << bad;
    }
  }
  // The limits themselves are values.
  std::vector<uint8_t> edges = before;
  writeWord(&edges[someProgramValue], wordFromFloat(1.0f));
  writeWord(&edges[assignmentValue], wordFromFloat(0.0f));
  EXPECT_EQ(load(edges, kChunkSize), 0);
  EXPECT_EQ(chunk(), edges);
}

TEST_F(HostileChunks, SizeIsTakenWhole) {
  const std::vector<uint8_t> before = chunk();
  std::vector<uint8_t> other = before;
  other[kChunkCurrentOffset] = 7;
  const VstIntPtr beyond32Bits = (static_cast<VstIntPtr>(1) << 32) + kChunkSize;
  EXPECT_EQ(load(other, beyond32Bits), -1);
  EXPECT_EQ(load(other, -static_cast<VstIntPtr>(kChunkSize)), -1);
  EXPECT_EQ(chunk(), before);
  EXPECT_EQ(load(other, kChunkSize), 0);
  EXPECT_EQ(plugin.effect().getCurrentProgramIndex(), 7);
}

}  // namespace
}  // namespace preset_test
