// Any bytes as a preset record: only our own preset with values in 0 … 1
// is accepted and then reads back as the current program; anything else
// changes nothing (the whole chunk reads the same before and after).
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::FuzzEffect& fx = fuzz::effect();
  const fuzz::RecordInput input(data, size, kPresetFileSize);
  const uint8_t* record = input.bytes.data();
  const std::vector<uint8_t> before = fx.state();
  const std::vector<uint8_t> chunkBefore = fuzz::chunkOf(fx);
  const RecordOrder order = recordOrderOf(readWord(record), fuzz::kOwnId);
  const bool acceptable =
      fuzz::isOurs(record, kPresetTag) &&
      recordValuesAreNormalised(record + kRecordBodyOffset + kRecordValuesInProgram,
                                kNumRecordValues, order, input.byteReversed);

  const bool accepted = decodePresetRecord(fx, record, input.byteReversed);
  fuzz::check(accepted == acceptable);
  if (accepted) {
    const ProgramRecord& current = fx.getPrograms()[fx.getCurrentProgramIndex()];
    fuzz::check(fuzz::programReadsBack(current, record + kRecordBodyOffset, order,
                                       input.byteReversed, true));
  } else {
    fuzz::check(fx.state() == before);
    fuzz::check(fuzz::chunkOf(fx) == chunkBefore);
  }
  fuzz::check(fx.mapsAgree());
  return 0;
}
