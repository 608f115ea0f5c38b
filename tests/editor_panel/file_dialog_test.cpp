// File dialogs through a real child process: a stand-in dialog program (a
// shell script named zenity) on PATH in a temporary folder. The host's idle
// calls must stay short while it runs, its answer must still be acted on,
// and closing must end it.
#include "tests/editor_panel/panel_test_support.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "presets/record_files.h"
#include "presets/record_formats.h"

namespace panel_test {
namespace {

using namespace layout;
using Clock = std::chrono::steady_clock;

constexpr auto kIdleBudget = std::chrono::milliseconds(5);
constexpr auto kHostIdlePeriod = std::chrono::milliseconds(10);
constexpr auto kPatience = std::chrono::seconds(10);

// PATH for the test's life: the given folder alone, or in front of the
// system's folders.
class ScopedPath {
 public:
  explicit ScopedPath(const std::string& path) {
    if (const char* current = std::getenv("PATH")) old = current;
    setenv("PATH", path.c_str(), 1);
  }
  ~ScopedPath() { setenv("PATH", old.c_str(), 1); }

 private:
  std::string old;
};

std::string readText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool processGone(pid_t pid) { return kill(pid, 0) != 0 && errno == ESRCH; }

class FileDialog : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    bin = configHome.path() + "/bin";
    files = configHome.path() + "/files";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(files);
    for (int pass = 0; pass < 3; ++pass) hostIdle();  // the first full paint
  }

  // A dialog program that notes each start and its process id, waits, then
  // answers.
  void installDialog(const std::string& answer, double seconds) {
    const std::string script = bin + "/zenity";
    std::ofstream out(script);
    out << "#!/bin/sh\n"
        << "echo $$ >> '" << bin << "/started'\n"
        << "/bin/sleep " << seconds << "\n"
        << "echo '" << answer << "'\n";
    out.close();
    chmod(script.c_str(), 0755);
  }
  std::vector<pid_t> startedDialogs() {
    std::vector<pid_t> pids;
    std::istringstream lines(readText(bin + "/started"));
    for (pid_t pid; lines >> pid;) pids.push_back(pid);
    return pids;
  }
  bool waitFor(const std::function<bool()>& done) {
    const auto deadline = Clock::now() + kPatience;
    while (Clock::now() < deadline) {
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return done();
  }
  // One idle call from the host; answers how long it took. A call that the
  // scheduler interrupted (the machine is shared) without the call itself
  // waiting for anything answers zero: only waiting is the editor's doing.
  Clock::duration hostIdle() {
    now += 10;
    rusage before{}, after{};
    getrusage(RUSAGE_THREAD, &before);
    const auto start = Clock::now();
    record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.f);
    const Clock::duration took = Clock::now() - start;
    getrusage(RUSAGE_THREAD, &after);
    const bool waited = after.ru_nvcsw != before.ru_nvcsw;
    const bool preempted = after.ru_nivcsw != before.ru_nivcsw;
    if (preempted && !waited) {
      ++preemptedCalls;
      return Clock::duration::zero();
    }
    return took;
  }
  int preemptedCalls = 0;
  float programValue(VstInt32 index) {
    return fx->getPrograms()[fx->getCurrentProgramIndex()].values[index];
  }

  std::string bin;
  std::string files;
};

TEST_F(FileDialog, TwoSecondDialogNeverHoldsUpTheHostAndItsAnswerIsSaved) {
  ScopedPath path(bin + ":/usr/bin:/bin");
  installDialog(files + "/slow", 2);
  click(centre(kSavePresetRect));
  ASSERT_TRUE(editor->isFileDialogOpen());

  Clock::duration longest{};
  Clock::duration finishing{};
  int passes = 0;
  bool clickedAgain = false;
  const auto started = Clock::now();
  while (editor->isFileDialogOpen() && Clock::now() - started < kPatience) {
    const Clock::duration took = hostIdle();
    if (editor->isFileDialogOpen())
      longest = std::max(longest, took);
    else
      finishing = took;
    ++passes;
    if (!clickedAgain && Clock::now() - started > std::chrono::milliseconds(500)) {
      click(centre(kSavePresetRect));  // a second click meanwhile
      click(centre(kLoadBankRect));
      clickedAgain = true;
    }
    std::this_thread::sleep_for(kHostIdlePeriod);
  }
  ASSERT_FALSE(editor->isFileDialogOpen());
  EXPECT_GE(Clock::now() - started, std::chrono::milliseconds(1900));
  EXPECT_GT(passes, 50);
  EXPECT_LT(longest, kIdleBudget)
      << std::chrono::duration_cast<std::chrono::microseconds>(longest).count() << " us";
  std::printf("%d idle calls while the dialog was open (%d preempted, not timed), longest %lld us; "
              "the call that saved %lld us\n",
              passes - 1, preemptedCalls,
              static_cast<long long>(
                  std::chrono::duration_cast<std::chrono::microseconds>(longest).count()),
              static_cast<long long>(
                  std::chrono::duration_cast<std::chrono::microseconds>(finishing).count()));

  EXPECT_TRUE(clickedAgain);
  EXPECT_EQ(startedDialogs().size(), 1u) << "a click meanwhile opened another dialog";
  EXPECT_EQ(std::filesystem::file_size(files + "/slow.qel"), kPresetFileSize);
  EXPECT_EQ(std::string(editor->getPresetFileName()), "slow.qel");
  // The dialog program was reaped.
  EXPECT_TRUE(waitFor([&] { return processGone(startedDialogs().at(0)); }));
}

TEST_F(FileDialog, ClosingTheWindowEndsAnOpenDialogAndChangesNothing) {
  ScopedPath path(bin + ":/usr/bin:/bin");
  // A preset that would change Mix if it were loaded.
  set(kMix, 0.125f);
  ASSERT_TRUE(saveRecordToFile(*fx, RecordKind::kPreset, (files + "/mix.qel").c_str()));
  set(kMix, 0.5f);
  installDialog(files + "/mix.qel", 1);
  click(centre(kLoadPresetRect));
  ASSERT_TRUE(waitFor([&] { return !startedDialogs().empty(); }));
  const pid_t dialog = startedDialogs().front();

  editor->close();
  EXPECT_TRUE(processGone(dialog)) << "the dialog program is still there (or a zombie)";
  std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  for (int pass = 0; pass < 5; ++pass) hostIdle();
  EXPECT_EQ(programValue(kMix), 0.5f);
  EXPECT_EQ(std::string(editor->getPresetFileName()), "");
}

TEST_F(FileDialog, ClosingTheInstanceEndsAnOpenDialog) {
  ScopedPath path(bin + ":/usr/bin:/bin");
  installDialog(files + "/never", 5);
  click(centre(kSaveBankRect));
  ASSERT_TRUE(waitFor([&] { return !startedDialogs().empty(); }));
  const pid_t dialog = startedDialogs().front();
  // Straight to the instance's end, the window still open.
  record->dispatcher(record, effClose, 0, 0, nullptr, 0.f);
  record = nullptr;
  editor = nullptr;
  EXPECT_TRUE(processGone(dialog));
  EXPECT_FALSE(std::filesystem::exists(files + "/never.qeb"));
}

TEST_F(FileDialog, WithoutADialogProgramTheControllerDisplaySaysSoForAFewSeconds) {
  ScopedPath path(bin);  // neither zenity nor kdialog there
  hover(centre(kLoadPresetRect));
  click(centre(kLoadPresetRect));
  EXPECT_FALSE(editor->isFileDialogOpen());
  idleAt(now + 100);
  EXPECT_EQ(controllerText(), "install zenity or kdialog");
  idleAt(now + 2000);
  EXPECT_EQ(controllerText(), "install zenity or kdialog");
  idleAt(now + 1500);
  EXPECT_EQ(controllerText(), "");
  hover(centre(kInputKnobRect));
  EXPECT_EQ(controllerText(), "not assigned");
}

}  // namespace
}  // namespace panel_test
