#include "plugin/parameter_text.h"

#include <cmath>
#include <cstdio>

#include "effect/delay_engine.h"
#include "effect/dsp_math.h"
#include "effect/parameters.h"
#include "host/text_services.h"
#include "presets/program_record.h"

namespace {

constexpr char kAssignmentPrefix[] = "CC# ";
constexpr float kDlyTimeStep = 0.00015622559f;  // 1/6401: one step of the delay knob
// Host flag bits a switch keeps: is-switch, integer min/max, integer step.
constexpr VstInt32 kSwitchKeptFlags = 0xB;
// Den is announced with one position more than its table holds.
constexpr VstInt32 kDenAnnouncedMax = 14;

void writeOnOff(bool on, char* text) { vst_strncpy(text, on ? "on" : "off", kDisplayTextLength); }

void writePair(int a, int b, char* text) {
  char pair[32];
  std::snprintf(pair, sizeof(pair), "%d-%d", a, b);
  vst_strncpy(text, pair, kDisplayTextLength);
}

void writeMix(float v, char* text) {
  // Dry share first; double arithmetic keeps 0.3 at "69-31".
  const int dry = dsp::truncToInt((1.0 - static_cast<double>(v)) * 100.0);
  if (dry == 100)
    vst_strncpy(text, "dry", kDisplayTextLength);
  else if (dry == 0)
    vst_strncpy(text, "wet", kDisplayTextLength);
  else
    writePair(dry, 100 - dry, text);
}

void writeWaveform(float v, char* text) {
  const double x = v;
  if (x <= 0.0)
    vst_strncpy(text, "sin", kDisplayTextLength);
  else if (x < 0.5)
    writePair(dsp::truncToInt(100.0 - 200.0 * x), dsp::truncToInt(200.0 * x), text);
  else if (x == 0.5)
    vst_strncpy(text, "env", kDisplayTextLength);
  else if (x < 1.0)
    writePair(dsp::truncToInt(200.0 - 200.0 * x), dsp::truncToInt(200.0 * x - 100.0), text);
  else
    vst_strncpy(text, "sqr", kDisplayTextLength);
}

}  // namespace

void writeParameterName(int32_t i, char* text) {
  if (isSoundParameter(i)) vst_strncpy(text, kParameterTable[i].name, kVstMaxParamStrLen);
}

void writeAssignmentName(int32_t i, char* text) {
  if (!isSoundParameter(i)) return;
  vst_strncpy(text, kAssignmentPrefix, kAssignmentNameLength);
  vst_strncat(text, kParameterTable[i].name, kAssignmentNameLength);
}

void writeParameterLabel(int32_t index, char* text) {
  vst_strncpy(text, isSoundParameter(index) ? kParameterTable[index].label : " ",
              kVstMaxParamStrLen);
}

void writeParameterDisplay(const DelayEngine& engine, int32_t index, char* text) {
  if (!isSoundParameter(index)) return;
  const ParameterInfo& parameter = kParameterTable[index];
  // The engine keeps whatever it was given; texts are made for 0 … 1 only,
  // so every held value gives a finite, sensible text.
  const float v = clampToNormalised(engine.parameterValue(index));
  switch (parameter.display) {
    case DisplayRule::kGainDecibels:
      dB2string(static_cast<float>(parameter.law(v)), text, kDisplayTextLength);
      break;
    case DisplayRule::kDecibels:
      dB2string(v, text, kDisplayTextLength);
      break;
    case DisplayRule::kDryWetPair:
      writeMix(v, text);
      break;
    case DisplayRule::kDelayMs:
      int2string(dsp::truncToInt(static_cast<double>(engine.delayMs()) + 0.5), text,
                 kDisplayTextLength);
      break;
    case DisplayRule::kOnOff:
      writeOnOff(switchIsOn(v), text);
      break;
    case DisplayRule::kClockFactor:
      float2string(static_cast<float>(static_cast<double>(v) + 0.5), text, kDisplayTextLength);
      break;
    case DisplayRule::kPercent:
      int2string(dsp::truncToInt(100.0 * v), text, kDisplayTextLength);
      break;
    case DisplayRule::kWaveformBlend:
      writeWaveform(v, text);
      break;
    case DisplayRule::kLfoRateHz:
      float2string(static_cast<float>(parameter.law(v)), text, kDisplayTextLength);
      break;
    case DisplayRule::kDelayOrClock:
      vst_strncpy(text, engine.clockSyncOn() ? "clk" : "dly", kDisplayTextLength);
      break;
    case DisplayRule::kStepValue:
      std::snprintf(text, kDisplayTextLength + 1, "%.0f",
                    static_cast<double>(parameter.stepValues[stepIndex(v, parameter.steps)]));
      break;
  }
}

bool fillParameterProperties(int32_t index, VstParameterProperties* p) {
  if (!p) return false;
  if (index == kDlyTime) {
    p->stepFloat = kDlyTimeStep;
    p->smallStepFloat = kDlyTimeStep;
    p->flags = kVstParameterUsesFloatStep;
    return true;
  }
  if (isSwitchParameter(index)) {
    p->flags &= kSwitchKeptFlags;
    p->minInteger = 0;
    p->maxInteger = 1;
    p->stepInteger = 1;
    p->largeStepInteger = 1;
    return true;
  }
  if (index == kNum || index == kDen) {
    p->flags = 0;
    p->minInteger = 1;
    p->maxInteger = index == kNum ? kNumSteps : kDenAnnouncedMax;
    p->stepInteger = 1;
    return true;
  }
  return false;
}
