// The preset system's values in the per-user settings store: start-up
// defaults (bank, preset, MIDI settings), the two comparison memories and the
// file locations. Every operation opens and finishes its value by itself; a
// failure leaves the old value and shows nothing. Recalls answer whether the
// stored record was accepted.
#pragma once

#include <string>

#include "presets/record_files.h"
#include "presets/settings_store.h"

class CPresetSystemEffect;

class PresetSettings {
 public:
  // fx may be null; records are then stored zero-filled and recalls decode
  // nothing.
  explicit PresetSettings(CPresetSystemEffect* fx) : fx(fx) {}

  void storeDefaultBank();
  void storeDefaultPreset();
  void storeDefaultMidi();
  void storeMemoA();
  void storeMemoB();
  void clearDefaultBank();
  void clearDefaultPreset();
  void clearDefaultMidi();
  bool recallDefaultBank();
  bool recallDefaultPreset();
  bool recallDefaultMidi();
  bool recallMemoA();
  bool recallMemoB();
  void saveFileLocations();
  void recallFileLocations();
  // Default bank, default preset, default MIDI settings, file locations.
  void loadStartupDefaults();

  FileLocations& fileLocations() { return locations; }
  const FileLocations& fileLocations() const { return locations; }
  // Points the store elsewhere (tests, tools); by default it comes from the
  // environment.
  void setFolder(const std::string& folder) { store.setFolder(folder); }
  const SettingsStore& settingsStore() const { return store; }

 private:
  using Encoder = void (*)(CPresetSystemEffect&, uint8_t*);
  using Decoder = bool (*)(CPresetSystemEffect&, const uint8_t*, bool);
  void storeRecord(const char* valueName, size_t size, Encoder encode);
  bool recallRecord(const char* valueName, size_t size, Decoder decode);

  CPresetSystemEffect* fx;
  SettingsStore store;
  FileLocations locations;
};
