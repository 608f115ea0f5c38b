// Any bytes as a bank record: a rejected bank only selects program 0.
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzEffect& fx = fuzz::effect();
  const fuzz::RecordInput input(data, size, kBankFileSize);
  const std::vector<uint8_t> before = fx.state();
  decodeBankRecord(fx, input.bytes.data(), input.byteReversed);
  fuzz::check(fx.getCurrentProgramIndex() == 0);
  if (!fuzz::isOurs(input.bytes.data(), kBankTag)) fuzz::check(fx.state() == before);
  return 0;
}
