#include "editor/toolkit/cfileselector.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>

#include "editor/toolkit/cframe.h"

extern char** environ;

namespace {

constexpr const char* kZenity = "zenity";
constexpr const char* kKdialog = "kdialog";
constexpr const char* kFallbackPath = "/usr/local/bin:/usr/bin:/bin";
// Exit status of a program whose status could not be collected.
constexpr int kUnknownStatus = -1;
// How often runModal looks at a running dialog.
constexpr long kModalPollNs = 10 * 1000 * 1000;

class SpawningRunner : public CNewFileSelector::Runner {
 public:
  bool findProgram(const char* name, std::string& path) override {
    const char* searchPath = std::getenv("PATH");
    std::string directories = searchPath && *searchPath ? searchPath : kFallbackPath;
    size_t start = 0;
    while (start <= directories.size()) {
      size_t end = directories.find(':', start);
      if (end == std::string::npos) end = directories.size();
      const std::string directory = directories.substr(start, end - start);
      if (!directory.empty()) {
        const std::string candidate = directory + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) {
          path = candidate;
          return true;
        }
      }
      start = end + 1;
    }
    return false;
  }

  std::unique_ptr<CNewFileSelector::Job> start(const std::vector<std::string>& argv) override;
};

// A dialog program running as a child in a process group of its own, so
// that ending it also ends whatever it started. Its output arrives through a
// non-blocking pipe.
class SpawnedJob : public CNewFileSelector::Job {
 public:
  SpawnedJob(pid_t pid, int outputPipe) : pid(pid), outputPipe(outputPipe) {}
  ~SpawnedJob() override {
    if (!reaped) {
      kill(-pid, SIGKILL);
      kill(pid, SIGKILL);
      // A killed child ends at once; a host that ignores SIGCHLD leaves no
      // status, and waitpid then answers ECHILD.
      while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }
    if (outputPipe >= 0) close(outputPipe);
  }

  bool finished(std::string& output, int& exitStatus) override {
    if (reaped) return true;
    if (!outputEnded) readAvailable();
    if (!outputEnded) return false;
    int status = 0;
    pid_t waited;
    do {
      waited = waitpid(pid, &status, WNOHANG);
    } while (waited < 0 && errno == EINTR);
    if (waited == 0) return false;  // output closed, program still ending
    reaped = true;
    output = collected;
    exitStatus = waited == pid && WIFEXITED(status) ? WEXITSTATUS(status) : kUnknownStatus;
    return true;
  }

 private:
  void readAvailable() {
    char buffer[4096];
    for (;;) {
      const ssize_t got = read(outputPipe, buffer, sizeof buffer);
      if (got > 0) {
        collected.append(buffer, static_cast<size_t>(got));
      } else if (got < 0 && errno == EINTR) {
        continue;
      } else {
        // Zero is the end of the output; EAGAIN means nothing more yet.
        if (got == 0 || errno != EAGAIN) outputEnded = true;
        return;
      }
    }
  }

  pid_t pid;
  int outputPipe;
  std::string collected;
  bool outputEnded = false;
  bool reaped = false;
};

std::unique_ptr<CNewFileSelector::Job> SpawningRunner::start(const std::vector<std::string>& argv) {
  if (argv.empty()) return nullptr;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return nullptr;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, args[0], &actions, &attributes, args.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (spawned != 0) {
    close(fds[0]);
    return nullptr;
  }
  fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);
  return std::make_unique<SpawnedJob>(pid, fds[0]);
}

// The answer of a program that has already run to its end.
class FinishedJob : public CNewFileSelector::Job {
 public:
  FinishedJob(std::string output, int exitStatus)
      : output(std::move(output)), exitStatus(exitStatus) {}
  bool finished(std::string& out, int& status) override {
    out = output;
    status = exitStatus;
    return true;
  }

 private:
  std::string output;
  int exitStatus;
};

SpawningRunner spawningRunner;
CNewFileSelector::Runner* activeRunner = &spawningRunner;

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace

CFileExtension::CFileExtension(const char* description, const char* extension,
                               const char* mimeType, int32_t macType, const char* uti)
    : description(description ? description : ""),
      extension(extension ? extension : ""),
      mimeType(mimeType ? mimeType : ""),
      macType(macType),
      uti(uti ? uti : "") {}

std::unique_ptr<CNewFileSelector::Job> CNewFileSelector::Runner::start(
    const std::vector<std::string>& argv) {
  std::string output;
  int exitStatus = kUnknownStatus;
  if (!run(argv, output, exitStatus)) return nullptr;
  return std::make_unique<FinishedJob>(std::move(output), exitStatus);
}

bool CNewFileSelector::Runner::run(const std::vector<std::string>& argv, std::string& output,
                                   int& exitStatus) {
  (void)argv, (void)output, (void)exitStatus;
  return false;
}

void CNewFileSelector::setRunner(Runner* runner) {
  activeRunner = runner ? runner : &spawningRunner;
}

CNewFileSelector* CNewFileSelector::create(CFrame* parent, Style style) {
  std::string path;
  if (activeRunner->findProgram(kZenity, path)) return new CNewFileSelector(parent, style, path, true);
  if (activeRunner->findProgram(kKdialog, path))
    return new CNewFileSelector(parent, style, path, false);
  return nullptr;
}

CNewFileSelector::CNewFileSelector(CFrame* parent, Style style, std::string program, bool isZenity)
    : parent(parent), style(style), program(std::move(program)), zenity(isZenity) {}

void CNewFileSelector::setDefaultExtension(const CFileExtension& extension) {
  // The default filter comes first, so the dialog starts with it.
  for (auto it = extensions.begin(); it != extensions.end(); ++it) {
    if (*it == extension) {
      extensions.erase(it);
      break;
    }
  }
  extensions.insert(extensions.begin(), extension);
}

void CNewFileSelector::addFileExtension(const CFileExtension& extension) {
  for (const CFileExtension& known : extensions)
    if (known == extension) return;
  extensions.push_back(extension);
}

const char* CNewFileSelector::getSelectedFile(uint32_t index) const {
  return index < selected.size() ? selected[index].c_str() : nullptr;
}

std::string CNewFileSelector::startPath() const {
  std::string path = initialDirectory;
  if (!path.empty() && path.back() != '/') path += '/';
  if (style == kSelectSaveFile) path += defaultSaveName;
  return path;
}

std::vector<std::string> CNewFileSelector::zenityArguments() const {
  std::vector<std::string> args{program, "--file-selection"};
  if (!title.empty()) args.push_back("--title=" + title);
  if (style == kSelectSaveFile) {
    args.push_back("--save");
    args.push_back("--confirm-overwrite");
  }
  if (style == kSelectDirectory) args.push_back("--directory");
  if (allowMultiple && style == kSelectFile) {
    args.push_back("--multiple");
    args.push_back("--separator=\n");
  }
  const std::string start = startPath();
  if (!start.empty()) args.push_back("--filename=" + start);
  if (style != kSelectDirectory && !extensions.empty()) {
    for (const CFileExtension& extension : extensions)
      args.push_back(std::string("--file-filter=") + extension.getDescription() + " (*." +
                     extension.getExtension() + ") | *." + extension.getExtension());
    args.push_back("--file-filter=All files | *");
  }
  return args;
}

std::vector<std::string> CNewFileSelector::kdialogArguments() const {
  std::vector<std::string> args{program};
  if (!title.empty()) {
    args.push_back("--title");
    args.push_back(title);
  }
  if (style == kSelectDirectory) {
    args.push_back("--getexistingdirectory");
    args.push_back(startPath());
    return args;
  }
  args.push_back(style == kSelectSaveFile ? "--getsavefilename" : "--getopenfilename");
  args.push_back(startPath().empty() ? "." : startPath());
  std::string filter;
  for (const CFileExtension& extension : extensions) {
    if (!filter.empty()) filter += "\n";
    filter += std::string("*.") + extension.getExtension() + "|" + extension.getDescription() +
              " (*." + extension.getExtension() + ")";
  }
  if (!filter.empty()) args.push_back(filter);
  if (allowMultiple && style == kSelectFile) {
    args.push_back("--multiple");
    args.push_back("--separate-output");
  }
  return args;
}

std::vector<std::string> CNewFileSelector::buildArguments() const {
  return zenity ? zenityArguments() : kdialogArguments();
}

CNewFileSelector::~CNewFileSelector() = default;

bool CNewFileSelector::start() {
  if (job) return false;
  selected.clear();
  job = activeRunner->start(buildArguments());
  return job != nullptr;
}

CNewFileSelector::Progress CNewFileSelector::poll() {
  if (!job) return selected.empty() ? Progress::kCancelled : Progress::kChosen;
  std::string output;
  int exitStatus = kUnknownStatus;
  if (!job->finished(output, exitStatus)) return Progress::kRunning;
  job.reset();
  return takeAnswer(output, exitStatus) ? Progress::kChosen : Progress::kCancelled;
}

void CNewFileSelector::cancel() {
  job.reset();
  selected.clear();
}

bool CNewFileSelector::takeAnswer(const std::string& output, int exitStatus) {
  // Cancelling exits non-zero and prints nothing.
  if (exitStatus != 0 && exitStatus != kUnknownStatus) return false;
  selected = splitLines(output);
  if (!allowMultiple && selected.size() > 1) selected.resize(1);
  // The dialog took the pointer; whatever it left inside the window must be
  // painted again.
  if (parent) parent->invalid();
  return !selected.empty();
}

bool CNewFileSelector::runModal() {
  if (!start()) return false;
  const timespec pause{0, kModalPollNs};
  Progress progress;
  while ((progress = poll()) == Progress::kRunning) nanosleep(&pause, nullptr);
  return progress == Progress::kChosen;
}
