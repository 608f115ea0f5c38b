// Prints a saved state chunk of the plug-in in text form, for the shell tests.
//
//   chunk-dump FILE               header words, then every program record
//   chunk-dump --parameters FILE  "INDEX VALUE" for the 36 parameters as the
//                                 plug-in reports them once the chunk is
//                                 restored: the current program's 18 sound
//                                 values, then the 18 assignment values
//
// Values are printed with nine significant digits, which tells every float
// apart and matches how the tests write parameters read from a host. Only
// little-endian chunks are read; anything else is an error (exit status 2).

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr size_t kChunkSize = 1736;
constexpr uint32_t kUniqueId = 0x486c646e;  // 'Hldn'
constexpr uint32_t kProgramCount = 17;
constexpr size_t kMarkerOffset = 0;
constexpr size_t kIdOffset = 4;
constexpr size_t kCountOffset = 8;
constexpr size_t kCurrentOffset = 12;
constexpr size_t kReservedOffset = 16;
constexpr size_t kReservedSize = 16;
constexpr size_t kProgramsOffset = 32;
constexpr size_t kRecordSize = 96;
constexpr size_t kNameSize = 24;
constexpr size_t kSoundParameters = 18;
constexpr size_t kAssignmentsOffset = 1664;
constexpr int kBadInput = 2;

uint32_t wordAt(const std::vector<uint8_t>& chunk, size_t offset) {
  return static_cast<uint32_t>(chunk[offset]) | static_cast<uint32_t>(chunk[offset + 1]) << 8 |
         static_cast<uint32_t>(chunk[offset + 2]) << 16 |
         static_cast<uint32_t>(chunk[offset + 3]) << 24;
}

float floatAt(const std::vector<uint8_t>& chunk, size_t offset) {
  const uint32_t bits = wordAt(chunk, offset);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

size_t recordOffset(uint32_t program) { return kProgramsOffset + program * kRecordSize; }

void printRecord(const std::vector<uint8_t>& chunk, uint32_t program) {
  const size_t offset = recordOffset(program);
  char name[kNameSize + 1] = {};
  std::memcpy(name, &chunk[offset], kNameSize);
  std::printf("program %u \"%s\"", program, name);
  for (size_t i = 0; i < kSoundParameters; ++i) {
    std::printf(" %.9g", floatAt(chunk, offset + kNameSize + 4 * i));
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const bool parametersOnly = argc == 3 && std::strcmp(argv[1], "--parameters") == 0;
  if (argc != 2 && !parametersOnly) {
    std::fprintf(stderr, "usage: chunk-dump [--parameters] FILE\n");
    return kBadInput;
  }
  const char* path = argv[argc - 1];
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "chunk-dump: cannot read %s\n", path);
    return kBadInput;
  }
  const std::vector<uint8_t> chunk((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
  if (chunk.size() != kChunkSize || wordAt(chunk, kIdOffset) != kUniqueId ||
      wordAt(chunk, kCountOffset) != kProgramCount) {
    std::fprintf(stderr, "chunk-dump: %s is not a little-endian chunk of %zu bytes\n", path,
                 kChunkSize);
    return kBadInput;
  }
  const uint32_t current = wordAt(chunk, kCurrentOffset);

  if (parametersOnly) {
    if (current >= kProgramCount) {
      std::fprintf(stderr, "chunk-dump: current program %u is out of range\n", current);
      return kBadInput;
    }
    const size_t values = recordOffset(current) + kNameSize;
    for (size_t i = 0; i < kSoundParameters; ++i) {
      std::printf("%zu %.9g\n", i, floatAt(chunk, values + 4 * i));
    }
    for (size_t i = 0; i < kSoundParameters; ++i) {
      std::printf("%zu %.9g\n", kSoundParameters + i, floatAt(chunk, kAssignmentsOffset + 4 * i));
    }
    return 0;
  }

  bool reservedZero = true;
  for (size_t i = 0; i < kReservedSize; ++i) reservedZero &= chunk[kReservedOffset + i] == 0;
  std::printf("size %zu\nmarker 0x%08x\nidentifier 0x%08x\ncount %u\ncurrent %u\nreserved %s\n",
              chunk.size(), wordAt(chunk, kMarkerOffset), wordAt(chunk, kIdOffset),
              wordAt(chunk, kCountOffset), current, reservedZero ? "zero" : "not zero");
  for (uint32_t program = 0; program < kProgramCount; ++program) printRecord(chunk, program);
  std::printf("assignments");
  for (size_t i = 0; i < kSoundParameters; ++i) {
    std::printf(" %.9g", floatAt(chunk, kAssignmentsOffset + 4 * i));
  }
  std::printf("\n");
  return 0;
}
