// The 18 sound parameters: one table of index, identifier, name, label and
// step count, the step functions and the Num/Den tables. Shared by the
// effect, the preset system and the editor; free of host and editor code.
#pragma once

#include <cstdint>

enum ParameterIndex : int32_t {
  kInput = 0,
  kOutput,
  kMix,
  kDlyTime,
  kDlyx2,
  kDlyInv,
  kFbck,
  kHiCut,
  kFbInv,
  kManVCO,
  kDepth,
  kWaveform,
  kRate,
  kRptInf,
  kPower,
  kDlyClk,
  kNum,
  kDen,
  kNumParams  // 18 sound parameters
};

// Step count of a continuous parameter.
constexpr int32_t kContinuous = 0;
// Two-state switches have two steps: index 0 off, 1 on.
constexpr int32_t kSwitchSteps = 2;

struct ParameterInfo {
  ParameterIndex index;
  const char* identifier;  // the enum name, for tools and messages
  const char* name;        // host name, at most 8 characters
  const char* label;       // host unit label
  int32_t steps;           // kContinuous, kSwitchSteps or the number of positions
};

extern const ParameterInfo kParameterTable[kNumParams];

constexpr int32_t kNumSteps = 5;
constexpr int32_t kDenSteps = 13;
extern const float kNumTable[kNumSteps];
extern const float kDenTable[kDenSteps];

// Index of the step a normalised value falls on: floor(v·n) with the product
// in single precision, n − 1 for v at or above 1. Values below 0 can give a
// negative index; callers that index tables use stepIndex().
int32_t quantizeParam(float v, int32_t n);
// Centre of the i-th of n equal sub-ranges: (i + 0.5) / n.
float paramFromIndex(int32_t i, int32_t n);
// quantizeParam limited to 0 … n − 1, safe to index a table of n entries.
int32_t stepIndex(float v, int32_t n);
// A two-state switch is on from 0.5 upwards.
bool switchIsOn(float v);

// True for a valid sound-parameter index.
inline bool isSoundParameter(int32_t index) { return index >= 0 && index < kNumParams; }
// True for the two-state switches (Dlyx2, DlyInv, HiCut, FbInv, RptInf, Power, Dly<>Clk).
inline bool isSwitchParameter(int32_t index) {
  return isSoundParameter(index) && kParameterTable[index].steps == kSwitchSteps;
}
