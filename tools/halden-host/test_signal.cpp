#include "tools/halden-host/test_signal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace hosttool {
namespace {

constexpr float kTargetPeak = 0.5f;
constexpr double kPluckDecay = 0.996;      // loss per pass of the string loop
constexpr double kPluckSeconds = 1.2;      // each tone is cut after this long
constexpr double kFirstPluckSeconds = 0.1;
constexpr double kPluckSpacingSeconds = 0.35;
constexpr double kClickSeconds[] = {3.2, 3.45, 3.7};
constexpr double kClickLengthSeconds = 0.0005;
constexpr float kClickLevel = 0.9f;
constexpr uint32_t kNoiseSeed = 0x2545F491u;

struct Pluck {
  double frequencyHz;
  float leftGain;
  float rightGain;
};

// An A-minor arpeggio that wanders between the channels.
constexpr Pluck kPlucks[] = {
    {220.00, 0.9f, 0.3f}, {261.63, 0.3f, 0.9f}, {329.63, 0.7f, 0.7f}, {440.00, 0.9f, 0.2f},
    {329.63, 0.2f, 0.9f}, {261.63, 0.8f, 0.5f}, {196.00, 0.5f, 0.8f}, {220.00, 0.7f, 0.7f},
};

// Deterministic noise so every run renders the same input.
class NoiseSource {
 public:
  float next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(state_) / 4294967296.0f * 2.0f - 1.0f;
  }

 private:
  uint32_t state_ = kNoiseSeed;
};

// Karplus-Strong: a noise burst circulating in a loop one period long,
// averaged on each pass so the high partials die first like a string's.
void addPluck(AudioData& audio, const Pluck& pluck, size_t start, NoiseSource& noise) {
  const size_t period = std::max<size_t>(2, static_cast<size_t>(audio.sampleRate / pluck.frequencyHz));
  std::vector<float> loop(period);
  for (float& s : loop) s = noise.next();
  const size_t length = std::min(static_cast<size_t>(kPluckSeconds * audio.sampleRate),
                                 audio.frames() > start ? audio.frames() - start : 0);
  size_t position = 0;
  for (size_t n = 0; n < length; ++n) {
    const size_t nextPosition = position + 1 == period ? 0 : position + 1;
    const float sample = loop[position];
    loop[position] = static_cast<float>(kPluckDecay * 0.5 * (loop[position] + loop[nextPosition]));
    audio.channels[0][start + n] += sample * pluck.leftGain;
    audio.channels[1][start + n] += sample * pluck.rightGain;
    position = nextPosition;
  }
}

void addClick(AudioData& audio, size_t start) {
  const size_t length = std::max<size_t>(1, static_cast<size_t>(kClickLengthSeconds * audio.sampleRate));
  for (size_t n = 0; n < length && start + n < audio.frames(); ++n) {
    const float sign = (n % 2 == 0) ? 1.0f : -1.0f;
    for (auto& channel : audio.channels) channel[start + n] += sign * kClickLevel;
  }
}

}  // namespace

AudioData makeDefaultInput(double sampleRate) {
  const size_t frames = static_cast<size_t>(std::lround(kDefaultInputSeconds * sampleRate));
  AudioData audio = makeSilence(2, frames, sampleRate);
  NoiseSource noise;
  double startSeconds = kFirstPluckSeconds;
  for (const Pluck& pluck : kPlucks) {
    addPluck(audio, pluck, static_cast<size_t>(startSeconds * sampleRate), noise);
    startSeconds += kPluckSpacingSeconds;
  }
  float peak = 0.0f;
  for (const auto& channel : audio.channels) {
    for (float s : channel) peak = std::max(peak, std::fabs(s));
  }
  if (peak > 0.0f) {
    for (auto& channel : audio.channels) {
      for (float& s : channel) s *= kTargetPeak / peak;
    }
  }
  // Clicks go in after the normalisation so they keep their own level.
  for (double seconds : kClickSeconds) addClick(audio, static_cast<size_t>(seconds * sampleRate));
  return audio;
}

}  // namespace hosttool
