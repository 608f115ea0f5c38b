#include "effect/parameters.h"

#include <cmath>

#include "effect/dsp_constants.h"

const float kNumTable[kNumSteps] = {1, 3, 5, 7, 9};
const float kDenTable[kDenSteps] = {1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64, 96};

double gainOfValue(float v) { return static_cast<double>(v) * v * 4.0; }

double delayMsOfValue(float v) { return static_cast<double>(dsp::kMaxDelayMs) * v; }

double lfoRateOfValue(float v) {
  const float power = static_cast<float>(std::pow(100.0, static_cast<double>(v)));
  return static_cast<double>(power) * 0.1;
}

namespace {

// The delay knob's start: 2000 ms of the 3200.
constexpr float kStartDlyTime = 0.62496096f;
constexpr float kStartCentre = 0.5f;
// Power starts on: 0.5 is on (a switch is on from 0.5 upwards).
constexpr float kStartPower = 0.5f;

using R = DisplayRule;

}  // namespace

const ParameterInfo kParameterTable[kNumParams] = {
    {kInput, "kInput", "Input", "dB", kContinuous, kStartCentre, gainOfValue, R::kGainDecibels,
     nullptr},
    {kOutput, "kOutput", "Output", "dB", kContinuous, kStartCentre, gainOfValue,
     R::kGainDecibels, nullptr},
    {kMix, "kMix", "Mix", "%", kContinuous, kStartCentre, nullptr, R::kDryWetPair, nullptr},
    {kDlyTime, "kDlyTime", "DlyTime", "ms", kContinuous, kStartDlyTime, delayMsOfValue,
     R::kDelayMs, nullptr},
    {kDlyx2, "kDlyx2", "Dlyx2", " ", kSwitchSteps, 0.0f, nullptr, R::kOnOff, nullptr},
    {kDlyInv, "kDlyInv", "DlyInv", " ", kSwitchSteps, 0.0f, nullptr, R::kOnOff, nullptr},
    {kFbck, "kFbck", "Fbck", "dB", kContinuous, 0.0f, nullptr, R::kDecibels, nullptr},
    {kHiCut, "kHiCut", "HiCut", " ", kSwitchSteps, 0.0f, nullptr, R::kOnOff, nullptr},
    {kFbInv, "kFbInv", "FbInv", " ", kSwitchSteps, 0.0f, nullptr, R::kOnOff, nullptr},
    {kManVCO, "kManVCO", "ManVCO", "X", kContinuous, kStartCentre, nullptr, R::kClockFactor,
     nullptr},
    {kDepth, "kDepth", "Depth", "%", kContinuous, 0.0f, nullptr, R::kPercent, nullptr},
    {kWaveform, "kWaveform", "Waveform", "", kContinuous, kStartCentre, nullptr,
     R::kWaveformBlend, nullptr},
    {kRate, "kRate", "Rate", "Hz", kContinuous, 0.0f, lfoRateOfValue, R::kLfoRateHz, nullptr},
    {kRptInf, "kRptInf", "RptInf", " ", kSwitchSteps, 0.0f, nullptr, R::kOnOff, nullptr},
    {kPower, "kPower", "Power", " ", kSwitchSteps, kStartPower, nullptr, R::kOnOff, nullptr},
    {kDlyClk, "kDlyClk", "Dly<>Clk", " ", kSwitchSteps, 0.0f, nullptr, R::kDelayOrClock,
     nullptr},
    {kNum, "kNum", "Num", " ", kNumSteps, 0.0f, nullptr, R::kStepValue, kNumTable},
    {kDen, "kDen", "Den", " ", kDenSteps, 0.0f, nullptr, R::kStepValue, kDenTable},
};

int32_t quantizeParam(float v, int32_t n) {
  if (n <= 0) return 0;
  const float product = v * static_cast<float>(n);  // rounded before the floor
  const double index = std::trunc(static_cast<double>(std::floor(product)) + 0.5);
  if (!(index < n)) return n - 1;  // also catches NaN
  if (index < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(index);
}

float paramFromIndex(int32_t i, int32_t n) {
  return static_cast<float>((static_cast<double>(i) + 0.5) / static_cast<double>(n));
}

int32_t stepIndex(float v, int32_t n) {
  const int32_t index = quantizeParam(v, n);
  return index < 0 ? 0 : index;
}

bool switchIsOn(float v) { return stepIndex(v, kSwitchSteps) == 1; }
