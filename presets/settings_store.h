// Per-user settings shared by every instance: one folder, one file per named
// value holding exactly the value's bytes. A value is replaced whole or not
// at all (unnamed or temporary file, fsync, link or rename), also when
// several processes write at once or a writer dies mid-write, and only when
// its bytes changed. A value file is read only when it is a regular file
// (not a link, pipe, device or folder) that fits the reader, and it is opened
// without blocking, so a damaged folder can never hang an instance. Failures
// are silent to the user; the operations only answer whether they worked.
#pragma once

#include <cstddef>
#include <string>

class SettingsStore {
 public:
  // The largest text value, in bytes (without a terminator).
  static constexpr size_t kMaxTextBytes = 256;

  // The store under $XDG_CONFIG_HOME/Qelworks/Halden, or ~/.config/… when
  // that is unset or not absolute; empty (every operation fails) without HOME.
  static std::string defaultFolder();

  SettingsStore() : folder_(defaultFolder()) {}
  explicit SettingsStore(std::string folder) : folder_(std::move(folder)) {}

  const std::string& folder() const { return folder_; }
  void setFolder(std::string folder) { folder_ = std::move(folder); }

  // Replaces the named value, creating the folder on first use; an
  // unchanged value is not written again.
  bool store(const char* name, const void* bytes, size_t size) const;
  // Several texts in one batch: each changed one written and synced, the
  // folder synced once at the end. False when any of them failed.
  struct TextValue {
    const char* name;
    const char* text;
  };
  bool storeTexts(const TextValue* values, size_t count) const;
  // Reads the named value into buffer and answers its size; -1 when it is
  // missing, unreadable or larger than capacity, and then buffer is untouched.
  long recall(const char* name, void* buffer, size_t capacity) const;
  // Deletes the named value; a missing value or folder is no failure.
  bool remove(const char* name) const;

  // Texts: at most kMaxTextBytes, cut at a UTF-8 character boundary.
  bool storeText(const char* name, const char* text) const;
  // Fills text (kMaxTextBytes + 1 bytes) with the stored text; empty when
  // there is none or it is too long.
  void recallText(const char* name, char* text) const;

  // Deletes what writers killed mid-write left in the folder (run at start-up).
  void removeStaleTemporaries() const;

 private:
  std::string pathOf(const char* name) const;
  bool createFolder() const;
  // Writes one value unless it holds these bytes already; wrote tells
  // whether a file was replaced (its folder then still needs a sync).
  bool write(const char* name, const void* bytes, size_t size, bool& wrote) const;
  bool holds(const char* name, const void* bytes, size_t size) const;

  std::string folder_;
};
