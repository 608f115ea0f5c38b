// Points the per-user settings at a fresh temporary folder for one test, so
// no test reads or writes the user's real settings.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

class TemporarySettings {
 public:
  TemporarySettings() {
    char pattern[] = "/tmp/halden-settings-XXXXXX";
    const char* made = mkdtemp(pattern);
    folder = made ? made : "";
    const char* old = std::getenv("XDG_CONFIG_HOME");
    hadOld = old != nullptr;
    if (old) oldValue = old;
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  }
  ~TemporarySettings() {
    if (hadOld)
      setenv("XDG_CONFIG_HOME", oldValue.c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
    std::error_code ignored;
    if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
  }
  TemporarySettings(const TemporarySettings&) = delete;
  TemporarySettings& operator=(const TemporarySettings&) = delete;

  const std::string& path() const { return folder; }
  // Where the plug-in keeps its values under this folder.
  std::string storeFolder() const { return folder + "/Qelworks/Halden"; }

 private:
  std::string folder;
  std::string oldValue;
  bool hadOld = false;
};
