// The plug-in as a host sees it: the entry point, the record after
// construction, the dispatcher on the real effect, and the program store.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "host/vst2_abi.h"
#include "presets/preset_system_effect.h"
#include "tests/host/temporary_settings.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

namespace {
std::atomic<long> gAllocations{0};
}  // namespace

void* operator new(size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](size_t size) { return operator new(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  ++gAllocations;
  return std::malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

namespace {

VstIntPtr gVersionAnswer = kVstVersion;
int gVersionQuestions = 0;
std::vector<VstInt32> gHostOpcodes;

VstIntPtr testHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  gHostOpcodes.push_back(opcode);
  if (opcode == audioMasterVersion) {
    ++gVersionQuestions;
    return gVersionAnswer;
  }
  return 0;
}

class PluginInstance : public ::testing::Test {
 protected:
  void SetUp() override {
    gVersionAnswer = kVstVersion;
    record = VSTPluginMain(testHost);
    ASSERT_NE(record, nullptr);
  }
  void TearDown() override {
    if (record) EXPECT_EQ(dispatch(effClose), 1);
  }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr, float opt = 0.0f) {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
  }
  std::string programName() {
    char text[256];
    std::memset(text, 'x', sizeof(text));
    dispatch(effGetProgramName, 0, 0, text);
    return text;
  }
  CPresetSystemEffect* effect() { return static_cast<CPresetSystemEffect*>(record->object); }

  TemporarySettings settings;
  AEffect* record = nullptr;
};

TEST(EntryPoint, VersionZeroGivesNullAndAllocatesNothing) {
  TemporarySettings settings;
  gVersionAnswer = 0;
  gVersionQuestions = 0;
  gHostOpcodes.reserve(1024);  // the test host's own log must not count
  gHostOpcodes.clear();
  const long before = gAllocations.load();
  EXPECT_EQ(VSTPluginMain(testHost), nullptr);
  EXPECT_EQ(gAllocations.load(), before);
  EXPECT_EQ(gVersionQuestions, 1);
  EXPECT_EQ(VSTPluginMain(nullptr), nullptr);
  gVersionAnswer = kVstVersion;
}

TEST_F(PluginInstance, RecordAfterConstruction) {
  EXPECT_EQ(record->magic, 0x56737450);
  EXPECT_EQ(record->flags, effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks);
  EXPECT_EQ(record->flags, 0x31);
  EXPECT_EQ(record->numInputs, 2);
  EXPECT_EQ(record->numOutputs, 2);
  EXPECT_EQ(record->numParams, 36);
  EXPECT_EQ(record->numPrograms, 1);
  EXPECT_EQ(record->uniqueID, 0x486C646E);  // "Hldn"
  EXPECT_FLOAT_EQ(record->ioRatio, 1.0f);
  EXPECT_EQ(record->version, 1);
  EXPECT_EQ(record->initialDelay, 0);
  EXPECT_EQ(record->resvd1, 0);
  EXPECT_EQ(record->resvd2, 0);
  EXPECT_EQ(record->user, nullptr);
  EXPECT_NE(record->processReplacing, nullptr);
  EXPECT_NE(record->setParameter, nullptr);
  EXPECT_NE(record->getParameter, nullptr);
}

TEST_F(PluginInstance, IdentityTexts) {
  char text[256];
  std::memset(text, 'x', sizeof(text));
  EXPECT_EQ(dispatch(effGetEffectName, 0, 0, text), 1);
  EXPECT_STREQ(text, "Marlow Halden");
  EXPECT_EQ(dispatch(effGetVendorString, 0, 0, text), 1);
  EXPECT_STREQ(text, "Qelworks");
  std::memset(text, 'x', sizeof(text));
  EXPECT_EQ(dispatch(effGetProductString, 0, 0, text), 1);
  // Fitted to the host's 64-byte buffer: at most 63 characters and a terminator.
  const size_t length = strnlen(text, sizeof(text));
  EXPECT_LE(length, 63u);
  EXPECT_EQ(std::string(text).rfind("Marlow Halden - ", 0), 0u);
  for (size_t i = 64; i < sizeof(text); ++i) ASSERT_EQ(text[i], 'x') << i;  // nothing beyond
}

TEST_F(PluginInstance, FixedAnswersOfTheDispatcher) {
  EXPECT_EQ(dispatch(effIdentify), 0x4E764566);
  EXPECT_EQ(dispatch(effGetVstVersion), 2400);
  EXPECT_EQ(dispatch(effGetPlugCategory), 0);
  EXPECT_EQ(dispatch(effGetTailSize), 0);
  EXPECT_EQ(dispatch(effGetCurrentMidiProgram), -1);
  for (VstInt32 i = 0; i < 36; ++i) EXPECT_EQ(dispatch(effCanBeAutomated, i), 1);
  char text[64];
  const VstInt32 unlisted[] = {-1, 9, 16, 17, 18, 20, 21, 28, 30, 31, 32, 36, 37,
                               43, 46, 53, 54, 55, 57, 80, 200};
  for (VstInt32 opcode : unlisted) EXPECT_EQ(dispatch(opcode, 0, 0, text), 0) << opcode;
}

TEST_F(PluginInstance, HostSeesOneProgram) {
  EXPECT_EQ(dispatch(effGetProgram), 0);
  const float mix = record->getParameter(record, 2);
  dispatch(effSetProgram, 0, 5);
  dispatch(effSetProgram, 0, 0);
  EXPECT_EQ(dispatch(effGetProgram), 0);
  EXPECT_EQ(effect()->getCurrentProgramIndex(), 0);
  EXPECT_EQ(record->getParameter(record, 2), mix);
  EXPECT_EQ(programName(), "default");
}

TEST_F(PluginInstance, FactoryProgramsByIndex) {
  const char* names[17] = {"default",        "wiper",          "8th fast tape",
                           "didgee",         "dotted 8th slow tape", "light flanger",
                           "wow tape",       "16th downsampled", "doubler",
                           "running up",     "deep flanger",   "lezlie",
                           "fourforty fast", "vocoder",        "fourforty slow",
                           "driven crazy",   "16th slapback"};
  char text[64];
  for (VstInt32 k = 0; k < 17; ++k) {
    std::memset(text, 'x', sizeof(text));
    EXPECT_EQ(dispatch(effGetProgramNameIndexed, k, -1, text), 1);
    EXPECT_STREQ(text, names[k]);
  }
  std::memset(text, 'x', sizeof(text));
  EXPECT_EQ(dispatch(effGetProgramNameIndexed, 17, 0, text), 0);
  EXPECT_EQ(dispatch(effGetProgramNameIndexed, -1, 0, text), 0);
  EXPECT_EQ(text[0], 'x');  // untouched
}

TEST_F(PluginInstance, FreshInstanceReadsBackProgramZero) {
  const float expected[18] = {0.5f, 0.5f,  0.5f,  0.624961f, 0.25f, 0.25f,
                              0.0f, 0.25f, 0.25f, 0.5f,      0.0f,  0.5f,
                              0.0f, 0.25f, 0.75f, 0.25f,     0.1f,  0.038462f};
  for (VstInt32 i = 0; i < 18; ++i) EXPECT_EQ(record->getParameter(record, i), expected[i]) << i;
  // Stored exactly as the float nearest the decimal.
  const ProgramRecord* programs = effect()->getPrograms();
  EXPECT_EQ(programs[16].values[3], 0.019531f);
  EXPECT_EQ(programs[11].values[12], 0.964954f);
  EXPECT_EQ(programs[4].values[17], 0.730769f);
}

TEST_F(PluginInstance, HostProgramNamesAreCutAtACharacterBoundary) {
  // 23 letters and two two-byte characters: the first one would end at
  // byte 25, so only the letters fit.
  char typed[] = "abcdefghijklmnopqrstuvw\xc3\xa9\xc3\xa9";
  dispatch(effSetProgramName, 0, 0, typed);
  EXPECT_EQ(programName(), "abcdefghijklmnopqrstuvw");
  EXPECT_EQ(effect()->getPrograms()[0].name[23], 0);

  char euros[] = "0123456789012345678901\xe2\x82\xac\xe2\x82\xac";  // 22 + 3 + 3
  dispatch(effSetProgramName, 0, 0, euros);
  EXPECT_EQ(programName(), "0123456789012345678901");
}

TEST_F(PluginInstance, ProgramNamesKeepAtMost24Characters) {
  char name24[] = "abcdefghijklmnopqrstuvwx";
  dispatch(effSetProgramName, 0, 0, name24);
  EXPECT_EQ(programName(), "abcdefghijklmnopqrstuvwx");
  const ProgramRecord& current = effect()->getPrograms()[0];
  EXPECT_EQ(std::memcmp(current.name, name24, 24), 0);  // full field, no terminator

  char name30[] = "0123456789012345678901234567ZZ";
  dispatch(effSetProgramName, 0, 0, name30);
  char text[64];
  std::memset(text, 'x', sizeof(text));
  dispatch(effGetProgramName, 0, 0, text);
  EXPECT_EQ(std::string(text), "012345678901234567890123");
  EXPECT_EQ(text[24], 0);
  EXPECT_EQ(text[25], 'x');  // exactly 25 bytes written

  char shortName[] = "mine";
  dispatch(effSetProgramName, 0, 0, shortName);
  EXPECT_EQ(programName(), "mine");
  for (int i = 4; i < 24; ++i) EXPECT_EQ(current.name[i], 0) << i;  // zero padded
}

TEST_F(PluginInstance, SelectingAProgramLeavesTheStoreAsItWas) {
  ProgramRecord before[17];
  std::memcpy(before, effect()->getPrograms(), sizeof(before));
  for (VstInt32 k : {5, 16, 0, 9}) {
    effect()->selectProgram(k);
    EXPECT_EQ(std::memcmp(before, effect()->getPrograms(), sizeof(before)), 0) << k;
    EXPECT_EQ(effect()->getCurrentProgramIndex(), k);
  }
}

TEST_F(PluginInstance, EditsSurviveSwitchingPrograms) {
  effect()->selectProgram(3);
  record->setParameter(record, 2, 0.8f);
  effect()->selectProgram(4);
  EXPECT_EQ(record->getParameter(record, 2), 0.407912f);
  effect()->selectProgram(3);
  EXPECT_EQ(record->getParameter(record, 2), 0.8f);
  EXPECT_EQ(effect()->getPrograms()[3].values[2], 0.8f);
}

TEST_F(PluginInstance, SelectingAProgramRenamesNothingAndAsksForADisplayUpdate) {
  gHostOpcodes.clear();
  effect()->selectProgram(6);
  EXPECT_EQ(programName(), "wow tape");
  bool updated = false;
  for (VstInt32 opcode : gHostOpcodes) updated |= opcode == audioMasterUpdateDisplay;
  EXPECT_TRUE(updated);
}

}  // namespace
