// The idle pass: digits with their holds and blinking, lamps and meter.
#include "tests/editor_panel/panel_test_support.h"

namespace panel_test {
namespace {

using panel::kTagDelayUp;
using panel::kTagDigitStrip;
using Digits = std::vector<int>;

class PanelDisplay : public PanelTest {
 protected:
  // Whether the ratio is blanked, at 100 ms steps over two seconds.
  std::vector<bool> blankStates() {
    std::vector<bool> blank;
    for (int step = 0; step < 20; ++step) {
      idleAt(now + 100);
      blank.push_back(digitFrames() == Digits{B, B, B, B});
    }
    return blank;
  }
};

TEST_F(PanelDisplay, EffectiveDelayBlanksLeadingZeros) {
  readings.effectiveDelayMs = 7;
  idleAt(now + 10);
  EXPECT_EQ(digitFrames(), (Digits{B, B, B, 7}));
  readings.effectiveDelayMs = 3200;
  idleAt(now + 10);
  EXPECT_EQ(digitFrames(), (Digits{3, 2, 0, 0}));
  readings.effectiveDelayMs = 120;
  idleAt(now + 10);
  EXPECT_EQ(digitFrames(), (Digits{B, 1, 2, 0}));
  readings.effectiveDelayMs = 0;
  idleAt(now + 10);
  EXPECT_EQ(digitFrames(), (Digits{B, B, B, 0}));
}

TEST_F(PanelDisplay, PushButtonHoldsTheNominalDelayFor500ms) {
  readings.effectiveDelayMs = 1234;  // modulated
  readings.nominalDelayMs = 1000;
  set(kDlyClk, kOff);
  idleAt(now);
  EXPECT_EQ(digitFrames(), (Digits{1, 2, 3, 4}));
  const uint32_t pressed = now;
  click(centre(layout::kDelayUpRect));
  idleAt(pressed + 1);
  EXPECT_EQ(digitFrames(), (Digits{1, 0, 0, 0}));
  idleAt(pressed + 499);
  EXPECT_EQ(digitFrames(), (Digits{1, 0, 0, 0}));
  idleAt(pressed + 500);  // shown once more, then the hold ends
  EXPECT_EQ(digitFrames(), (Digits{1, 0, 0, 0}));
  idleAt(pressed + 501);
  EXPECT_EQ(digitFrames(), (Digits{1, 2, 3, 4}));
}

TEST_F(PanelDisplay, ClockModeShowsTheRatio) {
  setTempo(120.f);
  set(kDlyClk, kOn);
  set(kNum, numValue(1));   // 3
  set(kDen, denValue(7));   // 16
  idleAt(now + 10);
  EXPECT_EQ(digitFrames(), (Digits{3, B, 1, 6}));
  set(kDen, denValue(3));   // 4
  idleAt(now + 10);
  EXPECT_EQ(digitFrames(), (Digits{3, B, B, 4}));
}

TEST_F(PanelDisplay, RatioBeyondTheDelayLineBlinksWithAOneSecondPeriod) {
  setTempo(120.f);
  set(kDlyClk, kOn);
  set(kDen, denValue(1));  // 2
  set(kNum, numValue(1));  // 3/2 at 120 BPM: 3000 ms, fits
  for (bool blank : blankStates()) EXPECT_FALSE(blank);

  set(kNum, numValue(2));  // 5/2: 5000 ms, more than 3200
  const std::vector<bool> blank = blankStates();
  int changes = 0;
  for (size_t i = 1; i < blank.size(); ++i) {
    if (blank[i] != blank[i - 1]) ++changes;
    // Each phase lasts five 100 ms steps.
    if (i >= 5) {
      EXPECT_NE(blank[i], blank[i - 5]) << "at step " << i;
    }
  }
  EXPECT_EQ(changes, 3);
  idleAt(now + 100);
  const Digits shown = digitFrames();
  EXPECT_TRUE(shown == (Digits{B, B, B, B}) || shown == (Digits{5, B, B, 2}));
}

TEST_F(PanelDisplay, StripInClockModeShowsTheTempoFor500msAfterTheLastMove) {
  set(kDlyClk, kOn);
  set(kNum, numValue(0));
  set(kDen, denValue(3));
  const uint32_t moved = now;
  report(kTagDigitStrip, 0.5f);  // 0.25 · 400 = 100 BPM
  EXPECT_FLOAT_EQ(fx->getTempo(), 100.f);
  idleAt(moved + 1);
  EXPECT_EQ(digitFrames(), (Digits{B, 1, 0, 0}));
  idleAt(moved + 500);
  EXPECT_EQ(digitFrames(), (Digits{B, 1, 0, 0}));
  idleAt(moved + 501);  // the hold ends with this pass
  EXPECT_EQ(digitFrames(), (Digits{B, 1, 0, 0}));
  idleAt(moved + 502);
  EXPECT_EQ(digitFrames(), (Digits{1, B, B, 4}));
}

class PanelMeter : public PanelTest {
 protected:
  int meterFrame() { return static_cast<int>(control(panel::kTagLevelMeter)->getValue() * 20.f + 0.5f); }
  float meter() { return control(panel::kTagLevelMeter)->getValue(); }
};

TEST_F(PanelMeter, ReadsDecibelsOverA24dBRange) {
  readings.halfPeak = 1.0f;  // 0 dB
  idleAt(now + 1000);
  EXPECT_FLOAT_EQ(meter(), 1.f);
  EXPECT_EQ(meterFrame(), 20);
  readings.halfPeak = 0.5f;  // −6 dB
  idleAt(now + 1000);
  EXPECT_NEAR(meter(), 0.75f, 0.001f);
  EXPECT_EQ(meterFrame(), 15);
  readings.halfPeak = 0.063f;  // below −24 dB
  idleAt(now + 1000);
  EXPECT_EQ(meter(), 0.f);
  readings.halfPeak = 4.f;  // over full scale stays full
  idleAt(now + 1000);
  EXPECT_FLOAT_EQ(meter(), 1.f);
}

TEST_F(PanelMeter, RisesAtOnceAndFallsFullScaleIn500msWhateverTheIdleRate) {
  readings.halfPeak = 1.f;
  idleAt(now + 10);
  ASSERT_FLOAT_EQ(meter(), 1.f);
  readings.halfPeak = 0.f;
  idleAt(now + 250);
  EXPECT_NEAR(meter(), 0.5f, 1e-6f);
  for (int i = 0; i < 10; ++i) idleAt(now + 20);  // 200 ms in short passes
  EXPECT_NEAR(meter(), 0.1f, 1e-5f);
  idleAt(now + 50);
  EXPECT_NEAR(meter(), 0.f, 1e-6f);
  idleAt(now + 1);
  EXPECT_EQ(meter(), 0.f);
  readings.halfPeak = 0.5f;
  idleAt(now + 1);
  EXPECT_NEAR(meter(), 0.75f, 0.001f);
}

TEST_F(PanelDisplay, LampsFollowSwitchesAndEngine) {
  CControl* modes = control(panel::kTagModeLamps);
  CControl* bypass = control(panel::kTagBypassLamp);
  CControl* modulation = control(panel::kTagModulationLamp);
  set(kHiCut, kOff);
  set(kRptInf, kOff);
  set(kPower, kOn);
  idleAt(now + 10);
  EXPECT_EQ(modes->getValue(), 0.f);
  EXPECT_EQ(bypass->getValue(), 0.f);
  set(kHiCut, kOn);
  readings.led = true;
  readings.lfoPhase = static_cast<float>(M_PI / 2);
  set(kPower, kOff);
  idleAt(now + 10);
  EXPECT_FLOAT_EQ(modes->getValue(), 5.f / 7.f);  // bottom and top lamps
  EXPECT_FLOAT_EQ(bypass->getValue(), 0.5f);
  EXPECT_FLOAT_EQ(modulation->getValue(), 1.f);
  set(kRptInf, kOn);
  readings.led = false;
  readings.lfoPhase = static_cast<float>(-M_PI / 2);
  idleAt(now + 10);
  EXPECT_FLOAT_EQ(modes->getValue(), 3.f / 7.f);
  EXPECT_NEAR(modulation->getValue(), 0.f, 1e-6f);
}

TEST_F(PanelDisplay, IdleRedrawsALampOnlyWhenItsPictureChanges) {
  readings.effectiveDelayMs = 250;
  readings.halfPeak = 0.5f;
  for (int pass = 0; pass < 3; ++pass) idleAt(now + 16);  // the first full paint
  const uint64_t settled = frame->getDrawCount();
  // A slow LFO: the phase moves on every pass, the lamp's frame does not
  // (101 frames: one frame is 0.02 of sin).
  for (int pass = 0; pass < 600; ++pass) {
    readings.lfoPhase = 0.00001f * static_cast<float>(pass);
    idleAt(now + 16);
  }
  EXPECT_EQ(frame->getDrawCount(), settled) << "nothing shown changed";

  readings.lfoPhase = static_cast<float>(M_PI / 2);  // the brightest frame
  idleAt(now + 16);
  idleAt(now + 16);
  EXPECT_GT(frame->getDrawCount(), settled);
  const uint64_t lit = frame->getDrawCount();
  idleAt(now + 16);
  EXPECT_EQ(frame->getDrawCount(), lit);
}

TEST_F(PanelDisplay, IdleWithoutAKnownPointerLeavesTheDisplayAlone) {
  readings.effectiveDelayMs = 42;
  idleAt(now + 10);
  ASSERT_EQ(digitFrames(), (Digits{B, B, 4, 2}));
  frame->platformOnMouseExited(CPoint(-1, -1), 0);
  readings.effectiveDelayMs = 99;
  idleAt(now + 10);
  EXPECT_EQ(digitFrames(), (Digits{B, B, 4, 2}));
}

}  // namespace
}  // namespace panel_test
