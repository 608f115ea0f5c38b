// The host state chunk: the whole preset-system state in one 1736-byte block
// that hosts keep in their projects.
#include <cstring>
#include <initializer_list>

#include "presets/preset_system_effect.h"
#include "presets/record_formats.h"

namespace {

uint8_t* programAt(uint8_t* chunk, VstInt32 k) {
  return chunk + kChunkProgramsOffset + static_cast<size_t>(k) * sizeof(ProgramRecord);
}

// Turns a chunk written in the other byte order into ours. Names are bytes
// and the identifier word stays as found.
void reverseChunkWords(uint8_t* chunk) {
  for (size_t offset : {kChunkMarkerOffset, kChunkCountOffset, kChunkCurrentOffset})
    reverseWordInPlace(chunk + offset);
  for (size_t offset = kChunkReservedOffset; offset < kChunkProgramsOffset; offset += 4)
    reverseWordInPlace(chunk + offset);
  for (VstInt32 k = 0; k < kNumPrograms; ++k) {
    uint8_t* values = programAt(chunk, k) + kRecordValuesInProgram;
    for (size_t i = 0; i < kNumRecordValues; ++i) reverseWordInPlace(values + 4 * i);
  }
  for (size_t i = 0; i < kNumRecordValues; ++i)
    reverseWordInPlace(chunk + kChunkAssignmentsOffset + 4 * i);
}

// Every program value and assignment value of a chunk in our byte order is
// a normalised value.
bool chunkValuesAreNormalised(const uint8_t* chunk) {
  for (VstInt32 k = 0; k < kNumPrograms; ++k) {
    const uint8_t* values = chunk + kChunkProgramsOffset +
                            static_cast<size_t>(k) * sizeof(ProgramRecord) + kRecordValuesInProgram;
    if (!recordValuesAreNormalised(values, kNumRecordValues, RecordOrder::kNative, false))
      return false;
  }
  return recordValuesAreNormalised(chunk + kChunkAssignmentsOffset, kNumRecordValues,
                                   RecordOrder::kNative, false);
}

}  // namespace

VstInt32 CPresetSystemEffect::getChunk(void** data, bool isPreset) {
  (void)isPreset;  // the chunk always carries the whole state
  if (!chunkBuffer || !data) return 0;
  std::memset(chunkBuffer, 0, kChunkSize);
  writeWord(chunkBuffer + kChunkMarkerOffset, kChunkMarker);
  writeWord(chunkBuffer + kChunkIdOffset, static_cast<uint32_t>(getUniqueID()));
  writeWord(chunkBuffer + kChunkCountOffset, static_cast<uint32_t>(kChunkProgramCount));
  writeWord(chunkBuffer + kChunkCurrentOffset, static_cast<uint32_t>(currentProgram.load()));
  if (programs) {
    for (VstInt32 k = 0; k < kNumPrograms; ++k) {
      uint8_t* record = programAt(chunkBuffer, k);
      std::memcpy(record, programs[k].name, kProgramNameLength);
      for (size_t i = 0; i < kNumRecordValues; ++i)
        writeWord(record + kRecordValuesInProgram + 4 * i,
                  wordFromFloat(loadValueRelaxed(programs[k].values[i])));
    }
  }
  for (size_t i = 0; i < kNumRecordValues; ++i)
    writeWord(chunkBuffer + kChunkAssignmentsOffset + 4 * i,
              wordFromFloat(assignmentValues[i].load(std::memory_order_relaxed)));
  *data = chunkBuffer;
  return kChunkSize;
}

VstInt32 CPresetSystemEffect::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
  (void)isPreset;
  constexpr VstInt32 kRejected = -1;
  constexpr VstInt32 kAccepted = 0;
  constexpr VstInt32 kTurnedAway = 0;  // nothing loaded, as for a wrong marker
  if (!chunkBuffer || !data || byteSize != kChunkSize) return kRejected;
  // Hosts may hand back the very buffer getChunk gave them.
  std::memmove(chunkBuffer, data, kChunkSize);

  const uint32_t ownId = static_cast<uint32_t>(getUniqueID());
  switch (recordOrderOf(readWord(chunkBuffer + kChunkIdOffset), ownId)) {
    case RecordOrder::kNative:
      break;
    case RecordOrder::kReversed:
      reverseChunkWords(chunkBuffer);
      break;
    case RecordOrder::kForeign:
      return kRejected;
  }
  // A wrong marker is turned away quietly, as a chunk with nothing to load.
  if (readWord(chunkBuffer + kChunkMarkerOffset) != kChunkMarker) return kTurnedAway;
  if (static_cast<int32_t>(readWord(chunkBuffer + kChunkCountOffset)) != kChunkProgramCount)
    return kRejected;
  if (!programs || !controllerOfParameter || !parameterOfController) return kRejected;
  // One value that is not finite or not within 0 … 1 turns the whole chunk
  // away quietly, before anything is stored.
  if (!chunkValuesAreNormalised(chunkBuffer)) return kTurnedAway;

  for (VstInt32 k = 0; k < kNumPrograms; ++k) {
    const uint8_t* record = programAt(chunkBuffer, k);
    std::memcpy(programs[k].name, record, kProgramNameLength);
    for (size_t i = 0; i < kNumRecordValues; ++i)
      storeValueRelaxed(programs[k].values[i],
                        floatFromWord(readWord(record + kRecordValuesInProgram + 4 * i)));
  }
  float restored[kNumParams];
  for (VstInt32 i = 0; i < kNumParams; ++i)
    restored[i] = floatFromWord(readWord(chunkBuffer + kChunkAssignmentsOffset + 4 * i));
  // A reopened project gets its MIDI bindings back, not just their values.
  restoreAssignments(restored);

  const auto current = static_cast<int32_t>(readWord(chunkBuffer + kChunkCurrentOffset));
  if (current >= 0 && current < kNumPrograms) selectProgram(current);
  return kAccepted;
}
