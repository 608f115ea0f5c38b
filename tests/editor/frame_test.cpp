// The frame off-screen: repainting only what changed, event routing, mouse
// capture, enter/exit tracking, modal view and bitmaps.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "toolkit_test_support.h"

using namespace toolkit_test;

namespace {

// A view that counts its draws and records the events it gets.
struct ProbeView : CView {
  explicit ProbeView(const CRect& size, CMouseEventResult downResult = kMouseEventHandled)
      : CView(size), downResult(downResult) {}
  void draw(CDrawContext* context) override {
    ++draws;
    CView::draw(context);
  }
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState&) override {
    events.push_back("down " + std::to_string(int(where.x)));
    return downResult;
  }
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState&) override {
    events.push_back("moved " + std::to_string(int(where.x)));
    return kMouseEventHandled;
  }
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState&) override {
    events.push_back("up " + std::to_string(int(where.x)));
    return kMouseEventHandled;
  }
  CMouseEventResult onMouseEntered(CPoint&, const CButtonState&) override {
    events.push_back("entered");
    return kMouseEventHandled;
  }
  CMouseEventResult onMouseExited(CPoint&, const CButtonState&) override {
    events.push_back("exited");
    return kMouseEventHandled;
  }
  bool onWheel(const CPoint&, const float& distance, const CButtonState&) override {
    events.push_back("wheel " + std::to_string(int(distance)));
    return true;
  }
  int32_t onKeyDown(VstKeyCode& key) override {
    events.push_back(std::string("key ") + char(key.character));
    return 1;
  }
  int draws = 0;
  std::vector<std::string> events;
  CMouseEventResult downResult;
};

class Frame : public ::testing::Test {
 protected:
  void SetUp() override {
    frame = new CFrame(CRect(0, 0, 300, 100), nullptr, &editor);
    left = new ProbeView(CRect(10, 10, 60, 60));
    right = new ProbeView(CRect(100, 10, 150, 60));
    frame->addView(left);
    frame->addView(right);
  }
  void TearDown() override { frame->close(); }

  FakeEditor editor;
  CFrame* frame = nullptr;
  ProbeView* left = nullptr;
  ProbeView* right = nullptr;
};

TEST_F(Frame, IdleWithNothingDirtyDrawsNothing) {
  frame->idle();
  EXPECT_EQ(left->draws, 1);
  EXPECT_EQ(right->draws, 1);
  const uint64_t drawn = frame->getDrawCount();
  for (int i = 0; i < 5; ++i) frame->idle();
  EXPECT_EQ(frame->getDrawCount(), drawn);
  EXPECT_EQ(left->draws, 1);
}

TEST_F(Frame, OnlyTheChangedViewIsRedrawn) {
  frame->idle();
  right->invalid();
  frame->idle();
  EXPECT_EQ(left->draws, 1);
  EXPECT_EQ(right->draws, 2);
}

TEST_F(Frame, ControlRedrawsWhenItsValueMoves) {
  auto* control = new CControl(CRect(200, 10, 250, 60));
  frame->addView(control);
  frame->idle();
  const uint64_t drawn = frame->getDrawCount();
  control->setValue(0.3f);
  EXPECT_TRUE(control->isDirty());
  frame->idle();
  EXPECT_EQ(frame->getDrawCount(), drawn + 1);
  EXPECT_FALSE(control->isDirty());
  control->setValue(0.3f);
  frame->idle();
  EXPECT_EQ(frame->getDrawCount(), drawn + 1);
}

TEST_F(Frame, OverlappingViewsArePaintedTogether) {
  auto* over = new ProbeView(CRect(40, 40, 110, 50));
  frame->addView(over);
  frame->idle();
  over->invalid();
  frame->idle();
  // The changed area touches both neighbours, which repaint inside it.
  EXPECT_EQ(left->draws, 2);
  EXPECT_EQ(right->draws, 2);
}

TEST_F(Frame, BackgroundShowsBehindTheViews) {
  CBitmap* panel = makeStrip(300, 100, 1);
  frame->setBackground(panel);
  panel->forget();
  frame->idle();
  EXPECT_EQ(pixelAt(frame->getBackBuffer(), 80, 80), frameColour(0));
}

TEST_F(Frame, MouseGoesToTheTopmostViewAndIsCapturedDuringADrag) {
  auto* top = new ProbeView(CRect(30, 30, 80, 80));
  frame->addView(top);
  frame->platformOnMouseDown(CPoint(40, 40), kLButton);
  frame->platformOnMouseMoved(CPoint(120, 40), kLButton);
  frame->platformOnMouseUp(CPoint(120, 40), kLButton);
  EXPECT_EQ(top->events, (std::vector<std::string>{"down 40", "moved 120", "up 120"}));
  EXPECT_TRUE(left->events.empty());
  EXPECT_EQ(right->events, (std::vector<std::string>{"entered"}));
}

TEST_F(Frame, UnhandledPressFallsThroughToTheViewBelow) {
  auto* top = new ProbeView(CRect(30, 30, 80, 80), kMouseEventNotHandled);
  frame->addView(top);
  frame->platformOnMouseDown(CPoint(40, 40), kLButton);
  EXPECT_EQ(top->events, std::vector<std::string>{"down 40"});
  EXPECT_EQ(left->events, std::vector<std::string>{"down 40"});
}

TEST_F(Frame, NoCaptureWhenTheViewNeedsNoMoreEvents) {
  left->downResult = kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  frame->platformOnMouseDown(CPoint(20, 20), kLButton);
  frame->platformOnMouseMoved(CPoint(120, 20), kLButton);
  frame->platformOnMouseUp(CPoint(120, 20), kLButton);
  EXPECT_EQ(left->events, std::vector<std::string>{"down 20"});
  EXPECT_EQ(right->events, (std::vector<std::string>{"entered", "moved 120"}));
}

TEST_F(Frame, EnterAndExitFollowThePointer) {
  frame->platformOnMouseMoved(CPoint(20, 20), 0);
  frame->platformOnMouseMoved(CPoint(25, 20), 0);
  frame->platformOnMouseMoved(CPoint(80, 20), 0);
  frame->platformOnMouseMoved(CPoint(120, 20), 0);
  frame->platformOnMouseExited(CPoint(400, 20), 0);
  EXPECT_EQ(left->events, (std::vector<std::string>{"entered", "moved 20", "moved 25", "exited"}));
  EXPECT_EQ(right->events, (std::vector<std::string>{"entered", "moved 120", "exited"}));
}

TEST_F(Frame, MouseLocationAndViewUnderIt) {
  CPoint where;
  EXPECT_FALSE(frame->getCurrentMouseLocation(where));
  frame->platformOnMouseMoved(CPoint(110, 20), 0);
  ASSERT_TRUE(frame->getCurrentMouseLocation(where));
  EXPECT_EQ(where, CPoint(110, 20));
  EXPECT_EQ(frame->getViewAt(where), right);
  EXPECT_EQ(frame->getViewAt(CPoint(80, 80)), nullptr);
  frame->platformOnMouseExited(CPoint(400, 20), 0);
  EXPECT_FALSE(frame->getCurrentMouseLocation(where));
}

TEST_F(Frame, ModalViewTakesAllMouseInput) {
  auto* modal = new ProbeView(CRect(0, 0, 300, 100));
  EXPECT_TRUE(frame->setModalView(modal));
  auto* second = new ProbeView(CRect(0, 0, 10, 10));
  EXPECT_FALSE(frame->setModalView(second));
  second->forget();
  frame->platformOnMouseDown(CPoint(20, 20), kLButton);
  frame->platformOnMouseUp(CPoint(20, 20), kLButton);
  frame->platformOnMouseWheel(CPoint(120, 20), 1.f, 0);
  EXPECT_TRUE(left->events.empty());
  EXPECT_TRUE(right->events.empty());
  EXPECT_EQ(modal->events.front(), "down 20");
  EXPECT_TRUE(frame->setModalView(nullptr));
  EXPECT_FALSE(frame->isChild(modal));
  modal->forget();
}

TEST_F(Frame, WheelAndKeysGoToTheViewUnderThePointer) {
  frame->platformOnMouseWheel(CPoint(120, 20), -1.f, 0);
  EXPECT_EQ(right->events.back(), "wheel -1");
  VstKeyCode key{'k', 0, 0};
  EXPECT_TRUE(frame->platformOnKeyDown(key));
  EXPECT_EQ(right->events.back(), "key k");
  EXPECT_FALSE(frame->platformOnMouseWheel(CPoint(80, 80), 1.f, 0));
}

TEST_F(Frame, EditGesturesReachTheEditor) {
  auto* control = new CControl(CRect(200, 10, 250, 60), nullptr, 12);
  frame->addView(control);
  control->beginEdit();
  EXPECT_TRUE(control->isEditing());
  control->endEdit();
  EXPECT_FALSE(control->isEditing());
  EXPECT_EQ(editor.begun, std::vector<int32_t>{12});
  EXPECT_EQ(editor.ended, std::vector<int32_t>{12});
  EXPECT_EQ(frame->getKnobMode(), kLinearMode);
}

TEST_F(Frame, RemovingAViewUnderThePointerForgetsIt) {
  frame->platformOnMouseDown(CPoint(20, 20), kLButton);
  left->remember();
  frame->removeView(left);
  frame->platformOnMouseMoved(CPoint(25, 20), kLButton);
  frame->platformOnMouseUp(CPoint(25, 20), kLButton);
  EXPECT_EQ(left->events, std::vector<std::string>{"down 20"});
  EXPECT_FALSE(left->isAttached());
  left->forget();
}

TEST_F(Frame, WritesItsPictureToPng) {
  char path[] = "/tmp/halden-frame-XXXXXX";
  const int fd = mkstemp(path);
  ASSERT_GE(fd, 0);
  close(fd);
  EXPECT_TRUE(frame->writePNG(path));
  cairo_surface_t* png = cairo_image_surface_create_from_png(path);
  EXPECT_EQ(cairo_image_surface_get_width(png), 300);
  EXPECT_EQ(cairo_image_surface_get_height(png), 100);
  cairo_surface_destroy(png);
  std::remove(path);
}

// ---- Bitmaps ----

std::vector<unsigned char> pngBytes(int width, int height) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  std::vector<unsigned char> bytes;
  cairo_surface_write_to_png_stream(
      surface,
      [](void* closure, const unsigned char* data, unsigned int length) {
        auto* out = static_cast<std::vector<unsigned char>*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  cairo_surface_destroy(surface);
  return bytes;
}

std::vector<unsigned char> storedPng;
bool fakeLookup(int32_t id, int32_t zoomPercent, const unsigned char** data, size_t* size) {
  if (id != 4242 || zoomPercent != 100) return false;
  *data = storedPng.data();
  *size = storedPng.size();
  return true;
}

TEST(Bitmap, LoadsByResourceIdFromTheEmbeddedSkin) {
  storedPng = pngBytes(17, 45);
  CBitmap::setResourceLookup(fakeLookup);
  CBitmap* found = new CBitmap(CResourceDescription(4242));
  EXPECT_TRUE(found->isLoaded());
  EXPECT_DOUBLE_EQ(found->getWidth(), 17);
  EXPECT_DOUBLE_EQ(found->getHeight(), 45);
  CBitmap* missing = new CBitmap(CResourceDescription(7));
  EXPECT_FALSE(missing->isLoaded());
  found->forget();
  missing->forget();
}

TEST(Bitmap, RejectsBrokenPngData) {
  std::vector<unsigned char> bytes = pngBytes(8, 8);
  CBitmap* truncated = new CBitmap(bytes.data(), bytes.size() / 2);
  EXPECT_FALSE(truncated->isLoaded());
  truncated->forget();
  CBitmap* empty = new CBitmap(nullptr, 0);
  EXPECT_FALSE(empty->isLoaded());
  empty->forget();
}

TEST(Bitmap, ReferenceCountingKeepsSharedBitmapsAlive) {
  CBitmap* strip = makeStrip(10, 10, 2);
  auto* view = new CView(CRect(0, 0, 10, 10));
  view->setBackground(strip);
  EXPECT_EQ(strip->getNbReference(), 2);
  strip->forget();
  EXPECT_TRUE(view->getBackground()->isLoaded());
  view->forget();
}

// ---- Zoom ----

// A 1× strip in a frame at 200 %: every 1× pixel becomes a sharp 2 × 2
// block at the doubled place, and the frame the control asks for is the one
// shown, not a blend with its neighbour.
TEST(ZoomedFrame, DrawsInUnitsOnADoubledBackBuffer) {
  FakeEditor editor;
  auto* frame = new CFrame(CRect(0, 0, 40, 20), nullptr, &editor, 2.0);
  EXPECT_EQ(frame->getPixelWidth(), 80);
  EXPECT_EQ(frame->getPixelHeight(), 40);
  CBitmap* strip = makeStrip(10, 10, 3);
  auto* movie = new CMovieBitmap(CRect(10, 5, 20, 15), nullptr, 0, 3, 10, strip);
  strip->forget();
  movie->setValue(0.5f);  // frame 1 of 0 … 2
  frame->addView(movie);
  EXPECT_EQ(shownFrame(frame, 20, 10), 1);  // the control's first pixel
  EXPECT_EQ(shownFrame(frame, 39, 29), 1);  // its last
  EXPECT_NE(shownFrame(frame, 40, 29), 1);  // the background beyond it
  EXPECT_NE(shownFrame(frame, 39, 30), 1);
  frame->close();
}

TEST(ZoomedFrame, WindowPixelsMapBackToUnits) {
  FakeEditor editor;
  auto* frame = new CFrame(CRect(0, 0, 870, 101), nullptr, &editor, 1.5);
  EXPECT_EQ(frame->getPixelWidth(), 1305);
  EXPECT_EQ(frame->getPixelHeight(), 152);
  const CPoint where = frame->fromPixels(1243.5, 82.5);
  EXPECT_DOUBLE_EQ(where.x, 829);
  EXPECT_DOUBLE_EQ(where.y, 55);
  frame->close();
}

TEST(ZoomedFrame, RightClickOnTheBareBackgroundPopsItsMenuUpAtThePointer) {
  FakeEditor editor;
  RecordingListener listener;
  auto* frame = new CFrame(CRect(0, 0, 100, 50), nullptr, &editor);
  frame->addView(new CView(CRect(0, 0, 20, 20)));
  auto* menu = new COptionMenu(CRect(), &listener, 7);
  menu->addEntry("one");
  menu->addEntry("two");
  frame->setBackgroundMenu(menu);
  EXPECT_EQ(frame->getNbViews(), 1);  // the menu is no view of the frame
  frame->platformOnMouseDown(CPoint(10, 10), kRButton);  // on the view
  EXPECT_EQ(frame->getOpenPopupMenu(), nullptr);
  frame->platformOnMouseDown(CPoint(60, 30), kLButton);
  EXPECT_EQ(frame->getOpenPopupMenu(), nullptr);
  frame->platformOnMouseDown(CPoint(60, 30), kRButton);
  ASSERT_EQ(frame->getOpenPopupMenu(), menu);
  EXPECT_EQ(menu->getViewSize().getTopLeft(), CPoint(60, 30));
  frame->closePopupMenu(1);
  ASSERT_EQ(listener.tags.size(), 1u);
  EXPECT_EQ(listener.tags[0], 7);
  EXPECT_FLOAT_EQ(listener.values[0], 1.f);
  frame->close();
}

}  // namespace
