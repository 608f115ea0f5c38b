// Toolkit controls the editor relies on, driven off-screen.
#include <gtest/gtest.h>

#include <string>

#include "toolkit_test_support.h"

using namespace toolkit_test;

namespace {

using ToolkitControls = FrameFixture<CFrame>;

// ---- CAnimKnob ----

class AnimKnob : public ToolkitControls {
 protected:
  void SetUp() override {
    ToolkitControls::SetUp();
    strip = makeStrip(35, 35, 101);
    knob = new CAnimKnob(CRect(100, 50, 135, 85), &listener, 2, 101, 35, strip);
    knob->setValue(0.5f);
    knob->setDefaultValue(0.25f);
    knob->setZoomFactor(5.f);
    knob->setWheelInc(1.f / 32);
    frame->addView(knob);
  }
  void TearDown() override {
    strip->forget();
    ToolkitControls::TearDown();
  }
  CBitmap* strip = nullptr;
  CAnimKnob* knob = nullptr;
};

TEST_F(AnimKnob, ShowsTheFrameOfItsValue) {
  EXPECT_EQ(shownFrame(frame, 110, 60), 50);
  knob->setValue(0.f);
  EXPECT_EQ(shownFrame(frame, 110, 60), 0);
  knob->setValue(1.f);
  EXPECT_EQ(shownFrame(frame, 110, 60), 100);
}

TEST_F(AnimKnob, LinearModeFollowsStraightMovement) {
  press(110, 60);
  move(110, 20);  // 40 up over a 200 pixel range
  EXPECT_NEAR(knob->getValue(), 0.7f, 1e-5f);
  move(130, 20);  // 20 right counts as much as 20 up
  EXPECT_NEAR(knob->getValue(), 0.8f, 1e-5f);
  release(130, 20);
  EXPECT_EQ(listener.values.size(), 2u);
  EXPECT_EQ(editor.begun, std::vector<int32_t>{2});
  EXPECT_EQ(editor.ended, std::vector<int32_t>{2});
}

TEST_F(AnimKnob, ShiftZoomsAndSwitchingItMidDragDoesNotJump) {
  press(110, 60, kLButton | kShift);
  move(110, 10, kLButton | kShift);  // 50 px over 1000
  EXPECT_NEAR(knob->getValue(), 0.55f, 1e-5f);
  move(110, 10);
  EXPECT_NEAR(knob->getValue(), 0.55f, 1e-5f);
  move(110, 0);
  EXPECT_NEAR(knob->getValue(), 0.6f, 1e-5f);
  release(110, 0);
}

TEST_F(AnimKnob, ControlClickRestoresTheDefault) {
  EXPECT_EQ(press(110, 60, kLButton | kControl), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
  EXPECT_FLOAT_EQ(knob->getValue(), 0.25f);
  EXPECT_EQ(listener.values, std::vector<float>{0.25f});
  EXPECT_EQ(editor.begun.size(), 1u);
  EXPECT_EQ(editor.ended.size(), 1u);
}

TEST_F(AnimKnob, WheelStepsByTheIncrement) {
  frame->platformOnMouseWheel(CPoint(110, 60), 1.f, 0);
  EXPECT_NEAR(knob->getValue(), 0.53125f, 1e-6f);
  EXPECT_EQ(listener.values.size(), 1u);
}

TEST_F(AnimKnob, CircularModeFollowsTheAngle) {
  editor.knobMode = kCircularMode;
  press(117.5, 52);  // straight above the centre: the middle of the sweep
  EXPECT_NEAR(knob->getValue(), 0.5f, 0.01f);
  move(133, 67.5);  // right of the centre: five sixths of the sweep
  EXPECT_NEAR(knob->getValue(), 5.f / 6, 0.01f);
  release(133, 67.5);
}

// ---- CMovieBitmap ----

TEST_F(ToolkitControls, MovieBitmapShowsTheNearestFrame) {
  CBitmap* strip = makeStrip(14, 20, 12);
  auto* digit = new CMovieBitmap(CRect(10, 10, 24, 30), nullptr, 21, 12, 20, strip);
  strip->forget();
  frame->addView(digit);
  digit->setValue(10.f / 11);
  EXPECT_EQ(shownFrame(frame, 15, 15), 10);
  digit->setValue(3.f / 11);
  EXPECT_EQ(shownFrame(frame, 15, 15), 3);
  EXPECT_EQ(press(15, 15), kMouseEventNotHandled);
}

// ---- COnOffButton ----

TEST_F(ToolkitControls, OnOffButtonToggles) {
  CBitmap* strip = makeStrip(20, 20, 2);
  auto* button = new COnOffButton(CRect(10, 10, 30, 30), &listener, 5, strip);
  strip->forget();
  frame->addView(button);
  press(15, 15);
  EXPECT_FLOAT_EQ(button->getValue(), 1.f);
  EXPECT_EQ(shownFrame(frame, 15, 15), 1);
  press(15, 15);
  EXPECT_FLOAT_EQ(button->getValue(), 0.f);
  EXPECT_EQ(listener.values, (std::vector<float>{1.f, 0.f}));
}

// ---- CKickButton ----

class PlainKickButton : public ToolkitControls {
 protected:
  void SetUp() override {
    ToolkitControls::SetUp();
    CBitmap* strip = makeStrip(20, 20, 2);
    button = new CKickButton(CRect(10, 10, 30, 30), &listener, 6, 20, strip);
    strip->forget();
    frame->addView(button);
  }
  CKickButton* button = nullptr;
};

TEST_F(PlainKickButton, PressShowsAndReleaseReports) {
  press(15, 15);
  EXPECT_FLOAT_EQ(button->getValue(), 1.f);
  EXPECT_EQ(shownFrame(frame, 15, 15), 1);
  EXPECT_TRUE(listener.values.empty());
  release(15, 15);
  EXPECT_EQ(listener.values, (std::vector<float>{1.f, 0.f}));
  EXPECT_EQ(shownFrame(frame, 15, 15), 0);
}

TEST_F(PlainKickButton, ReleaseAwayFromTheButtonOnlyResets) {
  press(15, 15);
  move(100, 100);
  EXPECT_FLOAT_EQ(button->getValue(), 0.f);
  release(100, 100);
  EXPECT_EQ(listener.values, std::vector<float>{0.f});
}

// ---- CRockerSwitch ----

TEST_F(ToolkitControls, RockerHalvesStepDownAndUp) {
  CBitmap* strip = makeStrip(30, 13, 3);
  auto* rocker = new CRockerSwitch(CRect(340, 86, 370, 99), &listener, 34, 13, strip);
  strip->forget();
  frame->addView(rocker);
  press(354, 90);
  EXPECT_FLOAT_EQ(rocker->getValue(), -1.f);
  EXPECT_EQ(shownFrame(frame, 345, 90), 0);
  release(354, 90);
  EXPECT_FLOAT_EQ(rocker->getValue(), 0.f);
  EXPECT_EQ(shownFrame(frame, 345, 90), 1);
  press(355, 90);
  EXPECT_FLOAT_EQ(rocker->getValue(), 1.f);
  release(355, 90);
  EXPECT_EQ(listener.values, (std::vector<float>{-1.f, 0.f, 1.f, 0.f}));
}

// ---- COptionMenu ----

class OptionMenu : public ToolkitControls {
 protected:
  void SetUp() override {
    ToolkitControls::SetUp();
    menu = new COptionMenu(CRect(320, 87, 333, 99), &listener, 45, nullptr, nullptr,
                           kPopupStyle | kCheckStyle | kNoTextStyle | kNoDrawStyle);
    for (const char* title : {"Alpha", "Beta", "Gamma"}) menu->addEntry(title);
    menu->setNbItemsPerColumn(17);
    menu->setCurrent(1);
    frame->addView(menu);
  }
  COptionMenu* menu = nullptr;
};

TEST_F(OptionMenu, StyleBitsHaveTheirPublishedValue) {
  EXPECT_EQ(kPopupStyle | kCheckStyle | kNoTextStyle | kNoDrawStyle, 0x1E00);
}

TEST_F(OptionMenu, ClickPopsUpWithTheCurrentEntryTicked) {
  EXPECT_EQ(press(325, 90), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
  ASSERT_EQ(frame->getOpenPopupMenu(), menu);
  const auto& entries = frame->getPopupEntries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].title, "Alpha");
  EXPECT_FALSE(entries[0].checked);
  EXPECT_TRUE(entries[1].checked);
  EXPECT_FALSE(entries[2].checked);
}

TEST_F(OptionMenu, ChoosingMakesTheEntryCurrentAndNotifies) {
  press(325, 90);
  frame->closePopupMenu(2);
  EXPECT_EQ(frame->getOpenPopupMenu(), nullptr);
  EXPECT_FLOAT_EQ(menu->getValue(), 2.f);
  EXPECT_EQ(menu->getCurrentIndex(), 2);
  EXPECT_STREQ(menu->getCurrent()->getTitle(), "Gamma");
  EXPECT_EQ(listener.values, std::vector<float>{2.f});
  press(325, 90);
  EXPECT_TRUE(frame->getPopupEntries()[2].checked);
  EXPECT_FALSE(frame->getPopupEntries()[1].checked);
}

TEST_F(OptionMenu, DismissingChangesNothing) {
  press(325, 90);
  frame->closePopupMenu(-1);
  EXPECT_EQ(menu->getCurrentIndex(), 1);
  EXPECT_TRUE(listener.values.empty());
  // A click elsewhere also dismisses an open menu.
  press(325, 90);
  press(10, 10);
  EXPECT_EQ(frame->getOpenPopupMenu(), nullptr);
  EXPECT_TRUE(listener.values.empty());
}

TEST_F(OptionMenu, SeparatorsCountOnlyWhenAsked) {
  menu->addSeparator(1);
  EXPECT_EQ(menu->getNbEntries(), 4);
  EXPECT_TRUE(menu->setCurrent(1, false));
  EXPECT_STREQ(menu->getCurrent()->getTitle(), "Beta");
  EXPECT_EQ(menu->getCurrentIndex(false), 1);
  EXPECT_EQ(menu->getCurrentIndex(true), 2);
  menu->getCurrent()->setTitle("Renamed");
  EXPECT_STREQ(menu->getEntry(2)->getTitle(), "Renamed");
}

TEST_F(OptionMenu, NoDrawStyleLeavesThePanelVisible) {
  frame->idle();
  EXPECT_EQ(pixelAt(frame->getBackBuffer(), 326, 92), CColor(0, 0, 0, 255));
  menu->setStyle(0);
  menu->setBackColor(CColor(0, 255, 0, 255));
  frame->idle();
  EXPECT_EQ(pixelAt(frame->getBackBuffer(), 326, 92), CColor(0, 255, 0, 255));
}

// ---- CTextEdit ----

class TextEdit : public ToolkitControls {
 protected:
  void SetUp() override {
    ToolkitControls::SetUp();
    field = new CTextEdit(CRect(208, 87, 320, 100), &listener, 33, "Init");
    frame->addView(field);
  }
  CTextEdit* field = nullptr;
};

TEST_F(TextEdit, EnterCommitsTheTypedText) {
  press(250, 92);
  EXPECT_TRUE(field->isEditingText());
  EXPECT_EQ(frame->getFocusView(), field);
  type("ab");
  key(VKEY_BACK);
  type("c");
  EXPECT_STREQ(field->getEditText(), "Initac");
  EXPECT_STREQ(field->getText(), "Init");
  EXPECT_TRUE(listener.values.empty());
  key(VKEY_RETURN);
  EXPECT_FALSE(field->isEditingText());
  EXPECT_STREQ(field->getText(), "Initac");
  EXPECT_EQ(listener.tags, std::vector<int32_t>{33});
  EXPECT_EQ(frame->getFocusView(), nullptr);
}

TEST_F(TextEdit, EscapeCancels) {
  press(250, 92);
  type("xyz");
  key(VKEY_ESCAPE);
  EXPECT_FALSE(field->isEditingText());
  EXPECT_STREQ(field->getText(), "Init");
  EXPECT_TRUE(listener.values.empty());
}

TEST_F(TextEdit, BackspaceRemovesWholeCharactersAndClickElsewhereCommits) {
  field->setText("");
  press(250, 92);
  key(0, 0xe9);  // é: two bytes in UTF-8
  type("x");
  key(VKEY_BACK);
  EXPECT_STREQ(field->getEditText(), "\xc3\xa9");
  key(VKEY_BACK);
  key(VKEY_BACK);
  EXPECT_STREQ(field->getEditText(), "");
  type("Z");
  press(10, 10);
  EXPECT_STREQ(field->getText(), "Z");
  EXPECT_EQ(listener.values.size(), 1u);
}

TEST_F(TextEdit, KeysReachTheFieldOnlyWhileEditing) {
  VstKeyCode code{'q', 0, 0};
  EXPECT_FALSE(frame->platformOnKeyDown(code));
  EXPECT_STREQ(field->getText(), "Init");
}

// ---- CParamDisplay ----

TEST_F(ToolkitControls, ParamDisplayUsesItsConversionFontAndColours) {
  auto* display = new CParamDisplay(CRect(10, 10, 110, 30));
  display->setStringConvert([](float value, char* text) {
    std::snprintf(text, kParamDisplayTextSize, "CC %d", static_cast<int>(value * 100));
  });
  display->setValue(0.07f);
  display->setFont(kNormalFontVerySmall);
  display->setFontColor(CColor(255, 255, 0, 255));
  display->setBackColor(CColor(0, 0, 255, 255));
  display->setFrameColor(CColor(255, 0, 0, 255));
  display->setHoriAlign(kLeftText);
  frame->addView(display);
  EXPECT_EQ(display->getDisplayText(), "CC 7");
  EXPECT_DOUBLE_EQ(display->getFont().getSize(), 9);
  frame->idle();
  cairo_surface_t* pixels = frame->getBackBuffer();
  EXPECT_EQ(pixelAt(pixels, 10, 10), CColor(255, 0, 0, 255));   // frame
  EXPECT_EQ(pixelAt(pixels, 100, 20), CColor(0, 0, 255, 255));  // back
  int yellow = 0, rightHalfYellow = 0;
  for (int y = 11; y < 29; ++y)
    for (int x = 11; x < 109; ++x)
      if (pixelAt(pixels, x, y).red > 128) {
        ++yellow;
        if (x > 60) ++rightHalfYellow;
      }
  EXPECT_GT(yellow, 5);
  EXPECT_EQ(rightHalfYellow, 0) << "left-aligned text";
}

TEST_F(ToolkitControls, TextFieldTooNarrowForItsTextShowsItsStart) {
  // A letter and a long run of spaces: centred, the letter would lie left of
  // the field and nothing would show.
  char text[64];
  std::snprintf(text, sizeof text, "W%50s", "");
  auto* display = new CTextEdit(CRect(10, 10, 110, 30), &listener, 33, text);
  display->setFont(kNormalFontVerySmall);
  display->setFontColor(CColor(255, 255, 0, 255));
  display->setBackColor(CColor(0, 0, 255, 255));
  display->setHoriAlign(kCenterText);
  frame->addView(display);
  frame->idle();
  cairo_surface_t* pixels = frame->getBackBuffer();
  int leftYellow = 0;
  for (int y = 11; y < 29; ++y)
    for (int x = 11; x < 30; ++x)
      if (pixelAt(pixels, x, y).red > 128) ++leftYellow;
  EXPECT_GT(leftYellow, 5);
}

// ---- CSplashScreen ----

TEST_F(ToolkitControls, SplashScreenOpensAndClosesItsPicture) {
  CBitmap* picture = makeStrip(100, 50, 1);
  auto* splash = new CSplashScreen(CRect(0, 0, 10, 10), &listener, 9, picture,
                                   CRect(50, 50, 150, 100));
  picture->forget();
  frame->addView(splash);
  press(5, 5);
  EXPECT_FLOAT_EQ(splash->getValue(), 1.f);
  ASSERT_NE(frame->getModalView(), nullptr);
  EXPECT_EQ(shownFrame(frame, 60, 60), 0);
  EXPECT_EQ(pixelAt(frame->getBackBuffer(), 60, 60), frameColour(0));
  press(60, 60);
  EXPECT_EQ(frame->getModalView(), nullptr);
  EXPECT_FLOAT_EQ(splash->getValue(), 0.f);
}

}  // namespace
