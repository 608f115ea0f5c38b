// The preset bar with synthetic mouse and key events: rocker, menu, name
// field, default labels, memories, learn and clear.
#include "tests/editor_panel/panel_test_support.h"

#include <cstring>

#include "editor/preset_bar_controls.h"
#include "presets/record_formats.h"

namespace panel_test {
namespace {

using namespace presetbar;
using namespace layout;

class PresetBar : public PanelTest {
 protected:
  std::string programName(VstInt32 index) {
    char name[kProgramNameLength + 1];
    readProgramName(fx->getPrograms()[index], name);
    return name;
  }
  std::string nameField() { return static_cast<CTextEdit*>(control(kTagName))->getText(); }
  COptionMenu* menu() { return static_cast<COptionMenu*>(control(kTagMenu)); }
  bool stored(const char* value) {
    unsigned char buffer[kBankFileSize];
    return editor->settingsStore().recall(value, buffer, sizeof buffer) >= 0;
  }
  void sendControlChange(int controller, int value) {
    VstMidiEvent event{};
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.midiData[0] = static_cast<char>(0xB0);
    event.midiData[1] = static_cast<char>(controller);
    event.midiData[2] = static_cast<char>(value);
    VstEvents list{};
    list.numEvents = 1;
    list.events[0] = reinterpret_cast<VstEvent*>(&event);
    fx->processEvents(&list);
  }
  CPoint leftHalf() { return CPoint(kRockerRect.left + 3, kRockerRect.top + 5); }
  CPoint rightHalf() { return CPoint(kRockerRect.right - 3, kRockerRect.top + 5); }
};

TEST_F(PresetBar, OpensWithTheCurrentProgramAndFittedNameField) {
  EXPECT_EQ(nameField(), programName(fx->getCurrentProgramIndex()));
  EXPECT_EQ(control(kTagName)->getViewSize(), CRect(208, 87, 320, 100));
  ASSERT_EQ(menu()->getNbEntries(), 17);
  EXPECT_EQ(menu()->getNbItemsPerColumn(), 17);
  EXPECT_EQ(menu()->getStyle(), 0x1E00);
  for (int k = 0; k < 17; ++k) EXPECT_EQ(menu()->getEntry(k)->getTitle(), programName(k));
}

// The layout fits the name field to the bar's font size; the field must be
// set in that size for the text to sit in its well.
TEST_F(PresetBar, NameFieldIsSetInTheFontSizeItsRectangleIsFittedTo) {
  const auto* field = static_cast<CTextEdit*>(control(kTagName));
  EXPECT_EQ(field->getFont().getSize(), kBarFontSize);
  const auto* display = static_cast<CParamDisplay*>(control(kTagControllerDisplay));
  EXPECT_EQ(display->getFont().getSize(), kBarFontSize);
}

TEST_F(PresetBar, RockerStepsWithinTheProgramsAndTheMenuFollows) {
  fx->selectProgram(3);
  click(rightHalf());
  EXPECT_EQ(fx->getCurrentProgramIndex(), 4);
  EXPECT_EQ(menu()->getCurrentIndex(), 4);
  EXPECT_EQ(nameField(), programName(4));
  click(leftHalf());
  click(leftHalf());
  EXPECT_EQ(fx->getCurrentProgramIndex(), 2);
  EXPECT_EQ(menu()->getCurrentIndex(), 2);
  EXPECT_EQ(control(kTagRocker)->getValue(), 0.f);  // back at rest after the release

  fx->selectProgram(16);
  const std::string last = programName(16);
  click(rightHalf());
  EXPECT_EQ(fx->getCurrentProgramIndex(), 16);
  EXPECT_EQ(programName(16), last);
  fx->selectProgram(0);
  click(leftHalf());
  EXPECT_EQ(fx->getCurrentProgramIndex(), 0);
}

TEST_F(PresetBar, RockerShowsWhichHalfIsPointedAt) {
  auto* rocker = static_cast<CPSRockerSwitch*>(control(kTagRocker));
  hover(leftHalf());
  EXPECT_EQ(rocker->getHoverSide(), -1);
  hover(rightHalf());
  EXPECT_EQ(rocker->getHoverSide(), 1);
  hover(CPoint(5, 5));
  EXPECT_EQ(rocker->getHoverSide(), 0);
}

TEST_F(PresetBar, MenuSelectsAProgramAndTicksTheCurrentOne) {
  click(centre(kMenuRect));
  ASSERT_EQ(frame->getOpenPopupMenu(), menu());
  frame->closePopupMenu(5);
  EXPECT_EQ(fx->getCurrentProgramIndex(), 5);
  EXPECT_EQ(nameField(), programName(5));
  click(rightHalf());
  click(centre(kMenuRect));
  const std::vector<PopupMenuEntry>& entries = frame->getPopupEntries();
  ASSERT_EQ(entries.size(), 17u);
  for (int k = 0; k < 17; ++k) EXPECT_EQ(entries[k].checked, k == 6) << k;
  frame->closePopupMenu(-1);
  EXPECT_EQ(fx->getCurrentProgramIndex(), 6);
}

TEST_F(PresetBar, DoubleClickOnTheMenuButtonChoosesNothing) {
  click(centre(kMenuRect));
  frame->closePopupMenu(3);
  ASSERT_EQ(fx->getCurrentProgramIndex(), 3);
  doubleClick(centre(kMenuRect));
  EXPECT_EQ(fx->getCurrentProgramIndex(), 3);
  EXPECT_EQ(nameField(), programName(3));
  frame->closePopupMenu(-1);
  EXPECT_EQ(fx->getCurrentProgramIndex(), 3);
}

TEST_F(PresetBar, EscapeClosesTheMenuWithoutAChoice) {
  fx->selectProgram(3);
  hover(centre(kMenuRect));
  click(centre(kMenuRect));
  ASSERT_EQ(frame->getOpenPopupMenu(), menu());
  // The host hands keys to the editor.
  VstKeyCode escape{0, VKEY_ESCAPE, 0};
  EXPECT_TRUE(editor->onKeyDown(escape));
  EXPECT_EQ(frame->getOpenPopupMenu(), nullptr);
  EXPECT_EQ(fx->getCurrentProgramIndex(), 3);
}

TEST_F(PresetBar, TypedNameIsCutTo24Characters) {
  const std::string typed = "abcdefghijklmnopqrstuvwxyz1234";  // 30
  click(centre(control(kTagName)->getViewSize()));
  for (int i = 0; i < 24; ++i) typeKey(VKEY_BACK, VKEY_BACK);
  for (char c : typed) typeKey(c);
  typeKey(0, VKEY_RETURN);
  const std::string kept = typed.substr(0, 24);
  EXPECT_EQ(nameField(), kept);
  EXPECT_EQ(menu()->getCurrent()->getTitle(), kept);
  EXPECT_EQ(std::memcmp(fx->getPrograms()[fx->getCurrentProgramIndex()].name, kept.data(), 24), 0);
}

TEST_F(PresetBar, TypedNameNeverEndsInHalfACharacter) {
  const std::string letters = "abcdefghijklmnopqrstuvw";  // 23
  click(centre(control(kTagName)->getViewSize()));
  for (int i = 0; i < 24; ++i) typeKey(VKEY_BACK, VKEY_BACK);
  for (char c : letters) typeKey(c);
  typeKey(0xe9);  // é: two bytes, one too many for the field
  typeKey(0xe9);
  typeKey(0, VKEY_RETURN);
  EXPECT_EQ(nameField(), letters);
  EXPECT_EQ(menu()->getCurrent()->getTitle(), letters);
  EXPECT_EQ(programName(fx->getCurrentProgramIndex()), letters);
  EXPECT_EQ(fx->getPrograms()[fx->getCurrentProgramIndex()].name[23], 0);

  // One two-byte character still fits after 22 letters.
  click(centre(control(kTagName)->getViewSize()));
  typeKey(VKEY_BACK, VKEY_BACK);
  typeKey(0xe9);
  typeKey(0, VKEY_RETURN);
  EXPECT_EQ(nameField(), letters.substr(0, 22) + "\xc3\xa9");
}

TEST_F(PresetBar, LabelsStoreOnDoubleClickAndClearWithControl) {
  click(centre(kBankLabelRect));
  EXPECT_FALSE(stored("DefaultBank"));
  doubleClick(centre(kBankLabelRect));
  EXPECT_TRUE(stored("DefaultBank"));
  doubleClick(centre(kBankLabelRect), kControl);
  EXPECT_FALSE(stored("DefaultBank"));

  click(centre(kPresetLabelRect));
  EXPECT_FALSE(stored("DefaultPreset"));
  doubleClick(centre(kPresetLabelRect));
  EXPECT_TRUE(stored("DefaultPreset"));
  doubleClick(centre(kPresetLabelRect), kControl);
  EXPECT_FALSE(stored("DefaultPreset"));

  click(centre(kMidiLabelRect));
  EXPECT_FALSE(stored("DefaultMidi"));
  doubleClick(centre(kMidiLabelRect));
  EXPECT_TRUE(stored("DefaultMidi"));
  doubleClick(centre(kMidiLabelRect), kControl);
  EXPECT_FALSE(stored("DefaultMidi"));
}

TEST_F(PresetBar, MemoriesCompareTwoSettings) {
  set(kMix, 0.2f);
  click(centre(kStoreMemoARect));
  set(kMix, 0.9f);
  click(centre(kStoreMemoBRect));
  click(centre(kRecallMemoARect));
  EXPECT_FLOAT_EQ(param(kMix), 0.2f);
  EXPECT_FLOAT_EQ(control(kMix)->getValue(), 0.2f);
  click(centre(kRecallMemoBRect));
  EXPECT_FLOAT_EQ(param(kMix), 0.9f);
}

TEST_F(PresetBar, LearnAndClearExcludeEachOther) {
  CControl* learn = control(kTagLearn);
  CControl* clear = control(kTagClear);
  click(centre(kLearnRect));
  EXPECT_EQ(learn->getValue(), 1.f);
  click(centre(kClearRect));
  EXPECT_EQ(clear->getValue(), 1.f);
  EXPECT_EQ(learn->getValue(), 0.f);
  click(centre(kLearnRect));
  EXPECT_EQ(learn->getValue(), 1.f);
  EXPECT_EQ(clear->getValue(), 0.f);
  click(centre(kLearnRect));
  EXPECT_EQ(learn->getValue(), 0.f);
  // A click on a knob in clear mode removes its binding.
  fx->assignController(kFbInv, 20);
  click(centre(kClearRect));
  click(centre(layout::kFbInvRect));
  EXPECT_EQ(fx->getControllerOfParameter(kFbInv), kNotAssigned);
  EXPECT_EQ(clear->getValue(), 0.f);
}

TEST_F(PresetBar, OpeningTheWindowEndsLearnMode) {
  click(centre(kLearnRect));
  ASSERT_EQ(control(kTagLearn)->getValue(), 1.f);
  editor->close();
  ASSERT_TRUE(editor->open(nullptr));
  frame = editor->getFrame();
  EXPECT_EQ(control(kTagLearn)->getValue(), 0.f);
  // Not learning any more: touching a control and moving a controller binds nothing.
  click(centre(layout::kFbInvRect));
  sendControlChange(21, 100);
  EXPECT_EQ(fx->getControllerOfParameter(kFbInv), kNotAssigned);
  // While learning, the same gesture binds.
  click(centre(kLearnRect));
  click(centre(layout::kFbInvRect));
  sendControlChange(21, 100);
  EXPECT_EQ(fx->getControllerOfParameter(kFbInv), 21);
  EXPECT_EQ(control(kTagLearn)->getValue(), 0.f);
}

TEST_F(PresetBar, LearnAndClearLightWhenPointedAt) {
  auto* learn = static_cast<CPSOnOffButton*>(control(kTagLearn));
  auto* clear = static_cast<CPSOnOffButton*>(control(kTagClear));
  EXPECT_FALSE(learn->isHovered());
  hover(centre(kLearnRect));
  EXPECT_TRUE(learn->isHovered());
  EXPECT_FALSE(clear->isHovered());
  hover(centre(kClearRect));
  EXPECT_FALSE(learn->isHovered());
  EXPECT_TRUE(clear->isHovered());
  hover(CPoint(5, 5));
  EXPECT_FALSE(clear->isHovered());
}

TEST_F(PresetBar, ButtonsLightWhenPointedAt) {
  auto* load = static_cast<CSaveLoadButton*>(control(kTagLoadBank));
  auto* label = static_cast<CPSKickButton*>(control(kTagBankLabel));
  hover(centre(kLoadBankRect));
  EXPECT_TRUE(load->isHovered());
  hover(centre(kBankLabelRect));
  EXPECT_FALSE(load->isHovered());
  EXPECT_TRUE(label->isHovered());
  VstKeyCode key{};
  key.virt = VKEY_RETURN;
  EXPECT_EQ(load->onKeyDown(key), -1);
}

}  // namespace
}  // namespace panel_test
