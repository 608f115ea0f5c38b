// The two controller maps on the preset-system base: every way of binding
// keeps them in agreement with each other and with the assignment values,
// and bad numbers are ignored.
#include <gtest/gtest.h>

#include <limits>

#include "tests/presets/preset_test_support.h"

namespace preset_test {
namespace {

class ControllerMaps : public ::testing::Test {
 protected:
  ScopedSettingsFolder temp;
  TestPresetEffect fx;
};

TEST_F(ControllerMaps, DirectBindingAndUnbindingKeepValuesInStep) {
  fx.assignController(4, 33);
  EXPECT_EQ(fx.getControllerOfParameter(4), 33);
  EXPECT_EQ(fx.getParameterOfController(33), 4);
  EXPECT_EQ(fx.getParameter(kCCFirst + 4), controllerValue(33));

  fx.assignController(5, 33);  // 33 moves on
  EXPECT_EQ(fx.getControllerOfParameter(4), kNotAssigned);
  EXPECT_EQ(fx.getParameter(kCCFirst + 4), notAssignedValue());

  fx.unassignController(33);
  EXPECT_EQ(fx.getControllerOfParameter(5), kNotAssigned);
  EXPECT_EQ(fx.getParameterOfController(33), kNotAssigned);
  EXPECT_EQ(fx.getParameter(kCCFirst + 5), notAssignedValue());

  fx.assignController(6, 40);
  fx.unassignParameter(6);
  EXPECT_EQ(fx.getParameterOfController(40), kNotAssigned);
  EXPECT_EQ(fx.getParameter(kCCFirst + 6), notAssignedValue());
}

TEST_F(ControllerMaps, NumbersOutsideTheMapsAreIgnored) {
  const StateSnapshot before = StateSnapshot::of(fx);
  for (VstInt32 parameter : {-1, 18, 999})
    for (VstInt32 controller : {-1, 0, 128, 999}) {
      fx.assignController(parameter, controller);
      fx.assignController(0, controller == 0 ? -5 : controller);
    }
  for (VstInt32 bad : {-1, 18, 128, 999}) {
    fx.unassignParameter(bad);
    fx.unassignController(bad);
    EXPECT_EQ(fx.getControllerOfParameter(bad), kNotAssigned);
    EXPECT_EQ(fx.getParameterOfController(bad), kNotAssigned);
  }
  fx.setParameter(-1, 0.5f);
  fx.setParameter(kNumAllParams, 0.5f);
  EXPECT_TRUE(StateSnapshot::of(fx) == before);
}

TEST_F(ControllerMaps, NonNumbersAreIgnoredAndHugeValuesClamped) {
  for (float value : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()}) {
    fx.setParameter(kCCFirst + 1, controllerValue(3));
    fx.setParameter(kCCFirst + 1, value);
    EXPECT_EQ(fx.getControllerOfParameter(1), 3) << value;
    EXPECT_EQ(fx.getParameterOfController(3), 1) << value;
    EXPECT_EQ(fx.getParameter(kCCFirst + 1), controllerValue(3)) << value;
  }
  // 1e30 counts as 1 (not assigned), -1e30 as 0 (controller 0).
  fx.setParameter(kCCFirst + 1, 1e30f);
  EXPECT_EQ(fx.getControllerOfParameter(1), kNotAssigned);
  EXPECT_EQ(fx.getParameterOfController(3), kNotAssigned);
  EXPECT_EQ(fx.getParameter(kCCFirst + 1), 1.0f);
  fx.setParameter(kCCFirst + 1, -1e30f);
  EXPECT_EQ(fx.getControllerOfParameter(1), 0);
  EXPECT_EQ(fx.getParameter(kCCFirst + 1), 0.0f);
}

TEST_F(ControllerMaps, ProgramChangesNeitherCaptureNorClear) {
  fx.setParameter(kCCFirst + 2, controllerValue(50));
  fx.startLearn();
  fx.startClear();
  fx.selectProgram(7);
  MidiBatch cc{controlChange(1, 60, 1)};
  fx.processEvents(cc.list);
  EXPECT_EQ(fx.getParameterOfController(60), kNotAssigned);  // no target was taken
  EXPECT_EQ(fx.getControllerOfParameter(2), 50);
  EXPECT_TRUE(fx.isClearing());
}

TEST_F(ControllerMaps, EventListsMayBeEmptyOrHoldNothingUseful) {
  EXPECT_EQ(fx.processEvents(nullptr), 0);
  MidiBatch batch{controlChange(1, 1, 1), controlChange(1, 2, 2)};
  batch.list->events[0] = nullptr;
  batch.list->numEvents = 1;
  EXPECT_EQ(fx.processEvents(batch.list), 1);
  batch.list->numEvents = -3;
  EXPECT_EQ(fx.processEvents(batch.list), 1);
}

TEST_F(ControllerMaps, LearnTargetCanBeSetDirectly) {
  fx.startLearn();
  fx.setLearnTarget(9);
  MidiBatch cc{controlChange(1, 64, 127)};
  fx.processEvents(cc.list);
  EXPECT_EQ(fx.getControllerOfParameter(9), 64);
  EXPECT_FALSE(fx.isLearning());
}

TEST_F(ControllerMaps, ChunkAssignmentsThatAreNoNumbersReadAsNotAssigned) {
  void* data = nullptr;
  const VstInt32 size = fx.getChunk(&data);
  std::vector<uint8_t> chunk(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  writeWord(&chunk[kChunkAssignmentsOffset], 0x7FC00000u);  // a quiet NaN
  TestPresetEffect restored;
  ASSERT_EQ(restored.setChunk(chunk.data(), size), 0);
  EXPECT_EQ(restored.getParameter(kCCFirst), notAssignedValue());
}

}  // namespace
}  // namespace preset_test
