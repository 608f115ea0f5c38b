// Loading and saving preset, bank and MIDI-settings files through a file
// selector on the open window: the dialog is the editor's, the reading,
// writing and remembering of locations belong to the preset system. The
// dialog program runs beside the host; idle passes look for its answer, and
// closing the window ends it unanswered.
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

// Messages in the controller display.
constexpr const char* kNoDialogProgram = "install zenity or kdialog";
constexpr const char* kDialogFailed = "no file dialog";
constexpr const char* kLoadRejected = "file not loaded";
constexpr const char* kSaveFailed = "file not saved";

// The chosen path with the kind's extension when its file name has none.
std::string withExtension(const std::string& path, const char* extension) {
  const size_t nameStart = path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1;
  const size_t dot = path.rfind('.');
  if (dot != std::string::npos && dot > nameStart) return path;
  return path + "." + extension;
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
  openFileDialog(kind, false, byteReversed);
}

void CPresetSystemEditor::saveRecordFile(RecordKind kind) { openFileDialog(kind, true, false); }

void CPresetSystemEditor::openFileDialog(RecordKind kind, bool saving, bool byteReversed) {
  // One dialog at a time: clicks on the file buttons meanwhile open nothing.
  if (!frame || !presetEffect() || openDialog) return;
  const RecordFileFormat& format = recordFileFormat(kind);
  FileLocations& locations = settings.fileLocations();
  CNewFileSelector* selector = CNewFileSelector::create(
      frame, saving ? CNewFileSelector::kSelectSaveFile : CNewFileSelector::kSelectFile);
  if (!selector) {
    showStatusMessage(kNoDialogProgram);
    return;
  }
  selector->setInitialDirectory(locations.currentFolder);
  if (saving) {
    selector->setTitle(titlesOf(kind).save);
    selector->setDefaultExtension(CFileExtension(format.typeLabel, format.extension));
    selector->setDefaultSaveName(locations.fileNameOf(kind));
  } else {
    selector->setTitle(byteReversed ? titlesOf(kind).loadByteReversed : titlesOf(kind).load);
    selector->addFileExtension(CFileExtension(format.typeLabel, format.extension));
    selector->setAllowMultiFileSelection(false);
  }
  if (!selector->start()) {
    selector->forget();
    showStatusMessage(kDialogFailed);
    return;
  }
  openDialog = selector;
  dialogKind = kind;
  dialogSaves = saving;
  dialogByteReversed = byteReversed;
  // A dialog that answered at once is taken up now rather than next idle.
  pollFileDialog();
}

void CPresetSystemEditor::pollFileDialog() {
  if (!openDialog) return;
  const CNewFileSelector::Progress progress = openDialog->poll();
  if (progress == CNewFileSelector::Progress::kRunning) return;
  std::string path;
  if (progress == CNewFileSelector::Progress::kChosen && openDialog->getNumSelectedFiles() == 1) {
    if (const char* chosen = openDialog->getSelectedFile(0)) path = chosen;
  }
  openDialog->forget();
  openDialog = nullptr;
  if (path.empty()) return;
  if (dialogSaves)
    saveChosenFile(dialogKind, path);
  else
    loadChosenFile(dialogKind, path, dialogByteReversed);
}

void CPresetSystemEditor::closeFileDialog() {
  if (!openDialog) return;
  openDialog->cancel();
  openDialog->forget();
  openDialog = nullptr;
}

void CPresetSystemEditor::loadChosenFile(RecordKind kind, std::string path, bool byteReversed) {
  CPresetSystemEffect* fx = presetEffect();
  if (!fx) return;
  FileLocations& locations = settings.fileLocations();
  // The chosen path is opened as it is; a bare name falls back on the
  // remembered folder and name.
  if (!locations.rememberChosenPath(path.c_str(), kind)) path = locations.rememberedPath(kind);
  if (!loadRecordFromFile(*fx, kind, path.c_str(), byteReversed))
    showStatusMessage(kLoadRejected);
  if (frame) frame->invalid();
}

void CPresetSystemEditor::saveChosenFile(RecordKind kind, std::string path) {
  CPresetSystemEffect* fx = presetEffect();
  if (!fx) return;
  FileLocations& locations = settings.fileLocations();
  path = withExtension(path, recordFileFormat(kind).extension);
  if (!locations.rememberChosenPath(path.c_str(), kind)) path = locations.rememberedPath(kind);
  if (!saveRecordToFile(*fx, kind, path.c_str())) showStatusMessage(kSaveFailed);
}
