// The editor in a real X11 window through the host tool's gui and snapshot
// commands, driven with xdotool. Runs under a virtual X server in CTest and
// skips itself when no display can be opened.
#include "x11_test_support.h"

namespace {

using namespace x11test;

TEST_F(EditorWindow, DragAndClickChangeTheParameters) {
  const std::string title = "halden-editor-test-" + std::to_string(getpid());
  const std::string screenshot = file("gui.png");
  // Ended by SIGTERM once the gestures are done; the time limit is a safety net.
  Child gui({kDriver, "gui", kPlugin, "--seconds", "60", "--title", title, "--log", file("log.txt"),
             "--print-parameters", "--screenshot", screenshot},
            file("gui.txt"), file("gui.err"));
  const std::string window = findWindow(title);
  ASSERT_FALSE(window.empty()) << readText(file("gui.err"));
  pause(300);
  // Input knob: press, drag 20 pixels up, release.
  xdotool({"mousemove", "--window", window, "126", "42", "mousedown", "1"});
  xdotool({"mousemove", "--window", window, "126", "22"});
  xdotool({"mouseup", "1"});
  // Power button.
  xdotool({"mousemove", "--window", window, "829", "55", "click", "1"});
  pause(200);
  gui.signal(SIGTERM);
  ASSERT_EQ(gui.wait(), 0) << readText(file("gui.err"));

  const std::map<int, float> values = parametersIn(readText(file("gui.txt")));
  ASSERT_EQ(values.count(kInputParameter), 1u);
  EXPECT_GT(values.at(kInputParameter), 0.55f);  // program 0 starts at 0.5
  EXPECT_FLOAT_EQ(values.at(kPowerParameter), 0.25f);
  const std::string log = readText(file("log.txt"));
  EXPECT_NE(log.find("beginEdit 0"), std::string::npos) << log;
  EXPECT_NE(log.find("automate 14 0.25"), std::string::npos) << log;
  EXPECT_NE(readText(file("gui.txt")).find("0 windows left behind"), std::string::npos);
  ASSERT_TRUE(std::filesystem::exists(screenshot));
  std::error_code ignored;
  std::filesystem::create_directories(kArtifacts, ignored);
  std::filesystem::copy_file(screenshot, kArtifacts + "/editor-gui.png",
                             std::filesystem::copy_options::overwrite_existing, ignored);
}

TEST_F(EditorWindow, ReopeningFiveTimesLeavesNoWindow) {
  ASSERT_EQ(run({kDriver, "gui", kPlugin, "--seconds", "2", "--reopen", "5", "--title",
                 "halden-reopen-test"},
                file("reopen.txt")),
            0)
      << readText(file("reopen.txt.err"));
  EXPECT_NE(readText(file("reopen.txt")).find("editor opened 6 times, 0 windows left behind"),
            std::string::npos)
      << readText(file("reopen.txt"));
}

TEST_F(EditorWindow, EndsCleanlyOnSigtermAndWhenTheWindowIsDestroyed) {
  Child byTerm({kDriver, "gui", kPlugin, "--title", "halden-term-test"}, file("term.txt"),
               file("term.err"));
  ASSERT_FALSE(findWindow("halden-term-test").empty());
  pause(300);
  byTerm.signal(SIGTERM);
  EXPECT_EQ(byTerm.wait(), 0) << readText(file("term.err"));
  EXPECT_NE(readText(file("term.txt")).find("0 windows left behind"), std::string::npos);

  Child byClose({kDriver, "gui", kPlugin, "--title", "halden-close-test"}, file("close.txt"),
                file("close.err"));
  const std::string window = findWindow("halden-close-test");
  ASSERT_FALSE(window.empty());
  pause(300);
  xdotool({"windowclose", window});
  EXPECT_EQ(byClose.wait(), 0) << readText(file("close.err"));
}

TEST_F(EditorWindow, SnapshotWritesTheWholeEditor) {
  const std::string png = file("snapshot.png");
  ASSERT_EQ(run({kDriver, "snapshot", kPlugin, png, "--set", "14=0.25"}, file("snap.txt")), 0)
      << readText(file("snap.txt.err"));
  cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
  ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(image), 870);
  EXPECT_EQ(cairo_image_surface_get_height(image), 101);
  // Not a blank window: the panel has many colours.
  cairo_surface_flush(image);
  const unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  std::map<uint32_t, int> colours;
  for (int y = 0; y < 101; y += 5) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
    for (int x = 0; x < 870; x += 5) ++colours[row[x] & 0xffffff];
  }
  EXPECT_GT(colours.size(), 50u);
  cairo_surface_destroy(image);
}

TEST(EditorWithoutDisplay, SnapshotFailsWithOneLine) {
  char pattern[] = "/tmp/halden-nodisplay-XXXXXX";
  const std::string folder = mkdtemp(pattern);
  setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display ? display : "";
  unsetenv("DISPLAY");
  const int status = run({kDriver, "snapshot", kPlugin, folder + "/x.png"}, folder + "/out.txt");
  if (!saved.empty()) setenv("DISPLAY", saved.c_str(), 1);
  const std::string error = readText(folder + "/out.txt.err");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(error, "halden-host: cannot open the X display (is DISPLAY set?)\n");
  EXPECT_FALSE(std::filesystem::exists(folder + "/x.png"));
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

}  // namespace
