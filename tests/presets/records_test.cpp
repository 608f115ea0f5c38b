// Preset, bank and MIDI-settings records: layout, bit-exact round trips in
// both byte orders, and the records a decoder must turn away.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/presets/preset_test_support.h"

namespace preset_test {
namespace {

using Record = std::vector<unsigned char>;

// Values with every byte distinct, so a reversal always shows.
constexpr float kOddValues[kNumParams] = {
    0.123456789f, 0.987654321f, 0.5f,      0.000344f, 0.25f,      0.75f,
    0.333333f,    0.1f,         0.9f,      0.661f,    0.0001234f, 1.0f,
    0.0f,         0.42f,        0.777777f, 0.3f,      0.05f,      0.95f};

class Records : public ::testing::Test {
 protected:
  void fillCurrentProgram(EffectWithoutEditor& fx, const char* name) {
    for (VstInt32 i = 0; i < kNumParams; ++i) fx.setParameter(i, kOddValues[i]);
    fx.renameCurrentProgram(name);
  }
  Record savePreset(EffectWithoutEditor& fx) {
    Record record(kPresetFileSize, 0);
    encodePresetRecord(fx, record.data());
    return record;
  }
  const ProgramRecord& program(EffectWithoutEditor& fx, int k) { return fx.getPrograms()[k]; }

  ScopedSettingsFolder settings;
};

TEST_F(Records, PresetLayoutIsPackedAfterTheKindByte) {
  EffectWithoutEditor fx;
  fx.selectProgram(2);
  fillCurrentProgram(fx, "layout");
  const Record record = savePreset(fx);
  EXPECT_EQ(std::memcmp(record.data(), "ndlH", 4), 0);
  EXPECT_EQ(record[4], 0x21);
  EXPECT_EQ(std::memcmp(&record[5], "layout\0\0", 8), 0);
  for (int i = 0; i < kNumParams; ++i)
    EXPECT_EQ(readWord(&record[29 + 4 * i]), bitsOf(kOddValues[i])) << i;
}

TEST_F(Records, PresetRoundTripIsBitExactAndReversalSwapsEveryValue) {
  EffectWithoutEditor fx;
  fx.selectProgram(9);
  fillCurrentProgram(fx, "exactly twenty-four char");
  const Record record = savePreset(fx);
  const ProgramRecord saved = program(fx, 9);

  fx.selectProgram(4);
  decodePresetRecord(fx, record.data(), false);
  EXPECT_EQ(std::memcmp(&program(fx, 4), &saved, sizeof(ProgramRecord)), 0);
  EXPECT_EQ(fx.getCurrentProgramIndex(), 4);

  // Read reversed, an ordinary preset's values leave 0 … 1: rejected whole.
  fx.selectProgram(5);
  const ProgramRecord before = program(fx, 5);
  EXPECT_FALSE(decodePresetRecord(fx, record.data(), true));
  EXPECT_EQ(std::memcmp(&program(fx, 5), &before, sizeof(ProgramRecord)), 0);
}

TEST_F(Records, ForeignOrderPresetIsRecognisedByItsIdentifier) {
  EffectWithoutEditor fx;
  fillCurrentProgram(fx, "other endian");
  Record record = savePreset(fx);
  const ProgramRecord saved = program(fx, 0);
  reverseWordInPlace(&record[0]);
  for (int i = 0; i < kNumParams; ++i) reverseWordInPlace(&record[29 + 4 * i]);

  fx.selectProgram(1);
  EXPECT_TRUE(decodePresetRecord(fx, record.data(), false));
  EXPECT_EQ(std::memcmp(&program(fx, 1), &saved, sizeof(ProgramRecord)), 0);
  // Asking for reversal on a foreign file takes the values as stored, which
  // are no normalised values here: the record is turned away.
  fx.selectProgram(2);
  const ProgramRecord before = program(fx, 2);
  EXPECT_FALSE(decodePresetRecord(fx, record.data(), true));
  EXPECT_EQ(std::memcmp(&program(fx, 2), &before, sizeof(ProgramRecord)), 0);
}

TEST_F(Records, LoadingAPresetSelectsAndRenamesTheCurrentProgram) {
  EffectWithoutEditor fx;
  fillCurrentProgram(fx, "pushed");
  const Record record = savePreset(fx);
  fx.selectProgram(6);
  fx.calls.clear();
  decodePresetRecord(fx, record.data(), false);
  const std::vector<VstInt32> pushed = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};
  EXPECT_EQ(fx.calls, pushed);
  char name[32];
  fx.getProgramName(name);
  EXPECT_STREQ(name, "pushed");
}

TEST_F(Records, ShortPresetLoadsWithZeroValues) {
  EffectWithoutEditor fx;
  fillCurrentProgram(fx, "cut short");
  Record record = savePreset(fx);
  std::fill(record.begin() + 29, record.end(), 0);  // a file that ends after its name
  fx.selectProgram(8);
  decodePresetRecord(fx, record.data(), false);
  EXPECT_STREQ(program(fx, 8).name, "cut short");
  for (int i = 0; i < kNumParams; ++i) EXPECT_EQ(bitsOf(program(fx, 8).values[i]), 0u) << i;
}

Record withIdentifier(Record record, const char* bytes) {
  std::memcpy(record.data(), bytes, 4);
  return record;
}
Record withKind(Record record, uint8_t kind) {
  record[kRecordKindOffset] = kind;
  return record;
}
// Neither our identifier nor its byte-reversed form.
const char* const kForeignIdentifiers[] = {"Ekho", "\0\0\0\0", "nHld", "Hldm"};

TEST_F(Records, DecodersIgnoreForeignIdentifiersAndWrongKinds) {
  EffectWithoutEditor fx;
  fx.selectProgram(3);
  fx.setParameter(kCCFirst, controllerValue(7));
  const Record preset = savePreset(fx);
  Record midi(kMidiFileSize, 0);
  encodeMidiRecord(fx, midi.data());

  const StateSnapshot before = StateSnapshot::of(fx);
  fx.calls.clear();
  for (bool reversed : {false, true}) {
    for (const char* id : kForeignIdentifiers) {
      decodePresetRecord(fx, withIdentifier(preset, id).data(), reversed);
      decodeMidiRecord(fx, withIdentifier(midi, id).data(), reversed);
    }
    for (uint8_t kind : {kBankTag, kMidiTag, uint8_t{0}})
      decodePresetRecord(fx, withKind(preset, kind).data(), reversed);
    for (uint8_t kind : {kBankTag, kPresetTag, uint8_t{0}})
      decodeMidiRecord(fx, withKind(midi, kind).data(), reversed);
  }
  EXPECT_TRUE(StateSnapshot::of(fx) == before);
  EXPECT_TRUE(fx.calls.empty());
}

TEST_F(Records, RejectedBankStillSelectsProgramZero) {
  EffectWithoutEditor fx;
  Record bank(kBankFileSize, 0);
  encodeBankRecord(fx, bank.data());
  const std::vector<uint8_t> before = storeBytes(fx);
  for (const char* id : kForeignIdentifiers) {
    fx.selectProgram(3);
    decodeBankRecord(fx, withIdentifier(bank, id).data(), false);
    EXPECT_EQ(storeBytes(fx), before);
    EXPECT_EQ(fx.getCurrentProgramIndex(), 0);
  }
}

TEST_F(Records, BankWithThePresetKindSelectsProgramZeroAndChangesNothing) {
  EffectWithoutEditor fx;
  Record bank(kBankFileSize, 0);
  encodeBankRecord(fx, bank.data());
  bank[4] = 0x21;
  std::memcpy(&bank[5], "renamed by a bad bank", 21);
  const std::vector<uint8_t> before = storeBytes(fx);
  fx.selectProgram(12);
  decodeBankRecord(fx, bank.data(), false);
  EXPECT_EQ(storeBytes(fx), before);
  EXPECT_EQ(fx.getCurrentProgramIndex(), 0);
}

TEST_F(Records, BankRoundTripRestoresAllProgramsBitExact) {
  EffectWithoutEditor source;
  for (VstInt32 k = 0; k < kNumPrograms; k += 4) {
    source.selectProgram(k);
    fillCurrentProgram(source, "bank entry");
    source.setParameter(k % kNumParams, 0.01f * static_cast<float>(k));
  }
  Record bank(kBankFileSize, 0);
  encodeBankRecord(source, bank.data());
  EXPECT_EQ(bank[4], 0x37);

  EffectWithoutEditor target;
  target.selectProgram(9);
  decodeBankRecord(target, bank.data(), false);
  EXPECT_EQ(storeBytes(target), storeBytes(source));
  EXPECT_EQ(target.getCurrentProgramIndex(), 0);

  // Reversed, the values leave 0 … 1: the bank is rejected and nothing
  // changes, not even the current program.
  target.selectProgram(3);
  EXPECT_FALSE(decodeBankRecord(target, bank.data(), true));
  EXPECT_EQ(storeBytes(target), storeBytes(source));
  EXPECT_EQ(target.getCurrentProgramIndex(), 3);
}

TEST_F(Records, MidiRecordGoesThroughTheAssignmentParametersInOrder) {
  EffectWithoutEditor source;
  source.setParameter(kCCFirst + 0, controllerValue(7));
  source.setParameter(kCCFirst + 12, controllerValue(1));
  Record midi(kMidiFileSize, 0);
  encodeMidiRecord(source, midi.data());
  EXPECT_EQ(midi[4], 0x0B);
  EXPECT_EQ(readWord(&midi[5]), bitsOf(controllerValue(7)));
  EXPECT_EQ(readWord(&midi[5 + 4 * 12]), bitsOf(controllerValue(1)));
  EXPECT_EQ(readWord(&midi[5 + 4 * 17]), bitsOf(notAssignedValue()));

  EffectWithoutEditor target;
  target.setParameter(kCCFirst + 3, controllerValue(7));
  target.calls.clear();
  decodeMidiRecord(target, midi.data(), false);
  std::vector<VstInt32> expected;
  for (VstInt32 i = 0; i < kNumParams; ++i) expected.push_back(kCCFirst + i);
  EXPECT_EQ(target.calls, expected);
  EXPECT_EQ(target.getParameterOfController(7), 0);
  EXPECT_EQ(target.getParameterOfController(1), 12);
  EXPECT_EQ(target.getControllerOfParameter(3), kNotAssigned);
}

}  // namespace
}  // namespace preset_test
