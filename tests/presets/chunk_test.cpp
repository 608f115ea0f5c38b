// The host state chunk on the preset-system base: layout, round trips in
// both byte orders, and every way a chunk is turned away.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/presets/preset_test_support.h"

namespace preset_test {
namespace {

std::vector<uint8_t> chunkOf(CPresetSystemEffect& fx) {
  void* data = nullptr;
  const VstInt32 size = fx.getChunk(&data);
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

// Every header word, value and assignment reversed; names and bytes kept.
std::vector<uint8_t> reversedChunk(std::vector<uint8_t> chunk) {
  for (size_t offset = 0; offset < kChunkProgramsOffset; offset += 4)
    reverseWordInPlace(&chunk[offset]);
  for (int k = 0; k < kNumPrograms; ++k)
    for (int i = 0; i < kNumParams; ++i)
      reverseWordInPlace(&chunk[kChunkProgramsOffset + 96 * k + 24 + 4 * i]);
  for (int i = 0; i < kNumParams; ++i)
    reverseWordInPlace(&chunk[kChunkAssignmentsOffset + 4 * i]);
  return chunk;
}

class StateChunk : public ::testing::Test {
 protected:
  // A state unlike a fresh instance's: edited programs, names, bindings and
  // a current program other than 0.
  void makeDistinctState(TestPresetEffect& fx) {
    fx.selectProgram(3);
    fx.setParameter(kFbck_, 0.123456789f);
    fx.setParameter(kMix_, 0.8f);
    fx.renameCurrentProgram("chunk program three");
    fx.selectProgram(11);
    fx.setParameter(0, 0.9f);
    char longName[] = "a name that is longer than the field";
    fx.setProgramName(longName);
    fx.setParameter(kCCFirst + 0, controllerValue(7));
    fx.setParameter(kCCFirst + 6, controllerValue(74));
    fx.setParameter(kCCFirst + 17, controllerValue(0));
  }
  static constexpr VstInt32 kFbck_ = 6;
  static constexpr VstInt32 kMix_ = 2;

  ScopedSettingsFolder settings;
};

TEST_F(StateChunk, HeaderLayoutIsFixed) {
  TestPresetEffect fx;
  fx.selectProgram(5);
  const std::vector<uint8_t> chunk = chunkOf(fx);
  ASSERT_EQ(chunk.size(), 1736u);
  EXPECT_EQ(std::vector<uint8_t>(chunk.begin(), chunk.begin() + 4),
            (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x01}));
  EXPECT_EQ(std::memcmp(&chunk[4], "ndlH", 4), 0);  // 'Hldn' written little-endian
  EXPECT_EQ(std::vector<uint8_t>(chunk.begin() + 8, chunk.begin() + 12),
            (std::vector<uint8_t>{0x11, 0x00, 0x00, 0x00}));
  EXPECT_EQ(chunk[12], 5);
  for (size_t i = 16; i < 32; ++i) EXPECT_EQ(chunk[i], 0) << "reserved byte " << i;
  EXPECT_EQ(std::memcmp(&chunk[32], "default", 8), 0);
  EXPECT_EQ(std::memcmp(&chunk[32 + 96 * 16], "16th slapback", 14), 0);
  EXPECT_EQ(readWord(&chunk[kChunkAssignmentsOffset]), bitsOf(notAssignedValue()));
}

TEST_F(StateChunk, RoundTripRestoresProgramsCurrentAndBindings) {
  TestPresetEffect source;
  makeDistinctState(source);
  const StateSnapshot saved = StateSnapshot::of(source);
  std::vector<uint8_t> chunk = chunkOf(source);

  TestPresetEffect restored;
  restored.setParameter(kCCFirst + 2, controllerValue(9));  // a binding the chunk lacks
  ASSERT_EQ(restored.setChunk(chunk.data(), static_cast<VstInt32>(chunk.size())), 0);
  EXPECT_TRUE(StateSnapshot::of(restored) == saved);
  EXPECT_EQ(restored.getCurrentProgramIndex(), 11);
  EXPECT_EQ(restored.getControllerOfParameter(0), 7);
  EXPECT_EQ(restored.getParameterOfController(74), 6);
  EXPECT_EQ(restored.getControllerOfParameter(2), kNotAssigned);
  EXPECT_EQ(restored.getParameterOfController(9), kNotAssigned);
}

TEST_F(StateChunk, ByteReversedChunkRestoresTheSameState) {
  TestPresetEffect source;
  makeDistinctState(source);
  const StateSnapshot saved = StateSnapshot::of(source);
  std::vector<uint8_t> chunk = reversedChunk(chunkOf(source));
  ASSERT_EQ(std::memcmp(&chunk[4], "Hldn", 4), 0);  // as a big-endian writer puts it

  TestPresetEffect restored;
  ASSERT_EQ(restored.setChunk(chunk.data(), static_cast<VstInt32>(chunk.size())), 0);
  EXPECT_TRUE(StateSnapshot::of(restored) == saved);
}

struct Rejection {
  const char* what;
  VstInt32 expected;
  void (*corrupt)(std::vector<uint8_t>& chunk, VstInt32& size, bool& nullData);
};

const Rejection kRejections[] = {
    {"one byte short", -1, [](std::vector<uint8_t>&, VstInt32& size, bool&) { size = 1735; }},
    {"one byte long", -1,
     [](std::vector<uint8_t>& chunk, VstInt32& size, bool&) {
       chunk.push_back(0);
       size = 1737;
     }},
    {"null data", -1, [](std::vector<uint8_t>&, VstInt32&, bool& nullData) { nullData = true; }},
    {"foreign identifier", -1,
     [](std::vector<uint8_t>& chunk, VstInt32&, bool&) { std::memcpy(&chunk[4], "Ekho", 4); }},
    {"zero identifier", -1,
     [](std::vector<uint8_t>& chunk, VstInt32&, bool&) { writeWord(&chunk[4], 0); }},
    {"wrong marker", 0,
     [](std::vector<uint8_t>& chunk, VstInt32&, bool&) { writeWord(&chunk[0], 0x02000000u); }},
    {"count of 16", -1,
     [](std::vector<uint8_t>& chunk, VstInt32&, bool&) { writeWord(&chunk[8], 16); }},
    {"count of 18", -1,
     [](std::vector<uint8_t>& chunk, VstInt32&, bool&) { writeWord(&chunk[8], 18); }},
};

TEST_F(StateChunk, RejectedChunksChangeNothingInEitherByteOrder) {
  TestPresetEffect source;
  makeDistinctState(source);
  const std::vector<uint8_t> good = chunkOf(source);
  for (bool reversed : {false, true}) {
    for (const Rejection& rejection : kRejections) {
      std::vector<uint8_t> chunk = reversed ? reversedChunk(good) : good;
      VstInt32 size = kChunkSize;
      bool nullData = false;
      rejection.corrupt(chunk, size, nullData);
      TestPresetEffect target;
      target.selectProgram(7);
      target.setParameter(kCCFirst + 3, controllerValue(21));
      const StateSnapshot before = StateSnapshot::of(target);
      target.calls.clear();
      EXPECT_EQ(target.setChunk(nullData ? nullptr : chunk.data(), size), rejection.expected)
          << rejection.what << (reversed ? " (reversed)" : "");
      EXPECT_TRUE(StateSnapshot::of(target) == before) << rejection.what;
      EXPECT_TRUE(target.calls.empty()) << rejection.what << ": nothing was pushed";
    }
  }
}

TEST_F(StateChunk, OneControllerInTwoAssignmentsBindsOnlyTheLater) {
  TestPresetEffect source;
  std::vector<uint8_t> chunk = chunkOf(source);
  writeWord(&chunk[kChunkAssignmentsOffset + 4 * 1], bitsOf(controllerValue(7)));
  writeWord(&chunk[kChunkAssignmentsOffset + 4 * 5], bitsOf(controllerValue(7)));
  TestPresetEffect restored;
  ASSERT_EQ(restored.setChunk(chunk.data(), 1736), 0);
  EXPECT_EQ(restored.getParameterOfController(7), 5);
  EXPECT_EQ(restored.getControllerOfParameter(1), kNotAssigned);
  EXPECT_EQ(bitsOf(restored.getParameter(kCCFirst + 1)), bitsOf(notAssignedValue()));
}

}  // namespace
}  // namespace preset_test
