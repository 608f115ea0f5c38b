// Shared by the fuzz targets: one long-lived effect on the preset-system
// base (no editor, so no settings are ever touched), and the checks every
// input must pass.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "presets/name_cut.h"
#include "presets/preset_records.h"
#include "presets/preset_system_effect.h"
#include "presets/record_formats.h"

namespace fuzz {

constexpr VstInt32 kOwnId = fourCharCode('H', 'l', 'd', 'n');

class FuzzEffect : public CPresetSystemEffect {
 public:
  FuzzEffect() : CPresetSystemEffect(nullptr) {
    setUniqueID(kOwnId);
  }
  void processReplacing(float**, float**, VstInt32) override {}
  void setParameter(VstInt32 index, float value) override {
    if (!loadingProgram) CPresetSystemEffect::setParameter(index, value);
  }

  // The same starting point for every input (factory programs, no
  // bindings), so any change an input makes shows.
  void reset() {
    stopLearn();
    stopClear();
    initFactoryPrograms();
    resetControllerMap();
    selectProgram(0);
  }

  // Everything a chunk or record can change.
  std::vector<uint8_t> state() {
    std::vector<uint8_t> bytes(reinterpret_cast<const uint8_t*>(programs),
                               reinterpret_cast<const uint8_t*>(programs + kNumPrograms));
    auto append = [&bytes](const void* at, size_t size) {
      const auto* b = static_cast<const uint8_t*>(at);
      bytes.insert(bytes.end(), b, b + size);
    };
    const VstInt32 current = currentProgram.load();
    append(&current, sizeof(current));
    for (VstInt32 i = 0; i < kNumParams; ++i) {
      const float value = assignmentValues[i].load();
      const VstInt32 controller = controllerOfParameter[i].load();
      append(&value, sizeof(value));
      append(&controller, sizeof(controller));
    }
    for (VstInt32 c = 0; c < kNumControllers; ++c) {
      const VstInt32 parameter = parameterOfController[c].load();
      append(&parameter, sizeof(parameter));
    }
    return bytes;
  }

  // The two maps always describe the same bindings.
  bool mapsAgree() {
    for (VstInt32 p = 0; p < kNumParams; ++p) {
      const VstInt32 c = controllerOfParameter[p].load();
      if (c == kNotAssigned) continue;
      if (c < 0 || c >= kNumControllers || parameterOfController[c].load() != p) return false;
    }
    for (VstInt32 c = 0; c < kNumControllers; ++c) {
      const VstInt32 p = parameterOfController[c].load();
      if (p == kNotAssigned) continue;
      if (p < 0 || p >= kNumParams || controllerOfParameter[p].load() != c) return false;
    }
    return true;
  }
};

// The whole host state chunk, for comparing before and after an input.
inline std::vector<uint8_t> chunkOf(FuzzEffect& fx) {
  void* out = nullptr;
  const VstInt32 size = fx.getChunk(&out);
  const auto* bytes = static_cast<const uint8_t*>(out);
  return out ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>();
}

// The effect for one input, reset to its starting point.
inline FuzzEffect& effect() {
  static FuzzEffect* instance = new FuzzEffect;  // lives for the whole run
  instance->reset();
  return *instance;
}

inline void check(bool condition) {
  if (!condition) std::abort();
}

inline bool isOurs(const uint8_t* record, uint8_t kind) {
  return recordOrderOf(readWord(record), static_cast<uint32_t>(kOwnId)) != RecordOrder::kForeign &&
         record[kRecordKindOffset] == kind;
}

// A program as a record holds it (name, then values in the record's order)
// against a program of the store: every value bit for bit, and the name's
// bytes (or, for a preset, whose name is stored as a text, up to its end).
inline bool programReadsBack(const ProgramRecord& program, const uint8_t* at, RecordOrder order,
                             bool byteReversed, bool nameAsText = false) {
  if (nameAsText) {
    // A name taken as text is stored without a half character at its end.
    char expected[kProgramNameLength + 1];
    cutUtf8(expected, reinterpret_cast<const char*>(at), kProgramNameLength);
    const size_t nameBytes = std::min<size_t>(std::strlen(expected) + 1, kProgramNameLength);
    if (std::memcmp(program.name, expected, nameBytes) != 0) return false;
  } else if (std::memcmp(program.name, at, kProgramNameLength) != 0) {
    return false;
  }
  for (size_t i = 0; i < kNumRecordValues; ++i) {
    const float expected =
        readRecordValue(at + kRecordValuesInProgram + 4 * i, order, byteReversed);
    if (wordFromFloat(loadValueRelaxed(program.values[i])) != wordFromFloat(expected)) return false;
  }
  return true;
}

// An assignment value reads back as given, or as "not assigned" when a later
// parameter took the same controller.
inline bool assignmentReadsBack(float got, float given) {
  return wordFromFloat(got) == wordFromFloat(given) ||
         wordFromFloat(got) == wordFromFloat(notAssignedValue());
}

// A record of the decoder's size filled from the input like a short file;
// one extra input byte chooses byteReversed.
struct RecordInput {
  RecordInput(const uint8_t* data, size_t size, size_t recordSize)
      : bytes(recordSize, 0), byteReversed(size > recordSize && (data[recordSize] & 1)) {
    if (size > 0) std::memcpy(bytes.data(), data, size < recordSize ? size : recordSize);
  }
  std::vector<uint8_t> bytes;
  bool byteReversed;
};

}  // namespace fuzz
