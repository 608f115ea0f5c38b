// Start-up defaults, memories and file locations on the real plug-in: what
// one instance stores, the next one starts with.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "effect/parameters.h"
#include "presets/factory_programs.h"
#include "tests/presets/preset_test_support.h"

namespace preset_test {
namespace {

namespace fs = std::filesystem;

class StartupDefaults : public ::testing::Test {
 protected:
  // Edits the current program so it differs from every factory program.
  static void editCurrent(PluginInstance& plugin, float mix, const char* name) {
    plugin.set(kMix, mix);
    plugin.set(kRate, 0.3125f);
    plugin.effect().renameCurrentProgram(name);
  }
  static const ProgramRecord& program(PluginInstance& plugin, int k) {
    return plugin.effect().getPrograms()[k];
  }
  static bool isFactory(PluginInstance& plugin, int k, int factory) {
    const ProgramRecord& p = program(plugin, k);
    if (std::string(p.name, strnlen(p.name, 24)) != kFactoryPrograms[factory].name) return false;
    for (int i = 0; i < kNumParams; ++i)
      if (p.values[i] != kFactoryPrograms[factory].values[i]) return false;
    return true;
  }
  std::string valuePath(const char* name) { return temp.storeFolder() + "/" + name; }

  ScopedSettingsFolder temp;
};

TEST_F(StartupDefaults, FirstRunStartsFactoryFreshAndWritesOnlyAtClose) {
  auto plugin = std::make_unique<PluginInstance>();
  for (int k = 0; k < kNumPrograms; ++k) EXPECT_TRUE(isFactory(*plugin, k, k)) << k;
  EXPECT_EQ(plugin->effect().getCurrentProgramIndex(), 0);
  EXPECT_EQ(plugin->programName(0), "default");
  EXPECT_EQ(plugin->effect().getControllerOfParameter(kInput), kNotAssigned);
  EXPECT_STREQ(plugin->presets().getCurrentFolder(), "");
  EXPECT_STREQ(plugin->presets().getBankFileName(), "");
  EXPECT_FALSE(fs::exists(temp.path() + "/Qelworks"));

  plugin.reset();
  for (const char* name : {"CurrDir", "CurrBank", "CurrPreset", "CurrMidi"}) {
    ASSERT_TRUE(fs::exists(valuePath(name))) << name;
    EXPECT_EQ(fs::file_size(valuePath(name)), 0u) << name;
  }
  EXPECT_FALSE(fs::exists(valuePath("DefaultBank")));
}

TEST_F(StartupDefaults, DefaultPresetBecomesProgramZeroOfTheNextInstance) {
  {
    PluginInstance first;
    first.effect().selectProgram(5);
    first.presets().storeDefaultPreset();
  }
  PluginInstance next;
  EXPECT_TRUE(isFactory(next, 0, 5));
  for (int k = 1; k < kNumPrograms; ++k) EXPECT_TRUE(isFactory(next, k, k)) << k;
  EXPECT_EQ(next.effect().getCurrentProgramIndex(), 0);
  EXPECT_FLOAT_EQ(next.get(kMix), kFactoryPrograms[5].values[kMix]);
}

TEST_F(StartupDefaults, BankThenPresetAndClearingThePreset) {
  {
    PluginInstance first;
    for (int k = 0; k < kNumPrograms; ++k) {
      first.effect().selectProgram(k);
      editCurrent(first, 0.01f * static_cast<float>(k), "from the bank");
    }
    first.presets().storeDefaultBank();
    first.effect().selectProgram(9);
    editCurrent(first, 0.875f, "the preset");
    first.presets().storeDefaultPreset();
  }
  {
    PluginInstance next;
    EXPECT_STREQ(program(next, 0).name, "the preset");
    EXPECT_EQ(program(next, 0).values[kMix], 0.875f);
    for (int k = 1; k < kNumPrograms; ++k) {
      EXPECT_STREQ(program(next, k).name, "from the bank") << k;
      EXPECT_EQ(program(next, k).values[kMix], 0.01f * static_cast<float>(k)) << k;
    }
    next.presets().clearDefaultPreset();
  }
  {
    PluginInstance next;
    EXPECT_STREQ(program(next, 0).name, "from the bank");
    EXPECT_EQ(program(next, 0).values[kMix], 0.0f);
    next.presets().clearDefaultBank();
  }
  PluginInstance last;
  EXPECT_TRUE(isFactory(last, 0, 0));
  EXPECT_FALSE(fs::exists(valuePath("DefaultBank")));
  EXPECT_FALSE(fs::exists(valuePath("DefaultPreset")));
}

TEST_F(StartupDefaults, MemoryRecallRestoresOnlyTheCurrentProgram) {
  PluginInstance plugin;
  plugin.effect().selectProgram(3);
  editCurrent(plugin, 0.625f, "compare me");
  plugin.presets().storeMemoA();
  plugin.presets().storeMemoB();  // a second slot of its own
  const ProgramRecord stored = program(plugin, 3);
  const std::vector<uint8_t> before = storeBytes(plugin.effect());

  editCurrent(plugin, 0.125f, "changed");
  plugin.presets().recallMemoA();
  EXPECT_EQ(storeBytes(plugin.effect()), before);
  EXPECT_EQ(std::memcmp(&program(plugin, 3), &stored, sizeof(ProgramRecord)), 0);
  EXPECT_FLOAT_EQ(plugin.get(kMix), 0.625f);
  EXPECT_EQ(plugin.programName(0), "default");  // what the host sees for index 0

  plugin.effect().selectProgram(4);
  plugin.presets().recallMemoB();
  EXPECT_STREQ(program(plugin, 4).name, "compare me");
}

TEST_F(StartupDefaults, ShortDefaultPresetStillLoads) {
  {
    PluginInstance first;
    first.effect().selectProgram(6);
    editCurrent(first, 0.5f, "short one");
    first.presets().storeDefaultPreset();
  }
  fs::resize_file(valuePath("DefaultPreset"), 29 + 4 * 3);  // name and three values
  PluginInstance next;
  EXPECT_STREQ(program(next, 0).name, "short one");
  EXPECT_EQ(program(next, 0).values[kInput], kFactoryPrograms[6].values[kInput]);
  EXPECT_EQ(program(next, 0).values[kMix], 0.5f);
  for (int i = 3; i < kNumParams; ++i) EXPECT_EQ(program(next, 0).values[i], 0.0f) << i;
}

TEST_F(StartupDefaults, DefaultMidiBindingsReachNewInstancesUntilCleared) {
  {
    PluginInstance first;
    first.set(kCCFirst + kFbck, controllerValue(74));
    first.effect().startLearn();
    first.set(kRate, 0.5f);
    first.send(MidiBatch{controlChange(2, 1, 64)});  // learned bindings are stored too
    first.presets().storeDefaultMidi();
  }
  {
    PluginInstance next;
    EXPECT_EQ(next.effect().getControllerOfParameter(kFbck), 74);
    EXPECT_EQ(next.effect().getControllerOfParameter(kRate), 1);
    next.send(MidiBatch{controlChange(1, 74, 127)});
    EXPECT_EQ(next.get(kFbck), 1.0f);
    next.presets().clearDefaultMidi();
  }
  PluginInstance last;
  EXPECT_EQ(last.effect().getControllerOfParameter(kFbck), kNotAssigned);
  EXPECT_EQ(last.get(kCCFirst + kRate), notAssignedValue());
}

TEST_F(StartupDefaults, FileLocationsComeBackAndForeignValuesAreIgnored) {
  fs::create_directories(temp.storeFolder());
  std::ofstream(valuePath("CurrDir")) << "/home/someone/presets/";
  std::ofstream(valuePath("CurrPreset")) << "warm echo.qel";
  std::ofstream(valuePath("DefaultPreset")) << std::string(101, 'z');  // not ours
  {
    PluginInstance plugin;
    EXPECT_STREQ(plugin.presets().getCurrentFolder(), "/home/someone/presets/");
    EXPECT_STREQ(plugin.presets().getPresetFileName(), "warm echo.qel");
    EXPECT_STREQ(plugin.presets().getMidiFileName(), "");
    EXPECT_TRUE(isFactory(plugin, 0, 0));
  }
  std::ifstream in(valuePath("CurrDir"));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "/home/someone/presets/");
}

}  // namespace
}  // namespace preset_test
