#include "presets/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace {

constexpr int kTemporaryNameAttempts = 16;

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

// A new hidden file beside path that no one else is using; -1 when none can
// be made. Process id and counter keep writers in other processes and
// threads apart, O_EXCL catches the rest.
int createTemporaryBeside(const std::string& path, mode_t mode, std::string& temporaryPath) {
  const size_t nameStart = folderOf(path).size();
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    temporaryPath = folderOf(path) + kTemporaryFilePrefix + path.substr(nameStart) + ".tmp-" +
                    std::to_string(::getpid()) + "-" +
                    std::to_string(temporaryCounter.fetch_add(1, std::memory_order_relaxed));
    const int fd =
        ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Makes the rename itself durable; a folder that cannot be synced is no failure.
void syncFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool replaceFileAtomically(const std::string& path, const void* bytes, size_t size,
                           mode_t newFileMode) {
  if (path.empty() || path.back() == '/' || (!bytes && size > 0)) return false;
  std::string temporary;
  const int fd = createTemporaryBeside(path, newFileMode, temporary);
  if (fd < 0) return false;
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) ::fchmod(fd, existing.st_mode & 07777);
  bool ok = writeAll(fd, bytes, size) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = std::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  syncFolder(folderOf(path));
  return true;
}
