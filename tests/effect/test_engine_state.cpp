// Derived engine state: the sample-rate table, filter design, LFO, clock
// factors, tempo sync and the lifecycle pieces.
#include <gtest/gtest.h>

#include <cmath>

#include "engine_harness.h"

using namespace engine_test;

namespace {

void expectLowPass(const DelayEngine& e, float a0, float a1, float b1, float b2) {
  const AntiAliasCoefficients k = e.antiAliasCoefficients();
  EXPECT_EQ(k.a0, a0);
  EXPECT_EQ(k.a2, a0);
  EXPECT_EQ(k.a1, a1);
  EXPECT_EQ(k.b1, b1);
  EXPECT_EQ(k.b2, b2);
}

}  // namespace

TEST(SampleRateTable, At44100) {
  DelayEngine e;
  EXPECT_EQ(e.sampleRate(), 44100);
  EXPECT_EQ(e.smoothCoef(), 0.99573487f);
  EXPECT_EQ(e.hiCutCoef(), 0.56558007f);
  EXPECT_EQ(e.envCoef(), 0.99857628f);
  EXPECT_EQ(e.fadeSamples(), 2205);
  EXPECT_EQ(e.fadeGrowth(), 1.0031377f);
  EXPECT_EQ(e.ledWindowSamples(), 882);
  EXPECT_EQ(e.bufferLength(), 141121);
  EXPECT_EQ(e.levelRingLength(), 4);
  EXPECT_EQ(e.delaySamples(), 88200.0f);
  expectLowPass(e, 0.42908472f, 0.85816944f, 0.5001874f, 0.21615149f);
  e.setParameter(kDlyx2, kOn);
  expectLowPass(e, 0.11205522f, 0.22411044f, -0.85598952f, 0.30421034f);
}

TEST(SampleRateTable, At48000) {
  DelayEngine e;
  e.resume(48000.0f);
  EXPECT_EQ(e.smoothCoef(), 0.9960807f);
  EXPECT_EQ(e.hiCutCoef(), 0.59238482f);
  EXPECT_EQ(e.envCoef(), 0.99869186f);
  EXPECT_EQ(e.fadeSamples(), 2400);
  EXPECT_EQ(e.fadeGrowth(), 1.0028824f);
  EXPECT_EQ(e.ledWindowSamples(), 960);
  EXPECT_EQ(e.bufferLength(), 153601);
  EXPECT_EQ(e.levelRingLength(), 4);
  expectLowPass(e, 0.3739779f, 0.7479558f, 0.30756649f, 0.18834518f);
  e.setParameter(kDlyx2, kOn);
  expectLowPass(e, 0.097631082f, 0.19526216f, -0.94280899f, 0.33333334f);
}

TEST(SampleRateTable, RingLengthFollowsRate) {
  DelayEngine e;
  e.resume(22050.0f);
  EXPECT_EQ(e.levelRingLength(), 2);
  e.resume(96000.0f);
  EXPECT_EQ(e.levelRingLength(), 8);
  e.resume(192000.0f);
  EXPECT_EQ(e.levelRingLength(), 16);
}

TEST(AntiAliasCutoff, SwitchAndRateChangeUseDifferentThresholds) {
  // Switched at 29000 Hz (threshold 28000): 6000 Hz.
  DelayEngine switched, reference;
  switched.resume(29000.0f);
  reference.resume(29000.0f);
  switched.setParameter(kDlyx2, kOn);
  reference.setAntiAliasCutoff(6000.0f);
  const auto a = switched.antiAliasCoefficients(), b = reference.antiAliasCoefficients();
  EXPECT_EQ(a.a0, b.a0);
  EXPECT_EQ(a.b1, b.b1);
  EXPECT_EQ(a.b2, b.b2);

  // Redesigned by a rate change to 29000 Hz (threshold 30000): 29000 × 6 / 44.1.
  DelayEngine resumed;
  resumed.setParameter(kDlyx2, kOn);
  resumed.resume(29000.0f);
  reference.setAntiAliasCutoff(static_cast<float>(29000.0 * 6.0 / 44.099998474121094));
  const auto c = resumed.antiAliasCoefficients(), d = reference.antiAliasCoefficients();
  EXPECT_EQ(c.a0, d.a0);
  EXPECT_EQ(c.b1, d.b1);
  EXPECT_EQ(c.b2, d.b2);
  EXPECT_NE(c.a0, a.a0);
}

TEST(Lfo, RatesAndPhaseStep) {
  DelayEngine e;
  e.setParameter(kRate, 0.0f);
  EXPECT_FLOAT_EQ(e.lfoRate(), 0.1f);
  e.setParameter(kRate, 0.5f);
  EXPECT_EQ(e.lfoRate(), 1.0f);
  EXPECT_EQ(e.lfoIncrement(), static_cast<float>(6.2831854820251465 / 44100.0));
  e.setParameter(kRate, 1.0f);
  EXPECT_EQ(e.lfoRate(), 10.0f);
}

TEST(ClockFactor, ManualFactorUsesDepthInForce) {
  DelayEngine e;
  e.setParameter(kDepth, 0.0f);
  e.setParameter(kManVCO, 0.0f);
  EXPECT_EQ(e.manualFactor(), 0.5f);
  e.setParameter(kDepth, 1.0f);
  EXPECT_EQ(e.manualFactor(), 0.5f);  // not recomputed by Depth
  e.setParameter(kManVCO, 0.0f);
  EXPECT_EQ(e.manualFactor(), 1.0f);
  e.setParameter(kDlyx2, kOn);
  EXPECT_EQ(e.clockFactor(), 2.0f);
}

TEST(Waveform, Weights) {
  DelayEngine e;
  e.setParameter(kWaveform, 0.25f);
  EXPECT_EQ(e.lfoAmount(), 0.25f);
  EXPECT_EQ(e.envAmount(), 0.5f);
  EXPECT_FALSE(e.squareWave());
  e.setParameter(kWaveform, 0.5f);
  EXPECT_EQ(e.lfoAmount(), 0.0f);
  EXPECT_EQ(e.envAmount(), 1.0f);
  EXPECT_TRUE(e.squareWave());
}

TEST(SyncedDelay, NumDenAtTempo) {
  DelayEngine e;
  e.setParameter(kNum, paramFromIndex(0, 5));
  e.setParameter(kDen, paramFromIndex(3, 13));
  e.setParameter(kDlyClk, kOn);
  EXPECT_EQ(e.delayMs(), 500.0f);
  EXPECT_EQ(e.parameterValue(kDlyTime), 0.15625f);

  e.setParameter(kNum, paramFromIndex(1, 5));
  e.setParameter(kDen, paramFromIndex(5, 13));
  EXPECT_EQ(e.delayMs(), 750.0f);

  e.setParameter(kNum, paramFromIndex(4, 5));
  e.setParameter(kDen, paramFromIndex(0, 13));
  e.setTempoFromControl(0.0f);  // raised to 40 BPM
  EXPECT_EQ(e.getTempo(), 40.0f);
  EXPECT_EQ(e.delayMs(), 3200.0f);  // 54000 ms cut to the memory
  EXPECT_EQ(e.syncValue(), 1.0f);
}

TEST(SyncedDelay, NumDenOnlyResyncWhileSynced) {
  DelayEngine e;
  e.setParameter(kDlyTime, 0.5f);
  e.setParameter(kDen, paramFromIndex(3, 13));
  EXPECT_EQ(e.delayMs(), 1600.0f);
  EXPECT_EQ(e.denIndex(), 3);
}

TEST(SyncedDelay, HostTempoMovesDelayUnlessRepeatHolds) {
  DelayEngine e;
  e.setParameter(kDen, paramFromIndex(3, 13));
  e.setParameter(kDlyClk, kOn);
  BlockTiming timing;
  timing.hasTempo = true;
  timing.tempo = 60.0;
  render(e, silence(16), 16, nullptr, timing);
  EXPECT_EQ(e.delayMs(), 1000.0f);

  e.setParameter(kRptInf, kOn);
  timing.tempo = 240.0;
  render(e, silence(16), 16, nullptr, timing);
  EXPECT_EQ(e.delayMs(), 1000.0f);
  e.setParameter(kRptInf, kOff);
  render(e, silence(16), 16, nullptr, timing);  // same tempo: nothing pending applies
  EXPECT_EQ(e.delayMs(), 1000.0f);
  timing.tempo = 120.0;
  render(e, silence(16), 16, nullptr, timing);
  EXPECT_EQ(e.delayMs(), 500.0f);
}

TEST(SyncedDelay, HostTempoIsClamped) {
  DelayEngine e;
  BlockTiming timing;
  timing.hasTempo = true;
  timing.tempo = 20.0;
  render(e, silence(8), 8, nullptr, timing);
  EXPECT_EQ(e.getTempo(), 40.0f);
  timing.tempo = 500.0;
  render(e, silence(8), 8, nullptr, timing);
  EXPECT_EQ(e.getTempo(), 400.0f);
  timing.tempo = std::nan("");
  render(e, silence(8), 8, nullptr, timing);
  EXPECT_EQ(e.getTempo(), 400.0f);
}

TEST(SyncedDelay, EditorTempoAlsoReplacesUnsyncedDelay) {
  DelayEngine e;
  e.setParameter(kDen, paramFromIndex(3, 13));
  e.setTempoFromControl(0.25f);  // 100 BPM
  EXPECT_EQ(e.delayMs(), 600.0f);
  e.setParameter(kDlyTime, 0.9f);
  e.setTempoFromControl(0.25f);  // unchanged: nothing happens
  EXPECT_EQ(e.delayMs(), static_cast<float>(3200.0 * 0.9f));
  e.setTempoFromControl(0.125f);  // 50 BPM
  EXPECT_EQ(e.getTempo(), 50.0f);
  EXPECT_EQ(e.delayMs(), 1200.0f);
  e.setParameter(kRptInf, kOn);
  e.setTempoFromControl(0.25f);  // the repeat holds the loop length
  EXPECT_EQ(e.delayMs(), 1200.0f);
}

TEST(ParameterRules, DlyTimeLimitSyncAndRepeat) {
  DelayEngine e;
  e.setParameter(kDlyTime, 1.5f);
  EXPECT_EQ(e.parameterValue(kDlyTime), 1.0f);
  EXPECT_EQ(e.delayMs(), 3200.0f);

  e.setParameter(kDlyClk, kOn);
  const float synced = e.parameterValue(kDlyTime);
  e.setParameter(kDlyTime, 0.2f);
  EXPECT_EQ(e.parameterValue(kDlyTime), synced);

  DelayEngine r;
  r.setParameter(kDlyTime, 0.5f);
  r.setParameter(kRptInf, kOn);
  r.setParameter(kDlyTime, 0.2f);
  EXPECT_EQ(r.parameterValue(kDlyTime), 0.5f);
  EXPECT_EQ(r.delayMs(), 1600.0f);
}

TEST(ParameterRules, RepeatRefusesModeChangeButStoresIt) {
  // A program with RptInf and Dly<>Clk both on: sync forced off, RptInf
  // engages at once, Dly<>Clk is stored but refused.
  DelayEngine e;
  e.setParameter(kDlyClk, kOn);
  e.forceTempoSyncOff();
  EXPECT_FALSE(e.clockSyncOn());
  e.setParameter(kRptInf, kOn);
  EXPECT_TRUE(e.repeatActive());
  EXPECT_EQ(e.fadeLevel(), 0.001f);
  e.setParameter(kDlyClk, kOn);
  EXPECT_FALSE(e.clockSyncOn());
  EXPECT_EQ(e.parameterValue(kDlyClk), kOn);
}

TEST(ParameterRules, RepeatArmsWhileSynced) {
  DelayEngine e;
  e.setParameter(kDlyClk, kOn);
  e.setParameter(kRptInf, kOn);
  EXPECT_TRUE(e.repeatOn());
  EXPECT_FALSE(e.repeatActive());
  e.setParameter(kRptInf, kOff);
  EXPECT_FALSE(e.repeatOn());
  EXPECT_FALSE(e.repeatActive());
}

TEST(ParameterRules, NonFiniteValuesAreIgnored) {
  DelayEngine e;
  for (int32_t i = 0; i < kNumParams; ++i) {
    const float before = e.parameterValue(i);
    e.setParameter(i, std::nanf(""));
    e.setParameter(i, INFINITY);
    e.setParameter(i, -INFINITY);
    EXPECT_EQ(e.parameterValue(i), before) << kParameterTable[i].name;
  }
  EXPECT_EQ(e.delayMs(), 2000.0f);
  e.setTempoFromControl(std::nanf(""));
  EXPECT_EQ(e.getTempo(), 120.0f);
}

TEST(Lifecycle, ResumeReallocatesOnlyOnRateChange) {
  DelayEngine e;
  e.resume(48000.0f);
  EXPECT_EQ(e.bufferLength(), 153601);
  EXPECT_EQ(e.ledWindowSamples(), 960);
  EXPECT_EQ(e.fadeSamples(), 2400);
  EXPECT_EQ(e.levelRingLength(), 4);

  // Fill the memory, then resume at the same rate: same memory, cleared.
  render(e, std::vector<float>(4096, 0.5f));
  const float* before = e.memory(0);
  bool any = false;
  for (int32_t i = 0; i < e.bufferLength(); ++i) any |= e.memory(0)[i] != 0.0f;
  ASSERT_TRUE(any);
  e.resume(48000.0f);
  EXPECT_EQ(e.memory(0), before);
  for (int c = 0; c < 2; ++c)
    for (int32_t i = 0; i < e.bufferLength(); ++i) ASSERT_EQ(e.memory(c)[i], 0.0f);
}

TEST(Lifecycle, ResumeOutsideRangeRunsAt44100) {
  for (float rate : {4000.0f, 250000.0f, 0.0f, -1.0f, NAN, INFINITY}) {
    DelayEngine e;
    e.resume(48000.0f);
    e.resume(rate);
    EXPECT_EQ(e.sampleRate(), 44100);
    EXPECT_EQ(e.bufferLength(), 141121);
  }
}

TEST(Lifecycle, SuspendJumpsSmoothedGainsToTargets) {
  DelayEngine e;
  e.setParameter(kInput, 0.8f);
  e.setParameter(kOutput, 0.3f);
  e.suspend();
  EXPECT_EQ(e.smoothInputGain(), static_cast<float>(static_cast<double>(0.8f) * 0.8f * 4.0));
  EXPECT_EQ(e.smoothOutputGain(), static_cast<float>(static_cast<double>(0.3f) * 0.3f * 4.0));
  EXPECT_EQ(e.fadeLevel(), 0.001f);
}

TEST(DisplayState, PeakHandshakeAndDelays) {
  DelayEngine e;
  std::vector<float> loud(64, 0.0f);
  loud[10] = 0.8f;
  render(e, loud);
  float phase, meter;
  int32_t effective, nominal;
  uint8_t led;
  e.getDisplayState(phase, meter, effective, nominal, led);
  EXPECT_GT(meter, 0.0f);
  EXPECT_EQ(nominal, 2000);
  EXPECT_EQ(effective, 2000);
  const float first = meter;
  render(e, silence(64));
  e.getDisplayState(phase, meter, effective, nominal, led);
  EXPECT_LT(meter, first * 0.5f);  // a new peak started after the read

  e.setParameter(kDlyx2, kOn);
  e.getDisplayState(phase, meter, effective, nominal, led);
  EXPECT_EQ(effective, 4000);
  EXPECT_EQ(nominal, 2000);
}

TEST(DisplayState, EmptyBlockAdvancesLedAndStoresPhase) {
  DelayEngine e;
  e.setParameter(kRate, 1.0f);
  e.setParameter(kWaveform, 0.0f);
  render(e, silence(100));
  float phase, meter;
  int32_t effective, nominal;
  uint8_t led;
  e.getDisplayState(phase, meter, effective, nominal, led);  // acknowledges the LED
  EXPECT_EQ(phase, e.lfoPhase());
  EXPECT_NE(phase, 0.0f);
  e.resetEngine();  // LED off, phase 0
  EXPECT_FALSE(e.ledState());
  float in = 0.0f, outL = 1.0f, outR = 1.0f;
  e.process(&in, &in, &outL, &outR, 0, BlockTiming{});
  EXPECT_TRUE(e.ledState());  // the counter's block-end step lit it
  EXPECT_EQ(outL, 1.0f);      // nothing written
  e.getDisplayState(phase, meter, effective, nominal, led);
  EXPECT_EQ(led, 1);
  EXPECT_EQ(phase, 0.0f);
}
