#include "editor/preset_system_editor.h"

#include <cmath>

#include "editor/skin_bitmaps.h"
#include "editor/toolkit/ccontrol.h"
#include "editor/toolkit/cframe.h"
#include "editor/toolkit/coptionmenu.h"
#include "editor/toolkit/ctextedit.h"
#include "presets/preset_records.h"
#include "presets/preset_system_effect.h"

namespace {

// Only the value changes: this may run on the thread that delivers MIDI
// events, and the control notices the new value when it next draws.
void releaseButton(CControl* button) {
  if (button) button->setValue(0.0f);
}

}  // namespace

CPresetSystemEditor::CPresetSystemEditor(AudioEffect* effect)
    : AEffGUIEditor(effect),
      listenedTo(static_cast<CPresetSystemEffect*>(effect)),
      settings(listenedTo) {
  settings.fileLocations().startInWorkingDirectory();
  if (listenedTo) listenedTo->addListener(this);
}

// The editor lives as long as the effect, so this normally runs when the
// instance closes, after the preset system is gone; only the editor's own
// fields are used then.
CPresetSystemEditor::~CPresetSystemEditor() {
  closeFileDialog();
  if (listenedTo) listenedTo->removeListener(this);
  saveFileLocations();
}

void CPresetSystemEditor::presetSystemClosing() { listenedTo = nullptr; }

CPresetSystemEffect* CPresetSystemEditor::presetEffect() { return listenedTo; }

int32_t CPresetSystemEditor::frameZoomPercent() const {
  return frame ? static_cast<int32_t>(std::lround(frame->getZoom() * 100)) : layout::kDefaultZoom;
}

CBitmap* CPresetSystemEditor::loadSkinBitmap(layout::SkinBitmapId id) const {
  return loadBitmap(id, frameZoomPercent());
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

void CPresetSystemEditor::programsReplaced() {
  CPresetSystemEffect* fx = presetEffect();
  if (!fx || !fx->getPrograms()) return;
  char name[kProgramNameLength + 1];
  for (VstInt32 k = 0; k < kNumPrograms; ++k) {
    readProgramName(fx->getPrograms()[k], name);
    titleMenuEntry(k, name);
  }
  readProgramName(fx->getPrograms()[0], name);
  if (programMenu) programMenu->setCurrent(0, false);
  if (programNameField) programNameField->setText(name);
}

void CPresetSystemEditor::applyProgramName(const char* name) {
  if (CPresetSystemEffect* fx = presetEffect())
    ::applyProgramName(*fx, name);
  else if (name)
    showProgramName(name);
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

void CPresetSystemEditor::loadStartupDefaults() { settings.loadStartupDefaults(); }

// The records: thin calls into the preset system.
void CPresetSystemEditor::loadBankData(const unsigned char* record, bool byteReversed) {
  if (CPresetSystemEffect* fx = presetEffect()) decodeBankRecord(*fx, record, byteReversed);
}
void CPresetSystemEditor::saveBankData(unsigned char* record) {
  if (CPresetSystemEffect* fx = presetEffect()) encodeBankRecord(*fx, record);
}
void CPresetSystemEditor::loadPresetData(const unsigned char* record, bool byteReversed) {
  if (CPresetSystemEffect* fx = presetEffect()) decodePresetRecord(*fx, record, byteReversed);
}
void CPresetSystemEditor::savePresetData(unsigned char* record) {
  if (CPresetSystemEffect* fx = presetEffect()) encodePresetRecord(*fx, record);
}
void CPresetSystemEditor::loadMidiData(const unsigned char* record, bool byteReversed) {
  if (CPresetSystemEffect* fx = presetEffect()) decodeMidiRecord(*fx, record, byteReversed);
}
void CPresetSystemEditor::saveMidiData(unsigned char* record) {
  if (CPresetSystemEffect* fx = presetEffect()) encodeMidiRecord(*fx, record);
}

// The settings store: thin calls into the preset system.
void CPresetSystemEditor::storeDefaultBank() { settings.storeDefaultBank(); }
void CPresetSystemEditor::storeDefaultPreset() { settings.storeDefaultPreset(); }
void CPresetSystemEditor::storeDefaultMidi() { settings.storeDefaultMidi(); }
void CPresetSystemEditor::storeMemoA() { settings.storeMemoA(); }
void CPresetSystemEditor::storeMemoB() { settings.storeMemoB(); }
void CPresetSystemEditor::clearDefaultBank() { settings.clearDefaultBank(); }
void CPresetSystemEditor::clearDefaultPreset() { settings.clearDefaultPreset(); }
void CPresetSystemEditor::clearDefaultMidi() { settings.clearDefaultMidi(); }
void CPresetSystemEditor::recallDefaultBank() { settings.recallDefaultBank(); }
void CPresetSystemEditor::recallDefaultPreset() { settings.recallDefaultPreset(); }
void CPresetSystemEditor::recallDefaultMidi() { settings.recallDefaultMidi(); }
void CPresetSystemEditor::recallMemoA() { settings.recallMemoA(); }
void CPresetSystemEditor::recallMemoB() { settings.recallMemoB(); }
void CPresetSystemEditor::saveFileLocations() { settings.saveFileLocations(); }
void CPresetSystemEditor::recallFileLocations() { settings.recallFileLocations(); }
