// Any bytes as a MIDI-settings record: only our own record with values in
// 0 … 1 is accepted and then reads back; anything else changes nothing (the
// whole chunk reads the same before and after); the maps always agree.
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzEffect& fx = fuzz::effect();
  const fuzz::RecordInput input(data, size, kMidiFileSize);
  const uint8_t* record = input.bytes.data();
  const std::vector<uint8_t> before = fx.state();
  const std::vector<uint8_t> chunkBefore = fuzz::chunkOf(fx);
  const RecordOrder order = recordOrderOf(readWord(record), fuzz::kOwnId);
  const bool acceptable =
      fuzz::isOurs(record, kMidiTag) &&
      recordValuesAreNormalised(record + kRecordBodyOffset, kNumParams, order, input.byteReversed);

  const bool accepted = decodeMidiRecord(fx, record, input.byteReversed);
  fuzz::check(accepted == acceptable);
  if (accepted) {
    for (VstInt32 i = 0; i < kNumParams; ++i) {
      const float given = readRecordValue(record + kRecordBodyOffset + 4 * i, order,
                                          input.byteReversed);
      fuzz::check(fuzz::assignmentReadsBack(fx.getParameter(kCCFirst + i), given));
    }
  } else {
    fuzz::check(fx.state() == before);
    fuzz::check(fuzz::chunkOf(fx) == chunkBefore);
  }
  fuzz::check(fx.mapsAgree());
  return 0;
}
