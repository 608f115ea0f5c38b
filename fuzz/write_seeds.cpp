// Writes the seed corpus: a chunk and each record in both byte orders, a
// short preset and a few near misses. Usage: write_seeds CORPUS_FOLDER
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"

namespace {

void write(const std::string& path, const std::vector<uint8_t>& bytes) {
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
}

// Every 32-bit word after the kind byte reversed, and the identifier.
std::vector<uint8_t> reversedRecord(std::vector<uint8_t> record) {
  reverseWordInPlace(record.data());
  for (size_t offset = kRecordBodyOffset; offset + 4 <= record.size(); offset += 4)
    reverseWordInPlace(&record[offset]);
  return record;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string folder = argv[1];
  fuzz::FuzzEffect& fx = fuzz::effect();
  // Unlike the fuzzers' starting point in every part: names, values,
  // current program and bindings.
  for (VstInt32 k = 0; k < kNumPrograms; ++k) {
    fx.selectProgram(k);
    fx.renameCurrentProgram("seed program");
    fx.setParameter(k % kNumParams, 0.0625f);
  }
  fx.selectProgram(4);
  fx.setParameter(kCCFirst + 0, 7.5f / 129.0f);
  fx.setParameter(kCCFirst + 6, 74.5f / 129.0f);

  void* data = nullptr;
  const VstInt32 size = fx.getChunk(&data);
  const auto* bytes = static_cast<const uint8_t*>(data);
  std::vector<uint8_t> chunk(bytes, bytes + size);
  write(folder + "/set_chunk/native", chunk);
  std::vector<uint8_t> reversed = chunk;
  for (size_t offset = 0; offset < kChunkSize; offset += 4) {
    const bool inName = offset >= kChunkProgramsOffset && offset < kChunkAssignmentsOffset &&
                        (offset - kChunkProgramsOffset) % sizeof(ProgramRecord) < kProgramNameLength;
    if (!inName) reverseWordInPlace(&reversed[offset]);
  }
  write(folder + "/set_chunk/reversed", reversed);
  std::vector<uint8_t> badMarker = chunk;
  badMarker[3] = 2;
  write(folder + "/set_chunk/bad_marker", badMarker);

  std::vector<uint8_t> preset(kPresetFileSize, 0), bank(kBankFileSize, 0), midi(kMidiFileSize, 0);
  encodePresetRecord(fx, preset.data());
  encodeBankRecord(fx, bank.data());
  encodeMidiRecord(fx, midi.data());
  write(folder + "/preset_decoder/native", preset);
  write(folder + "/preset_decoder/reversed", reversedRecord(preset));
  write(folder + "/preset_decoder/short", std::vector<uint8_t>(preset.begin(), preset.begin() + 29));
  std::vector<uint8_t> byteReversedRequest = preset;
  byteReversedRequest.push_back(1);
  write(folder + "/preset_decoder/byte_reversed_request", byteReversedRequest);
  write(folder + "/bank_decoder/native", bank);
  write(folder + "/bank_decoder/reversed", reversedRecord(bank));
  std::vector<uint8_t> wrongKind = bank;
  wrongKind[kRecordKindOffset] = kPresetTag;
  write(folder + "/bank_decoder/wrong_kind", wrongKind);
  write(folder + "/midi_decoder/native", midi);
  write(folder + "/midi_decoder/reversed", reversedRecord(midi));
  return 0;
}
