#include "presets/settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "presets/atomic_file.h"

namespace {

constexpr const char* kProductPath = "Qelworks/Halden";
constexpr mode_t kPrivateFolder = 0700;
constexpr mode_t kPrivateFile = 0600;

// Temporary files start with a character no value name may start with, so a
// reader never takes a half-written file for a value.
bool isValidName(const char* name) {
  return name && name[0] != 0 && name[0] != kTemporaryFilePrefix &&
         std::strchr(name, '/') == nullptr;
}

bool readAll(int fd, void* bytes, size_t size) {
  auto* at = static_cast<unsigned char*>(bytes);
  while (size > 0) {
    const ssize_t got = ::read(fd, at, size);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    at += got;
    size -= static_cast<size_t>(got);
  }
  return true;
}

// Cuts a text to at most limit bytes without splitting a UTF-8 sequence.
size_t cutLength(const char* text, size_t limit) {
  size_t length = strnlen(text, limit + 1);
  if (length <= limit) return length;
  length = limit;
  while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  return length;
}

}  // namespace

std::string SettingsStore::defaultFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && config[0] == '/') return std::string(config) + "/" + kProductPath;
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.config/" + kProductPath;
  return std::string();
}

std::string SettingsStore::pathOf(const char* name) const { return folder_ + "/" + name; }

bool SettingsStore::createFolder() const {
  if (folder_.empty() || folder_[0] != '/') return false;
  for (size_t slash = folder_.find('/', 1);; slash = folder_.find('/', slash + 1)) {
    const std::string part = folder_.substr(0, slash);
    struct stat info {};
    const bool exists = ::stat(part.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    if (!exists && ::mkdir(part.c_str(), kPrivateFolder) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat folderInfo {};
  return ::stat(folder_.c_str(), &folderInfo) == 0 && S_ISDIR(folderInfo.st_mode);
}

bool SettingsStore::holds(const char* name, const void* bytes, size_t size) const {
  std::vector<unsigned char> stored(size + 1);  // one more: a longer value differs
  const long got = recall(name, stored.data(), stored.size());
  return got == static_cast<long>(size) &&
         (size == 0 || std::memcmp(stored.data(), bytes, size) == 0);
}

bool SettingsStore::write(const char* name, const void* bytes, size_t size, bool& wrote) const {
  wrote = false;
  if (!isValidName(name) || (!bytes && size > 0) || !createFolder()) return false;
  if (holds(name, bytes, size)) return true;
  wrote = replaceFileAtomically(pathOf(name), bytes, size, kPrivateFile, FolderSync::kByCaller);
  return wrote;
}

bool SettingsStore::store(const char* name, const void* bytes, size_t size) const {
  bool wrote = false;
  const bool ok = write(name, bytes, size, wrote);
  if (wrote) syncFolder(folder_);
  return ok;
}

bool SettingsStore::storeTexts(const TextValue* values, size_t count) const {
  bool ok = true, anyWritten = false;
  for (size_t i = 0; i < count; ++i) {
    const char* text = values[i].text ? values[i].text : "";
    bool wrote = false;
    ok = write(values[i].name, text, cutLength(text, kMaxTextBytes), wrote) && ok;
    anyWritten = anyWritten || wrote;
  }
  if (anyWritten) syncFolder(folder_);
  return ok;
}

void SettingsStore::removeStaleTemporaries() const {
  if (!folder_.empty()) removeStaleTemporaryFiles(folder_);
}

long SettingsStore::recall(const char* name, void* buffer, size_t capacity) const {
  if (!isValidName(name) || folder_.empty() || (!buffer && capacity > 0)) return -1;
  // Without blocking (a pipe would wait for a writer for ever) and without
  // following a link; fstat then admits regular files only.
  const int fd = ::open(pathOf(name).c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -1;
  long result = -1;
  struct stat info {};
  // A value file is never changed in place, so its size is the value's.
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
      static_cast<unsigned long long>(info.st_size) <= capacity) {
    const auto size = static_cast<size_t>(info.st_size);
    std::vector<unsigned char> bytes(size);
    if (readAll(fd, bytes.data(), size)) {
      if (size > 0) std::memcpy(buffer, bytes.data(), size);
      result = static_cast<long>(size);
    }
  }
  ::close(fd);
  return result;
}

bool SettingsStore::remove(const char* name) const {
  if (!isValidName(name) || folder_.empty()) return false;
  if (::unlink(pathOf(name).c_str()) != 0 && errno != ENOENT && errno != ENOTDIR) return false;
  return true;
}

bool SettingsStore::storeText(const char* name, const char* text) const {
  if (!text) text = "";
  return store(name, text, cutLength(text, kMaxTextBytes));
}

void SettingsStore::recallText(const char* name, char* text) const {
  if (!text) return;
  char stored[kMaxTextBytes + 1] = {};
  const long size = recall(name, stored, kMaxTextBytes);
  // A text ends at its first zero byte, whatever follows it in the file.
  const size_t length = size > 0 ? strnlen(stored, static_cast<size_t>(size)) : 0;
  std::memcpy(text, stored, length);
  text[length] = 0;
}
