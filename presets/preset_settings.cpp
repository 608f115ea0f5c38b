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
void PresetSettings::recallRecord(const char* valueName, size_t size, Decoder decode) {
  std::vector<uint8_t> record(size, 0);
  store.recall(valueName, record.data(), record.size());
  if (fx) decode(*fx, record.data(), false);
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

void PresetSettings::recallDefaultBank() {
  recallRecord(kDefaultBankValue, kBankFileSize, decodeBankRecord);
}
void PresetSettings::recallDefaultPreset() {
  recallRecord(kDefaultPresetValue, kPresetFileSize, decodePresetRecord);
}
void PresetSettings::recallDefaultMidi() {
  recallRecord(kDefaultMidiValue, kMidiFileSize, decodeMidiRecord);
}
void PresetSettings::recallMemoA() {
  recallRecord(kMemoAValue, kPresetFileSize, decodePresetRecord);
}
void PresetSettings::recallMemoB() {
  recallRecord(kMemoBValue, kPresetFileSize, decodePresetRecord);
}

// Linux paths are byte strings already in the locale's encoding (UTF-8 in
// practice), so the texts are stored as they are.
void PresetSettings::saveFileLocations() {
  store.storeText(kFolderValue, locations.currentFolder);
  store.storeText(kBankFileValue, locations.bankFileName);
  store.storeText(kPresetFileValue, locations.presetFileName);
  store.storeText(kMidiFileValue, locations.midiFileName);
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
  recallDefaultBank();
  recallDefaultPreset();
  recallDefaultMidi();
  recallFileLocations();
}
