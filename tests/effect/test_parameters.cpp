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

TEST(ParameterTable, CountsOfTheHostParameters) {
  EXPECT_EQ(kNumParams, 18);
  EXPECT_EQ(kCCFirst, 18);
  EXPECT_EQ(kNumAllParams, 36);
}

TEST(ParameterTable, SwitchValuesAreTheCentresOfTheirSteps) {
  EXPECT_EQ(kSwitchOffValue, paramFromIndex(0, kSwitchSteps));
  EXPECT_EQ(kSwitchOnValue, paramFromIndex(1, kSwitchSteps));
  EXPECT_FALSE(switchIsOn(kSwitchOffValue));
  EXPECT_TRUE(switchIsOn(kSwitchOnValue));
}

TEST(ParameterTable, StartValues) {
  for (int32_t i : {kInput, kOutput, kMix, kManVCO, kWaveform})
    EXPECT_EQ(kParameterTable[i].startValue, 0.5f) << kParameterTable[i].name;
  for (int32_t i : {kFbck, kDepth, kRate, kNum, kDen})
    EXPECT_EQ(kParameterTable[i].startValue, 0.0f) << kParameterTable[i].name;
  // 2000 ms of the 3200 as the display rounds it.
  EXPECT_NEAR(delayMsOfValue(kParameterTable[kDlyTime].startValue), 2000.0, 0.5);
  int onAtStart = 0;
  for (int32_t i = 0; i < kNumParams; ++i)
    if (isSwitchParameter(i)) onAtStart += switchIsOn(kParameterTable[i].startValue);
  EXPECT_EQ(onAtStart, 1);
  EXPECT_TRUE(switchIsOn(kParameterTable[kPower].startValue));
}

TEST(ParameterTable, EngineLaws) {
  EXPECT_EQ(kParameterTable[kInput].law, &gainOfValue);
  EXPECT_EQ(kParameterTable[kOutput].law, &gainOfValue);
  EXPECT_EQ(kParameterTable[kDlyTime].law, &delayMsOfValue);
  EXPECT_EQ(kParameterTable[kRate].law, &lfoRateOfValue);
  EXPECT_EQ(kParameterTable[kMix].law, nullptr);
  EXPECT_EQ(gainOfValue(0.5f), 1.0);  // the knob's centre is unity gain
  EXPECT_EQ(gainOfValue(1.0f), 4.0);
  EXPECT_EQ(delayMsOfValue(1.0f), 3200.0);
  EXPECT_EQ(delayMsOfValue(0.5f), 1600.0);
  EXPECT_EQ(static_cast<float>(lfoRateOfValue(0.0f)), 0.1f);
  EXPECT_EQ(static_cast<float>(lfoRateOfValue(0.5f)), 1.0f);
  EXPECT_NEAR(lfoRateOfValue(1.0f), 10.0, 1e-6);
}

TEST(ParameterTable, DisplayRulesAndStepValues) {
  for (int32_t i = 0; i < kNumParams; ++i) {
    const ParameterInfo& p = kParameterTable[i];
    if (isSwitchParameter(i) && i != kDlyClk) EXPECT_EQ(p.display, DisplayRule::kOnOff) << p.name;
    // A stepped parameter shows its table entry, and only it has one.
    EXPECT_EQ(p.display == DisplayRule::kStepValue, p.stepValues != nullptr) << p.name;
  }
  EXPECT_EQ(kParameterTable[kDlyClk].display, DisplayRule::kDelayOrClock);
  EXPECT_EQ(kParameterTable[kNum].stepValues, kNumTable);
  EXPECT_EQ(kParameterTable[kDen].stepValues, kDenTable);
  EXPECT_EQ(kParameterTable[kInput].display, DisplayRule::kGainDecibels);
  EXPECT_EQ(kParameterTable[kRate].display, DisplayRule::kLfoRateHz);
}
