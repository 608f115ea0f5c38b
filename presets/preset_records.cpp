#include "presets/preset_records.h"

#include <cstring>

#include "presets/preset_system_effect.h"
#include "presets/record_formats.h"

namespace {

size_t programOffset(VstInt32 k) {
  return kRecordBodyOffset + static_cast<size_t>(k) * kRecordProgramSize;
}

// Identifier and kind byte; kForeign when the record is not ours or not of
// the expected kind.
RecordOrder orderOfOwnRecord(const uint8_t* record, uint8_t kind, uint32_t ownId) {
  const RecordOrder order = recordOrderOf(readWord(record + kRecordIdOffset), ownId);
  if (order == RecordOrder::kForeign || record[kRecordKindOffset] != kind)
    return RecordOrder::kForeign;
  return order;
}

uint32_t ownIdOf(CPresetSystemEffect& fx) { return static_cast<uint32_t>(fx.getUniqueID()); }

void writeHeader(uint8_t* record, uint8_t kind, uint32_t ownId) {
  writeWord(record + kRecordIdOffset, ownId);
  record[kRecordKindOffset] = kind;
}

void writeProgram(uint8_t* at, const ProgramRecord& program) {
  std::memcpy(at, program.name, kProgramNameLength);
  for (size_t i = 0; i < kNumRecordValues; ++i)
    writeWord(at + kRecordValuesInProgram + 4 * i,
              wordFromFloat(loadValueRelaxed(program.values[i])));
}

void readProgram(const uint8_t* at, RecordOrder order, bool byteReversed,
                 ProgramRecord& program) {
  std::memcpy(program.name, at, kProgramNameLength);
  for (size_t i = 0; i < kNumRecordValues; ++i)
    storeValueRelaxed(program.values[i],
                      readRecordValue(at + kRecordValuesInProgram + 4 * i, order, byteReversed));
}

bool isProgramIndex(VstInt32 index) { return index >= 0 && index < kNumPrograms; }

bool programValuesAreNormalised(const uint8_t* at, RecordOrder order, bool byteReversed) {
  return recordValuesAreNormalised(at + kRecordValuesInProgram, kNumRecordValues, order,
                                   byteReversed);
}

}  // namespace

void applyProgramName(CPresetSystemEffect& fx, const char* name) {
  if (PresetSystemListener* window = fx.getListener(); window && name)
    window->programNameChanged(name);
  fx.renameCurrentProgram(name);
}

bool decodePresetRecord(CPresetSystemEffect& fx, const uint8_t* record, bool byteReversed) {
  if (!record || !fx.getPrograms()) return false;
  const VstInt32 current = fx.getCurrentProgramIndex();
  if (!isProgramIndex(current)) return false;
  const RecordOrder order = orderOfOwnRecord(record, kPresetTag, ownIdOf(fx));
  if (order == RecordOrder::kForeign) return false;
  if (!programValuesAreNormalised(record + kRecordBodyOffset, order, byteReversed)) return false;

  ProgramRecord& program = fx.getPrograms()[current];
  readProgram(record + kRecordBodyOffset, order, byteReversed, program);
  char name[kProgramNameLength + 1];
  readProgramName(program, name);
  applyProgramName(fx, name);
  fx.selectProgram(current);
  return true;
}

void encodePresetRecord(CPresetSystemEffect& fx, uint8_t* record) {
  if (!record || !fx.getPrograms()) return;
  const VstInt32 current = fx.getCurrentProgramIndex();
  if (!isProgramIndex(current)) return;
  writeHeader(record, kPresetTag, ownIdOf(fx));
  writeProgram(record + kRecordBodyOffset, fx.getPrograms()[current]);
}

bool decodeBankRecord(CPresetSystemEffect& fx, const uint8_t* record, bool byteReversed) {
  if (!fx.getPrograms()) return false;
  const RecordOrder order =
      record ? orderOfOwnRecord(record, kBankTag, ownIdOf(fx)) : RecordOrder::kForeign;
  // Values outside 0 … 1 reject the bank before anything changes.
  if (order != RecordOrder::kForeign) {
    for (VstInt32 k = 0; k < kNumPrograms; ++k)
      if (!programValuesAreNormalised(record + programOffset(k), order, byteReversed)) return false;
  }
  // Program 0 is selected before the identifier check, so even a bank turned
  // away by it leaves program 0 current.
  fx.selectProgram(0);
  if (order == RecordOrder::kForeign) return false;

  ProgramRecord* programs = fx.getPrograms();
  for (VstInt32 k = 0; k < kNumPrograms; ++k)
    readProgram(record + programOffset(k), order, byteReversed, programs[k]);
  if (PresetSystemListener* window = fx.getListener()) window->programsReplaced();
  fx.selectProgram(0);
  return true;
}

void encodeBankRecord(CPresetSystemEffect& fx, uint8_t* record) {
  if (!record || !fx.getPrograms()) return;
  writeHeader(record, kBankTag, ownIdOf(fx));
  for (VstInt32 k = 0; k < kNumPrograms; ++k)
    writeProgram(record + programOffset(k), fx.getPrograms()[k]);
}

bool decodeMidiRecord(CPresetSystemEffect& fx, const uint8_t* record, bool byteReversed) {
  if (!record) return false;
  const RecordOrder order = orderOfOwnRecord(record, kMidiTag, ownIdOf(fx));
  if (order == RecordOrder::kForeign) return false;
  if (!recordValuesAreNormalised(record + kRecordBodyOffset, kNumParams, order, byteReversed))
    return false;
  // Through setParameter, so both controller maps follow the values.
  for (VstInt32 i = 0; i < kNumParams; ++i)
    fx.setParameter(kCCFirst + i,
                    readRecordValue(record + kRecordBodyOffset + 4 * i, order, byteReversed));
  return true;
}

void encodeMidiRecord(CPresetSystemEffect& fx, uint8_t* record) {
  if (!record) return;
  writeHeader(record, kMidiTag, ownIdOf(fx));
  for (VstInt32 i = 0; i < kNumParams; ++i)
    writeWord(record + kRecordBodyOffset + 4 * i, wordFromFloat(fx.getParameter(kCCFirst + i)));
}
