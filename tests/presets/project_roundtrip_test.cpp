// A host saving and reopening a project: everything goes through the
// plug-in record's dispatcher and parameter functions, as in a real host.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "effect/parameters.h"
#include "tests/presets/preset_test_support.h"

namespace preset_test {
namespace {

struct ProjectState {
  std::vector<float> parameters;  // all 36, as the host reads them
  std::vector<std::string> names;
  std::vector<uint8_t> programs;
  VstInt32 current;
  std::vector<VstInt32> controllers;

  static ProjectState of(PluginInstance& plugin) {
    ProjectState s;
    for (VstInt32 i = 0; i < kNumAllParams; ++i) s.parameters.push_back(plugin.get(i));
    for (VstInt32 k = 0; k < kNumPrograms; ++k) s.names.push_back(plugin.programName(k));
    s.programs = storeBytes(plugin.effect());
    s.current = plugin.effect().getCurrentProgramIndex();
    for (VstInt32 i = 0; i < kNumParams; ++i)
      s.controllers.push_back(plugin.effect().getControllerOfParameter(i));
    return s;
  }
  bool operator==(const ProjectState& o) const {
    return parameters == o.parameters && names == o.names && programs == o.programs &&
           current == o.current && controllers == o.controllers;
  }
};

class ProjectRoundTrip : public ::testing::Test {
 protected:
  // Parameters, names, current program and bindings all away from defaults.
  void editProject(PluginInstance& plugin) {
    plugin.effect().selectProgram(2);
    plugin.set(kFbck, 0.3f);
    char name2[] = "project two";
    plugin.dispatch(effSetProgramName, 0, 0, name2);
    plugin.effect().selectProgram(13);
    plugin.set(kInput, 0.71f);
    plugin.set(kHiCut, 0.75f);
    char name13[] = "a very long project program name";
    plugin.dispatch(effSetProgramName, 0, 0, name13);
    plugin.set(kCCFirst + kMix, controllerValue(7));
    plugin.set(kCCFirst + kDepth, controllerValue(1));
    plugin.effect().startLearn();
    plugin.set(kRate, 0.2f);
    plugin.send(MidiBatch{controlChange(9, 74, 30)});
  }
  std::vector<uint8_t> saveProject(PluginInstance& plugin) {
    void* data = nullptr;
    const VstIntPtr size = plugin.dispatch(effGetChunk, 0, 0, &data);
    EXPECT_EQ(size, 1736);
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
  }

  ScopedSettingsFolder temp;
};

TEST_F(ProjectRoundTrip, AReopenedProjectIsIdentical) {
  PluginInstance saved;
  editProject(saved);
  const ProjectState before = ProjectState::of(saved);
  std::vector<uint8_t> chunk = saveProject(saved);

  PluginInstance reopened;
  ASSERT_EQ(reopened.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(chunk.size()), chunk.data()), 0);
  EXPECT_TRUE(ProjectState::of(reopened) == before);
  EXPECT_EQ(reopened.effect().getCurrentProgramIndex(), 13);
  char name[32] = {};
  reopened.dispatch(effGetProgramName, 0, 0, name);
  EXPECT_STREQ(name, "a very long project prog");

  reopened.send(MidiBatch{controlChange(1, 7, 127), controlChange(1, 74, 0)});
  EXPECT_EQ(reopened.get(kMix), 1.0f);
  EXPECT_EQ(reopened.get(kRate), 0.0f);
}

TEST_F(ProjectRoundTrip, AProjectFromTheOtherByteOrderOpensTheSame) {
  PluginInstance saved;
  editProject(saved);
  const ProjectState before = ProjectState::of(saved);
  std::vector<uint8_t> chunk = saveProject(saved);
  for (size_t offset = 0; offset < 32; offset += 4)
    if (offset != kChunkIdOffset) reverseWordInPlace(&chunk[offset]);
  reverseWordInPlace(&chunk[kChunkIdOffset]);  // the identifier too, as the other machine wrote it
  for (int k = 0; k < kNumPrograms; ++k)
    for (int i = 0; i < kNumParams; ++i) reverseWordInPlace(&chunk[32 + 96 * k + 24 + 4 * i]);
  for (int i = 0; i < kNumParams; ++i) reverseWordInPlace(&chunk[kChunkAssignmentsOffset + 4 * i]);

  PluginInstance reopened;
  ASSERT_EQ(reopened.dispatch(effSetChunk, 0, 1736, chunk.data()), 0);
  EXPECT_TRUE(ProjectState::of(reopened) == before);
}

TEST_F(ProjectRoundTrip, HostsMayPassTheChunkBufferStraightBack) {
  PluginInstance plugin;
  editProject(plugin);
  const ProjectState before = ProjectState::of(plugin);
  void* data = nullptr;
  const VstIntPtr size = plugin.dispatch(effGetChunk, 0, 0, &data);
  plugin.effect().selectProgram(0);
  plugin.set(kFbck, 0.9f);
  plugin.set(kCCFirst + kMix, 1.0f);
  ASSERT_EQ(plugin.dispatch(effSetChunk, 0, size, data), 0);
  EXPECT_TRUE(ProjectState::of(plugin) == before);
}

TEST_F(ProjectRoundTrip, RejectedChunksLeaveThePluginAsItWas) {
  PluginInstance source;
  editProject(source);
  const std::vector<uint8_t> good = saveProject(source);

  PluginInstance plugin;
  plugin.effect().selectProgram(8);
  plugin.set(kCCFirst + kOutput, controllerValue(12));
  const ProjectState before = ProjectState::of(plugin);
  auto expectRejected = [&](std::vector<uint8_t> chunk, VstIntPtr size, VstIntPtr expected,
                            const char* what) {
    EXPECT_EQ(plugin.dispatch(effSetChunk, 0, size, chunk.data()), expected) << what;
    EXPECT_TRUE(ProjectState::of(plugin) == before) << what;
  };
  std::vector<uint8_t> chunk = good;
  expectRejected(chunk, 1735, -1, "1735 bytes");
  chunk.push_back(0);
  expectRejected(chunk, 1737, -1, "1737 bytes");
  EXPECT_EQ(plugin.dispatch(effSetChunk, 0, 1736, nullptr), -1);
  chunk = good;
  std::memcpy(&chunk[4], "XXXX", 4);
  expectRejected(chunk, 1736, -1, "wrong identifier");
  chunk = good;
  writeWord(&chunk[0], 0x00000001u);
  expectRejected(chunk, 1736, 0, "wrong marker");
  chunk = good;
  writeWord(&chunk[8], 16);
  expectRejected(chunk, 1736, -1, "count of 16");

  for (int32_t index : {17, -1}) {
    chunk = good;
    writeWord(&chunk[12], static_cast<uint32_t>(index));
    ASSERT_EQ(plugin.dispatch(effSetChunk, 0, 1736, chunk.data()), 0);
    EXPECT_EQ(plugin.effect().getCurrentProgramIndex(), 8) << index;
    EXPECT_EQ(storeBytes(plugin.effect()), storeBytes(source.effect())) << index;
    EXPECT_EQ(plugin.effect().getControllerOfParameter(kMix), 7) << index;
  }
}

}  // namespace
}  // namespace preset_test
