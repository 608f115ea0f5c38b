// Any bytes as a host state chunk: each input gets the answer its header
// calls for, a turned-away chunk changes nothing, and the controller maps
// always agree afterwards.
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
  return Expected::kRestored;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzEffect& fx = fuzz::effect();
  std::vector<uint8_t> chunk(data, data + size);
  uint8_t* bytes = chunk.empty() ? nullptr : chunk.data();
  const Expected expected = expectedFor(bytes, size);
  const std::vector<uint8_t> before = fx.state();

  const VstInt32 result = fx.setChunk(bytes, static_cast<VstInt32>(size));
  fuzz::check(result == (expected == Expected::kRejected ? -1 : 0));
  if (expected != Expected::kRestored) fuzz::check(fx.state() == before);
  fuzz::check(fx.mapsAgree());
  void* out = nullptr;
  fuzz::check(fx.getChunk(&out) == kChunkSize && out != nullptr);
  return 0;
}
