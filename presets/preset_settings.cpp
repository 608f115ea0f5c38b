#include "presets/preset_settings.h"

#include <vector>

#include "presets/preset_records.h"
#include "presets/record_formats.h"

namespace {
constexpr const char* kDefaultBankValue = "DefaultBank";
constexpr const char* kDefaultPresetValue = "DefaultPreset";
constexpr const char* kDefaultMidiValue = "DefaultMidi";
constexpr const char* kMemoAValue = "MemoA";
constexpr const char* kMemoBValue = "MemoB";
constexpr const char* kFolderValue = "CurrDir";
constexpr const char* kBankFileValue = "CurrBank";
constexpr const char* kPresetFileValue = "CurrPreset";
constexpr const char* kMidiFileValue = "CurrMidi";
}  // namespace

void PresetSettings::storeRecord(const char* valueName, size_t size, Encoder encode) {
  std::vector<uint8_t> record(size, 0);
  if (fx) encode(*fx, record.data());
  store.store(valueName, record.data(), record.size());
}

// A missing or oversized value leaves the record zero-filled, and the
// decoder then turns it away by its identifier.
bool PresetSettings::recallRecord(const char* valueName, size_t size, Decoder decode) {
  std::vector<uint8_t> record(size, 0);
  store.recall(valueName, record.data(), record.size());
  return fx && decode(*fx, record.data(), false);
}

void PresetSettings::storeDefaultBank() {
  storeRecord(kDefaultBankValue, kBankFileSize, encodeBankRecord);
}
void PresetSettings::storeDefaultPreset() {
  storeRecord(kDefaultPresetValue, kPresetFileSize, encodePresetRecord);
}
void PresetSettings::storeDefaultMidi() {
  storeRecord(kDefaultMidiValue, kMidiFileSize, encodeMidiRecord);
}
void PresetSettings::storeMemoA() { storeRecord(kMemoAValue, kPresetFileSize, encodePresetRecord); }
void PresetSettings::storeMemoB() { storeRecord(kMemoBValue, kPresetFileSize, encodePresetRecord); }

void PresetSettings::clearDefaultBank() { store.remove(kDefaultBankValue); }
void PresetSettings::clearDefaultPreset() { store.remove(kDefaultPresetValue); }
void PresetSettings::clearDefaultMidi() { store.remove(kDefaultMidiValue); }

bool PresetSettings::recallDefaultBank() {
  return recallRecord(kDefaultBankValue, kBankFileSize, decodeBankRecord);
}
bool PresetSettings::recallDefaultPreset() {
  return recallRecord(kDefaultPresetValue, kPresetFileSize, decodePresetRecord);
}
bool PresetSettings::recallDefaultMidi() {
  return recallRecord(kDefaultMidiValue, kMidiFileSize, decodeMidiRecord);
}
bool PresetSettings::recallMemoA() {
  return recallRecord(kMemoAValue, kPresetFileSize, decodePresetRecord);
}
bool PresetSettings::recallMemoB() {
  return recallRecord(kMemoBValue, kPresetFileSize, decodePresetRecord);
}

// Linux paths are byte strings already in the locale's encoding (UTF-8 in
// practice), so the texts are stored as they are.
// One batch: only changed texts are written, the folder synced once.
void PresetSettings::saveFileLocations() {
  const SettingsStore::TextValue values[] = {{kFolderValue, locations.currentFolder},
                                             {kBankFileValue, locations.bankFileName},
                                             {kPresetFileValue, locations.presetFileName},
                                             {kMidiFileValue, locations.midiFileName}};
  store.storeTexts(values, sizeof(values) / sizeof(values[0]));
}

// Missing values give empty texts, so without stored locations the folder
// starts empty rather than at the working directory.
void PresetSettings::recallFileLocations() {
  store.recallText(kFolderValue, locations.currentFolder);
  store.recallText(kBankFileValue, locations.bankFileName);
  store.recallText(kPresetFileValue, locations.presetFileName);
  store.recallText(kMidiFileValue, locations.midiFileName);
}

void PresetSettings::loadStartupDefaults() {
  store.removeStaleTemporaries();
  recallDefaultBank();
  recallDefaultPreset();
  recallDefaultMidi();
  recallFileLocations();
}
