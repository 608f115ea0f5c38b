// Any bytes as a MIDI-settings record: only our own record changes the
// bindings, and the maps always agree afterwards.
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzEffect& fx = fuzz::effect();
  const fuzz::RecordInput input(data, size, kMidiFileSize);
  const std::vector<uint8_t> before = fx.state();
  decodeMidiRecord(fx, input.bytes.data(), input.byteReversed);
  if (!fuzz::isOurs(input.bytes.data(), kMidiTag)) fuzz::check(fx.state() == before);
  fuzz::check(fx.mapsAgree());
  return 0;
}
