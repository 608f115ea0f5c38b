// The editor's own controls driven with synthetic events on an off-screen frame.
#include <gtest/gtest.h>

#include "editor/controls/cabout.h"
#include "editor/controls/cinvisibleslider.h"
#include "editor/controls/myframe.h"
#include "editor/controls/qelkickbutton.h"
#include "editor/controls/qelonoffbutton.h"
#include "editor/controls/qelswitch.h"
#include "toolkit_test_support.h"

using namespace toolkit_test;

namespace {

constexpr float kTolerance = 1e-5f;

using CustomControls = FrameFixture<MyFrame>;

// ---- CInvisibleSlider ----

class InvisibleSlider : public CustomControls {
 protected:
  void SetUp() override {
    CustomControls::SetUp();
    slider = new CInvisibleSlider(CRect(100, 50, 200, 100), &listener, 30);
    slider->setValue(0.5f);
    frame->addView(slider);
  }
  CInvisibleSlider* slider = nullptr;
};

TEST_F(InvisibleSlider, HundredPixelsUpRaiseByATenth) {
  EXPECT_EQ(press(150, 80), kMouseEventHandled);
  move(150, -20);
  EXPECT_NEAR(slider->getValue(), 0.6f, kTolerance);
  release(150, -20);
  EXPECT_FALSE(slider->isDragging());
}

TEST_F(InvisibleSlider, TwoHundredPixelsRightRaiseByATenth) {
  press(110, 60);
  move(310, 60);
  EXPECT_NEAR(slider->getValue(), 0.6f, kTolerance);
}

TEST_F(InvisibleSlider, ShiftAtThePressDragsFourTimesFiner) {
  press(150, 80, kLButton | kShift);
  move(150, -20, kLButton | kShift);
  EXPECT_NEAR(slider->getValue(), 0.525f, kTolerance);
}

TEST_F(InvisibleSlider, ShiftDuringTheDragContinuesWithoutAJump) {
  press(150, 80);
  move(150, 30);
  EXPECT_NEAR(slider->getValue(), 0.55f, kTolerance);
  // Shift goes down where the pointer is: no jump.
  move(150, 30, kLButton | kShift);
  EXPECT_NEAR(slider->getValue(), 0.55f, kTolerance);
  // 50 pixels at range/5000 per pixel.
  move(150, -20, kLButton | kShift);
  EXPECT_NEAR(slider->getValue(), 0.56f, kTolerance);
  // Shift released: again no jump, then range/1000 per pixel.
  move(150, -20);
  EXPECT_NEAR(slider->getValue(), 0.56f, kTolerance);
  move(150, -70);
  EXPECT_NEAR(slider->getValue(), 0.61f, kTolerance);
}

TEST_F(InvisibleSlider, ClampingKeepsTheAnchor) {
  slider->setValue(0.9f);
  press(150, 80);
  move(150, -20);  // reaches 1.0 here
  move(150, -220);
  EXPECT_FLOAT_EQ(slider->getValue(), 1.f);
  move(150, -120);
  EXPECT_FLOAT_EQ(slider->getValue(), 1.f);
  move(150, -20);
  EXPECT_NEAR(slider->getValue(), 1.f, kTolerance);
  move(150, -10);
  EXPECT_NEAR(slider->getValue(), 0.99f, kTolerance);
  move(150, 2000);
  EXPECT_FLOAT_EQ(slider->getValue(), 0.f);
}

TEST_F(InvisibleSlider, DragIsOneGestureReportedAtEveryStep) {
  press(150, 80);
  move(150, 70);
  move(150, 60);
  release(150, 60);
  // The press and each move report; the release does not.
  ASSERT_EQ(listener.values.size(), 3u);
  EXPECT_NEAR(listener.values.back(), 0.52f, kTolerance);
  EXPECT_EQ(editor.begun, std::vector<int32_t>{30});
  EXPECT_EQ(editor.ended, std::vector<int32_t>{30});
}

TEST_F(InvisibleSlider, PressWithoutLeftButtonIsNotHandled) {
  CPoint where(150, 80);
  EXPECT_EQ(slider->onMouseDown(where, kRButton), kMouseEventNotHandled);
  EXPECT_FALSE(slider->isDragging());
  EXPECT_TRUE(listener.values.empty());
  EXPECT_TRUE(editor.begun.empty());
}

TEST_F(InvisibleSlider, WheelNotchStepsAndShiftStepsFiner) {
  EXPECT_TRUE(frame->platformOnMouseWheel(CPoint(150, 80), 1.f, 0));
  EXPECT_NEAR(slider->getValue(), 0.505f, kTolerance);
  frame->platformOnMouseWheel(CPoint(150, 80), 1.f, kShift);
  EXPECT_NEAR(slider->getValue(), 0.5053f, kTolerance);
  frame->platformOnMouseWheel(CPoint(150, 80), -2.f, 0);
  EXPECT_NEAR(slider->getValue(), 0.4953f, kTolerance);
  EXPECT_EQ(listener.values.size(), 3u);
  EXPECT_EQ(editor.begun.size(), 3u);
  EXPECT_EQ(editor.ended.size(), 3u);
}

TEST_F(InvisibleSlider, WheelWithoutListenerChangesButBracketsNothing) {
  slider->setListener(nullptr);
  slider->setValue(0.999f);
  frame->platformOnMouseWheel(CPoint(150, 80), 1.f, 0);
  EXPECT_FLOAT_EQ(slider->getValue(), 1.f);
  EXPECT_TRUE(editor.begun.empty());
}

TEST_F(InvisibleSlider, CopyKeepsTypeAndDragState) {
  press(150, 80, kLButton | kShift);
  CView* copy = slider->newCopy();
  EXPECT_TRUE(copy->isTypeOf("CInvisibleSlider"));
  EXPECT_TRUE(copy->isTypeOf("CControl"));
  EXPECT_FALSE(copy->isTypeOf("CKnob"));
  auto* copied = static_cast<CInvisibleSlider*>(copy);
  EXPECT_TRUE(copied->isDragging());
  CPoint where(150, -20);
  copied->onMouseMoved(where, kLButton | kShift);
  EXPECT_NEAR(copied->getValue(), 0.525f, kTolerance);
  copy->forget();
  release(150, 80);
}

// ---- QelKickButton ----

class KickButton : public CustomControls {
 protected:
  void SetUp() override {
    CustomControls::SetUp();
    strip = makeStrip(26, 26, 2);
    button = new QelKickButton(CRect(10, 10, 36, 36), &listener, 19, 26, strip);
    frame->addView(button);
  }
  void TearDown() override {
    strip->forget();
    CustomControls::TearDown();
  }
  CBitmap* strip = nullptr;
  QelKickButton* button = nullptr;
};

TEST_F(KickButton, ReportsThePressWithItsMultiplier) {
  EXPECT_FLOAT_EQ(button->getValue(), 0.f);
  EXPECT_FLOAT_EQ(button->getStepMultiplier(), 1.f);
  const std::pair<int32_t, float> cases[] = {{0, 1.f},
                                             {kShift, 10.f},
                                             {kControl, 100.f},
                                             {kShift | kControl, 100.f}};
  for (const auto& [modifiers, multiplier] : cases) {
    listener.values.clear();
    EXPECT_EQ(press(20, 20, kLButton | modifiers), kMouseEventHandled);
    ASSERT_EQ(listener.values.size(), 1u);
    EXPECT_FLOAT_EQ(listener.values[0], 1.f);
    EXPECT_FLOAT_EQ(button->getStepMultiplier(), multiplier) << modifiers;
    EXPECT_EQ(shownFrame(frame, 20, 20), 1);
    release(20, 20, kLButton | modifiers);
    EXPECT_FLOAT_EQ(button->getValue(), 0.f);
    EXPECT_EQ(listener.values.size(), 1u) << "the release is not reported";
    EXPECT_EQ(shownFrame(frame, 20, 20), 0);
  }
  EXPECT_EQ(editor.begun.size(), 4u);
  EXPECT_EQ(editor.ended.size(), 4u);
}

TEST_F(KickButton, RightButtonIsNotHandled) {
  EXPECT_EQ(press(20, 20, kRButton), kMouseEventNotHandled);
  EXPECT_TRUE(listener.values.empty());
}

// ---- QelOnOffButton ----

class OnOffButton : public CustomControls {
 protected:
  void SetUp() override {
    CustomControls::SetUp();
    strip = makeStrip(21, 26, 2);
    button = new QelOnOffButton(CRect(10, 10, 31, 36), &listener, 7, strip);
    frame->addView(button);
  }
  void TearDown() override {
    strip->forget();
    CustomControls::TearDown();
  }
  CBitmap* strip = nullptr;
  QelOnOffButton* button = nullptr;
};

TEST_F(OnOffButton, HalfIsDrawnOnAndClicksToggleQuarterValues) {
  button->setValue(0.5f);
  EXPECT_EQ(shownFrame(frame, 15, 15), 1);
  button->setValue(0.49f);
  EXPECT_EQ(shownFrame(frame, 15, 15), 0);
  button->setValue(0.5f);
  EXPECT_EQ(press(15, 15), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
  EXPECT_FLOAT_EQ(button->getValue(), 0.25f);
  EXPECT_EQ(shownFrame(frame, 15, 15), 0);
  press(15, 15);
  EXPECT_FLOAT_EQ(button->getValue(), 0.75f);
  EXPECT_EQ(shownFrame(frame, 15, 15), 1);
  EXPECT_EQ(listener.values, (std::vector<float>{0.25f, 0.75f}));
  EXPECT_EQ(editor.begun, (std::vector<int32_t>{7, 7}));
  EXPECT_EQ(editor.ended, (std::vector<int32_t>{7, 7}));
}

TEST_F(OnOffButton, WithoutBitmapDrawsNothing) {
  frame->idle();
  auto* bare = new QelOnOffButton(CRect(100, 10, 121, 36), &listener, 8, nullptr);
  frame->addView(bare);
  bare->setValue(0.75f);
  frame->idle();
  EXPECT_EQ(pixelAt(frame->getBackBuffer(), 110, 20), CColor(0, 0, 0, 255));
  EXPECT_FALSE(bare->isDirty());
}

TEST_F(OnOffButton, RightButtonIsNotHandled) {
  button->setValue(0.25f);
  EXPECT_EQ(press(15, 15, kRButton), kMouseEventNotHandled);
  EXPECT_FLOAT_EQ(button->getValue(), 0.25f);
}

// ---- QelSwitch ----

TEST_F(CustomControls, SwitchPicksThePositionUnderThePointer) {
  CBitmap* strip = makeStrip(15, 10, 2);
  auto* sw = new QelSwitch(CRect(50, 50, 65, 60), &listener, 15, 2, 10, 2, strip);
  strip->forget();
  frame->addView(sw);
  press(60, 55);
  release(60, 55);
  EXPECT_FLOAT_EQ(sw->getValue(), 1.f);
  EXPECT_EQ(shownFrame(frame, 55, 55), 1);
  press(52, 55);
  release(52, 55);
  EXPECT_FLOAT_EQ(sw->getValue(), 0.f);
  EXPECT_EQ(listener.values, (std::vector<float>{1.f, 0.f}));
  EXPECT_TRUE(sw->isTypeOf("CHorizontalSwitch"));
}

// ---- CAbout ----

class About : public CustomControls {
 protected:
  void SetUp() override {
    CustomControls::SetUp();
    picture = makeStrip(400, 200, 1);
    about = new CAbout(CRect(300, 10, 360, 40), &listener, 32, picture, CRect(0, 0, 400, 200),
                       CPoint(0, 0), CPoint(120, 57));
    frame->addView(about);
  }
  void TearDown() override {
    picture->forget();
    CustomControls::TearDown();
  }
  CBitmap* picture = nullptr;
  CAbout* about = nullptr;
};

TEST_F(About, ClickShowsThePictureAndAnyClickOnItClosesIt) {
  const int32_t viewsBefore = frame->getNbViews();
  EXPECT_EQ(press(310, 20), kMouseEventHandled);
  release(310, 20);
  EXPECT_FLOAT_EQ(about->getValue(), 1.f);
  CView* modal = frame->getModalView();
  ASSERT_NE(modal, nullptr);
  EXPECT_TRUE(modal->isTypeOf("CSplashScreenMyView"));
  EXPECT_EQ(modal->getViewSize(), CRect(0, 0, 400, 200));
  EXPECT_EQ(frame->getNbViews(), viewsBefore + 1);

  frame->idle();
  // The picture covers the window; the version is white text at the offset.
  EXPECT_EQ(pixelAt(frame->getBackBuffer(), 5, 150), frameColour(0));
  int whitePixels = 0;
  for (int y = 57; y < 72; ++y)
    for (int x = 120; x < 170; ++x)
      if (pixelAt(frame->getBackBuffer(), x, y).red > 128) ++whitePixels;
  EXPECT_GT(whitePixels, 10);

  // Other controls get nothing while the picture is up; a click closes it.
  EXPECT_EQ(press(5, 190), kMouseEventHandled);
  EXPECT_EQ(frame->getModalView(), nullptr);
  EXPECT_FLOAT_EQ(about->getValue(), 0.f);
  EXPECT_EQ(frame->getNbViews(), viewsBefore);
  release(5, 190);
  EXPECT_TRUE(listener.values.empty()) << "the listener is never told";
  frame->idle();
  EXPECT_EQ(pixelAt(frame->getBackBuffer(), 5, 150), CColor(0, 0, 0, 255));
}

TEST_F(About, NotAttachedShowsNothing) {
  auto* loose = new CAbout(CRect(0, 0, 10, 10), nullptr, 32, picture, CRect(0, 0, 400, 200),
                           CPoint(0, 0), CPoint(0, 0));
  CPoint where(5, 5);
  EXPECT_EQ(loose->onMouseDown(where, kLButton), kMouseEventHandled);
  EXPECT_FLOAT_EQ(loose->getValue(), 1.f);
  EXPECT_EQ(loose->onMouseDown(where, kLButton), kMouseEventHandled);
  EXPECT_FLOAT_EQ(loose->getValue(), 0.f);
  loose->forget();
}

TEST_F(About, ClosingTheFrameWithThePictureOpenReleasesEverything) {
  press(310, 20);
  release(310, 20);
  ASSERT_NE(frame->getModalView(), nullptr);
  // TearDown closes the frame; sanitizer builds catch a leak or double free.
}

}  // namespace
