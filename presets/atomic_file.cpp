#include "presets/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kTemporaryNameAttempts = 16;
// Temporary names are ".<name>.tmp-<pid>-<counter>".
constexpr char kTemporaryMarker[] = ".tmp-";

std::atomic<unsigned> temporaryCounter{0};

bool writeAll(int fd, const void* bytes, size_t size) {
  const auto* at = static_cast<const unsigned char*>(bytes);
  while (size > 0) {
    const ssize_t written = ::write(fd, at, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    at += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

// The folder part of path with its trailing '/', or empty for a bare name.
std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A hidden name beside path, unique for this process and call. The process
// id in it lets a later start-up tell a dead writer's leftovers apart.
std::string temporaryNameBeside(const std::string& path) {
  const std::string folder = folderOf(path);
  return folder + kTemporaryFilePrefix + path.substr(folder.size()) + kTemporaryMarker +
         std::to_string(::getpid()) + "-" +
         std::to_string(temporaryCounter.fetch_add(1, std::memory_order_relaxed));
}

// A new hidden file beside path that no one else is using; -1 when none can
// be made. Process id and counter keep writers in other processes and
// threads apart, O_EXCL catches the rest.
int createTemporaryBeside(const std::string& path, mode_t mode, std::string& temporaryPath) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    temporaryPath = temporaryNameBeside(path);
    const int fd =
        ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// An existing regular file's permissions pass to its replacement.
void keepPermissions(int fd, const std::string& path) {
  struct stat existing {};
  if (::lstat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
    ::fchmod(fd, existing.st_mode & 07777);
}

bool fillAndSync(int fd, const std::string& path, const void* bytes, size_t size) {
  keepPermissions(fd, path);
  return writeAll(fd, bytes, size) && ::fsync(fd) == 0;
}

enum class Outcome { kDone, kFailed, kUnsupported };

// The unnamed-file way: nothing with a name exists until the content is
// complete. A new value is linked straight into place; an existing one is
// replaced through a link to a temporary name and a rename, which leaves a
// named file behind only if the writer dies between those two calls.
Outcome replaceThroughUnnamedFile(const std::string& path, const void* bytes, size_t size,
                                  mode_t mode) {
  const std::string folder = folderOf(path);
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC,
                        mode);
  if (fd < 0) return Outcome::kUnsupported;
  if (!fillAndSync(fd, path, bytes, size)) {
    ::close(fd);
    return Outcome::kFailed;
  }
  // Linking by the descriptor's name in /proc needs no privilege.
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  Outcome outcome = Outcome::kUnsupported;
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
    outcome = Outcome::kDone;
  } else if (errno == EEXIST) {
    outcome = Outcome::kFailed;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
      const std::string temporary = temporaryNameBeside(path);
      if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0) {
        if (errno == EEXIST) continue;
        break;
      }
      if (std::rename(temporary.c_str(), path.c_str()) == 0) {
        outcome = Outcome::kDone;
      } else {
        ::unlink(temporary.c_str());
      }
      break;
    }
  }
  if (::close(fd) != 0 && outcome == Outcome::kDone) outcome = Outcome::kFailed;
  return outcome;
}

// The named-file way, for file systems without unnamed files.
bool replaceThroughNamedFile(const std::string& path, const void* bytes, size_t size,
                             mode_t mode) {
  std::string temporary;
  const int fd = createTemporaryBeside(path, mode, temporary);
  if (fd < 0) return false;
  bool ok = fillAndSync(fd, path, bytes, size);
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = std::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

// The writer's process id in a temporary file's name; 0 when the name is
// not one of ours.
pid_t writerOfTemporary(const char* name) {
  if (name[0] != kTemporaryFilePrefix) return 0;
  const char* marker = std::strstr(name, kTemporaryMarker);
  if (!marker) return 0;
  const char* digits = marker + sizeof(kTemporaryMarker) - 1;
  char* end = nullptr;
  const long pid = std::strtol(digits, &end, 10);
  if (end == digits || *end != '-' || pid <= 0) return 0;
  return static_cast<pid_t>(pid);
}

bool processIsGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

void syncFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

bool replaceFileAtomically(const std::string& path, const void* bytes, size_t size,
                           mode_t newFileMode, FolderSync sync) {
  if (path.empty() || path.back() == '/' || (!bytes && size > 0)) return false;
  const Outcome outcome = replaceThroughUnnamedFile(path, bytes, size, newFileMode);
  const bool ok = outcome == Outcome::kUnsupported
                      ? replaceThroughNamedFile(path, bytes, size, newFileMode)
                      : outcome == Outcome::kDone;
  if (ok && sync == FolderSync::kNow) syncFolder(folderOf(path));
  return ok;
}

void removeStaleTemporaryFiles(const std::string& folder) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return;
  const int dirFd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const pid_t writer = writerOfTemporary(entry->d_name);
    if (writer != 0 && writer != ::getpid() && processIsGone(writer))
      ::unlinkat(dirFd, entry->d_name, 0);
  }
  ::closedir(dir);
}
