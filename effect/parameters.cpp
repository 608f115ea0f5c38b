#include "effect/parameters.h"

#include <cmath>

const ParameterInfo kParameterTable[kNumParams] = {
    {kInput, "kInput", "Input", "dB", kContinuous},
    {kOutput, "kOutput", "Output", "dB", kContinuous},
    {kMix, "kMix", "Mix", "%", kContinuous},
    {kDlyTime, "kDlyTime", "DlyTime", "ms", kContinuous},
    {kDlyx2, "kDlyx2", "Dlyx2", " ", kSwitchSteps},
    {kDlyInv, "kDlyInv", "DlyInv", " ", kSwitchSteps},
    {kFbck, "kFbck", "Fbck", "dB", kContinuous},
    {kHiCut, "kHiCut", "HiCut", " ", kSwitchSteps},
    {kFbInv, "kFbInv", "FbInv", " ", kSwitchSteps},
    {kManVCO, "kManVCO", "ManVCO", "X", kContinuous},
    {kDepth, "kDepth", "Depth", "%", kContinuous},
    {kWaveform, "kWaveform", "Waveform", "", kContinuous},
    {kRate, "kRate", "Rate", "Hz", kContinuous},
    {kRptInf, "kRptInf", "RptInf", " ", kSwitchSteps},
    {kPower, "kPower", "Power", " ", kSwitchSteps},
    {kDlyClk, "kDlyClk", "Dly<>Clk", " ", kSwitchSteps},
    {kNum, "kNum", "Num", " ", kNumSteps},
    {kDen, "kDen", "Den", " ", kDenSteps},
};

const float kNumTable[kNumSteps] = {1, 3, 5, 7, 9};
const float kDenTable[kDenSteps] = {1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64, 96};

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
