// MIDI controllers on the real plug-in, through the dispatcher as a host
// drives them: bindings, control changes on any channel, learn and clear.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "effect/parameters.h"
#include "presets/controller_names.h"
#include "tests/presets/preset_test_support.h"

namespace preset_test {
namespace {

class Controllers : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeHost::canSendMidiAnswer = 1;
    ASSERT_NE(plugin.record, nullptr);
  }
  // The controller bound to a parameter, as the editor's display asks it.
  VstInt32 controllerOf(VstInt32 parameter) {
    return plugin.effect().getControllerOfParameter(parameter);
  }
  float assignment(VstInt32 parameter) { return plugin.get(kCCFirst + parameter); }

  ScopedSettingsFolder settings;
  PluginInstance plugin;
};

TEST_F(Controllers, AssignmentParameterBindsAndControlChangesDriveOnEveryChannel) {
  plugin.set(kCCFirst + kInput, 7.5f / 129.0f);
  EXPECT_EQ(controllerOf(kInput), 7);
  EXPECT_EQ(plugin.send(MidiBatch{controlChange(1, 7, 127)}), 1);
  EXPECT_EQ(plugin.get(kInput), 1.0f);
  plugin.send(MidiBatch{controlChange(1, 7, 0)});
  EXPECT_EQ(plugin.get(kInput), 0.0f);
  plugin.send(MidiBatch{controlChange(16, 7, 127)});
  EXPECT_EQ(plugin.get(kInput), 1.0f);
  plugin.send(MidiBatch{controlChange(16, 7, 64)});
  EXPECT_FLOAT_EQ(plugin.get(kInput), 64.0f / 127.0f);
}

TEST_F(Controllers, TopStepMeansNotAssigned) {
  plugin.set(kCCFirst + kInput, controllerValue(7));
  plugin.set(kCCFirst + kInput, 1.0f);
  EXPECT_EQ(controllerOf(kInput), kNotAssigned);
  EXPECT_EQ(plugin.effect().getParameterOfController(7), kNotAssigned);
  const float before = plugin.get(kInput);
  plugin.send(MidiBatch{controlChange(1, 7, 3)});
  EXPECT_EQ(plugin.get(kInput), before);
}

TEST_F(Controllers, OtherMessagesAndBadBytesAreIgnored) {
  plugin.set(kCCFirst + kMix, controllerValue(7));
  plugin.set(kMix, 0.3f);
  plugin.send(MidiBatch{{0xF8, 7, 100}, {0x90, 7, 100}, {0xE0, 7, 100}, {0xB0, 0x87, 100}});
  EXPECT_FLOAT_EQ(plugin.get(kMix), 0.3f);
  // A data byte above 127 makes the message broken: ignored.
  plugin.send(MidiBatch{controlChange(3, 7, 0xC0), controlChange(3, 7, 0x80)});
  EXPECT_FLOAT_EQ(plugin.get(kMix), 0.3f);
  plugin.send(MidiBatch{controlChange(3, 7, 0)});
  EXPECT_EQ(plugin.get(kMix), 0.0f);
  // Events that are not MIDI are skipped.
  MidiBatch notMidi{controlChange(1, 7, 127)};
  notMidi.midi[0].type = kVstSysExType;
  plugin.send(notMidi);
  EXPECT_EQ(plugin.get(kMix), 0.0f);
}

TEST_F(Controllers, LearnBindsTheLastTouchedParameterAndTakesTheMessage) {
  plugin.set(kCCFirst + kMix, controllerValue(74));
  plugin.effect().startLearn();
  plugin.set(kFbck, 0.2f);
  plugin.send(MidiBatch{controlChange(5, 74, 100)});
  EXPECT_EQ(controllerOf(kFbck), 74);
  EXPECT_EQ(plugin.effect().getParameterOfController(74), kFbck);
  EXPECT_FLOAT_EQ(plugin.get(kFbck), 100.0f / 127.0f);
  // The binding is saved through the assignment value; the old owner of 74 lost it.
  EXPECT_EQ(assignment(kFbck), controllerValue(74));
  EXPECT_EQ(controllerOf(kMix), kNotAssigned);
  EXPECT_EQ(assignment(kMix), notAssignedValue());
  // Learn mode is over: the next touched parameter is not bound.
  plugin.set(kRate, 0.4f);
  plugin.send(MidiBatch{controlChange(1, 75, 1)});
  EXPECT_EQ(controllerOf(kRate), kNotAssigned);
}

TEST_F(Controllers, ChannelModeControllersCannotBeLearned) {
  plugin.effect().startLearn();
  plugin.set(kDepth, 0.6f);
  plugin.send(MidiBatch{controlChange(1, 120, 10), controlChange(1, 127, 10)});
  EXPECT_EQ(controllerOf(kDepth), kNotAssigned);
  EXPECT_FLOAT_EQ(plugin.get(kDepth), 0.6f);
  plugin.send(MidiBatch{controlChange(1, 119, 0)});  // learn is still on
  EXPECT_EQ(controllerOf(kDepth), 119);
}

TEST_F(Controllers, LearnWithoutATouchedParameterOnlyDrivesExistingBindings) {
  plugin.set(kCCFirst + kOutput, controllerValue(11));
  plugin.effect().startLearn();
  plugin.send(MidiBatch{controlChange(1, 11, 127)});
  EXPECT_EQ(plugin.get(kOutput), 1.0f);
  EXPECT_EQ(controllerOf(kOutput), 11);
  plugin.set(kInput, 0.5f);
  plugin.send(MidiBatch{controlChange(1, 11, 0)});  // now kInput takes 11 from kOutput
  EXPECT_EQ(controllerOf(kInput), 11);
  EXPECT_EQ(controllerOf(kOutput), kNotAssigned);
  EXPECT_EQ(plugin.get(kInput), 0.0f);
  EXPECT_EQ(plugin.get(kOutput), 1.0f);
}

TEST_F(Controllers, ClearRemovesTheNextTouchedBindingOnly) {
  plugin.set(kCCFirst + kMix, controllerValue(20));
  plugin.set(kCCFirst + kRate, controllerValue(21));
  plugin.effect().startClear();
  plugin.set(kMix, 0.7f);
  EXPECT_EQ(controllerOf(kMix), kNotAssigned);
  EXPECT_EQ(plugin.effect().getParameterOfController(20), kNotAssigned);
  EXPECT_EQ(assignment(kMix), notAssignedValue());
  plugin.set(kRate, 0.7f);
  EXPECT_EQ(controllerOf(kRate), 21);
}

TEST_F(Controllers, ANewBindingRemovesTheOldEntriesOfBothMaps) {
  plugin.set(kCCFirst + kInput, controllerValue(7));
  plugin.set(kCCFirst + kInput, controllerValue(9));  // kInput moves from 7 to 9
  plugin.set(kCCFirst + kOutput, controllerValue(9));  // 9 moves from kInput to kOutput
  EXPECT_EQ(plugin.effect().getParameterOfController(7), kNotAssigned);
  EXPECT_EQ(controllerOf(kInput), kNotAssigned);
  EXPECT_EQ(assignment(kInput), notAssignedValue());
  EXPECT_EQ(controllerOf(kOutput), 9);
  const float input = plugin.get(kInput);
  plugin.send(MidiBatch{controlChange(1, 7, 127), controlChange(1, 9, 127)});
  EXPECT_EQ(plugin.get(kInput), input);
  EXPECT_EQ(plugin.get(kOutput), 1.0f);
}

TEST_F(Controllers, FreshInstanceHasNoBindings) {
  for (VstInt32 i = 0; i < kNumParams; ++i) {
    EXPECT_FLOAT_EQ(assignment(i), 0.996124f) << i;
    EXPECT_EQ(assignment(i), notAssignedValue()) << i;
    EXPECT_EQ(controllerOf(i), kNotAssigned) << i;
  }
  // The display shows an unbound control as step 128 of the 130 names.
  char text[kControllerNameSize];
  controllerNameText(paramFromIndex(128, 130), text);
  EXPECT_STREQ(text, "not assigned");
}

TEST_F(Controllers, ControllerNamesCoverEveryStep) {
  char text[kControllerNameSize];
  controllerNameText(paramFromIndex(129, 130), text);
  EXPECT_STREQ(text, "");
  controllerNameText(0.0f, text);
  EXPECT_STREQ(text, "bank sel MSB");
  controllerNameText(paramFromIndex(74, 130), text);
  EXPECT_STREQ(text, "brightness");
  controllerNameText(paramFromIndex(127, 130), text);
  EXPECT_STREQ(text, "poly mode on");
  for (const char* name : kControllerNames) EXPECT_LE(std::string(name).size(), 12u);
}

TEST_F(Controllers, ReceivesMidiOnlyWhenTheHostSendsIt) {
  char receive[] = "receiveVstMidiEvent";
  FakeHost::canSendMidiAnswer = 0;
  EXPECT_EQ(plugin.dispatch(effCanDo, 0, 0, receive), 0);
  FakeHost::canSendMidiAnswer = 1;
  EXPECT_EQ(plugin.dispatch(effCanDo, 0, 0, receive), 1);
  char other[] = "receiveVstEvents";
  EXPECT_EQ(plugin.dispatch(effCanDo, 0, 0, other), 0);
}

TEST_F(Controllers, ResumeAsksForMidi) {
  FakeHost::opcodes.clear();
  plugin.dispatch(effMainsChanged, 0, 1);
  EXPECT_NE(std::find(FakeHost::opcodes.begin(), FakeHost::opcodes.end(), audioMasterWantMidi),
            FakeHost::opcodes.end());
}

TEST_F(Controllers, NegativeAssignmentsAreClampedToControllerZero) {
  plugin.set(kCCFirst + kNum, -0.5f / 129.0f);
  EXPECT_EQ(controllerOf(kNum), 0);
  EXPECT_EQ(assignment(kNum), 0.0f);
  plugin.set(kCCFirst + kNum, 1.0f);
  plugin.set(kCCFirst + kNum, -2.0f / 129.0f);
  EXPECT_EQ(controllerOf(kNum), 0);
  EXPECT_EQ(assignment(kNum), 0.0f);
}

}  // namespace
}  // namespace preset_test
