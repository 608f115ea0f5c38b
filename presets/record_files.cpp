#include "presets/record_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "presets/atomic_file.h"
#include "presets/preset_records.h"
#include "presets/record_formats.h"

namespace {

constexpr mode_t kNewFileMode = 0666;  // narrowed by the umask
constexpr size_t kMaxLocationLength = kLocationTextSize - 1;

// By record kind: preset, bank, MIDI settings.
constexpr RecordFileFormat kFileFormats[] = {
    {"Qel Preset", "qel", kPresetFileSize},
    {"Qel Bank", "qeb", kBankFileSize},
    {"Qel MIDI Settings", "qem", kMidiFileSize},
};

void copyLocation(char* to, const char* from, size_t length) {
  if (length > kMaxLocationLength) length = kMaxLocationLength;
  std::memcpy(to, from, length);
  to[length] = 0;
}

}  // namespace

const RecordFileFormat& recordFileFormat(RecordKind kind) {
  return kFileFormats[static_cast<size_t>(kind)];
}

size_t readRecordFile(const char* path, unsigned char* buffer, size_t size) {
  if (!path || !*path || !buffer) return 0;
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return 0;
  size_t got = 0;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    while (got < size) {
      const ssize_t n = ::read(fd, buffer + got, size - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += static_cast<size_t>(n);
    }
  }
  ::close(fd);
  return got;
}

bool writeRecordFile(const char* path, const unsigned char* data, size_t size) {
  if (!path || !*path || !data) return false;
  return replaceFileAtomically(path, data, size, kNewFileMode);
}

bool loadRecordFromFile(CPresetSystemEffect& fx, RecordKind kind, const char* path,
                        bool byteReversed) {
  std::vector<uint8_t> record(recordFileFormat(kind).size, 0);
  readRecordFile(path, record.data(), record.size());
  switch (kind) {
    case RecordKind::kPreset: return decodePresetRecord(fx, record.data(), byteReversed);
    case RecordKind::kBank: return decodeBankRecord(fx, record.data(), byteReversed);
    case RecordKind::kMidi: break;
  }
  return decodeMidiRecord(fx, record.data(), byteReversed);
}

bool saveRecordToFile(CPresetSystemEffect& fx, RecordKind kind, const char* path) {
  std::vector<uint8_t> record(recordFileFormat(kind).size, 0);
  switch (kind) {
    case RecordKind::kPreset: encodePresetRecord(fx, record.data()); break;
    case RecordKind::kBank: encodeBankRecord(fx, record.data()); break;
    case RecordKind::kMidi: encodeMidiRecord(fx, record.data()); break;
  }
  return writeRecordFile(path, record.data(), record.size());
}

char* FileLocations::fileNameOf(RecordKind kind) {
  return const_cast<char*>(static_cast<const FileLocations*>(this)->fileNameOf(kind));
}

const char* FileLocations::fileNameOf(RecordKind kind) const {
  switch (kind) {
    case RecordKind::kPreset: return presetFileName;
    case RecordKind::kBank: return bankFileName;
    case RecordKind::kMidi: break;
  }
  return midiFileName;
}

void FileLocations::startInWorkingDirectory() {
  currentFolder[0] = 0;
  char path[kLocationTextSize] = {};
  if (!::getcwd(path, sizeof(path))) return;
  const size_t length = std::strlen(path);
  if (path[length - 1] == '/') {
    std::memcpy(currentFolder, path, length + 1);
  } else if (length + 1 < kLocationTextSize) {
    std::memcpy(currentFolder, path, length);
    currentFolder[length] = '/';
    currentFolder[length + 1] = 0;
  }
}

bool FileLocations::rememberChosenPath(const char* path, RecordKind kind) {
  const char* slash = path ? std::strrchr(path, '/') : nullptr;
  if (!slash) return false;
  copyLocation(currentFolder, path, static_cast<size_t>(slash - path) + 1);
  copyLocation(fileNameOf(kind), slash + 1, std::strlen(slash + 1));
  return true;
}

std::string FileLocations::rememberedPath(RecordKind kind) const {
  return std::string(currentFolder) + fileNameOf(kind);
}
