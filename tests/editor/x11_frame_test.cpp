// The frame on a real X server: a child window of a parent made here, real
// pointer and key events sent through XTest. Skips without a display.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include "editor/controls/cinvisibleslider.h"
#include "editor/toolkit/platform_x11.h"
#include "toolkit_test_support.h"

// Last: Xlib's macros (None, Bool, True) clash with C++ names above.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

using namespace toolkit_test;

namespace {

constexpr auto kPatience = std::chrono::seconds(3);
constexpr int kOpenAttempts = 10;

class X11Frame : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) GTEST_SKIP() << "no DISPLAY";
    // A virtual server may be resetting after its last client left: retry.
    for (int attempt = 0; attempt < kOpenAttempts && !display; ++attempt) {
      display = XOpenDisplay(nullptr);
      if (!display) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (!display) GTEST_SKIP() << "no X display";
    int event, error, major, minor;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor))
      GTEST_SKIP() << "the X server has no XTest";
    parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 400, 200, 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);
  }
  void TearDown() override {
    if (frame) frame->close();
    if (!display) return;
    XDestroyWindow(display, parent);
    XCloseDisplay(display);
  }

  void openFrame() {
    frame = new CFrame(CRect(0, 0, 300, 100), reinterpret_cast<void*>(parent), &editor);
    ASSERT_FALSE(frame->isOffscreen());
    ASSERT_TRUE(pumpUntil([&] {
      const std::vector<Window> kids = children();
      if (kids.size() != 1) return false;
      XWindowAttributes attributes;
      return XGetWindowAttributes(display, kids[0], &attributes) &&
             attributes.map_state == IsViewable;
    }));
  }

  std::vector<Window> children() {
    Window root, parentOfParent, *list = nullptr;
    unsigned int count = 0;
    XQueryTree(display, parent, &root, &parentOfParent, &list, &count);
    std::vector<Window> result(list, list + count);
    if (list) XFree(list);
    return result;
  }

  // Runs the frame's idle until done() holds or patience runs out.
  bool pumpUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
      XSync(display, False);
      if (frame) frame->idle();
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  void settle() {
    for (int i = 0; i < 10; ++i) pumpUntil([] { return true; });
  }

  // Pointer and keys in frame coordinates.
  void pointerTo(int x, int y) {
    int rootX, rootY;
    Window child;
    XTranslateCoordinates(display, parent, DefaultRootWindow(display), x, y, &rootX, &rootY,
                          &child);
    XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
    XFlush(display);
    settle();
  }
  void button(bool down) {
    XTestFakeButtonEvent(display, 1, down ? True : False, CurrentTime);
    XFlush(display);
    settle();
  }
  void tap(KeySym sym) {
    const KeyCode code = XKeysymToKeycode(display, sym);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);
    settle();
  }

  Display* display = nullptr;
  Window parent = 0;
  FakeEditor editor;
  RecordingListener listener;
  CFrame* frame = nullptr;
};

TEST_F(X11Frame, RealPointerDragMovesAControlAndClosingLeavesNothing) {
  openFrame();
  EXPECT_EQ(x11OpenDisplayCount(), 1);
  auto* slider = new CInvisibleSlider(CRect(50, 20, 150, 80), &listener, 30);
  slider->setValue(0.5f);
  frame->addView(slider);

  pointerTo(100, 70);
  button(true);
  pointerTo(100, 40);
  button(false);
  ASSERT_TRUE(pumpUntil([&] { return !slider->isDragging() && !listener.values.empty(); }));
  EXPECT_NEAR(slider->getValue(), 0.53f, 1e-4f);
  EXPECT_NEAR(listener.values.back(), 0.53f, 1e-4f);
  EXPECT_EQ(editor.begun, std::vector<int32_t>{30});
  EXPECT_EQ(editor.ended, std::vector<int32_t>{30});

  CPoint where;
  ASSERT_TRUE(frame->getCurrentMouseLocation(where));
  EXPECT_EQ(where, CPoint(100, 40));

  frame->close();
  frame = nullptr;
  XSync(display, False);
  EXPECT_TRUE(children().empty());
  EXPECT_EQ(x11OpenDisplayCount(), 0);
}

TEST_F(X11Frame, ClickedTextFieldTakesTheKeyboard) {
  openFrame();
  auto* field = new CTextEdit(CRect(10, 10, 110, 30), &listener, 33, "");
  frame->addView(field);
  pointerTo(50, 20);
  button(true);
  button(false);
  ASSERT_TRUE(pumpUntil([&] { return field->isEditingText(); }));
  tap(XK_h);
  tap(XK_i);
  tap(XK_BackSpace);
  tap(XK_o);
  tap(XK_Return);
  ASSERT_TRUE(pumpUntil([&] { return !listener.values.empty(); }));
  EXPECT_STREQ(field->getText(), "ho");
}

TEST_F(X11Frame, PopupMenuChoosesAnEntry) {
  openFrame();
  auto* menu = new COptionMenu(CRect(200, 10, 260, 30), &listener, 45, nullptr, nullptr,
                               kCheckStyle);
  for (const char* title : {"First", "Second", "Third"}) menu->addEntry(title);
  frame->addView(menu);
  pointerTo(220, 20);
  button(true);
  ASSERT_TRUE(pumpUntil([&] { return frame->getOpenPopupMenu() == menu; }));
  button(false);
  EXPECT_EQ(frame->getOpenPopupMenu(), menu) << "a plain click only opens the menu";
  // Rows of 18 pixels below the control: the third entry's middle.
  pointerTo(215, 30 + 1 + 2 * 18 + 9);
  button(true);
  button(false);
  ASSERT_TRUE(pumpUntil([&] { return frame->getOpenPopupMenu() == nullptr; }));
  EXPECT_EQ(listener.values, std::vector<float>{2.f});
  EXPECT_STREQ(menu->getCurrent()->getTitle(), "Third");
}

TEST_F(X11Frame, DoubleClickOnAPopupMenuChoosesNothingAndEscapeClosesIt) {
  openFrame();
  // Pop-up style: the menu opens over the control, its first entry under
  // the pointer, where the second click of a double-click lands.
  auto* menu = new COptionMenu(CRect(200, 10, 260, 30), &listener, 45, nullptr, nullptr,
                               kPopupStyle | kCheckStyle);
  for (const char* title : {"First", "Second", "Third"}) menu->addEntry(title);
  menu->setCurrent(2);
  frame->addView(menu);
  pointerTo(205, 15);
  button(true);
  ASSERT_TRUE(pumpUntil([&] { return frame->getOpenPopupMenu() == menu; }));
  button(false);
  button(true);
  button(false);
  settle();
  EXPECT_TRUE(listener.values.empty()) << "the double-click chose an entry";
  EXPECT_STREQ(menu->getCurrent()->getTitle(), "Third");
  ASSERT_EQ(frame->getOpenPopupMenu(), menu);

  tap(XK_Escape);
  ASSERT_TRUE(pumpUntil([&] { return frame->getOpenPopupMenu() == nullptr; }));
  EXPECT_TRUE(listener.values.empty());
  EXPECT_STREQ(menu->getCurrent()->getTitle(), "Third");
}

// Records what the window system delivers.
struct PointerProbe : CView {
  explicit PointerProbe(const CRect& size) : CView(size) {}
  CMouseEventResult onMouseDown(CPoint&, const CButtonState& buttons) override {
    presses.push_back(buttons);
    return kMouseEventHandled;
  }
  CMouseEventResult onMouseUp(CPoint&, const CButtonState&) override { return kMouseEventHandled; }
  CMouseEventResult onMouseEntered(CPoint&, const CButtonState&) override {
    ++entered;
    return kMouseEventHandled;
  }
  CMouseEventResult onMouseExited(CPoint&, const CButtonState&) override {
    ++exited;
    return kMouseEventHandled;
  }
  bool onWheel(const CPoint&, const float& distance, const CButtonState&) override {
    wheel += distance;
    return true;
  }
  std::vector<int32_t> presses;
  int entered = 0;
  int exited = 0;
  float wheel = 0.f;
};

TEST_F(X11Frame, DoubleClickWheelAndPointerCrossings) {
  openFrame();
  auto* probe = new PointerProbe(CRect(20, 20, 80, 80));
  frame->addView(probe);
  pointerTo(5, 5);
  pointerTo(50, 50);
  ASSERT_TRUE(pumpUntil([&] { return probe->entered == 1; }));
  button(true);
  button(false);
  button(true);
  button(false);
  ASSERT_TRUE(pumpUntil([&] { return probe->presses.size() == 2; }));
  EXPECT_EQ(probe->presses[0], kLButton);
  EXPECT_EQ(probe->presses[1], kLButton | kDoubleClick);
  XTestFakeButtonEvent(display, 4, True, CurrentTime);
  XTestFakeButtonEvent(display, 4, False, CurrentTime);
  XFlush(display);
  ASSERT_TRUE(pumpUntil([&] { return probe->wheel == 1.f; }));
  pointerTo(350, 150);  // out of the frame, still over the parent
  ASSERT_TRUE(pumpUntil([&] { return probe->exited == 1; }));
}

TEST_F(X11Frame, BadParentWindowLeavesTheFrameOffscreen) {
  frame = new CFrame(CRect(0, 0, 300, 100), reinterpret_cast<void*>(0x7ffffffUL), &editor);
  EXPECT_TRUE(frame->isOffscreen());
  EXPECT_EQ(x11OpenDisplayCount(), 0);
  // Errors on the test's own connection still reach the default handling.
  auto* control = new CControl(CRect(0, 0, 10, 10));
  frame->addView(control);
  frame->idle();
  EXPECT_FALSE(control->isDirty());
}

TEST_F(X11Frame, ParentDestroyedBeforeCloseIsSurvived) {
  openFrame();
  frame->addView(new CControl(CRect(0, 0, 10, 10)));
  XDestroyWindow(display, parent);
  XSync(display, False);
  settle();
  frame->close();
  frame = nullptr;
  EXPECT_EQ(x11OpenDisplayCount(), 0);
  parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
}

}  // namespace
