// The settings store on its own: where it lives, whole-value writes, reads
// bounded by the reader's capacity, and silent failure.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "presets/settings_store.h"
#include "tests/presets/preset_test_support.h"

namespace preset_test {
namespace {

namespace fs = std::filesystem;

class ScopedEnvironment {
 public:
  explicit ScopedEnvironment(const char* name) : name(name) {
    const char* old = std::getenv(name);
    hadOld = old != nullptr;
    if (old) oldValue = old;
  }
  ~ScopedEnvironment() {
    if (hadOld)
      setenv(name, oldValue.c_str(), 1);
    else
      unsetenv(name);
  }

 private:
  const char* name;
  std::string oldValue;
  bool hadOld = false;
};

std::vector<uint8_t> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class Settings : public ::testing::Test {
 protected:
  ScopedSettingsFolder temp;
  SettingsStore store{temp.storeFolder()};
};

TEST_F(Settings, FolderFollowsXdgConfigHomeThenHome) {
  ScopedEnvironment keepHome("HOME");
  setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
  EXPECT_EQ(SettingsStore::defaultFolder(), "/somewhere/config/Qelworks/Halden");
  setenv("HOME", "/home/someone", 1);
  setenv("XDG_CONFIG_HOME", "relative/path", 1);  // not absolute: ignored
  EXPECT_EQ(SettingsStore::defaultFolder(), "/home/someone/.config/Qelworks/Halden");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(SettingsStore::defaultFolder(), "/home/someone/.config/Qelworks/Halden");
  unsetenv("HOME");
  EXPECT_EQ(SettingsStore::defaultFolder(), "");
  SettingsStore nowhere;
  const uint8_t byte = 1;
  EXPECT_FALSE(nowhere.store("DefaultMidi", &byte, 1));
  EXPECT_EQ(nowhere.recall("DefaultMidi", nullptr, 0), -1);
}

TEST_F(Settings, NothingIsCreatedUntilAValueIsStored) {
  uint8_t buffer[8] = {};
  EXPECT_EQ(store.recall("DefaultBank", buffer, sizeof(buffer)), -1);
  EXPECT_TRUE(store.remove("DefaultBank"));
  char text[SettingsStore::kMaxTextBytes + 1];
  store.recallText("CurrDir", text);
  EXPECT_STREQ(text, "");
  EXPECT_FALSE(fs::exists(temp.path() + "/Qelworks"));

  const uint8_t value[] = {1, 2, 3, 0, 5};
  EXPECT_TRUE(store.store("DefaultBank", value, sizeof(value)));
  EXPECT_EQ(fileBytes(temp.storeFolder() + "/DefaultBank"), std::vector<uint8_t>(value, value + 5));
  EXPECT_EQ(fs::status(temp.storeFolder()).permissions() & fs::perms::others_all, fs::perms::none);
}

TEST_F(Settings, ValuesAreReplacedWholeAndDeleted) {
  const std::vector<uint8_t> longer(300, 0xAB), shorter = {9, 8, 7};
  ASSERT_TRUE(store.store("MemoA", longer.data(), longer.size()));
  ASSERT_TRUE(store.store("MemoA", shorter.data(), shorter.size()));
  uint8_t buffer[400] = {};
  EXPECT_EQ(store.recall("MemoA", buffer, sizeof(buffer)), 3);
  EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 4), (std::vector<uint8_t>{9, 8, 7, 0}));
  // Only the value files are left: no temporary files linger.
  EXPECT_EQ(std::distance(fs::directory_iterator(temp.storeFolder()), fs::directory_iterator()), 1);
  EXPECT_TRUE(store.remove("MemoA"));
  EXPECT_FALSE(fs::exists(temp.storeFolder() + "/MemoA"));
  EXPECT_EQ(store.recall("MemoA", buffer, sizeof(buffer)), -1);
}

TEST_F(Settings, ValueLargerThanTheCapacityIsNotRead) {
  const std::vector<uint8_t> value(102, 0x5A);
  ASSERT_TRUE(store.store("DefaultPreset", value.data(), value.size()));
  std::vector<uint8_t> buffer(101, 0);
  EXPECT_EQ(store.recall("DefaultPreset", buffer.data(), buffer.size()), -1);
  EXPECT_EQ(buffer, std::vector<uint8_t>(101, 0));
}

TEST_F(Settings, TextsAreCutToTheLimitWithoutSplittingACharacter) {
  std::string text(255, 'a');
  text += "\xC3\xA9";  // é would end at byte 257
  ASSERT_TRUE(store.storeText("CurrDir", text.c_str()));
  char read[SettingsStore::kMaxTextBytes + 1];
  store.recallText("CurrDir", read);
  EXPECT_EQ(std::string(read), std::string(255, 'a'));

  const std::string tooLong(300, 'b');  // written by something else
  std::ofstream(temp.storeFolder() + "/CurrBank") << tooLong;
  store.recallText("CurrBank", read);
  EXPECT_STREQ(read, "");
}

TEST_F(Settings, FailuresAreSilentAndKeepTheOldValue) {
  const uint8_t value[] = {4, 2};
  EXPECT_FALSE(store.store("../escape", value, 2));
  EXPECT_FALSE(store.store(".hidden", value, 2));
  EXPECT_FALSE(store.store("", value, 2));
  // A folder that cannot exist: its parent is a file.
  std::ofstream(temp.path() + "/blocker") << "x";
  SettingsStore blocked(temp.path() + "/blocker/Qelworks/Halden");
  EXPECT_FALSE(blocked.store("MemoB", value, 2));
  EXPECT_TRUE(blocked.remove("MemoB"));  // nothing there to delete is no failure

  ASSERT_TRUE(store.store("MemoB", value, 2));
  // The value's name taken by a folder: the rename fails, the old value stays.
  SettingsStore other(temp.storeFolder());
  fs::create_directory(temp.storeFolder() + "/DefaultMidi");
  fs::create_directory(temp.storeFolder() + "/DefaultMidi/inside");
  EXPECT_FALSE(other.store("DefaultMidi", value, 2));
  uint8_t buffer[2] = {};
  EXPECT_EQ(store.recall("MemoB", buffer, 2), 2);
  EXPECT_EQ(std::distance(fs::directory_iterator(temp.storeFolder()), fs::directory_iterator()), 2);
}

}  // namespace
}  // namespace preset_test
