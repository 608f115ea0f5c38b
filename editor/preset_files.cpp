// Loading and saving preset, bank and MIDI-settings files through a file
// selector on the open window: the dialog is the editor's, the reading,
// writing and remembering of locations belong to the preset system.
#include <string>

#include "editor/preset_system_editor.h"
#include "editor/toolkit/cfileselector.h"
#include "editor/toolkit/cframe.h"
#include "presets/record_files.h"

namespace {

// The selector titles by record kind: preset, bank, MIDI settings.
struct SelectorTitles {
  const char* load;
  const char* loadByteReversed;
  const char* save;
};
constexpr SelectorTitles kSelectorTitles[] = {
    {"Load preset", "Load preset (endian-reversed)", "Save preset"},
    {"Load bank", "Load bank (endian-reversed)", "Save bank"},
    {"Load MIDI settings", "Load MIDI settings (endian-reversed)", "Save midi settings as"},
};

const SelectorTitles& titlesOf(RecordKind kind) {
  return kSelectorTitles[static_cast<size_t>(kind)];
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

void CPresetSystemEditor::loadRecordFile(RecordKind kind, bool byteReversed) {
  CPresetSystemEffect* fx = presetEffect();
  if (!frame || !fx) return;
  const RecordFileFormat& format = recordFileFormat(kind);
  FileLocations& locations = settings.fileLocations();
  CNewFileSelector* selector = CNewFileSelector::create(frame, CNewFileSelector::kSelectFile);
  if (!selector) return;
  selector->setTitle(byteReversed ? titlesOf(kind).loadByteReversed : titlesOf(kind).load);
  selector->setInitialDirectory(locations.currentFolder);
  selector->addFileExtension(CFileExtension(format.typeLabel, format.extension));
  selector->setAllowMultiFileSelection(false);
  std::string path = runSelector(selector);
  if (path.empty()) return;
  // The chosen path is opened as it is; a bare name falls back on the
  // remembered folder and name.
  if (!locations.rememberChosenPath(path.c_str(), kind)) path = locations.rememberedPath(kind);
  loadRecordFromFile(*fx, kind, path.c_str(), byteReversed);
  if (frame) frame->invalid();
}

void CPresetSystemEditor::saveRecordFile(RecordKind kind) {
  CPresetSystemEffect* fx = presetEffect();
  if (!frame || !fx) return;
  const RecordFileFormat& format = recordFileFormat(kind);
  FileLocations& locations = settings.fileLocations();
  CNewFileSelector* selector = CNewFileSelector::create(frame, CNewFileSelector::kSelectSaveFile);
  if (!selector) return;
  selector->setTitle(titlesOf(kind).save);
  selector->setInitialDirectory(locations.currentFolder);
  selector->setDefaultExtension(CFileExtension(format.typeLabel, format.extension));
  selector->setDefaultSaveName(locations.fileNameOf(kind));
  std::string path = runSelector(selector);
  if (path.empty()) return;
  if (!locations.rememberChosenPath(path.c_str(), kind)) path = locations.rememberedPath(kind);
  saveRecordToFile(*fx, kind, path.c_str());
}
