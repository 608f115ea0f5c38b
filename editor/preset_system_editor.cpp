#include "editor/preset_system_editor.h"

#include <unistd.h>

#include <cstring>

#include "editor/toolkit/ccontrol.h"
#include "editor/toolkit/coptionmenu.h"
#include "editor/toolkit/ctextedit.h"
#include "presets/preset_system_effect.h"

namespace {

// The working directory with a trailing '/', or empty when it does not fit.
void fillWithWorkingDirectory(char* folder) {
  folder[0] = 0;
  char path[kLocationTextSize] = {};
  if (!::getcwd(path, sizeof(path))) return;
  const size_t length = std::strlen(path);
  if (path[length - 1] == '/') {
    std::memcpy(folder, path, length + 1);
  } else if (length + 1 < kLocationTextSize) {
    std::memcpy(folder, path, length);
    folder[length] = '/';
    folder[length + 1] = 0;
  }
}

// Only the value changes: this may run on the thread that delivers MIDI
// events, and the control notices the new value when it next draws.
void releaseButton(CControl* button) {
  if (button) button->setValue(0.0f);
}

}  // namespace

CPresetSystemEditor::CPresetSystemEditor(AudioEffect* effect) : AEffGUIEditor(effect) {
  fillWithWorkingDirectory(currentFolder);
}

// The editor lives as long as the effect, so this runs when the instance
// closes; only the editor's own fields are used here.
CPresetSystemEditor::~CPresetSystemEditor() { saveFileLocations(); }

CPresetSystemEffect* CPresetSystemEditor::presetEffect() {
  return static_cast<CPresetSystemEffect*>(effect);
}

// Both may run on the thread that delivers MIDI events.
void CPresetSystemEditor::learnEnded() {
  if (ControlVisit visit{controlGate}) releaseButton(learnButton);
}

void CPresetSystemEditor::clearEnded() {
  if (ControlVisit visit{controlGate}) releaseButton(clearButton);
}

void CPresetSystemEditor::programNameChanged(const char* name) {
  if (name) showProgramName(name);
}

void CPresetSystemEditor::applyProgramName(const char* name) {
  if (name) showProgramName(name);
  if (CPresetSystemEffect* fx = presetEffect()) fx->renameCurrentProgram(name);
}

void CPresetSystemEditor::showProgramName(const char* name) {
  if (programNameField) programNameField->setText(name);
  if (programMenu) {
    if (CMenuItem* entry = programMenu->getCurrent()) entry->setTitle(name);
  }
}

void CPresetSystemEditor::titleMenuEntry(VstInt32 index, const char* name) {
  if (!programMenu) return;
  programMenu->setCurrent(index, false);
  if (CMenuItem* entry = programMenu->getCurrent()) entry->setTitle(name);
}

void CPresetSystemEditor::loadStartupDefaults() {
  recallDefaultBank();
  recallDefaultPreset();
  recallDefaultMidi();
  recallFileLocations();
}
