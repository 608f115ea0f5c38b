// The editor in a real X11 window through the host tool's gui and snapshot
// commands, driven with xdotool. Runs under a virtual X server in CTest and
// skips itself when no display can be opened.
#include <cairo.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// Last: its macros clash with names in the test framework.
#include <X11/Xlib.h>

extern char** environ;

namespace {

const std::string kDriver = HALDEN_GUI_DRIVER;
const std::string kPlugin = HALDEN_PLUGIN;
const std::string kArtifacts = HALDEN_ARTIFACT_DIR;

constexpr int kInputParameter = 0;
constexpr int kPowerParameter = 14;

// Starts a program with its output going to files; waits for it on request.
class Child {
 public:
  Child(const std::vector<std::string>& argv, const std::string& outPath,
        const std::string& errPath) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
  }
  // The exit status, or -1 when the program did not run or end normally.
  int wait() {
    if (pid <= 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void signal(int number) {
    if (pid > 0) kill(pid, number);
  }
  ~Child() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      wait();
    }
  }

 private:
  pid_t pid = -1;
};

std::string readText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

int run(const std::vector<std::string>& argv, const std::string& outPath) {
  Child child(argv, outPath, outPath + ".err");
  return child.wait();
}

bool haveProgram(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

void pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// The "parameter INDEX VALUE" lines of the gui command's output.
std::map<int, float> parametersIn(const std::string& output) {
  std::map<int, float> values;
  std::istringstream lines(output);
  std::string word;
  int index;
  float value;
  while (lines >> word) {
    if (word == "parameter" && lines >> index >> value) values[index] = value;
  }
  return values;
}

class EditorWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    Display* display = XOpenDisplay(nullptr);
    if (!display) GTEST_SKIP() << "no X display";
    XCloseDisplay(display);
    if (!haveProgram("xdotool")) GTEST_SKIP() << "xdotool is not installed";
    char pattern[] = "/tmp/halden-x11-XXXXXX";
    folder = mkdtemp(pattern);
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  }
  void TearDown() override {
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }
  std::string file(const std::string& name) const { return folder + "/" + name; }
  // xdotool's window id of the window with this title, waiting for it.
  std::string findWindow(const std::string& title) {
    const std::string out = file("search.txt");
    run({"timeout", "10", "xdotool", "search", "--sync", "--name", title}, out);
    std::istringstream ids(readText(out));
    std::string id;
    ids >> id;
    return id;
  }
  void xdotool(const std::vector<std::string>& words) {
    std::vector<std::string> argv{"xdotool"};
    argv.insert(argv.end(), words.begin(), words.end());
    ASSERT_EQ(run(argv, file("xdotool.txt")), 0) << readText(file("xdotool.txt.err"));
    pause(150);  // the editor handles events at its next idle pass
  }

  std::string folder;
};

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
