// Byte layouts of the host state chunk and of the preset, bank and
// MIDI-settings records, with the word helpers their readers and writers share.
// Multi-byte fields are in the writer's byte order; readers tell the other
// order from the identifier word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "presets/program_record.h"

// Host state chunk: header words at multiples of four, then the program
// store, then the controller-assignment values.
constexpr int32_t kChunkSize = 1736;
constexpr uint32_t kChunkMarker = 0x01000000u;
constexpr int32_t kChunkProgramCount = 17;
constexpr size_t kChunkMarkerOffset = 0;
constexpr size_t kChunkIdOffset = 4;
constexpr size_t kChunkCountOffset = 8;
constexpr size_t kChunkCurrentOffset = 12;
constexpr size_t kChunkReservedOffset = 16;
constexpr size_t kChunkReservedSize = 16;
constexpr size_t kChunkProgramsOffset = 32;
constexpr size_t kChunkAssignmentsOffset = 1664;
constexpr size_t kNumRecordValues = kNumParams;  // values per program, and assignment values

// The three records: identifier word, kind byte, then unaligned fields.
constexpr size_t kRecordIdOffset = 0;
constexpr size_t kRecordKindOffset = 4;
constexpr size_t kRecordBodyOffset = 5;
constexpr size_t kRecordValuesInProgram = kProgramNameLength;  // values follow the name

constexpr size_t kPresetFileSize = 101;
constexpr size_t kBankFileSize = 1637;
constexpr size_t kMidiFileSize = 77;
constexpr uint8_t kPresetTag = 0x21;  // '!'
constexpr uint8_t kBankTag = 0x37;    // '7'
constexpr uint8_t kMidiTag = 0x0B;

constexpr size_t kRecordProgramSize = sizeof(ProgramRecord);

static_assert(kChunkProgramsOffset + kChunkProgramCount * sizeof(ProgramRecord) ==
                  kChunkAssignmentsOffset,
              "assignment values follow the program store");
static_assert(kChunkAssignmentsOffset + kNumRecordValues * 4 == kChunkSize, "chunk size");
static_assert(kRecordBodyOffset + kRecordProgramSize == kPresetFileSize, "preset size");
static_assert(kRecordBodyOffset + 17 * kRecordProgramSize == kBankFileSize, "bank size");
static_assert(kRecordBodyOffset + kNumRecordValues * 4 == kMidiFileSize, "MIDI size");

inline uint32_t reverseBytes(uint32_t word) { return __builtin_bswap32(word); }

// Unaligned native-order word access.
inline uint32_t readWord(const uint8_t* at) {
  uint32_t word;
  std::memcpy(&word, at, sizeof(word));
  return word;
}
inline void writeWord(uint8_t* at, uint32_t word) { std::memcpy(at, &word, sizeof(word)); }
inline void reverseWordInPlace(uint8_t* at) { writeWord(at, reverseBytes(readWord(at))); }

inline float floatFromWord(uint32_t word) {
  float value;
  std::memcpy(&value, &word, sizeof(value));
  return value;
}
inline uint32_t wordFromFloat(float value) {
  uint32_t word;
  std::memcpy(&word, &value, sizeof(word));
  return word;
}

// How the identifier word of a chunk or record relates to our own identifier.
enum class RecordOrder { kNative, kReversed, kForeign };

inline RecordOrder recordOrderOf(uint32_t identifierWord, uint32_t ownId) {
  if (identifierWord == ownId) return RecordOrder::kNative;
  if (identifierWord == reverseBytes(ownId)) return RecordOrder::kReversed;
  return RecordOrder::kForeign;
}

// A record's value word: undone from the writer's order, then reversed once
// more when the user asks for it, so a foreign file read with the request
// gets its bytes as stored.
inline float readRecordValue(const uint8_t* at, RecordOrder order, bool byteReversed) {
  uint32_t word = readWord(at);
  if (order == RecordOrder::kReversed) word = reverseBytes(word);
  if (byteReversed) word = reverseBytes(word);
  return floatFromWord(word);
}

// Whether count consecutive value words from at, read as readRecordValue
// does, are all normalised values: a record holding any other value is
// rejected whole.
inline bool recordValuesAreNormalised(const uint8_t* at, size_t count, RecordOrder order,
                                      bool byteReversed) {
  for (size_t i = 0; i < count; ++i)
    if (!isNormalisedValue(readRecordValue(at + 4 * i, order, byteReversed))) return false;
  return true;
}
