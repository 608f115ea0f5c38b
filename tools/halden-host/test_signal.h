// The built-in input used when no WAV is given: plucked tones and clicks in
// stereo, the same at every run, so a delay's repeats, feedback and
// modulation are easy to hear and to compare.
#pragma once

#include "tools/halden-host/audio_data.h"

namespace hosttool {

constexpr double kDefaultInputSeconds = 4.0;

// Stereo, round(kDefaultInputSeconds * sampleRate) frames; the tones peak at
// 0.5, the clicks reach 0.9.
AudioData makeDefaultInput(double sampleRate);

}  // namespace hosttool
