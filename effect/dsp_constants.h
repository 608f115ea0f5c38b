// Named constants of the delay engine, each defined once. Values given with
// many digits are the exact single-precision numbers the arithmetic uses.
#pragma once

#include <cstdint>

namespace dsp {

// Flush: (x + F) − F in single precision turns magnitudes below ~6e-26 into 0.
constexpr float kFlushConstant = 1.000000045813705e-18f;
// Start value of the alternating offset added to the input and the smoothed gains.
constexpr float kDenormalOffset = 1.000000013351432e-10f;

constexpr float kLimiterKnee = 2.0f;  // below: gain 1 − slope·m, above: 1/m
constexpr float kLimiterSlope = 0.25f;
constexpr float kEnvelopeExponent = 0.30000001192092896f;
constexpr float kFeedbackFloor = 9.999999747378752e-06f;  // smoothed feedback below it is 0
constexpr float kShortDelayLimit = 3.0f;                  // samples; below, bypass the memory
constexpr double kPi = 3.1415927410125732;                // single-precision π
constexpr double kTwoPi = 6.2831854820251465;             // single-precision 2π
constexpr float kFadeStart = 0.0010000000474974513f;      // repeat crossfade start level

// Smoothing at 30 Hz, feedback high-cut at 4000 Hz, envelope at 10 Hz: the
// numerators of −2π·f / rate with 2π in single precision.
constexpr double kSmoothingOmega = 188.4955644607544;
constexpr double kHiCutOmega = 25132.741928100586;
constexpr double kEnvelopeOmega = 62.831854820251465;

// The delay memory holds 3.2 seconds of clock ticks plus one slot.
constexpr double kMemorySeconds = 3.200000047683716;
constexpr float kMaxDelayMs = 3200.0f;  // the delay range: 0 … 3200 ms

// Anti-aliasing low-pass cutoffs: Dlyx2 off / on, and their scaling below the
// rate threshold (cutoff = rate × kHz / 44.1).
constexpr double kCutoffNormal = 14000.0;
constexpr double kCutoffDoubled = 6000.0;
constexpr double kCutoffNormalPerKhz = 14.0;
constexpr double kCutoffDoubledPerKhz = 6.0;
constexpr double kReferenceKhz = 44.099998474121094;  // 44.1 in single precision
constexpr double kCutoffThresholdSwitch = 28000.0;    // threshold when Dlyx2 is switched
constexpr double kCutoffThresholdRate = 30000.0;      // threshold on a sample-rate change

constexpr int32_t kDefaultRate = 44100;
constexpr int32_t kMinRate = 5000;
constexpr int32_t kMaxRate = 200000;
constexpr int32_t kFadeMs = 50;            // repeat crossfade
constexpr int32_t kLedWindowDivisor = 50;  // 20 ms of samples: rate / 50

constexpr int32_t kMaxLevelRing = 16;

// The clock bracket (manual factor plus modulation) is kept at or above
// 1/16, so a sample holds at most 16 ticks; the upper limit only matters for
// parameter values far outside 0 … 1.
constexpr float kMinClockBracket = 0.0625f;
constexpr float kMaxClockBracket = 1024.0f;

// Targets derived from parameter values far outside 0 … 1 are limited so the
// smoothing and the gains stay finite; inside the range nothing is limited.
constexpr float kTargetCeiling = 1.0e6f;
// The gained input is limited to this magnitude so the filters cannot overflow.
constexpr double kSignalCeiling = 1.0e15;

}  // namespace dsp
