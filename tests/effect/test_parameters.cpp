#include <gtest/gtest.h>

#include <cstring>

#include "effect/parameters.h"

TEST(StepFunctions, QuantizeFollowsFloorWithTopClamp) {
  EXPECT_EQ(quantizeParam(1.0f, 13), 12);
  EXPECT_EQ(quantizeParam(0.5f, 2), 1);
  EXPECT_EQ(quantizeParam(0.4999f, 2), 0);
  EXPECT_EQ(quantizeParam(0.0f, 5), 0);
  EXPECT_EQ(quantizeParam(0.999f, 5), 4);
  EXPECT_EQ(quantizeParam(7.0f, 5), 4);
  // Centres map back to their own index.
  for (int32_t n : {2, 5, 13})
    for (int32_t i = 0; i < n; ++i) EXPECT_EQ(quantizeParam(paramFromIndex(i, n), n), i);
}

TEST(StepFunctions, NegativeValuesGiveNegativeIndexButSafeSteps) {
  EXPECT_EQ(quantizeParam(-0.3f, 2), 0);   // floor(−0.6) = −1, trunc(−0.5) = 0
  EXPECT_EQ(quantizeParam(-0.6f, 2), -1);  // floor(−1.2) = −2, trunc(−1.5) = −1
  EXPECT_LT(quantizeParam(-1e30f, 13), 0);
  EXPECT_EQ(stepIndex(-1e30f, 13), 0);
  EXPECT_EQ(stepIndex(1e30f, 13), 12);
  EXPECT_FALSE(switchIsOn(-5.0f));
  EXPECT_TRUE(switchIsOn(5.0f));
}

TEST(StepFunctions, ParamFromIndexIsTheCentre) {
  EXPECT_EQ(paramFromIndex(0, 2), 0.25f);
  EXPECT_EQ(paramFromIndex(1, 2), 0.75f);
  EXPECT_EQ(paramFromIndex(3, 13), static_cast<float>(3.5 / 13.0));
}

TEST(ParameterTable, IndexOrderNamesAndSteps) {
  for (int32_t i = 0; i < kNumParams; ++i) {
    EXPECT_EQ(kParameterTable[i].index, i);
    EXPECT_LE(std::strlen(kParameterTable[i].name), 8u);
  }
  EXPECT_STREQ(kParameterTable[kDlyClk].name, "Dly<>Clk");
  EXPECT_STREQ(kParameterTable[kWaveform].label, "");
  EXPECT_EQ(kParameterTable[kNum].steps, 5);
  EXPECT_EQ(kParameterTable[kDen].steps, 13);
  int switches = 0;
  for (int32_t i = 0; i < kNumParams; ++i) switches += isSwitchParameter(i);
  EXPECT_EQ(switches, 7);
  EXPECT_EQ(kDenTable[12], 96.0f);
  EXPECT_EQ(kNumTable[4], 9.0f);
}
