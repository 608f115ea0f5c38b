// Per-user settings shared by every instance: one folder, one file per named
// value holding exactly the value's bytes. A value is replaced whole or not
// at all (temporary file, fsync, rename), also when several processes write
// at once or a writer dies mid-write. Failures are silent to the user; the
// operations only answer whether they worked.
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

  // Replaces the named value, creating the folder on first use.
  bool store(const char* name, const void* bytes, size_t size) const;
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

 private:
  std::string pathOf(const char* name) const;
  bool createFolder() const;

  std::string folder_;
};
