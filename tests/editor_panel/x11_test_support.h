// Shared by the X11 editor tests: child processes with their output in
// files, xdotool, and a fixture with a private settings folder.
#pragma once

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

namespace x11test {
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
    // The desktop's scale would choose the zoom; these tests say it themselves.
    for (const char* variable : {"GDK_SCALE", "QT_SCALE_FACTOR"}) unsetenv(variable);
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

}  // namespace
}  // namespace x11test
