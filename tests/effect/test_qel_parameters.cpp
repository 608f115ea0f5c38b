// The effect as a host sees it: identity, names, labels, display texts,
// properties and the setParameter rules, all through the real entry point.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "fake_host.h"
#include "tests/host/temporary_settings.h"

using fake_host::Instance;

namespace {

constexpr float kOff = 0.25f;
constexpr float kOn = 0.75f;

class QelHost : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_host::resetSettings();
    plugin = std::make_unique<Instance>();
    ASSERT_NE(plugin->record(), nullptr);
  }
  void TearDown() override { plugin.reset(); }

  std::string name(VstInt32 index) {
    char text[64];
    std::strcpy(text, "untouched");
    plugin->dispatch(effGetParamName, index, 0, text);
    return text;
  }
  std::string label(VstInt32 index) {
    char text[64];
    std::strcpy(text, "untouched");
    plugin->dispatch(effGetParamLabel, index, 0, text);
    return text;
  }
  std::string displayOf(VstInt32 index, float value) {
    plugin->setParameter(index, value);
    return plugin->display(index);
  }

  TemporarySettings settingsFolder;
  std::unique_ptr<Instance> plugin;
};

}  // namespace

TEST_F(QelHost, IdentityAfterConstruction) {
  AEffect* e = plugin->record();
  EXPECT_EQ(e->numInputs, 2);
  EXPECT_EQ(e->numOutputs, 2);
  EXPECT_EQ(e->numParams, 36);
  EXPECT_EQ(e->numPrograms, 1);
  EXPECT_EQ(e->uniqueID, 0x486C646E);  // 'Hldn'
  EXPECT_TRUE(e->flags & effFlagsCanReplacing);
  EXPECT_FALSE(e->flags & effFlagsCanDoubleReplacing);

  char text[256];
  EXPECT_EQ(plugin->dispatch(effGetEffectName, 0, 0, text), 1);
  EXPECT_STREQ(text, "Marlow Halden");
  EXPECT_EQ(plugin->dispatch(effGetVendorString, 0, 0, text), 1);
  EXPECT_STREQ(text, "Qelworks");
  std::memset(text, 'x', sizeof(text));
  EXPECT_EQ(plugin->dispatch(effGetProductString, 0, 0, text), 1);
  EXPECT_EQ(std::string(text).rfind("Marlow Halden - ", 0), 0u);
  EXPECT_LE(std::strlen(text), 63u);
}

TEST_F(QelHost, StartsOnProgramZero) {
  EXPECT_FLOAT_EQ(plugin->getParameter(kDlyTime), 0.624961f);
  EXPECT_EQ(plugin->getParameter(kPower), kOn);
  EXPECT_EQ(plugin->display(kDlyTime), "2000");
  EXPECT_EQ(plugin->display(kPower), "on");
}

TEST_F(QelHost, NamesAndLabels) {
  EXPECT_EQ(name(kInput), "Input");
  EXPECT_EQ(name(15), "Dly<>Clk");
  EXPECT_EQ(name(18), "CC# Input");
  EXPECT_EQ(name(33), "CC# Dly<>Clk");
  EXPECT_EQ(name(36), "untouched");
  EXPECT_EQ(name(-1), "untouched");
  EXPECT_EQ(label(kInput), "dB");
  EXPECT_EQ(label(kMix), "%");
  EXPECT_EQ(label(kDlyTime), "ms");
  EXPECT_EQ(label(kManVCO), "X");
  EXPECT_EQ(label(kRate), "Hz");
  EXPECT_EQ(label(kWaveform), "");
  EXPECT_EQ(label(kDlyClk), " ");
  EXPECT_EQ(label(kDen), " ");
  EXPECT_EQ(label(20), " ");
  EXPECT_EQ(label(99), " ");
}

TEST_F(QelHost, DisplayTexts) {
  EXPECT_EQ(displayOf(kMix, 0.3f), "69-31");
  EXPECT_EQ(displayOf(kMix, 0.0f), "dry");
  EXPECT_EQ(displayOf(kMix, 1.0f), "wet");
  EXPECT_EQ(displayOf(kWaveform, 0.0f), "sin");
  EXPECT_EQ(displayOf(kWaveform, 0.25f), "50-50");
  EXPECT_EQ(displayOf(kWaveform, 0.5f), "env");
  EXPECT_EQ(displayOf(kWaveform, 0.75f), "50-50");
  EXPECT_EQ(displayOf(kWaveform, 0.1f), "79-20");  // 100 − 200·0.1f truncates to 79
  EXPECT_EQ(displayOf(kWaveform, 1.0f), "sqr");
  EXPECT_EQ(displayOf(kNum, 0.5f), "5");
  EXPECT_EQ(displayOf(kDen, 1.0f), "96");
  EXPECT_EQ(displayOf(kDen, 0.0f), "1");
  EXPECT_EQ(displayOf(kInput, 0.0f), "-oo");
  EXPECT_EQ(displayOf(kInput, 0.5f), "0.000000");
  EXPECT_EQ(displayOf(kOutput, 0.5f), "0.000000");
  EXPECT_EQ(displayOf(kFbck, 1.0f), "0.000000");
  EXPECT_EQ(displayOf(kManVCO, 0.0f), "0.500000");
  EXPECT_EQ(displayOf(kDepth, 0.57f), "56");
  EXPECT_EQ(displayOf(kRate, 0.5f), "1.000000");
  EXPECT_EQ(displayOf(kDlyTime, 0.25f), "800");
  EXPECT_EQ(displayOf(kHiCut, kOn), "on");
  EXPECT_EQ(displayOf(kHiCut, kOff), "off");
  EXPECT_EQ(displayOf(kDlyClk, kOn), "clk");
  EXPECT_EQ(displayOf(kDlyClk, kOff), "dly");
  char text[16];
  std::strcpy(text, "keep");
  plugin->dispatch(effGetParamDisplay, 20, 0, text);
  EXPECT_STREQ(text, "keep");
}

TEST_F(QelHost, DlyTimeAboveOneIsClampedInTheProgramToo) {
  plugin->setParameter(kDlyTime, 1.5f);
  EXPECT_EQ(plugin->getParameter(kDlyTime), 1.0f);
  EXPECT_EQ(plugin->display(kDlyTime), "3200");
  Qel& qel = plugin->qel();
  EXPECT_EQ(qel.getPrograms()[qel.getCurrentProgramIndex()].values[kDlyTime], 1.0f);
}

TEST_F(QelHost, SyncAndRepeatRules) {
  plugin->setParameter(kDen, 3.5f / 13.0f);
  plugin->setParameter(kDlyClk, kOn);
  EXPECT_EQ(plugin->getParameter(kDlyTime), 0.15625f);
  plugin->setParameter(kDlyTime, 0.9f);
  EXPECT_EQ(plugin->getParameter(kDlyTime), 0.15625f);
  EXPECT_EQ(plugin->display(kDlyTime), "500");

  plugin->setParameter(kRptInf, kOn);
  plugin->setParameter(kDlyClk, kOff);
  EXPECT_EQ(plugin->getParameter(kDlyClk), kOff);  // stored
  EXPECT_EQ(plugin->display(kDlyClk), "clk");      // but the mode stays
}

TEST_F(QelHost, NonFiniteParameterValuesAreIgnored) {
  Qel& qel = plugin->qel();
  const float stored = qel.getPrograms()[0].values[kMix];
  plugin->setParameter(kMix, std::nanf(""));
  plugin->setParameter(kMix, INFINITY);
  EXPECT_EQ(plugin->getParameter(kMix), stored);
  EXPECT_EQ(qel.getPrograms()[0].values[kMix], stored);
}

TEST_F(QelHost, ProgramChangeForcesSyncOffAndRepeatWins) {
  Qel& qel = plugin->qel();
  ProgramRecord& program = qel.getPrograms()[5];
  program.values[kRptInf] = kOn;
  program.values[kDlyClk] = kOn;
  plugin->setParameter(kDlyClk, kOn);  // sync on in the current program
  qel.selectProgram(5);
  EXPECT_FALSE(qel.getEngine().clockSyncOn());
  EXPECT_TRUE(qel.getEngine().repeatActive());
  EXPECT_EQ(plugin->getParameter(kDlyClk), kOn);
  EXPECT_EQ(plugin->display(kDlyClk), "dly");
}

TEST_F(QelHost, ParameterProperties) {
  VstParameterProperties p;
  std::memset(&p, 0, sizeof(p));
  EXPECT_EQ(plugin->dispatch(effGetParameterProperties, kDlyTime, 0, &p), 1);
  EXPECT_EQ(p.stepFloat, 0.00015622559f);
  EXPECT_EQ(p.smallStepFloat, 0.00015622559f);
  EXPECT_EQ(p.flags, kVstParameterUsesFloatStep);

  for (VstInt32 index : {kDlyx2, kDlyInv, kHiCut, kFbInv, kRptInf, kPower, kDlyClk}) {
    std::memset(&p, 0, sizeof(p));
    p.flags = 0xFF;
    EXPECT_EQ(plugin->dispatch(effGetParameterProperties, index, 0, &p), 1) << index;
    EXPECT_EQ(p.flags, 0xB);
    EXPECT_EQ(p.minInteger, 0);
    EXPECT_EQ(p.maxInteger, 1);
    EXPECT_EQ(p.stepInteger, 1);
    EXPECT_EQ(p.largeStepInteger, 1);
  }

  std::memset(&p, 0, sizeof(p));
  p.flags = 0xFF;
  EXPECT_EQ(plugin->dispatch(effGetParameterProperties, kNum, 0, &p), 1);
  EXPECT_EQ(p.flags, 0);
  EXPECT_EQ(p.minInteger, 1);
  EXPECT_EQ(p.maxInteger, 5);
  EXPECT_EQ(p.stepInteger, 1);
  EXPECT_EQ(plugin->dispatch(effGetParameterProperties, kDen, 0, &p), 1);
  EXPECT_EQ(p.maxInteger, 14);

  for (VstInt32 index :
       {VstInt32{kInput}, VstInt32{kMix}, VstInt32{kRate}, VstInt32{kWaveform}, 18, 35, 36, -1}) {
    std::memset(&p, 0x5A, sizeof(p));
    EXPECT_EQ(plugin->dispatch(effGetParameterProperties, index, 0, &p), 0) << index;
    EXPECT_EQ(p.minInteger, 0x5A5A5A5A);
  }
}

TEST_F(QelHost, ResumeFollowsTheHostRate) {
  plugin->setSampleRate(48000.0f);
  const DelayEngine& engine = plugin->qel().getEngine();
  EXPECT_EQ(engine.bufferLength(), 153601);
  EXPECT_EQ(engine.ledWindowSamples(), 960);
  EXPECT_EQ(engine.fadeSamples(), 2400);
  for (float rate : {4000.0f, 250000.0f}) {
    plugin->setSampleRate(rate);
    EXPECT_EQ(engine.sampleRate(), 44100);
  }
}

TEST_F(QelHost, DisplayPollHalvesThePeak) {
  std::vector<float> in(256, 0.0f);
  in[100] = 0.6f;
  plugin->render(in, 256);
  float phase, meter;
  int32_t effective, nominal;
  uint8_t led;
  plugin->qel().getDisplayState(phase, meter, effective, nominal, led);
  EXPECT_GT(meter, 0.1f);
  EXPECT_LT(meter, 0.6f);
  EXPECT_EQ(nominal, 2000);
}
