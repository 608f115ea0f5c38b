// The zoomed editor in a real X11 window: the desktop's scale chooses the
// size, clicks land on the control under the pointer at that size, and the
// background menu's choice resizes the host's window and is remembered.
#include "x11_test_support.h"

namespace {

using namespace x11test;

// Where the Power switch is at 200 %: its 1× rectangle is (818, 45)–(840, 65).
constexpr int kPowerAt200X = 1658;
constexpr int kPowerAt200Y = 110;
// A spot of bare panel at 1×, under no control, where a right click opens
// the zoom menu; its third entry is "Zoom 200 %", 18-pixel rows below the pointer.
constexpr int kBackgroundX = 160;
constexpr int kBackgroundY = 75;
constexpr int kMenuRowHeight = 18;
constexpr int kZoom200Row = 2;

// A window's width and height from xdotool's shell-style geometry output.
std::pair<int, int> windowSize(const std::string& folder, const std::string& window) {
  const std::string out = folder + "/geometry.txt";
  run({"xdotool", "getwindowgeometry", "--shell", window}, out);
  std::istringstream lines(readText(out));
  std::string line;
  int width = 0, height = 0;
  while (std::getline(lines, line)) {
    if (line.rfind("WIDTH=", 0) == 0) width = std::stoi(line.substr(6));
    if (line.rfind("HEIGHT=", 0) == 0) height = std::stoi(line.substr(7));
  }
  return {width, height};
}

int pngWidth(const std::string& path) {
  cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
  const int width = cairo_surface_status(image) == CAIRO_STATUS_SUCCESS
                        ? cairo_image_surface_get_width(image)
                        : -1;
  cairo_surface_destroy(image);
  return width;
}

class ZoomedEditorWindow : public EditorWindow {
 protected:
  void TearDown() override {
    for (const char* variable : {"GDK_SCALE", "QT_SCALE_FACTOR"}) unsetenv(variable);
    EditorWindow::TearDown();
  }
};

TEST_F(ZoomedEditorWindow, GdkScaleTwoDoublesTheWindowAndClicksFindTheirControl) {
  setenv("GDK_SCALE", "2", 1);
  const std::string title = "halden-zoom200-" + std::to_string(getpid());
  Child gui({kDriver, "gui", kPlugin, "--seconds", "60", "--title", title, "--log",
             file("log.txt"), "--print-parameters"},
            file("gui.txt"), file("gui.err"));
  const std::string window = findWindow(title);
  ASSERT_FALSE(window.empty()) << readText(file("gui.err"));
  pause(300);
  EXPECT_EQ(windowSize(folder, window), std::make_pair(1740, 202));
  xdotool({"mousemove", "--window", window, std::to_string(kPowerAt200X),
           std::to_string(kPowerAt200Y), "click", "1"});
  pause(200);
  gui.signal(SIGTERM);
  ASSERT_EQ(gui.wait(), 0) << readText(file("gui.err"));
  const std::map<int, float> values = parametersIn(readText(file("gui.txt")));
  ASSERT_EQ(values.count(kPowerParameter), 1u);
  EXPECT_FLOAT_EQ(values.at(kPowerParameter), 0.25f);  // it was on
}

TEST_F(ZoomedEditorWindow, QtScaleFactorOneAndAHalfGivesThe150PercentWindow) {
  setenv("QT_SCALE_FACTOR", "1.5", 1);
  const std::string png = file("snapshot150.png");
  ASSERT_EQ(run({kDriver, "snapshot", kPlugin, png}, file("snap.txt")), 0)
      << readText(file("snap.txt.err"));
  EXPECT_EQ(pngWidth(png), 1305);
}

TEST_F(ZoomedEditorWindow, BackgroundMenuResizesThroughTheHostAndTheNextInstanceRemembers) {
  const std::string title = "halden-zoom-menu-" + std::to_string(getpid());
  Child gui({kDriver, "gui", kPlugin, "--seconds", "60", "--title", title},
            file("gui.txt"), file("gui.err"));
  const std::string window = findWindow(title);
  ASSERT_FALSE(window.empty()) << readText(file("gui.err"));
  pause(300);
  EXPECT_EQ(windowSize(folder, window), std::make_pair(870, 101));
  xdotool({"mousemove", "--window", window, std::to_string(kBackgroundX),
           std::to_string(kBackgroundY), "click", "3"});
  pause(200);
  // The menu opens with its corner at the pointer.
  xdotool({"mousemove_relative", "--", "20",
           std::to_string(kZoom200Row * kMenuRowHeight + kMenuRowHeight / 2), "click", "1"});
  pause(400);
  EXPECT_EQ(windowSize(folder, window), std::make_pair(1740, 202));
  gui.signal(SIGTERM);
  ASSERT_EQ(gui.wait(), 0) << readText(file("gui.err"));

  const std::string png = file("next-instance.png");
  ASSERT_EQ(run({kDriver, "snapshot", kPlugin, png}, file("snap.txt")), 0)
      << readText(file("snap.txt.err"));
  EXPECT_EQ(pngWidth(png), 1740);
}

}  // namespace
