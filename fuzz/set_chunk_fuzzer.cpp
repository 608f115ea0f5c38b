// Any bytes as a host state chunk: each input gets the answer its header
// and values call for, a turned-away chunk changes nothing (the whole chunk
// reads the same before and after), an accepted one reads back, and the
// controller maps always agree afterwards.
#include "fuzz/fuzz_support.h"

namespace {

enum class Expected { kRejected, kIgnored, kRestored };

Expected expectedFor(const uint8_t* data, size_t size) {
  if (!data || size != static_cast<size_t>(kChunkSize)) return Expected::kRejected;
  const RecordOrder order = recordOrderOf(readWord(data + kChunkIdOffset), fuzz::kOwnId);
  if (order == RecordOrder::kForeign) return Expected::kRejected;
  const auto word = [&](size_t offset) {
    const uint32_t raw = readWord(data + offset);
    return order == RecordOrder::kReversed ? reverseBytes(raw) : raw;
  };
  if (word(kChunkMarkerOffset) != kChunkMarker) return Expected::kIgnored;
  if (word(kChunkCountOffset) != static_cast<uint32_t>(kChunkProgramCount))
    return Expected::kRejected;
  for (size_t offset = kChunkProgramsOffset; offset < kChunkSize; offset += 4) {
    const size_t inProgram = (offset - kChunkProgramsOffset) % sizeof(ProgramRecord);
    const bool isName = offset < kChunkAssignmentsOffset && inProgram < kProgramNameLength;
    if (!isName && !isNormalisedValue(floatFromWord(word(offset)))) return Expected::kIgnored;
  }
  return Expected::kRestored;
}

// The programs and assignments of an accepted chunk are what getChunk gives.
bool readsBack(fuzz::FuzzEffect& fx, const uint8_t* data) {
  const RecordOrder order = recordOrderOf(readWord(data + kChunkIdOffset), fuzz::kOwnId);
  for (VstInt32 k = 0; k < kNumPrograms; ++k) {
    const uint8_t* at = data + kChunkProgramsOffset + k * sizeof(ProgramRecord);
    if (!fuzz::programReadsBack(fx.getPrograms()[k], at, order, false)) return false;
  }
  for (VstInt32 i = 0; i < kNumParams; ++i) {
    const float given = readRecordValue(data + kChunkAssignmentsOffset + 4 * i, order, false);
    if (!fuzz::assignmentReadsBack(fx.getParameter(kCCFirst + i), given)) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzEffect& fx = fuzz::effect();
  std::vector<uint8_t> chunk(data, data + size);
  uint8_t* bytes = chunk.empty() ? nullptr : chunk.data();
  const Expected expected = expectedFor(bytes, size);
  const std::vector<uint8_t> before = fx.state();
  const std::vector<uint8_t> chunkBefore = fuzz::chunkOf(fx);

  const VstInt32 result = fx.setChunk(bytes, static_cast<VstInt32>(size));
  fuzz::check(result == (expected == Expected::kRejected ? -1 : 0));
  if (expected != Expected::kRestored) {
    fuzz::check(fx.state() == before);
    fuzz::check(fuzz::chunkOf(fx) == chunkBefore);
  } else {
    fuzz::check(readsBack(fx, data));
  }
  fuzz::check(fx.mapsAgree());
  void* out = nullptr;
  fuzz::check(fx.getChunk(&out) == kChunkSize && out != nullptr);
  return 0;
}
