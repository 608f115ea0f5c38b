// How the editor's zoom is chosen: the stored choice, the desktop's scale,
// the background menu, and a host that allows or refuses the new size.
#include "tests/editor_panel/panel_test_support.h"

#include <fstream>

#include "editor/toolkit/desktop_scale.h"
#include "editor/zoom_preference.h"
#include "layout/zoom.h"
#include "presets/settings_store.h"

namespace panel_test {
namespace {

using namespace panel;
using namespace layout;

TEST(DesktopScale, EnvironmentValuesAndXftDpi) {
  EXPECT_DOUBLE_EQ(scaleFromEnvironmentValue("2"), 2.0);
  EXPECT_DOUBLE_EQ(scaleFromEnvironmentValue("1.5"), 1.5);
  EXPECT_DOUBLE_EQ(scaleFromEnvironmentValue(nullptr), 0.0);
  EXPECT_DOUBLE_EQ(scaleFromEnvironmentValue(""), 0.0);
  EXPECT_DOUBLE_EQ(scaleFromEnvironmentValue("big"), 0.0);
  EXPECT_DOUBLE_EQ(scaleFromEnvironmentValue("0"), 0.0);
  EXPECT_DOUBLE_EQ(scaleFromXResources("Xft.antialias:\t1\nXft.dpi:\t144\n"), 1.5);
  EXPECT_DOUBLE_EQ(scaleFromXResources("Xft.dpi: 192"), 2.0);
  EXPECT_DOUBLE_EQ(scaleFromXResources("Xcursor.size:\t24\n"), 0.0);
  EXPECT_DOUBLE_EQ(scaleFromXResources(nullptr), 0.0);
}

TEST(ZoomSteps, NearestStepOfAScale) {
  EXPECT_EQ(nearestZoomStep(1.0), 100);
  EXPECT_EQ(nearestZoomStep(1.2), 100);
  EXPECT_EQ(nearestZoomStep(1.25), 150);  // halfway goes up
  EXPECT_EQ(nearestZoomStep(1.5), 150);
  EXPECT_EQ(nearestZoomStep(1.8), 200);
  EXPECT_EQ(nearestZoomStep(3.0), 200);
  EXPECT_EQ(nearestZoomStep(0.5), 100);
}

TEST(ZoomPreference, StoredChoiceBeatsTheDesktopWhichBeats100) {
  TemporarySettings home;
  const SettingsStore store;
  EXPECT_EQ(preferredZoom(store, 0), 100);
  EXPECT_EQ(preferredZoom(store, 150), 150);
  ASSERT_TRUE(storeZoom(store, 200));
  EXPECT_EQ(storedZoom(store), 200);
  EXPECT_EQ(preferredZoom(store, 150), 200);
  EXPECT_FALSE(storeZoom(store, 175));
  EXPECT_EQ(storedZoom(store), 200);
}

TEST(ZoomPreference, ForeignStoredValuesAreIgnored) {
  TemporarySettings home;
  const SettingsStore store;
  for (const char* text : {"175", "2", "150%", "", "abc"}) {
    ASSERT_TRUE(store.storeText(kEditorZoomSetting, text));
    EXPECT_EQ(storedZoom(store), 0) << text;
    EXPECT_EQ(preferredZoom(store, 0), 100) << text;
  }
}

class ZoomChoice : public PanelTest {
 protected:
  // A right click where no control is opens the frame's zoom menu.
  void chooseFromMenu(int entry) {
    click(CPoint(160, 75), kRButton);
    ASSERT_NE(frame->getOpenPopupMenu(), nullptr);
    frame->closePopupMenu(entry);
  }
  int sizeRequests() const {
    int count = 0;
    for (const HostRecord& r : hostRecords()) count += r.opcode == audioMasterSizeWindow;
    return count;
  }
};

TEST_F(ZoomChoice, RightClickOnBarePanelListsTheSteps) {
  click(CPoint(160, 75), kRButton);
  ASSERT_NE(frame->getOpenPopupMenu(), nullptr);
  const std::vector<PopupMenuEntry>& entries = frame->getPopupEntries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].title, "Zoom 100 %");
  EXPECT_EQ(entries[1].title, "Zoom 150 %");
  EXPECT_EQ(entries[2].title, "Zoom 200 %");
  EXPECT_TRUE(entries[0].checked);
  EXPECT_FALSE(entries[2].checked);
  frame->closePopupMenu(-1);
  // Not over a control, and not with the left button.
  click(centre(kInputKnobRect), kRButton);
  EXPECT_EQ(frame->getOpenPopupMenu(), nullptr);
  click(CPoint(160, 75), kLButton);
  EXPECT_EQ(frame->getOpenPopupMenu(), nullptr);
}

TEST_F(ZoomChoice, AHostThatAllowsItGetsTheNewSizeAtTheNextIdle) {
  hostAcceptsSizeWindow() = true;
  set(kFbck, 0.3f);
  chooseFromMenu(2);
  EXPECT_EQ(frame->getZoom(), 1.0) << "rebuilt inside the menu's own event";
  editor->idle();
  ASSERT_EQ(sizeRequests(), 1);
  EXPECT_EQ(hostRecords().back().index, 1740);
  EXPECT_FLOAT_EQ(hostRecords().back().value, 202.f);
  frame = editor->getFrame();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->getZoom(), 2.0);
  EXPECT_EQ(cairo_image_surface_get_width(frame->getBackBuffer()), 1740);
  EXPECT_FLOAT_EQ(control(kFbck)->getValue(), param(kFbck));
  ERect* rect = nullptr;
  ASSERT_TRUE(editor->getRect(&rect));
  EXPECT_EQ(rect->right, 1740);
  EXPECT_EQ(rect->bottom, 202);
}

TEST_F(ZoomChoice, AHostThatRefusesGetsTheNewSizeWhenTheWindowNextOpens) {
  chooseFromMenu(1);
  editor->idle();
  EXPECT_EQ(sizeRequests(), 1);
  ASSERT_EQ(editor->getFrame(), frame);
  EXPECT_EQ(frame->getZoom(), 1.0);
  ERect* rect = nullptr;
  ASSERT_TRUE(editor->getRect(&rect));
  EXPECT_EQ(rect->right, 870);  // the open window keeps its size
  editor->close();
  ASSERT_TRUE(editor->getRect(&rect));
  EXPECT_EQ(rect->right, 1305);
  EXPECT_EQ(rect->bottom, 152);
  ASSERT_TRUE(editor->open(nullptr));
  EXPECT_EQ(editor->getFrame()->getZoom(), 1.5);
}

TEST_F(ZoomChoice, TheChoiceIsStoredForEveryInstance) {
  chooseFromMenu(2);
  EXPECT_EQ(storedZoom(SettingsStore()), 200);
  AEffect* second = VSTPluginMain(fakeHost);
  ASSERT_NE(second, nullptr);
  ERect* rect = nullptr;
  second->dispatcher(second, effEditGetRect, 0, 0, &rect, 0.f);
  ASSERT_NE(rect, nullptr);
  EXPECT_EQ(rect->right, 1740);
  EXPECT_EQ(rect->bottom, 202);
  second->dispatcher(second, effClose, 0, 0, nullptr, 0.f);
}

}  // namespace
}  // namespace panel_test
