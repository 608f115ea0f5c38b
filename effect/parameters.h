// The 18 sound parameters: one table of index, identifier, name, label, step
// count, start value, engine law and display rule, the step functions and the
// Num/Den tables. The engine, the host texts, the preset system, the editor
// and the tests all read it; it stands on the standard library alone.
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

// Towards the host each sound parameter i also has a controller-assignment
// parameter kCCFirst + i.
constexpr int32_t kCCFirst = kNumParams;
constexpr int32_t kNumAllParams = kCCFirst + kNumParams;

// Step count of a continuous parameter.
constexpr int32_t kContinuous = 0;
// Two-state switches have two steps: index 0 off, 1 on.
constexpr int32_t kSwitchSteps = 2;
// The values a switch writes: the centres of its two steps.
constexpr float kSwitchOffValue = 0.25f;
constexpr float kSwitchOnValue = 0.75f;

// How the host's display text of a parameter is made.
enum class DisplayRule {
  kGainDecibels,    // the gain law's result in dB
  kDecibels,        // the value itself in dB
  kDryWetPair,      // "dry", "wet" or dry-wet percentages
  kDelayMs,         // the engine's delay in whole ms (synced or not)
  kOnOff,           // "on" or "off"
  kClockFactor,     // the value + 0.5 (the manual clock factor's centre is 1)
  kPercent,         // whole percent
  kWaveformBlend,   // "sin", sine-envelope mix, "env", envelope-square mix, "sqr"
  kLfoRateHz,       // the rate law's result in Hz
  kDelayOrClock,    // "dly" or "clk", the engine's mode
  kStepValue,       // the entry of stepValues the value selects
};

// A formula from the normalised value to the engine quantity it sets,
// evaluated in double; the engine rounds it to float where it stores it.
using EngineLaw = double (*)(float v);

struct ParameterInfo {
  ParameterIndex index;
  const char* identifier;  // the enum name, for tools and messages
  const char* name;        // host name, at most 8 characters
  const char* label;       // host unit label
  int32_t steps;           // kContinuous, kSwitchSteps or the number of positions
  float startValue;        // the engine's value before a program is applied; the
                           // editor's knobs return to it
  EngineLaw law;           // null where the engine uses the value itself or
                           // combines it with other parameters
  DisplayRule display;
  const float* stepValues;  // the table of a stepped parameter, else null
};

extern const ParameterInfo kParameterTable[kNumParams];

constexpr int32_t kNumSteps = 5;
constexpr int32_t kDenSteps = 13;
extern const float kNumTable[kNumSteps];
extern const float kDenTable[kDenSteps];

// Engine laws: input and output gain v²·4; the delay in ms, v × the longest
// delay; the LFO rate in Hz, 0.1 × 100^v (the power rounded to float first).
double gainOfValue(float v);
double delayMsOfValue(float v);
double lfoRateOfValue(float v);

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
