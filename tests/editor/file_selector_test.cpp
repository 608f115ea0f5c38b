// File selector: which dialog program runs, with which arguments, and how
// its answer is read. A fake runner stands in for the programs, and one
// test spawns a stand-in script for real.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "editor/toolkit/cfileselector.h"

namespace {

struct FakeRunner : CNewFileSelector::Runner {
  std::vector<std::string> installed;
  std::vector<std::string> lastArgs;
  std::string output;
  int exitStatus = 0;
  bool findProgram(const char* name, std::string& path) override {
    if (std::find(installed.begin(), installed.end(), name) == installed.end()) return false;
    path = std::string("/opt/fake/") + name;
    return true;
  }
  bool run(const std::vector<std::string>& argv, std::string& out, int& status) override {
    lastArgs = argv;
    out = output;
    status = exitStatus;
    return true;
  }
};

bool contains(const std::vector<std::string>& args, const std::string& arg) {
  return std::find(args.begin(), args.end(), arg) != args.end();
}

class FileSelector : public ::testing::Test {
 protected:
  void SetUp() override { CNewFileSelector::setRunner(&runner); }
  void TearDown() override { CNewFileSelector::setRunner(nullptr); }
  FakeRunner runner;
};

TEST_F(FileSelector, CannotBeCreatedWithoutADialogProgram) {
  EXPECT_EQ(CNewFileSelector::create(nullptr, CNewFileSelector::kSelectFile), nullptr);
}

TEST_F(FileSelector, ZenitySavesWithTitleNameAndFilter) {
  runner.installed = {"zenity", "kdialog"};
  runner.output = "/home/user/presets/Warm tape.qel\n";
  CNewFileSelector* selector = CNewFileSelector::create(nullptr, CNewFileSelector::kSelectSaveFile);
  ASSERT_NE(selector, nullptr);
  selector->setTitle("Save Preset");
  selector->setInitialDirectory("/home/user/presets");
  selector->setDefaultSaveName("Warm tape.qel");
  selector->setDefaultExtension(CFileExtension("Preset file", "qel"));
  ASSERT_TRUE(selector->runModal());
  const auto& args = runner.lastArgs;
  EXPECT_EQ(args[0], "/opt/fake/zenity");
  EXPECT_TRUE(contains(args, "--file-selection"));
  EXPECT_TRUE(contains(args, "--save"));
  EXPECT_TRUE(contains(args, "--title=Save Preset"));
  EXPECT_TRUE(contains(args, "--filename=/home/user/presets/Warm tape.qel"));
  EXPECT_TRUE(contains(args, "--file-filter=Preset file (*.qel) | *.qel"));
  ASSERT_EQ(selector->getNumSelectedFiles(), 1);
  EXPECT_STREQ(selector->getSelectedFile(0), "/home/user/presets/Warm tape.qel");
  EXPECT_EQ(selector->getSelectedFile(1), nullptr);
  selector->forget();
}

TEST_F(FileSelector, CancelSelectsNothing) {
  runner.installed = {"zenity"};
  runner.exitStatus = 1;
  CNewFileSelector* selector = CNewFileSelector::create();
  EXPECT_FALSE(selector->runModal());
  EXPECT_EQ(selector->getNumSelectedFiles(), 0);
  EXPECT_FALSE(contains(runner.lastArgs, "--save"));
  selector->forget();
}

TEST_F(FileSelector, KdialogWhenZenityIsMissing) {
  runner.installed = {"kdialog"};
  runner.output = "/tmp/bank.qeb\n";
  CNewFileSelector* selector = CNewFileSelector::create(nullptr, CNewFileSelector::kSelectFile);
  ASSERT_NE(selector, nullptr);
  selector->setTitle("Load Bank");
  selector->setInitialDirectory("/tmp");
  selector->addFileExtension(CFileExtension("Bank file", "qeb"));
  ASSERT_TRUE(selector->runModal());
  EXPECT_EQ(runner.lastArgs,
            (std::vector<std::string>{"/opt/fake/kdialog", "--title", "Load Bank",
                                      "--getopenfilename", "/tmp/", "*.qeb|Bank file (*.qeb)"}));
  EXPECT_STREQ(selector->getSelectedFile(0), "/tmp/bank.qeb");
  selector->forget();
}

TEST_F(FileSelector, OnlyOneFileUnlessSeveralAreAllowed) {
  runner.installed = {"zenity"};
  runner.output = "/a.qel\n/b.qel\n";
  CNewFileSelector* selector = CNewFileSelector::create();
  ASSERT_TRUE(selector->runModal());
  EXPECT_EQ(selector->getNumSelectedFiles(), 1);
  selector->setAllowMultiFileSelection(true);
  ASSERT_TRUE(selector->runModal());
  EXPECT_EQ(selector->getNumSelectedFiles(), 2);
  EXPECT_TRUE(contains(runner.lastArgs, "--multiple"));
  selector->forget();
}

// The real runner: a stand-in "zenity" on PATH prints its arguments back.
TEST(FileSelectorSpawn, RunsTheProgramWithArgumentsUntouchedByAnyShell) {
  char folder[] = "/tmp/halden-dialog-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string script = std::string(folder) + "/zenity";
  {
    std::ofstream out(script);
    out << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done\n";
  }
  chmod(script.c_str(), 0755);
  const char* oldPath = std::getenv("PATH");
  const std::string savedPath = oldPath ? oldPath : "";
  setenv("PATH", folder, 1);

  CNewFileSelector* selector = CNewFileSelector::create(nullptr, CNewFileSelector::kSelectFile);
  ASSERT_NE(selector, nullptr);
  const std::string trickyTitle = "Load $(touch pwned) `x` ; 'q' \"z\"";
  selector->setTitle(trickyTitle.c_str());
  selector->setAllowMultiFileSelection(true);
  ASSERT_TRUE(selector->runModal());
  std::vector<std::string> echoed;
  for (int32_t i = 0; i < selector->getNumSelectedFiles(); ++i)
    echoed.push_back(selector->getSelectedFile(static_cast<uint32_t>(i)));
  EXPECT_TRUE(contains(echoed, "--title=" + trickyTitle));
  EXPECT_TRUE(contains(echoed, "--file-selection"));
  selector->forget();

  setenv("PATH", savedPath.c_str(), 1);
  EXPECT_NE(access("pwned", F_OK), 0) << "no shell ran the title";
  unlink(script.c_str());
  rmdir(folder);
}

}  // namespace
