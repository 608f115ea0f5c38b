// Preset, bank and MIDI-settings files through the bar's arrows, with a fake
// file selector that answers chosen paths and records what it was asked.
#include "tests/editor_panel/panel_test_support.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <deque>
#include <fstream>
#include <iterator>

#include "presets/record_files.h"
#include "presets/record_formats.h"

namespace panel_test {
namespace {

using namespace presetbar;
using namespace layout;

// Stands in for the desktop's dialog program.
class FakeSelector : public CNewFileSelector::Runner {
 public:
  std::deque<std::string> answers;  // paths to choose; empty cancels
  std::vector<std::vector<std::string>> calls;

  bool findProgram(const char* name, std::string& path) override {
    path = std::string("/usr/bin/") + name;
    return true;
  }
  bool run(const std::vector<std::string>& argv, std::string& output, int& exitStatus) override {
    calls.push_back(argv);
    if (answers.empty()) {
      exitStatus = 1;  // cancelled
      return true;
    }
    output = answers.front() + "\n";
    answers.pop_front();
    exitStatus = 0;
    return true;
  }
  bool lastCallHas(const std::string& argument) const {
    if (calls.empty()) return false;
    for (const std::string& a : calls.back())
      if (a == argument) return true;
    return false;
  }
};

std::vector<unsigned char> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
}

std::string workingDirectory() {
  char buffer[4096];
  return ::getcwd(buffer, sizeof buffer) ? buffer : "";
}

class PresetFiles : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    CNewFileSelector::setRunner(&selector);
    folder = configHome.path() + "/files";
    std::filesystem::create_directories(folder);
    startDirectory = workingDirectory();
  }
  void TearDown() override {
    CNewFileSelector::setRunner(nullptr);
    EXPECT_EQ(workingDirectory(), startDirectory);
    PanelTest::TearDown();
  }
  std::vector<float> programValues() {
    std::vector<float> values;
    for (VstInt32 i = 0; i < kNumParams; ++i) values.push_back(param(i));
    return values;
  }
  bool leftovers() {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      if (entry.path().filename().string().find(".tmp") != std::string::npos) return true;
    return false;
  }

  FakeSelector selector;
  std::string folder;
  std::string startDirectory;
};

TEST_F(PresetFiles, PresetRoundTripRemembersFolderAndName) {
  set(kMix, 0.125f);
  set(kRate, 0.875f);
  const std::vector<float> saved = programValues();
  const std::string path = folder + "/echo.qel";
  selector.answers.push_back(path);
  click(centre(kSavePresetRect));
  ASSERT_EQ(selector.calls.size(), 1u);
  EXPECT_TRUE(selector.lastCallHas("--title=Save preset"));
  EXPECT_TRUE(selector.lastCallHas("--save"));
  EXPECT_EQ(fileBytes(path).size(), kPresetFileSize);
  EXPECT_EQ(std::string(editor->getCurrentFolder()), folder + "/");
  EXPECT_EQ(std::string(editor->getPresetFileName()), "echo.qel");
  EXPECT_FALSE(leftovers());

  set(kMix, 0.5f);
  set(kRate, 0.5f);
  selector.answers.push_back(path);
  click(centre(kLoadPresetRect));
  EXPECT_TRUE(selector.lastCallHas("--title=Load preset"));
  EXPECT_TRUE(selector.lastCallHas("--filename=" + folder + "/"));
  EXPECT_EQ(programValues(), saved);
  EXPECT_FLOAT_EQ(control(kMix)->getValue(), 0.125f);

  // The next save proposes the remembered name in the remembered folder.
  selector.answers.push_back(path);
  click(centre(kSavePresetRect));
  EXPECT_TRUE(selector.lastCallHas("--filename=" + folder + "/echo.qel"));
}

TEST_F(PresetFiles, RightClickOnAGreenArrowLoadsByteReversedAndRejectsAnOrdinaryFile) {
  const std::string path = folder + "/native.qel";
  selector.answers.push_back(path);
  click(centre(kSavePresetRect), kRButton);  // either click on a red arrow saves
  ASSERT_EQ(fileBytes(path).size(), kPresetFileSize);
  const float mix = param(kMix);

  selector.answers.push_back(path);
  click(centre(kLoadPresetRect), kRButton);
  EXPECT_TRUE(selector.lastCallHas("--title=Load preset (endian-reversed)"));
  // Its values read reversed leave 0 … 1, so the load changes nothing.
  EXPECT_EQ(param(kMix), mix);
  EXPECT_EQ(param(kInput), fx->getPrograms()[fx->getCurrentProgramIndex()].values[kInput]);

  selector.answers.push_back(path);
  click(centre(kLoadPresetRect), kRButton | kShift);  // not a plain right click
  EXPECT_TRUE(selector.lastCallHas("--title=Load preset"));
  EXPECT_EQ(param(kMix), mix);
}

TEST_F(PresetFiles, SavedFilesGetTheirExtensionWhenTheNameHasNone) {
  selector.answers.push_back(folder + "/plain");
  click(centre(kSavePresetRect));
  selector.answers.push_back(folder + "/plain");
  click(centre(kSaveBankRect));
  selector.answers.push_back(folder + "/plain");
  click(centre(kSaveMidiRect));
  EXPECT_EQ(fileBytes(folder + "/plain.qel").size(), kPresetFileSize);
  EXPECT_EQ(fileBytes(folder + "/plain.qeb").size(), kBankFileSize);
  EXPECT_EQ(fileBytes(folder + "/plain.qem").size(), kMidiFileSize);
  EXPECT_FALSE(std::filesystem::exists(folder + "/plain"));
  EXPECT_EQ(std::string(editor->getPresetFileName()), "plain.qel");

  // A name with an extension of its own keeps it.
  selector.answers.push_back(folder + "/take.two.bak");
  click(centre(kSavePresetRect));
  EXPECT_EQ(fileBytes(folder + "/take.two.bak").size(), kPresetFileSize);
}

TEST_F(PresetFiles, ARejectedLoadSaysSoInTheControllerDisplay) {
  const std::string bank = folder + "/all.qeb";
  selector.answers.push_back(bank);
  click(centre(kSaveBankRect));
  ASSERT_EQ(fileBytes(bank).size(), kBankFileSize);
  hover(centre(kLoadPresetRect));
  EXPECT_EQ(controllerText(), "");

  selector.answers.push_back(bank);  // a bank is no preset
  click(centre(kLoadPresetRect));
  EXPECT_EQ(controllerText(), "file not loaded");
  idleAt(now + 3500);
  EXPECT_EQ(controllerText(), "");

  selector.answers.push_back(folder + "/missing.qem");
  click(centre(kLoadMidiRect));
  EXPECT_EQ(controllerText(), "file not loaded");
}

TEST_F(PresetFiles, BankRoundTrip) {
  const std::string path = folder + "/all.qeb";
  selector.answers.push_back(path);
  click(centre(kSaveBankRect));
  EXPECT_TRUE(selector.lastCallHas("--title=Save bank"));
  ASSERT_EQ(fileBytes(path).size(), kBankFileSize);
  const auto* programs = reinterpret_cast<const uint8_t*>(fx->getPrograms());
  const std::vector<uint8_t> saved(programs, programs + kNumPrograms * sizeof(ProgramRecord));

  fx->selectProgram(7);
  fx->renameCurrentProgram("scratch");
  set(kFbck, 0.99f);
  selector.answers.push_back(path);
  click(centre(kLoadBankRect));
  const std::vector<uint8_t> loaded(programs, programs + kNumPrograms * sizeof(ProgramRecord));
  EXPECT_EQ(loaded, saved);
  EXPECT_EQ(fx->getCurrentProgramIndex(), 0);
  EXPECT_EQ(std::string(editor->getBankFileName()), "all.qeb");
}

TEST_F(PresetFiles, MidiSettingsRoundTrip) {
  fx->assignController(kInput, 7);
  fx->assignController(kRate, 74);
  const std::string path = folder + "/knobs.qem";
  selector.answers.push_back(path);
  click(centre(kSaveMidiRect));
  EXPECT_TRUE(selector.lastCallHas("--title=Save midi settings as"));
  ASSERT_EQ(fileBytes(path).size(), kMidiFileSize);

  fx->unassignParameter(kInput);
  fx->assignController(kMix, 7);
  selector.answers.push_back(path);
  click(centre(kLoadMidiRect));
  EXPECT_TRUE(selector.lastCallHas("--title=Load MIDI settings"));
  EXPECT_EQ(fx->getControllerOfParameter(kInput), 7);
  EXPECT_EQ(fx->getControllerOfParameter(kRate), 74);
  EXPECT_EQ(fx->getControllerOfParameter(kMix), kNotAssigned);
}

TEST_F(PresetFiles, WriteProtectedPresetLoads) {
  const std::string path = folder + "/locked.qel";
  set(kDepth, 0.375f);
  selector.answers.push_back(path);
  click(centre(kSavePresetRect));
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  set(kDepth, 0.f);
  selector.answers.push_back(path);
  click(centre(kLoadPresetRect));
  EXPECT_FLOAT_EQ(param(kDepth), 0.375f);
}

TEST_F(PresetFiles, SavingReplacesTheFileWholeAndKeepsItsPermissions) {
  const std::string path = folder + "/kept.qel";
  { std::ofstream(path) << "old contents"; }
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  selector.answers.push_back(path);
  click(centre(kSavePresetRect));
  EXPECT_EQ(fileBytes(path).size(), kPresetFileSize);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_FALSE(leftovers());
  // A save into a folder that is not there writes nothing and leaves nothing.
  EXPECT_FALSE(writeRecordFile((folder + "/missing/x.qel").c_str(),
                               reinterpret_cast<const unsigned char*>("x"), 1));
}

TEST_F(PresetFiles, CancelAndMissingFilesChangeNothing) {
  const std::vector<float> before = programValues();
  click(centre(kLoadPresetRect));  // no answer: cancelled
  EXPECT_EQ(selector.calls.size(), 1u);
  selector.answers.push_back(folder + "/not-there.qel");
  click(centre(kLoadPresetRect));
  EXPECT_EQ(programValues(), before);
  // A bare name keeps the remembered folder and name.
  const std::string folderBefore = editor->getCurrentFolder();
  selector.answers.push_back("bare-name.qel");
  click(centre(kLoadPresetRect));
  EXPECT_EQ(std::string(editor->getCurrentFolder()), folderBefore);
}

TEST_F(PresetFiles, NothingWithoutAWindow) {
  editor->close();
  selector.answers.push_back(folder + "/never.qel");
  editor->savePresetFile();
  editor->loadBankFile(false);
  EXPECT_TRUE(selector.calls.empty());
  EXPECT_FALSE(std::filesystem::exists(folder + "/never.qel"));
}

}  // namespace
}  // namespace panel_test
