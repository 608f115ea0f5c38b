// The editor base between a real base effect and a frame: the host hears the
// edit gestures of parameters only, keys and wheel reach the views.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "editor/controls/cinvisibleslider.h"
#include "editor/toolkit/aeffguieditor.h"
#include "toolkit_test_support.h"

using namespace toolkit_test;

namespace {

constexpr VstInt32 kParams = 36;
std::vector<std::pair<VstInt32, VstInt32>> hostCalls;  // opcode, index

VstIntPtr hostCallback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float) {
  if (opcode == audioMasterVersion) return 2400;
  hostCalls.emplace_back(opcode, index);
  return 1;
}

struct TestEffect : AudioEffectX {
  TestEffect() : AudioEffectX(hostCallback, 1, kParams) {}
  void processReplacing(float**, float**, VstInt32) override {}
};

struct TestEditor : AEffGUIEditor {
  explicit TestEditor(AudioEffect* effect) : AEffGUIEditor(effect) {
    rect = {0, 0, 101, 870};
  }
  bool open(void* ptr) override {
    AEffGUIEditor::open(ptr);
    frame = new CFrame(CRect(0, 0, 870, 101), ptr, this);
    slider = new CInvisibleSlider(CRect(10, 10, 60, 60), &listener, 3);
    frame->addView(slider);
    field = new CTextEdit(CRect(100, 10, 200, 30), &listener, 33, "");
    frame->addView(field);
    return true;
  }
  RecordingListener listener;
  CInvisibleSlider* slider = nullptr;
  CTextEdit* field = nullptr;
};

class GuiEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    hostCalls.clear();
    editor = new TestEditor(&effect);  // the effect owns and deletes it
  }
  TestEffect effect;
  TestEditor* editor = nullptr;
};

TEST_F(GuiEditor, RegistersWithTheEffectAndReportsItsRectangle) {
  EXPECT_EQ(effect.getEditor(), editor);
  EXPECT_TRUE(effect.getAeffect()->flags & effFlagsHasEditor);
  ERect* rect = nullptr;
  ASSERT_TRUE(editor->getRect(&rect));
  EXPECT_EQ(rect->right, 870);
  EXPECT_EQ(rect->bottom, 101);
}

TEST_F(GuiEditor, OpenAndCloseOffscreen) {
  EXPECT_FALSE(editor->isOpen());
  EXPECT_TRUE(editor->open(nullptr));
  EXPECT_TRUE(editor->isOpen());
  ASSERT_NE(editor->getFrame(), nullptr);
  EXPECT_TRUE(editor->getFrame()->isOffscreen());
  editor->idle();
  editor->close();
  EXPECT_FALSE(editor->isOpen());
  EXPECT_EQ(editor->getFrame(), nullptr);
  editor->idle();  // closed: nothing to do, nothing breaks
}

TEST_F(GuiEditor, GesturesOfParametersReachTheHost) {
  editor->open(nullptr);
  CFrame* frame = editor->getFrame();
  frame->platformOnMouseDown(CPoint(20, 20), kLButton);
  frame->platformOnMouseUp(CPoint(20, 20), kLButton);
  EXPECT_EQ(hostCalls, (std::vector<std::pair<VstInt32, VstInt32>>{{audioMasterBeginEdit, 3},
                                                                   {audioMasterEndEdit, 3}}));
  hostCalls.clear();
  editor->beginEdit(kParams);
  editor->endEdit(-1);
  EXPECT_TRUE(hostCalls.empty()) << "tags beyond the parameters stay inside the editor";
  editor->close();
}

TEST_F(GuiEditor, WheelGoesToTheViewUnderThePointer) {
  editor->open(nullptr);
  EXPECT_FALSE(editor->onWheel(1.f)) << "no pointer position yet";
  editor->getFrame()->platformOnMouseMoved(CPoint(20, 20), 0);
  editor->slider->setValue(0.5f);
  EXPECT_TRUE(editor->onWheel(1.f));
  EXPECT_NEAR(editor->slider->getValue(), 0.505f, 1e-6f);
  editor->close();
}

TEST_F(GuiEditor, HostKeysReachTheFieldBeingEdited) {
  editor->open(nullptr);
  VstKeyCode a{'a', 0, 0};
  EXPECT_FALSE(editor->onKeyDown(a)) << "unused keys go back to the host";
  editor->getFrame()->platformOnMouseDown(CPoint(150, 20), kLButton);
  EXPECT_TRUE(editor->onKeyDown(a));
  VstKeyCode enter{0, VKEY_RETURN, 0};
  EXPECT_TRUE(editor->onKeyDown(enter));
  EXPECT_STREQ(editor->field->getText(), "a");
  editor->close();
}

TEST_F(GuiEditor, KnobModeIsSharedWithTheFrame) {
  EXPECT_TRUE(editor->setKnobMode(kLinearMode));
  editor->open(nullptr);
  EXPECT_EQ(editor->getFrame()->getKnobMode(), kLinearMode);
  editor->setKnobMode(kCircularMode);
  EXPECT_EQ(editor->getFrame()->getKnobMode(), kCircularMode);
  editor->close();
}

TEST_F(GuiEditor, TicksCountMilliseconds) {
  const uint32_t start = editor->getTicks();
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  const uint32_t elapsed = editor->getTicks() - start;
  EXPECT_GE(elapsed, 29u);
  EXPECT_LT(elapsed, 2000u);
}

}  // namespace
