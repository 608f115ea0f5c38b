// Loading and saving preset, bank and MIDI-settings files through a file
// selector on the open window. Every failure is silent: a file that cannot
// be read leaves a zero-filled record, which the decoder turns away.
#include <cstring>
#include <string>
#include <vector>

#include "editor/preset_system_editor.h"
#include "editor/record_file_io.h"
#include "editor/toolkit/cfileselector.h"
#include "editor/toolkit/cframe.h"
#include "presets/record_formats.h"

namespace {

struct RecordFileType {
  const char* label;
  const char* extension;
  const char* loadTitle;
  const char* reversedLoadTitle;
  const char* saveTitle;
  size_t size;
};

// By record kind: preset, bank, MIDI settings.
constexpr RecordFileType kFileTypes[] = {
    {"Qel Preset", "qel", "Load preset", "Load preset (endian-reversed)", "Save preset",
     kPresetFileSize},
    {"Qel Bank", "qeb", "Load bank", "Load bank (endian-reversed)", "Save bank", kBankFileSize},
    {"Qel MIDI Settings", "qem", "Load MIDI settings", "Load MIDI settings (endian-reversed)",
     "Save midi settings as", kMidiFileSize},
};

constexpr size_t kMaxLocationLength = kLocationTextSize - 1;

void copyLocation(char* to, const char* from, size_t length) {
  if (length > kMaxLocationLength) length = kMaxLocationLength;
  std::memcpy(to, from, length);
  to[length] = 0;
}

// Runs the selector and gives back the one path chosen, or an empty text.
std::string runSelector(CNewFileSelector* selector) {
  std::string path;
  if (selector->runModal() && selector->getNumSelectedFiles() == 1) {
    if (const char* chosen = selector->getSelectedFile(0)) path = chosen;
  }
  selector->forget();
  return path;
}

}  // namespace

void CPresetSystemEditor::loadPresetFile(bool byteReversed) {
  loadRecordFile(RecordKind::kPreset, byteReversed);
}
void CPresetSystemEditor::savePresetFile() { saveRecordFile(RecordKind::kPreset); }
void CPresetSystemEditor::loadBankFile(bool byteReversed) {
  loadRecordFile(RecordKind::kBank, byteReversed);
}
void CPresetSystemEditor::saveBankFile() { saveRecordFile(RecordKind::kBank); }
void CPresetSystemEditor::loadMidiFile(bool byteReversed) {
  loadRecordFile(RecordKind::kMidi, byteReversed);
}
void CPresetSystemEditor::saveMidiFile() { saveRecordFile(RecordKind::kMidi); }

char* CPresetSystemEditor::fileNameOf(RecordKind kind) {
  switch (kind) {
    case RecordKind::kPreset: return presetFileName;
    case RecordKind::kBank: return bankFileName;
    case RecordKind::kMidi: break;
  }
  return midiFileName;
}

bool CPresetSystemEditor::rememberChosenPath(const char* path, char* fileName) {
  const char* slash = std::strrchr(path, '/');
  if (!slash) return false;
  copyLocation(currentFolder, path, static_cast<size_t>(slash - path) + 1);
  copyLocation(fileName, slash + 1, std::strlen(slash + 1));
  return true;
}

void CPresetSystemEditor::loadRecordFile(RecordKind kind, bool byteReversed) {
  if (!frame) return;
  const RecordFileType& type = kFileTypes[static_cast<size_t>(kind)];
  char* fileName = fileNameOf(kind);
  CNewFileSelector* selector = CNewFileSelector::create(frame, CNewFileSelector::kSelectFile);
  if (!selector) return;
  selector->setTitle(byteReversed ? type.reversedLoadTitle : type.loadTitle);
  selector->setInitialDirectory(currentFolder);
  selector->addFileExtension(CFileExtension(type.label, type.extension));
  selector->setAllowMultiFileSelection(false);
  std::string path = runSelector(selector);
  if (path.empty()) return;
  // The chosen path is opened as it is; a bare name falls back on the
  // remembered folder and name.
  if (!rememberChosenPath(path.c_str(), fileName)) path = std::string(currentFolder) + fileName;

  std::vector<unsigned char> record(type.size, 0);
  readRecordFile(path.c_str(), record.data(), record.size());
  switch (kind) {
    case RecordKind::kPreset: loadPresetData(record.data(), byteReversed); break;
    case RecordKind::kBank: loadBankData(record.data(), byteReversed); break;
    case RecordKind::kMidi: loadMidiData(record.data(), byteReversed); break;
  }
  if (frame) frame->invalid();
}

void CPresetSystemEditor::saveRecordFile(RecordKind kind) {
  if (!frame) return;
  const RecordFileType& type = kFileTypes[static_cast<size_t>(kind)];
  char* fileName = fileNameOf(kind);
  CNewFileSelector* selector = CNewFileSelector::create(frame, CNewFileSelector::kSelectSaveFile);
  if (!selector) return;
  selector->setTitle(type.saveTitle);
  selector->setInitialDirectory(currentFolder);
  selector->setDefaultExtension(CFileExtension(type.label, type.extension));
  selector->setDefaultSaveName(fileName);
  std::string path = runSelector(selector);
  if (path.empty()) return;
  if (!rememberChosenPath(path.c_str(), fileName)) path = std::string(currentFolder) + fileName;

  std::vector<unsigned char> record(type.size, 0);
  switch (kind) {
    case RecordKind::kPreset: savePresetData(record.data()); break;
    case RecordKind::kBank: saveBankData(record.data()); break;
    case RecordKind::kMidi: saveMidiData(record.data()); break;
  }
  writeRecordFile(path.c_str(), record.data(), record.size());
}
