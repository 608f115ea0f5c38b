// The preset, bank and MIDI-settings records: what files and the settings
// store hold. Decoders check identifier and kind before touching anything.
#include <cstring>

#include "editor/preset_system_editor.h"
#include "editor/toolkit/coptionmenu.h"
#include "editor/toolkit/ctextedit.h"
#include "presets/preset_system_effect.h"
#include "presets/record_formats.h"

namespace {

size_t programOffset(VstInt32 k) {
  return kRecordBodyOffset + static_cast<size_t>(k) * kRecordProgramSize;
}

// Identifier and kind byte; kForeign when the record is not ours or not of
// the expected kind.
RecordOrder checkRecord(const unsigned char* record, uint8_t kind, uint32_t ownId) {
  const RecordOrder order = recordOrderOf(readWord(record + kRecordIdOffset), ownId);
  if (order == RecordOrder::kForeign || record[kRecordKindOffset] != kind)
    return RecordOrder::kForeign;
  return order;
}

void writeHeader(unsigned char* record, uint8_t kind, uint32_t ownId) {
  writeWord(record + kRecordIdOffset, ownId);
  record[kRecordKindOffset] = kind;
}

void writeProgram(unsigned char* at, const ProgramRecord& program) {
  std::memcpy(at, program.name, kProgramNameLength);
  for (size_t i = 0; i < kNumRecordValues; ++i)
    writeWord(at + kRecordValuesInProgram + 4 * i,
              wordFromFloat(loadValueRelaxed(program.values[i])));
}

void readProgram(const unsigned char* at, RecordOrder order, bool byteReversed,
                 ProgramRecord& program) {
  std::memcpy(program.name, at, kProgramNameLength);
  for (size_t i = 0; i < kNumRecordValues; ++i)
    storeValueRelaxed(program.values[i],
                      readRecordValue(at + kRecordValuesInProgram + 4 * i, order, byteReversed));
}

}  // namespace

void CPresetSystemEditor::loadPresetData(const unsigned char* record, bool byteReversed) {
  CPresetSystemEffect* fx = presetEffect();
  if (!fx || !record || !fx->getPrograms()) return;
  const VstInt32 current = fx->getCurrentProgramIndex();
  if (current < 0 || current >= kNumPrograms) return;
  const RecordOrder order = checkRecord(record, kPresetTag, fx->getUniqueID());
  if (order == RecordOrder::kForeign) return;

  ProgramRecord& program = fx->getPrograms()[current];
  readProgram(record + kRecordBodyOffset, order, byteReversed, program);
  char name[kProgramNameLength + 1];
  readProgramName(program, name);
  applyProgramName(name);
  fx->selectProgram(current);
}

void CPresetSystemEditor::savePresetData(unsigned char* record) {
  CPresetSystemEffect* fx = presetEffect();
  if (!fx || !record || !fx->getPrograms()) return;
  const VstInt32 current = fx->getCurrentProgramIndex();
  if (current < 0 || current >= kNumPrograms) return;
  writeHeader(record, kPresetTag, fx->getUniqueID());
  writeProgram(record + kRecordBodyOffset, fx->getPrograms()[current]);
}

void CPresetSystemEditor::loadBankData(const unsigned char* record, bool byteReversed) {
  CPresetSystemEffect* fx = presetEffect();
  if (!fx || !fx->getPrograms()) return;
  // Program 0 is selected before the checks, so even a rejected bank leaves
  // it current.
  fx->selectProgram(0);
  if (!record) return;
  const RecordOrder order = checkRecord(record, kBankTag, fx->getUniqueID());
  if (order == RecordOrder::kForeign) return;

  ProgramRecord* programs = fx->getPrograms();
  char name[kProgramNameLength + 1];
  for (VstInt32 k = 0; k < kNumPrograms; ++k) {
    readProgram(record + programOffset(k), order, byteReversed, programs[k]);
    readProgramName(programs[k], name);
    titleMenuEntry(k, name);
  }
  readProgramName(programs[0], name);
  if (programMenu) programMenu->setCurrent(0, false);
  if (programNameField) programNameField->setText(name);
  fx->selectProgram(0);
}

void CPresetSystemEditor::saveBankData(unsigned char* record) {
  CPresetSystemEffect* fx = presetEffect();
  if (!fx || !record || !fx->getPrograms()) return;
  writeHeader(record, kBankTag, fx->getUniqueID());
  for (VstInt32 k = 0; k < kNumPrograms; ++k)
    writeProgram(record + programOffset(k), fx->getPrograms()[k]);
}

void CPresetSystemEditor::loadMidiData(const unsigned char* record, bool byteReversed) {
  CPresetSystemEffect* fx = presetEffect();
  if (!fx || !record) return;
  const RecordOrder order = checkRecord(record, kMidiTag, fx->getUniqueID());
  if (order == RecordOrder::kForeign) return;
  // Through setParameter, so both controller maps follow the values.
  for (VstInt32 i = 0; i < kNumParams; ++i)
    fx->setParameter(kCCFirst + i,
                     readRecordValue(record + kRecordBodyOffset + 4 * i, order, byteReversed));
}

void CPresetSystemEditor::saveMidiData(unsigned char* record) {
  CPresetSystemEffect* fx = presetEffect();
  if (!fx || !record) return;
  writeHeader(record, kMidiTag, fx->getUniqueID());
  for (VstInt32 i = 0; i < kNumParams; ++i)
    writeWord(record + kRecordBodyOffset + 4 * i, wordFromFloat(fx->getParameter(kCCFirst + i)));
}
