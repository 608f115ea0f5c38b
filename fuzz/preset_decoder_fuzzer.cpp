// Any bytes as a preset record: only our own preset changes the store.
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzEffect& fx = fuzz::effect();
  const fuzz::RecordInput input(data, size, kPresetFileSize);
  const std::vector<uint8_t> before = fx.state();
  decodePresetRecord(fx, input.bytes.data(), input.byteReversed);
  if (!fuzz::isOurs(input.bytes.data(), kPresetTag)) fuzz::check(fx.state() == before);
  fuzz::check(fx.mapsAgree());
  return 0;
}
