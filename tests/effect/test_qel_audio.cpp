// Audio through the real entry point: timing, bypass, pins, tempo, every
// factory program at several rates and block sizes, and bad input.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fake_host.h"
#include "tests/host/temporary_settings.h"

using fake_host::Instance;

namespace {

constexpr float kOff = 0.25f;
constexpr float kOn = 0.75f;
constexpr size_t kSettle = 8192;  // program 0 restarts the crossfade; let it finish

std::vector<float> signal(size_t n, float scale = 0.4f) {
  std::vector<float> v(n);
  for (size_t i = 0; i < n; ++i)
    v[i] = scale * (std::sin(0.021f * i) + 0.5f * std::sin(0.33f * i + 1.0f));
  return v;
}

bool allFinite(const std::vector<float>& v) {
  for (float x : v)
    if (!std::isfinite(x)) return false;
  return true;
}

void setWetOnly(Instance& p, float dlyTime) {
  p.setParameter(kMix, 1.0f);
  p.setParameter(kDlyTime, dlyTime);
  p.dispatch(effMainsChanged, 0, 0);  // smoothed values jump to their targets
  p.dispatch(effMainsChanged, 0, 1);
}

class QelAudio : public ::testing::Test {
 protected:
  void SetUp() override { fake_host::resetSettings(); }
  TemporarySettings settingsFolder;
};

}  // namespace

TEST_F(QelAudio, ImpulseArrivesTruncDelayPlusThreeLater) {
  Instance direct, delayed;
  setWetOnly(direct, 0.0f);
  setWetOnly(delayed, 0.01f);
  const int32_t delay = static_cast<int32_t>(delayed.qel().getEngine().delaySamples());
  std::vector<float> impulse(4096, 0.0f);
  impulse[0] = 0.5f;
  direct.render(std::vector<float>(kSettle, 0.0f), 64);
  delayed.render(std::vector<float>(kSettle, 0.0f), 64);
  const auto a = direct.render(impulse, 64);
  const auto b = delayed.render(impulse, 64);
  float biggest = 0.0f;
  for (size_t n = 0; n + delay + 3 < b.size(); ++n) {
    ASSERT_NEAR(b[n + delay + 3], a[n], 1e-6f) << n;
    biggest = std::max(biggest, std::fabs(a[n]));
  }
  EXPECT_GT(biggest, 0.1f);
}

TEST_F(QelAudio, PowerOffIsBitIdenticalAndMonoAverages) {
  Instance p;
  p.setParameter(kPower, kOff);
  const auto in = signal(3000);
  std::vector<float> right;
  EXPECT_EQ(p.render(in, 100, &right), in);
  EXPECT_EQ(right, in);

  fake_host::settings().stereoOut = false;
  std::vector<float> l(512), r(512), out(512, 9.0f), spare(512, 9.0f);
  for (size_t i = 0; i < l.size(); ++i) {
    l[i] = 0.1f * i;
    r[i] = -0.03f * i;
  }
  float* inputs[2] = {l.data(), r.data()};
  float* outputs[2] = {out.data(), spare.data()};
  p.record()->processReplacing(p.record(), inputs, outputs, 512);
  for (size_t i = 0; i < l.size(); ++i)
    ASSERT_EQ(out[i], static_cast<float>(0.5 * (double(l[i]) + r[i])));
  EXPECT_EQ(spare[0], 9.0f);  // an unconnected output is left alone
}

TEST_F(QelAudio, AsksTheHostOncePerBlock) {
  Instance p;
  fake_host::resetSettings();
  p.render(std::vector<float>(640, 0.0f), 64);
  EXPECT_EQ(fake_host::settings().timeQueries, 20);  // tempo and position
  EXPECT_EQ(fake_host::settings().pinQueries, 20);   // input 1 and output 1
}

TEST_F(QelAudio, HostTempoIsClampedAndMovesSyncedDelay) {
  Instance p;
  p.setParameter(kDen, 3.5f / 13.0f);
  p.setParameter(kDlyClk, kOn);
  auto& host = fake_host::settings();
  host.hasTime = true;
  host.tempo = 20.0;
  p.render(std::vector<float>(64, 0.0f), 64);
  EXPECT_EQ(p.qel().getTempo(), 40.0f);
  EXPECT_EQ(p.qel().getEngine().delayMs(), 1500.0f);
  host.tempo = 500.0;
  p.render(std::vector<float>(64, 0.0f), 64);
  EXPECT_EQ(p.qel().getTempo(), 400.0f);
  EXPECT_EQ(p.qel().getEngine().delayMs(), 150.0f);
}

TEST_F(QelAudio, EveryFactoryProgramAtEveryRateAndBlockIsFinite) {
  const auto in = signal(12000, 0.8f);
  for (float rate : {44100.0f, 48000.0f, 96000.0f}) {
    Instance p(rate);
    for (VstInt32 program = 0; program < kNumPrograms; ++program) {
      for (int32_t block : {1, 64, 512, 4096}) {
        p.qel().selectProgram(program);
        const auto out = p.render(in, block);
        ASSERT_TRUE(allFinite(out)) << program << " at " << rate << " block " << block;
      }
    }
  }
}

TEST_F(QelAudio, NonFiniteInputsAndParametersNeverReachTheOutput) {
  Instance p;
  p.setParameter(kFbck, 0.95f);
  p.setParameter(kMix, 0.5f);
  auto in = signal(20000);
  const float bad[] = {std::numeric_limits<float>::quiet_NaN(), INFINITY, -INFINITY,
                       std::numeric_limits<float>::max()};
  for (size_t i = 0; i < in.size(); i += 997) in[i] = bad[(i / 997) % 4];
  for (VstInt32 index = 0; index < kNumParams; ++index) p.setParameter(index, bad[index % 3]);
  std::vector<float> right;
  const auto out = p.render(in, 128, &right);
  EXPECT_TRUE(allFinite(out));
  EXPECT_TRUE(allFinite(right));
  EXPECT_EQ(p.getParameter(kFbck), 0.95f);
}
