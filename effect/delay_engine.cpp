// Engine state: construction, the per-parameter rules, the sample-rate
// dependent values, the tempo-synchronised delay and the lifecycle pieces.
// Intermediate expressions are evaluated in double and rounded to float
// exactly where a value is stored.
#include "effect/delay_engine.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "effect/dsp_math.h"
#include "effect/tempo_sync.h"

using namespace dsp;

namespace {

float limitTarget(double v) {
  return static_cast<float>(
      std::clamp(v, -static_cast<double>(kTargetCeiling), static_cast<double>(kTargetCeiling)));
}

}  // namespace

DelayEngine::DelayEngine() {
  for (int32_t i = 0; i < kNumParams; ++i) values_[i] = kParameterTable[i].startValue;
  applySampleRate(kDefaultRate, kCutoffThresholdRate);
  resetEngine();
}

// ---------------------------------------------------------------------------
// Parameters

float DelayEngine::parameterValue(int32_t index) const noexcept {
  return isSoundParameter(index) ? values_[index].load() : 0.0f;
}

void DelayEngine::setParameter(int32_t index, float v) noexcept {
  if (!isSoundParameter(index) || !std::isfinite(v)) return;
  switch (index) {
    case kInput:
      values_[kInput] = v;
      inputGain_ = limitTarget(gainOfValue(v));
      break;
    case kOutput:
      values_[kOutput] = v;
      outputGain_ = limitTarget(gainOfValue(v));
      break;
    case kMix:
      values_[kMix] = v;
      mixTarget_ = limitTarget(v);
      break;
    case kDlyTime:
      // Ignored while synced; frozen while the repeat holds the loop.
      if (clockSyncOn_ || repeatOn_) return;
      setDelayFromValue(std::min(v, 1.0f));
      break;
    case kDlyx2:
      setDoubling(v);
      break;
    case kDlyInv: {
      values_[kDlyInv] = v;
      const bool on = switchIsOn(v);
      dlyInvertOn_ = on;
      delaySign_ = on ? -1.0f : 1.0f;
      break;
    }
    case kFbck:
      values_[kFbck] = v;
      feedbackTarget_ = limitTarget(v);
      break;
    case kHiCut:
      values_[kHiCut] = v;
      hiCutOn_ = switchIsOn(v);
      break;
    case kFbInv: {
      values_[kFbInv] = v;
      const bool on = switchIsOn(v);
      fbInvertOn_ = on;
      feedbackSign_ = on ? -1.0f : 1.0f;
      break;
    }
    case kManVCO:
      setManualClock(v);
      break;
    case kDepth:
      values_[kDepth] = v;
      depthTarget_ = limitTarget(v);
      clockFactor_ = static_cast<float>(static_cast<double>(clockDivide_) * manualFactor_);
      break;
    case kWaveform:
      setWaveform(v);
      break;
    case kRate:
      setLfoRate(v);
      break;
    case kRptInf:
      setRepeat(v);
      break;
    case kPower:
      values_[kPower] = v;
      powerOn_ = switchIsOn(v);
      break;
    case kDlyClk:
      values_[kDlyClk] = v;
      if (repeatOn_) return;  // stored, but the mode stays while the loop is held
      clockSyncOn_ = switchIsOn(v);
      delayChanged_ = true;
      if (clockSyncOn_) updateSyncedDelay();
      break;
    case kNum:
      values_[kNum] = v;
      numIndex_ = stepIndex(v, kNumSteps);
      if (clockSyncOn_) updateSyncedDelay();
      break;
    case kDen:
      values_[kDen] = v;
      denIndex_ = stepIndex(v, kDenSteps);
      if (clockSyncOn_) updateSyncedDelay();
      break;
    default:
      break;
  }
}

void DelayEngine::setDoubling(float v) noexcept {
  values_[kDlyx2] = v;
  const bool on = switchIsOn(v);
  doubleOn_ = on;
  clockDivide_ = on ? 2.0f : 1.0f;
  setAntiAliasCutoff(static_cast<float>(antiAliasCutoff(kCutoffThresholdSwitch)));
  clockFactor_ = static_cast<float>(static_cast<double>(manualFactor_) * clockDivide_);
}

void DelayEngine::setManualClock(float v) noexcept {
  values_[kManVCO] = v;
  // Uses the Depth in force now; a later Depth change keeps this factor.
  const float offset = static_cast<float>(static_cast<double>(v) - 0.5);
  const float scaled = static_cast<float>((1.0 - static_cast<double>(values_[kDepth])) * offset);
  manualFactor_ = limitTarget(1.0 + static_cast<double>(scaled));
  clockFactor_ = static_cast<float>(static_cast<double>(manualFactor_) * clockDivide_);
}

// The distance from the centre sets the LFO's share; the rest is the envelope's.
void DelayEngine::setWaveform(float v) noexcept {
  values_[kWaveform] = v;
  const float lfo = limitTarget(std::fabs(static_cast<double>(v) - 0.5));
  lfoAmount_ = lfo;
  envAmount_ = static_cast<float>(1.0 - 2.0 * lfo);
  squareWave_ = switchIsOn(v);
}

// 0.1 × 100^v Hz.
void DelayEngine::setLfoRate(float v) noexcept {
  values_[kRate] = v;
  lfoRate_ = static_cast<float>(lfoRateOfValue(v));
  recomputeLfoStep();
}

void DelayEngine::setRepeat(float v) noexcept {
  values_[kRptInf] = v;
  const bool on = switchIsOn(v);
  repeatOn_ = on;
  fadeLevel_ = kFadeStart;
  // Unsynced, the loop closes at once; synced, it waits for the next
  // period boundary (process).
  repeatActive_ = on && !clockSyncOn_;
}

void DelayEngine::setDelayFromValue(float v) noexcept {
  values_[kDlyTime] = v;
  delayMs_ = static_cast<float>(delayMsOfValue(v));
  delayChanged_ = true;
}

void DelayEngine::forceTempoSyncOff() noexcept {
  values_[kDlyClk] = 0.0f;
  clockSyncOn_ = false;
  delayChanged_ = false;
}

void DelayEngine::prepareStateLoad(float loadedDepth) noexcept {
  if (repeatOn_) setParameter(kRptInf, kSwitchOffValue);
  setParameter(kDepth, loadedDepth);
}

void DelayEngine::recomputeLfoStep() noexcept {
  const float period = static_cast<float>(static_cast<double>(rate_) / lfoRate_);
  lfoPeriod_ = period;
  // Beyond half the sample rate the LFO step no longer means anything; the
  // limit keeps the phase wrap working for rates far outside the range.
  lfoIncrement_ = static_cast<float>(std::min(kTwoPi / period, kPi));
}

void DelayEngine::updateSyncedDelay() noexcept {
  // Num/Den whole notes at the current tempo, in ms.
  const float num = kNumTable[std::clamp<int32_t>(numIndex_, 0, kNumSteps - 1)];
  const float den = kDenTable[std::clamp<int32_t>(denIndex_, 0, kDenSteps - 1)];
  const float ms = syncedDelayMs(num, den, tempo_);
  float value = static_cast<float>(static_cast<double>(ms) / kMaxDelayMs);
  if (value > 1.0f) value = 1.0f;
  syncValue_ = value;
  if (repeatOn_) return;  // the loop length stays
  setDelayFromValue(value);
}

void DelayEngine::setTempoFromControl(float v) noexcept {
  if (!std::isfinite(v)) return;
  float t = limitTarget(static_cast<double>(v) * kMaxTempo);
  if (t < kMinTempo) t = kMinTempo;
  const float previous = tempo_;
  tempo_ = t;
  if (t != previous) updateSyncedDelay();
}

// ---------------------------------------------------------------------------
// Anti-aliasing low-pass: second-order Butterworth by the bilinear transform.

double DelayEngine::antiAliasCutoff(double threshold) const noexcept {
  const double rate = rate_;
  if (doubleOn_)
    return rate > threshold ? kCutoffDoubled : rate * kCutoffDoubledPerKhz / kReferenceKhz;
  return rate > threshold ? kCutoffNormal : rate * kCutoffNormalPerKhz / kReferenceKhz;
}

void DelayEngine::setAntiAliasCutoff(float cutoffHz) noexcept {
  const float argument = static_cast<float>(kPi * cutoffHz / rate_);
  const float prewarped = static_cast<float>(std::tan(static_cast<double>(argument)));
  const double a = static_cast<float>(1.0 / prewarped);
  const double sqrtTwo = static_cast<float>(std::sqrt(2.0));
  const double norm = static_cast<float>(a * a + a * sqrtTwo + 1.0);
  lpB1_ = static_cast<float>(-2.0 * (a * a - 1.0) / norm);
  lpB2_ = static_cast<float>((a * a - a * sqrtTwo + 1.0) / norm);
  const float gain = static_cast<float>(1.0 / norm);
  lpA0_ = gain;
  lpA1_ = static_cast<float>(2.0 * gain);
  lpA2_ = gain;
}

AntiAliasCoefficients DelayEngine::antiAliasCoefficients() const noexcept {
  return {lpA0_, lpA1_, lpA2_, lpB1_, lpB2_};
}

// ---------------------------------------------------------------------------
// Sample rate and lifecycle

void DelayEngine::applySampleRate(int32_t rate, double cutoffThreshold) noexcept {
  rateInt_ = rate;
  rate_ = static_cast<float>(rate);
  const double r = rate_;

  smoothCoef_ = static_cast<float>(std::exp(static_cast<float>(-kSmoothingOmega / r)));
  smoothCoefRest_ = 1.0f - smoothCoef_;

  bufferLength_ = 1 + static_cast<int32_t>(kMemorySeconds * r);
  for (auto& m : memory_) {
    m.reset();
    m.reset(new (std::nothrow) float[static_cast<size_t>(bufferLength_)]);
  }
  if (!memory_[0] || !memory_[1]) {
    // Without both memories the engine outputs silence (see process).
    memory_[0].reset();
    memory_[1].reset();
  } else {
    for (auto& m : memory_) std::memset(m.get(), 0, sizeof(float) * bufferLength_);
  }
  writePos_ = 0;

  delaySamples_ = static_cast<float>(static_cast<double>(delayMs_) * r / 1000.0);
  repositionReadHead();
  recomputeLfoStep();
  delayChanged_ = false;

  fadeSamples_ = rate * kFadeMs / 1000;
  const float exponent = static_cast<float>(-1.0 / fadeSamples_);
  fadeGrowth_ =
      static_cast<float>(std::pow(static_cast<double>(kFadeStart), static_cast<double>(exponent)));
  ledWindowSamples_ = rate / kLedWindowDivisor;

  hiCutCoef_ = static_cast<float>(std::exp(-kHiCutOmega / r));
  hiCutCoefRest_ = 1.0f - hiCutCoef_;
  envCoef_ = static_cast<float>(std::exp(-kEnvelopeOmega / r));
  envCoefRest_ = 1.0f - envCoef_;

  levelRingLength_ = rate > 100000 ? 16 : rate > 50000 ? 8 : rate > 25000 ? 4 : 2;
  levelPos_ = 0;

  setAntiAliasCutoff(static_cast<float>(antiAliasCutoff(cutoffThreshold)));
}

void DelayEngine::repositionReadHead() noexcept {
  if (bufferLength_ <= 0) return;
  const int32_t offset = std::clamp(truncToInt(delaySamples_), 0, bufferLength_ - 1);
  readPos_ = writePos_ - offset;
  if (readPos_ < 0) readPos_ += bufferLength_;
}

void DelayEngine::suspend() noexcept {
  smoothInputGain_ = inputGain_;
  smoothOutputGain_ = outputGain_;
  smoothMix_ = mixTarget_;
  smoothFeedback_ = feedbackTarget_;
  smoothDepth_ = depthTarget_;
  fadeLevel_ = kFadeStart;
  delaySamples_ = static_cast<float>(static_cast<double>(rate_) * delayMs_ / 1000.0);
  repositionReadHead();
  delayChanged_ = false;
  resetEngine();
}

void DelayEngine::resume(float hostSampleRate) noexcept {
  songPosition_ = 0.0f;
  int32_t rate = kDefaultRate;
  const double host = hostSampleRate;
  if (host >= kMinRate && host < kMaxRate + 1.0) rate = static_cast<int32_t>(host);
  if (rate != rateInt_ || !hasMemory()) applySampleRate(rate, kCutoffThresholdRate);
  resetEngine();
}

// Every field the audio thread carries from one block to the next goes back
// to its value in a new engine, so that out-of-range input (an envelope
// driven to infinity, a clock increment of a runaway factor) cannot outlive
// a suspend or resume. Parameter-derived state stays; the smoothed values
// are set by suspend.
void DelayEngine::resetEngine() noexcept {
  ledState_ = false;
  ledAck_ = false;
  if (hasMemory()) {
    for (auto& m : memory_) std::memset(m.get(), 0, sizeof(float) * bufferLength_);
  }
  for (auto& ch : channels_) std::memset(&ch, 0, sizeof(ch));
  lfoValue_ = 0.0f;
  lfoPhase_ = 0.0f;
  lfoPhaseSnapshot_ = 0.0f;
  clockPhase_ = 0.0f;
  peakLevel_ = 0.0f;
  peakReset_ = false;
  hasPreviousBlock_ = false;
  previousEndCounter_ = 0;
  denormalOffset_ = kDenormalOffset;
  envState_ = 0.0f;
  clockIncrement_ = 1.0f;
  clockIncrementFactor_ = 1.0f;
  clockFactor_ = static_cast<float>(static_cast<double>(manualFactor_) * clockDivide_);
  repeatActive_ = repeatOn_ && !clockSyncOn_;
  writePos_ = 0;
  levelPos_ = 0;
  repositionReadHead();
}

void DelayEngine::getDisplayState(float& lfoPhase, float& meter, int32_t& effectiveDelayMs,
                                  int32_t& nominalDelayMs, uint8_t& led) noexcept {
  lfoPhase = lfoPhaseSnapshot_;
  meter = 0.5f * peakLevel_;
  peakReset_ = true;
  const double delay = delayMs_;
  effectiveDelayMs = truncToInt(static_cast<double>(clockFactor_) * delay + 0.5);
  nominalDelayMs = truncToInt(delay + 0.5);
  led = ledState_ ? 1 : 0;
  ledAck_ = true;
}
