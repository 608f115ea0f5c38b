// The wrappers through which an effect calls its host back.
#include <gtest/gtest.h>

#include <vector>

#include "host/audioeffectx.h"

namespace {

struct HostCall {
  AEffect* effect;
  VstInt32 opcode, index;
  VstIntPtr value;
  void* ptr;
  float opt;
};

std::vector<HostCall> gHostCalls;
VstIntPtr gAnswer = 0;
VstTimeInfo gTime{};

VstIntPtr recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                        void* ptr, float opt) {
  gHostCalls.push_back({effect, opcode, index, value, ptr, opt});
  if (opcode == audioMasterGetTime) return gAnswer ? reinterpret_cast<VstIntPtr>(&gTime) : 0;
  return gAnswer;
}

class PlainEffect : public AudioEffectX {
 public:
  using AudioEffectX::AudioEffectX;
  void processReplacing(float**, float**, VstInt32) override {}
  void setParameter(VstInt32 index, float value) override {
    lastIndex = index;
    lastValue = value;
  }
  VstInt32 lastIndex = -1;
  float lastValue = 0;
};

TEST(HostCallbacks, WithoutAHostEveryWrapperAnswersItsDefault) {
  PlainEffect effect(nullptr, 1, 1);
  char text[128] = "unchanged";
  EXPECT_EQ(effect.getMasterVersion(), 1);
  EXPECT_EQ(effect.getCurrentUniqueId(), 0);
  effect.masterIdle();
  EXPECT_TRUE(effect.isInputConnected(1));
  EXPECT_TRUE(effect.isOutputConnected(1));
  effect.setParameterAutomated(3, 0.25f);  // the parameter is still set
  EXPECT_EQ(effect.lastIndex, 3);
  EXPECT_FLOAT_EQ(effect.lastValue, 0.25f);
  EXPECT_FALSE(effect.beginEdit(0));
  EXPECT_FALSE(effect.endEdit(0));
  EXPECT_EQ(effect.getTimeInfo(kVstTempoValid), nullptr);
  effect.wantEvents(1);
  EXPECT_EQ(effect.canHostDo(text), 0);
  EXPECT_FALSE(effect.updateDisplay());
  EXPECT_FALSE(effect.ioChanged());
  EXPECT_FALSE(effect.sizeWindow(10, 10));
  EXPECT_FLOAT_EQ(static_cast<float>(effect.updateSampleRate()), 44100.0f);
  EXPECT_EQ(effect.updateBlockSize(), 1024);
  EXPECT_EQ(effect.getInputLatency(), 0);
  EXPECT_EQ(effect.getOutputLatency(), 0);
  EXPECT_EQ(effect.getCurrentProcessLevel(), 0);
  EXPECT_EQ(effect.getAutomationState(), 0);
  EXPECT_FALSE(effect.getHostVendorString(text));
  EXPECT_FALSE(effect.getHostProductString(text));
  EXPECT_STREQ(text, "unchanged");
  EXPECT_EQ(effect.getHostVendorVersion(), 0);
  EXPECT_EQ(effect.hostVendorSpecific(1, 2, nullptr, 3.0f), 0);
  EXPECT_EQ(effect.getHostLanguage(), 0);
  EXPECT_EQ(effect.getDirectory(), nullptr);
  EXPECT_FALSE(effect.openFileSelector(nullptr));
  EXPECT_FALSE(effect.closeFileSelector(nullptr));
  effect.resume();  // asks nothing of a missing host
}

class WithHost : public ::testing::Test {
 protected:
  void SetUp() override {
    gHostCalls.clear();
    gAnswer = 0;
  }
  PlainEffect effect{recordingHost, 1, 4};
  const HostCall& last() { return gHostCalls.back(); }
};

TEST_F(WithHost, EveryCallCarriesTheRecord) {
  effect.masterIdle();
  ASSERT_EQ(gHostCalls.size(), 1u);
  EXPECT_EQ(last().effect, effect.getAeffect());
  EXPECT_EQ(last().opcode, audioMasterIdle);
}

TEST_F(WithHost, VersionZeroCountsAsOne) {
  EXPECT_EQ(effect.getMasterVersion(), 1);
  gAnswer = 2400;
  EXPECT_EQ(effect.getMasterVersion(), 2400);
}

TEST_F(WithHost, AutomationSetsThenTellsTheHost) {
  effect.setParameterAutomated(2, 0.75f);
  EXPECT_EQ(effect.lastIndex, 2);
  ASSERT_EQ(gHostCalls.size(), 1u);
  EXPECT_EQ(last().opcode, audioMasterAutomate);
  EXPECT_EQ(last().index, 2);
  EXPECT_EQ(last().value, 0);
  EXPECT_EQ(last().ptr, nullptr);
  EXPECT_FLOAT_EQ(last().opt, 0.75f);
}

TEST_F(WithHost, PinConnectionIsInverted) {
  gAnswer = 0;
  EXPECT_TRUE(effect.isInputConnected(1));
  EXPECT_EQ(last().opcode, audioMasterPinConnected);
  EXPECT_EQ(last().index, 1);
  EXPECT_EQ(last().value, 0);
  gAnswer = 1;
  EXPECT_FALSE(effect.isOutputConnected(1));
  EXPECT_EQ(last().value, 1);
}

TEST_F(WithHost, EditBracketsAndDisplayFollowTheAnswer) {
  EXPECT_FALSE(effect.beginEdit(5));
  EXPECT_EQ(last().opcode, audioMasterBeginEdit);
  EXPECT_EQ(last().index, 5);
  gAnswer = 1;
  EXPECT_TRUE(effect.endEdit(5));
  EXPECT_EQ(last().opcode, audioMasterEndEdit);
  EXPECT_TRUE(effect.updateDisplay());
  EXPECT_EQ(last().opcode, audioMasterUpdateDisplay);
}

TEST_F(WithHost, TimeInfoPassesTheFilter) {
  EXPECT_EQ(effect.getTimeInfo(kVstTempoValid), nullptr);
  EXPECT_EQ(last().opcode, audioMasterGetTime);
  EXPECT_EQ(last().value, kVstTempoValid);
  gAnswer = 1;
  EXPECT_EQ(effect.getTimeInfo(kVstPpqPosValid), &gTime);
}

TEST_F(WithHost, CanDoAnswersOneForAnyNonZero) {
  char text[] = "sendVstMidiEvent";
  gAnswer = -1;
  EXPECT_EQ(effect.canHostDo(text), 1);
  EXPECT_EQ(last().ptr, text);
  gAnswer = 0;
  EXPECT_EQ(effect.canHostDo(text), 0);
}

TEST_F(WithHost, SampleRateAndBlockSizeOnlyTakePositiveAnswers) {
  gAnswer = 48000;
  EXPECT_DOUBLE_EQ(effect.updateSampleRate(), 48000.0);
  gAnswer = -5;
  EXPECT_DOUBLE_EQ(effect.updateSampleRate(), 48000.0);
  gAnswer = 512;
  EXPECT_EQ(effect.updateBlockSize(), 512);
  gAnswer = 0;
  EXPECT_EQ(effect.updateBlockSize(), 512);
}

TEST_F(WithHost, WantEventsAndWindowSize) {
  effect.wantEvents(1);
  EXPECT_EQ(last().opcode, audioMasterWantMidi);
  EXPECT_EQ(last().value, 1);
  effect.sizeWindow(870, 101);
  EXPECT_EQ(last().opcode, audioMasterSizeWindow);
  EXPECT_EQ(last().index, 870);
  EXPECT_EQ(last().value, 101);
}

TEST_F(WithHost, FlagSettersChangeOnlyTheirBit) {
  AEffect* record = effect.getAeffect();
  effect.programsAreChunks(true);
  EXPECT_EQ(record->flags, effFlagsCanReplacing | effFlagsProgramChunks);
  effect.isSynth(true);
  EXPECT_EQ(effect.getPlugCategory(), kPlugCategSynth);
  effect.isSynth(false);
  effect.noTail(true);
  EXPECT_EQ(record->flags & effFlagsNoSoundInStop, effFlagsNoSoundInStop);
  effect.canDoubleReplacing(false);
  effect.canProcessReplacing(false);
  EXPECT_EQ(record->flags & effFlagsCanReplacing, 0);
  effect.setUniqueID(fourCharCode('A', 'b', 'c', 'd'));
  effect.setNumInputs(2);
  effect.setNumOutputs(2);
  effect.setInitialDelay(64);
  EXPECT_EQ(record->uniqueID, 0x41626364);
  EXPECT_EQ(record->numInputs, 2);
  EXPECT_EQ(record->initialDelay, 64);
}

TEST_F(WithHost, SynthResumeAsksForMidi) {
  effect.resume();
  EXPECT_TRUE(gHostCalls.empty());
  effect.isSynth(true);
  effect.resume();
  ASSERT_FALSE(gHostCalls.empty());
  EXPECT_EQ(last().opcode, audioMasterWantMidi);
}

TEST_F(WithHost, SpeakerArrangementMemoryRoutines) {
  VstSpeakerArrangement* arrangement = nullptr;
  ASSERT_TRUE(effect.allocateArrangement(&arrangement, 2));
  EXPECT_EQ(arrangement->numChannels, 2);
  arrangement->type = kSpeakerArrStereo;
  arrangement->speakers[1].type = 2;
  VstSpeakerArrangement* copy = nullptr;
  ASSERT_TRUE(effect.matchArrangement(&copy, arrangement));
  EXPECT_EQ(copy->type, kSpeakerArrStereo);
  EXPECT_EQ(copy->speakers[1].type, 2);
  EXPECT_TRUE(effect.deallocateArrangement(&arrangement));
  EXPECT_TRUE(effect.deallocateArrangement(&copy));
  EXPECT_EQ(copy, nullptr);
}

}  // namespace
