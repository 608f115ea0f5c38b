// Any bytes as a bank record: only our own bank with values in 0 … 1 is
// accepted and then reads back whole; anything else changes nothing but the
// current program (program 0 after a bank of another identifier or kind).
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzEffect& fx = fuzz::effect();
  const fuzz::RecordInput input(data, size, kBankFileSize);
  const uint8_t* record = input.bytes.data();
  const std::vector<uint8_t> before = fx.state();
  const std::vector<uint8_t> chunkBefore = fuzz::chunkOf(fx);
  const RecordOrder order = recordOrderOf(readWord(record), fuzz::kOwnId);
  const auto programAt = [record](VstInt32 k) {
    return record + kRecordBodyOffset + static_cast<size_t>(k) * kRecordProgramSize;
  };
  bool acceptable = fuzz::isOurs(record, kBankTag);
  for (VstInt32 k = 0; acceptable && k < kNumPrograms; ++k)
    acceptable = recordValuesAreNormalised(programAt(k) + kRecordValuesInProgram,
                                           kNumRecordValues, order, input.byteReversed);

  const bool accepted = decodeBankRecord(fx, record, input.byteReversed);
  fuzz::check(accepted == acceptable);
  fuzz::check(fx.getCurrentProgramIndex() == 0);
  if (accepted) {
    for (VstInt32 k = 0; k < kNumPrograms; ++k)
      fuzz::check(fuzz::programReadsBack(fx.getPrograms()[k], programAt(k), order,
                                         input.byteReversed));
  } else {
    // The effect starts every input at program 0, so not even that changed.
    fuzz::check(fx.state() == before);
    fuzz::check(fuzz::chunkOf(fx) == chunkBefore);
  }
  return 0;
}
