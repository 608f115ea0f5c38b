#include "editor/record_file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask
constexpr int kTemporaryNameAttempts = 16;

std::atomic<unsigned> temporaryCounter{0};

bool writeAll(int fd, const unsigned char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

// A new file beside path that no one else is using; -1 when none can be made.
int createTemporaryBeside(const std::string& path, std::string& temporaryPath) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    temporaryPath = path + ".tmp-" + std::to_string(::getpid()) + "-" +
                    std::to_string(temporaryCounter.fetch_add(1));
    const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          kNewFileMode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

size_t readRecordFile(const char* path, unsigned char* buffer, size_t size) {
  if (!path || !*path || !buffer) return 0;
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return 0;
  const size_t got = std::fread(buffer, 1, size, file);
  std::fclose(file);
  return got;
}

bool writeRecordFile(const char* path, const unsigned char* data, size_t size) {
  if (!path || !*path || !data) return false;
  const std::string target = path;
  std::string temporary;
  const int fd = createTemporaryBeside(target, temporary);
  if (fd < 0) return false;
  struct stat existing {};
  if (::stat(path, &existing) == 0) ::fchmod(fd, existing.st_mode & 07777);
  bool ok = writeAll(fd, data, size) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = std::rename(temporary.c_str(), path) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}
