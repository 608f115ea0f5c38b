// The preset system's files without an editor: reading a file into a
// record, replacing a file whole, the remembered locations, record files
// round trips, and what the preset system tells its listener.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "effect/parameters.h"
#include "presets/atomic_file.h"
#include "presets/record_files.h"
#include "tests/presets/preset_test_support.h"

namespace preset_test {
namespace {

std::vector<unsigned char> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
}

bool hasTemporaryFiles(const std::string& folder) {
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().filename().string()[0] == kTemporaryFilePrefix) return true;
  return false;
}

TEST(RecordFileRead, ShortFileLeavesTheRestZero) {
  ScopedSettingsFolder temp;
  const std::string path = temp.path() + "/short";
  { std::ofstream(path, std::ios::binary) << "abc"; }
  unsigned char buffer[8] = {};
  EXPECT_EQ(readRecordFile(path.c_str(), buffer, sizeof buffer), 3u);
  EXPECT_EQ(buffer[2], 'c');
  EXPECT_EQ(buffer[3], 0);
  EXPECT_EQ(readRecordFile((temp.path() + "/none").c_str(), buffer, sizeof buffer), 0u);
}

// Root may open any file for writing, so as root the check runs in a child
// that has given up its privileges; there opening for update must fail while
// the read still succeeds.
TEST(RecordFileRead, WriteProtectedFileReadsWhereWritingIsRefused) {
  ScopedSettingsFolder temp;
  const std::string path = temp.path() + "/locked.qel";
  { std::ofstream(path, std::ios::binary) << "preset bytes"; }
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(temp.path().c_str(), 0755), 0);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(3);
    if (std::FILE* writable = std::fopen(path.c_str(), "rb+")) {
      std::fclose(writable);
      ::_exit(4);  // still writable: the case under test does not arise
    }
    unsigned char buffer[16] = {};
    const size_t read = readRecordFile(path.c_str(), buffer, sizeof buffer);
    ::_exit(read == 12 && buffer[0] == 'p' && buffer[12] == 0 ? 0 : 5);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(AtomicFile, ReplacesWholeKeepsPermissionsAndLeavesNoTemporaryFile) {
  ScopedSettingsFolder temp;
  const std::string path = temp.path() + "/value";
  const char first[] = "first contents";
  ASSERT_TRUE(replaceFileAtomically(path, first, sizeof first, 0600));
  EXPECT_EQ(fileBytes(path).size(), sizeof first);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0077, 0u);  // a new private file stays private

  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(replaceFileAtomically(path, "ab", 2, 0600));
  EXPECT_EQ(fileBytes(path), (std::vector<unsigned char>{'a', 'b'}));
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_FALSE(hasTemporaryFiles(temp.path()));
}

TEST(AtomicFile, FailureLeavesTheOldFileAndNothingElse) {
  ScopedSettingsFolder temp;
  EXPECT_FALSE(replaceFileAtomically(temp.path() + "/missing/value", "x", 1, 0600));
  EXPECT_FALSE(replaceFileAtomically(temp.path() + "/", "x", 1, 0600));
  EXPECT_FALSE(replaceFileAtomically("", "x", 1, 0600));
  // A folder in the target's place cannot be replaced by a file.
  ASSERT_TRUE(std::filesystem::create_directory(temp.path() + "/taken"));
  EXPECT_FALSE(replaceFileAtomically(temp.path() + "/taken", "x", 1, 0600));
  EXPECT_TRUE(std::filesystem::is_directory(temp.path() + "/taken"));
  EXPECT_FALSE(hasTemporaryFiles(temp.path()));
}

TEST(FileLocations, ChosenPathSplitsIntoFolderAndTheKindsName) {
  FileLocations locations;
  std::strcpy(locations.currentFolder, "/old/");
  EXPECT_TRUE(locations.rememberChosenPath("/home/someone/banks/all.qeb", RecordKind::kBank));
  EXPECT_STREQ(locations.currentFolder, "/home/someone/banks/");
  EXPECT_STREQ(locations.bankFileName, "all.qeb");
  EXPECT_STREQ(locations.presetFileName, "");
  EXPECT_EQ(locations.rememberedPath(RecordKind::kBank), "/home/someone/banks/all.qeb");

  EXPECT_FALSE(locations.rememberChosenPath("bare.qem", RecordKind::kMidi));
  EXPECT_STREQ(locations.currentFolder, "/home/someone/banks/");
  EXPECT_STREQ(locations.midiFileName, "");
}

TEST(FileLocations, LongPathPartsAreCutTo256Bytes) {
  FileLocations locations;
  const std::string longFolder = "/" + std::string(300, 'f') + "/";
  const std::string longName(300, 'n');
  ASSERT_TRUE(locations.rememberChosenPath((longFolder + longName).c_str(), RecordKind::kPreset));
  EXPECT_EQ(std::strlen(locations.currentFolder), kLocationTextSize - 1);
  EXPECT_EQ(std::strlen(locations.presetFileName), kLocationTextSize - 1);
}

TEST(FileLocations, StartsInTheWorkingDirectoryWithATrailingSlash) {
  FileLocations locations;
  locations.startInWorkingDirectory();
  char cwd[kLocationTextSize] = {};
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  EXPECT_EQ(std::string(locations.currentFolder), std::string(cwd) + "/");
}

TEST(RecordFiles, EachKindRoundTripsThroughAFileOfItsExactSize) {
  ScopedSettingsFolder temp;
  EffectWithoutEditor source;
  source.selectProgram(6);
  source.setParameter(kMix, 0.123f);
  source.renameCurrentProgram("through a file");
  source.setParameter(kCCFirst + 2, controllerValue(11));
  const RecordKind kinds[] = {RecordKind::kPreset, RecordKind::kBank, RecordKind::kMidi};
  for (RecordKind kind : kinds) {
    const std::string path = temp.path() + "/record." + recordFileFormat(kind).extension;
    ASSERT_TRUE(saveRecordToFile(source, kind, path.c_str()));
    EXPECT_EQ(fileBytes(path).size(), recordFileFormat(kind).size);
  }

  EffectWithoutEditor target;
  target.selectProgram(6);
  loadRecordFromFile(target, RecordKind::kPreset, (temp.path() + "/record.qel").c_str(), false);
  EXPECT_EQ(std::memcmp(&target.getPrograms()[6], &source.getPrograms()[6], sizeof(ProgramRecord)),
            0);
  loadRecordFromFile(target, RecordKind::kMidi, (temp.path() + "/record.qem").c_str(), false);
  EXPECT_EQ(target.getControllerOfParameter(2), 11);
  EffectWithoutEditor wholeBank;
  loadRecordFromFile(wholeBank, RecordKind::kBank, (temp.path() + "/record.qeb").c_str(), false);
  EXPECT_EQ(storeBytes(wholeBank), storeBytes(source));
}

TEST(RecordFiles, AMissingFileLoadsNothingButABankStillSelectsProgramZero) {
  ScopedSettingsFolder temp;
  EffectWithoutEditor fx;
  fx.selectProgram(5);
  const std::vector<uint8_t> before = storeBytes(fx);
  const std::string missing = temp.path() + "/none";
  loadRecordFromFile(fx, RecordKind::kPreset, missing.c_str(), false);
  EXPECT_EQ(fx.getCurrentProgramIndex(), 5);
  loadRecordFromFile(fx, RecordKind::kBank, missing.c_str(), false);
  EXPECT_EQ(storeBytes(fx), before);
  EXPECT_EQ(fx.getCurrentProgramIndex(), 0);
}

TEST(PresetListener, HearsNamesBanksLearnClearAndStartUp) {
  EffectWithoutEditor fx;
  std::vector<uint8_t> preset(kPresetFileSize, 0), bank(kBankFileSize, 0);
  fx.renameCurrentProgram("from a record");
  encodePresetRecord(fx, preset.data());
  encodeBankRecord(fx, bank.data());
  fx.listener.notices.clear();

  char hostName[] = "host rename";
  fx.setProgramName(hostName);
  decodePresetRecord(fx, preset.data(), false);
  decodeBankRecord(fx, bank.data(), false);
  fx.startLearn();
  fx.stopLearn();
  fx.startClear();
  fx.stopClear();
  fx.loadDefaults();
  const std::vector<std::string> expected = {
      "name host rename", "name from a record", "programs replaced", "learn ended",
      "clear ended",      "startup defaults"};
  EXPECT_EQ(fx.listener.notices, expected);
}

TEST(PresetListener, RemovedOrReplacedListenersHearNothing) {
  EffectWithoutEditor fx;
  RecordingListener other;
  fx.removeListener(&other);  // not registered: the registered one stays
  fx.stopLearn();
  EXPECT_EQ(fx.listener.notices, std::vector<std::string>{"learn ended"});
  fx.addListener(&other);
  fx.stopClear();
  EXPECT_EQ(other.notices, std::vector<std::string>{"clear ended"});
  EXPECT_EQ(fx.listener.notices.size(), 1u);
  fx.removeListener(&other);
  fx.stopClear();
  EXPECT_EQ(other.notices.size(), 1u);
  EXPECT_EQ(fx.getListener(), nullptr);
}

TEST(PresetListener, IsToldWhenThePresetSystemCloses) {
  RecordingListener outliving;
  {
    TestPresetEffect fx(nullptr, false);
    fx.addListener(&outliving);
  }
  EXPECT_EQ(outliving.notices, std::vector<std::string>{"closing"});
}

TEST(PresetSettingsDirect, DefaultsAndMemoriesWithoutAnEditor) {
  ScopedSettingsFolder temp;
  {
    EffectWithoutEditor first;
    first.selectProgram(5);
    first.settings.storeDefaultPreset();
    first.setParameter(kFbck, 0.2f);
    first.settings.storeMemoA();
    first.setParameter(kFbck, 0.9f);
    first.settings.recallMemoA();
    EXPECT_EQ(first.getPrograms()[5].values[kFbck], 0.2f);
  }
  EffectWithoutEditor next;
  const ProgramRecord factoryFive = next.getPrograms()[5];
  next.settings.loadStartupDefaults();
  EXPECT_EQ(std::memcmp(next.getPrograms()[0].name, factoryFive.name, kProgramNameLength), 0);
  EXPECT_STREQ(next.settings.fileLocations().currentFolder, "");  // none stored yet
  unsigned char stored[kPresetFileSize];
  const SettingsStore& store = next.settings.settingsStore();
  EXPECT_EQ(store.recall("DefaultPreset", stored, sizeof stored), long{kPresetFileSize});
  next.settings.clearDefaultPreset();
  EXPECT_EQ(store.recall("DefaultPreset", stored, sizeof stored), -1);
}

}  // namespace
}  // namespace preset_test
