// What the effect and the record decoders show in the preset bar's controls
// when they exist: learn and clear buttons released, names in the name field
// and the program menu.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/toolkit/ccontrol.h"
#include "editor/toolkit/coptionmenu.h"
#include "editor/toolkit/ctextedit.h"
#include "tests/presets/preset_test_support.h"

namespace preset_test {
namespace {

struct Forget {
  void operator()(CBaseObject* object) const { object->forget(); }
};
template <typename T>
using Owned = std::unique_ptr<T, Forget>;

// The preset-system editor with its bar controls attached as an open window
// would have them.
class BarEditor : public CPresetSystemEditor {
 public:
  using CPresetSystemEditor::CPresetSystemEditor;
  void attach(CTextEdit* field, COptionMenu* menu, CControl* learn, CControl* clear) {
    programNameField = field;
    programMenu = menu;
    learnButton = learn;
    clearButton = clear;
    controlGate.opened();  // as at the end of opening the window
  }
  void detach() {
    controlGate.closing();
    programNameField = nullptr;
    programMenu = nullptr;
    learnButton = clearButton = nullptr;
  }
};

class PresetBarState : public ::testing::Test {
 protected:
  void SetUp() override {
    bar = new BarEditor(&fx);  // the effect owns it
    for (VstInt32 k = 0; k < kNumPrograms; ++k) {
      char name[kProgramNameLength + 1];
      readProgramName(fx.getPrograms()[k], name);
      menu->addEntry(name);
    }
    bar->attach(field.get(), menu.get(), learn.get(), clear.get());
  }
  void TearDown() override { bar->detach(); }
  std::string menuTitle(int index) { return menu->getEntry(index)->getTitle(); }

  ScopedSettingsFolder temp;
  TestPresetEffect fx{nullptr, false};
  BarEditor* bar = nullptr;
  Owned<CTextEdit> field{new CTextEdit(CRect(208, 87, 320, 100), nullptr, 33)};
  Owned<COptionMenu> menu{new COptionMenu(CRect(320, 87, 333, 99), nullptr, 45)};
  Owned<CControl> learn{new CControl(CRect(788, 85, 812, 101), nullptr, 40)};
  Owned<CControl> clear{new CControl(CRect(813, 85, 837, 101), nullptr, 44)};
};

TEST_F(PresetBarState, LeavingLearnOrClearReleasesItsButton) {
  learn->setValue(1.0f);
  fx.startLearn();
  fx.stopLearn();
  EXPECT_EQ(learn->getValue(), 0.0f);

  learn->setValue(1.0f);
  fx.startLearn();
  fx.setParameter(kCCFirst - 1, 0.5f);  // touches the last sound parameter
  MidiBatch cc{controlChange(1, 10, 5)};
  fx.processEvents(cc.list);  // learning ends with the binding
  EXPECT_EQ(learn->getValue(), 0.0f);

  clear->setValue(1.0f);
  fx.startClear();
  fx.setParameter(0, 0.25f);  // clear mode ends with the next touched parameter
  EXPECT_FALSE(fx.isClearing());
  EXPECT_EQ(clear->getValue(), 0.0f);
}

TEST_F(PresetBarState, HostRenameShowsInFieldAndMenu) {
  fx.selectProgram(6);
  menu->setCurrent(6, false);
  char name[] = "renamed by the host, longer than the field";
  fx.setProgramName(name);
  EXPECT_STREQ(field->getText(), "renamed by the host, lon");
  EXPECT_EQ(menuTitle(6), "renamed by the host, lon");
  EXPECT_EQ(menuTitle(5), "light flanger");
}

TEST_F(PresetBarState, AppliedNameReachesBarAndProgram) {
  fx.selectProgram(2);
  menu->setCurrent(2, false);
  bar->applyProgramName("typed name");
  EXPECT_STREQ(field->getText(), "typed name");
  EXPECT_EQ(menuTitle(2), "typed name");
  EXPECT_STREQ(fx.getPrograms()[2].name, "typed name");
}

TEST_F(PresetBarState, LoadedBankRetitlesTheMenuAndShowsProgramZero) {
  TestPresetEffect source;
  for (VstInt32 k = 0; k < kNumPrograms; ++k) {
    source.selectProgram(k);
    source.renameCurrentProgram(("bank program " + std::to_string(k)).c_str());
  }
  std::vector<unsigned char> bank(kBankFileSize, 0);
  source.presets()->saveBankData(bank.data());

  fx.selectProgram(9);
  menu->setCurrent(9, false);
  bar->loadBankData(bank.data(), false);
  for (int k = 0; k < kNumPrograms; ++k) EXPECT_EQ(menuTitle(k), "bank program " + std::to_string(k));
  EXPECT_EQ(menu->getCurrentIndex(), 0);
  EXPECT_STREQ(field->getText(), "bank program 0");
}

}  // namespace
}  // namespace preset_test
