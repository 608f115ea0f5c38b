// Start-up defaults, comparison memories and file locations in the per-user
// settings store. Every operation opens and finishes its value by itself; a
// failure leaves the old value and shows nothing.
#include <cstring>
#include <vector>

#include "editor/preset_system_editor.h"
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

void CPresetSystemEditor::storeRecord(const char* valueName, size_t size,
                                      void (CPresetSystemEditor::*encode)(unsigned char*)) {
  std::vector<unsigned char> record(size, 0);
  (this->*encode)(record.data());
  settings.store(valueName, record.data(), record.size());
}

// A missing or oversized value leaves the record zero-filled, and the
// decoder then turns it away by its identifier.
void CPresetSystemEditor::recallRecord(const char* valueName, size_t size,
                                       void (CPresetSystemEditor::*decode)(const unsigned char*,
                                                                           bool)) {
  std::vector<unsigned char> record(size, 0);
  settings.recall(valueName, record.data(), record.size());
  (this->*decode)(record.data(), false);
}

void CPresetSystemEditor::storeDefaultBank() {
  storeRecord(kDefaultBankValue, kBankFileSize, &CPresetSystemEditor::saveBankData);
}
void CPresetSystemEditor::storeDefaultPreset() {
  storeRecord(kDefaultPresetValue, kPresetFileSize, &CPresetSystemEditor::savePresetData);
}
void CPresetSystemEditor::storeDefaultMidi() {
  storeRecord(kDefaultMidiValue, kMidiFileSize, &CPresetSystemEditor::saveMidiData);
}
void CPresetSystemEditor::storeMemoA() {
  storeRecord(kMemoAValue, kPresetFileSize, &CPresetSystemEditor::savePresetData);
}
void CPresetSystemEditor::storeMemoB() {
  storeRecord(kMemoBValue, kPresetFileSize, &CPresetSystemEditor::savePresetData);
}

void CPresetSystemEditor::clearDefaultBank() { settings.remove(kDefaultBankValue); }
void CPresetSystemEditor::clearDefaultPreset() { settings.remove(kDefaultPresetValue); }
void CPresetSystemEditor::clearDefaultMidi() { settings.remove(kDefaultMidiValue); }

void CPresetSystemEditor::recallDefaultBank() {
  recallRecord(kDefaultBankValue, kBankFileSize, &CPresetSystemEditor::loadBankData);
}
void CPresetSystemEditor::recallDefaultPreset() {
  recallRecord(kDefaultPresetValue, kPresetFileSize, &CPresetSystemEditor::loadPresetData);
}
void CPresetSystemEditor::recallDefaultMidi() {
  recallRecord(kDefaultMidiValue, kMidiFileSize, &CPresetSystemEditor::loadMidiData);
}
void CPresetSystemEditor::recallMemoA() {
  recallRecord(kMemoAValue, kPresetFileSize, &CPresetSystemEditor::loadPresetData);
}
void CPresetSystemEditor::recallMemoB() {
  recallRecord(kMemoBValue, kPresetFileSize, &CPresetSystemEditor::loadPresetData);
}

// Linux paths are byte strings already in the locale's encoding (UTF-8 in
// practice), so the texts are stored as they are.
void CPresetSystemEditor::saveFileLocations() {
  settings.storeText(kFolderValue, currentFolder);
  settings.storeText(kBankFileValue, bankFileName);
  settings.storeText(kPresetFileValue, presetFileName);
  settings.storeText(kMidiFileValue, midiFileName);
}

// Missing values give empty texts, so without stored locations the folder
// starts empty rather than at the working directory.
void CPresetSystemEditor::recallFileLocations() {
  settings.recallText(kFolderValue, currentFolder);
  settings.recallText(kBankFileValue, bankFileName);
  settings.recallText(kPresetFileValue, presetFileName);
  settings.recallText(kMidiFileValue, midiFileName);
}
