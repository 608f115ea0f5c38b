// The reference sample loop. Every function below handles one channel or one
// shared value in the order of a sample's steps; `double` holds the
// intermediates and `float(...)` marks each rounding to a stored value.
#include "reference_engine.h"

#include <algorithm>
#include <cmath>

#include "effect/dsp_constants.h"
#include "effect/dsp_math.h"

using namespace dsp;

namespace {

// What the block reads once: hosts change parameters between blocks.
struct Settings {
  double a0, a1, a2, b1, b2;  // anti-aliasing sections
  int32_t ringLength;
  double envCoef, envCoefRest;
  bool squareWave;
  float lfoIncrement, lfoAmount, envAmount, manualFactor, clockDivide;
  float* memory[2];
  int32_t memoryLength;
  double fadeGrowth;
  double rate, delayMs;
  bool hiCut;
  double hiCutCoef, hiCutCoefRest;
  float feedbackSign, delaySign;
  bool power;
  BeatPeriod beat;
  // Smoothing: targets and coefficients.
  float inputTarget, outputTarget, mixTarget, feedbackTarget, depthTarget;
  double k, kRest;
};

// The running state, copied in at the block's start and back at its end.
struct State {
  ChannelState ch[2];
  int32_t levelPos, writePos, readPos;
  float peak;
  bool led;
  float envState;
  float lfoPhase, lfoValue;
  float clockFactor, clockPhase, clockIncrement;
  float fadeLevel;
  bool repeatEngaged;
  bool delayChangePending;
  float delaySamples;
  float smoothInput, smoothOutput, smoothMix, smoothFeedback, smoothDepth;
  float d;  // the alternating denormal offset
  int64_t counter;
};

float flushed(float x) {
  const float raised = x + kFlushConstant;
  return raised - kFlushConstant;
}

float finiteOr0(float x) { return std::isfinite(x) ? x : 0.0f; }

// 1. Parameter smoothing, one step (the input gain stepped here acts on the
// next sample).
void smoothParameters(State& s, const Settings& k) {
  auto step = [&](float state, float target, double offset) {
    return float((k.kRest * target + k.k * state) + offset);
  };
  s.smoothInput = step(s.smoothInput, k.inputTarget, s.d);
  s.smoothOutput = step(s.smoothOutput, k.outputTarget, s.d);
  s.smoothMix = step(s.smoothMix, k.mixTarget, s.d);
  s.smoothFeedback = step(s.smoothFeedback, k.feedbackTarget, 0.0);
  if (std::fabs(s.smoothFeedback) < kFeedbackFloor) s.smoothFeedback = 0.0f;
  s.smoothDepth = step(s.smoothDepth, k.depthTarget, s.d);
}

// 2. Input gain (limited so the filters cannot overflow), 3. two
// anti-aliasing sections.
float gainedInput(float in, float gain, float d) {
  const double x = double(in) * gain + d;
  return float(std::clamp(x, -kSignalCeiling, kSignalCeiling));
}

float antiAlias(ChannelState& c, const Settings& k, float x) {
  for (auto& s : c.antiAlias) {  // x1, x2, y1, y2
    const float y = flushed(float(k.a0 * x + k.a1 * s[0] + k.a2 * s[1] - k.b1 * s[2] - k.b2 * s[3]));
    s[1] = s[0];
    s[0] = x;
    s[3] = s[2];
    s[2] = y;
    x = y;
  }
  return x;
}

// 5. Level over the ring, 6. limiter gain: 1 − 0.25·m up to the knee, 1/m
// above.
float limiterGain(ChannelState& c, const Settings& k, int32_t pos, float a) {
  c.levelSum = (c.levelSum + a) - c.levelRing[pos];
  c.levelRing[pos] = a;
  const float m = c.levelSum / float(k.ringLength);
  return m <= kLimiterKnee ? 1.0f - kLimiterSlope * m : 1.0f / m;
}

// 14. LFO, sampled before this sample's phase step.
void advanceLfo(State& s, const Settings& k) {
  const float raw = k.squareWave ? (s.lfoPhase <= 0.0f ? 1.0f : -1.0f)
                                 : -float(std::sin(double(s.lfoPhase)));
  s.lfoPhase = s.lfoPhase + k.lfoIncrement;
  if (s.lfoPhase >= float(kPi)) s.lfoPhase = float(s.lfoPhase - kTwoPi);
  s.lfoValue = k.lfoAmount * raw;
}

// 15. Clock factor, the bracket kept in 1/16 … 1024 (at most 16 ticks per
// sample), 16. clock phase, rescaled when the rate changes. Returns q.
float advanceClock(State& s, const Settings& k, double em) {
  float bracket = float(double(k.manualFactor) + double(s.smoothDepth) * (double(s.lfoValue) + em));
  if (!(bracket >= kMinClockBracket)) bracket = kMinClockBracket;
  if (bracket > kMaxClockBracket) bracket = kMaxClockBracket;
  s.clockFactor = bracket * k.clockDivide;
  const float previous = s.clockIncrement;
  s.clockIncrement = 1.0f / s.clockFactor;
  // An unchanged clock simply advances the phase.
  const float q = s.clockIncrement == previous
                      ? s.clockPhase
                      : float(1.0 - (1.0 - double(s.clockPhase)) * s.clockIncrement / previous);
  s.clockPhase = s.clockIncrement + q;
  return q;
}

// The cubic's coefficients c0 … c3 over p0 … p3, each rounded.
struct Cubic {
  double c0, c1, c2, c3;
};
double curvature(const float p[4]) { return float(2.0 * p[0] - 5.0 * p[1] + 4.0 * p[2] - p[3]); }
double cubicTerm(const float p[4]) { return float(p[3] - 3.0 * p[2] + 3.0 * p[1] - p[0]); }
Cubic cubicOf(const float p[4]) {
  return {float(2.0 * p[1]), float(double(p[2]) - p[0]), curvature(p), cubicTerm(p)};
}
// a = c2·t² + a, then 0.5 × (c3·t³ + a), with t², t³ and the sums rounded.
float higherTerms(double a, double c2, double c3, float t) {
  const float t2 = t * t;
  const float t3 = t2 * t;
  a = float(c2 * t2 + a);
  return 0.5f * float(c3 * t3 + a);
}

// 17. The ticks inside this sample: each writes one slot per channel.
void writeTicks(State& s, const Settings& k, float q) {
  const Cubic cubic[2] = {cubicOf(s.ch[0].writeHistory), cubicOf(s.ch[1].writeHistory)};
  float r = 1.0f - q;
  do {
    s.clockPhase -= 1.0f;
    const float t = r / s.clockIncrement;  // the tick's time between p1 and p2
    const double f = s.fadeLevel;
    for (int c = 0; c < 2; ++c) {
      const Cubic& w = cubic[c];
      const double value = higherTerms(float(w.c1 * t + w.c0), w.c2, w.c3, t);
      float* memory = k.memory[c];
      const double old = memory[s.readPos];
      memory[s.writePos] =
          float(s.repeatEngaged ? (1.0 - f) * value + f * old : (1.0 - f) * old + f * value);
      float* h = s.ch[c].readHistory;
      h[0] = h[1];
      h[1] = h[2];
      h[2] = h[3];
      h[3] = memory[s.readPos];  // after the write
    }
    s.fadeLevel = std::min(float(f * k.fadeGrowth), 1.0f);
    if (++s.readPos == k.memoryLength) s.readPos = 0;
    if (++s.writePos == k.memoryLength) s.writePos = 0;
    r += 1.0f;
  } while (s.clockPhase >= 1.0f);
}

// 18. Memory output: the cubic over readHistory at t = clockPhase.
float readOut(const float p[4], float t) {
  const double linear = float((double(p[2]) - p[0]) * t + 2.0 * p[1]);
  return higherTerms(linear, curvature(p), cubicTerm(p), t);
}

// 20. A new delay time: the read position jumps.
void applyDelayChange(State& s, const Settings& k) {
  if (!s.delayChangePending) return;
  s.delayChangePending = false;
  s.delaySamples = float(k.rate * k.delayMs / 1000.0);
  const int32_t offset = std::clamp(truncToInt(s.delaySamples), 0, k.memoryLength - 1);
  s.readPos = s.writePos - offset;
  if (s.readPos < 0) s.readPos += k.memoryLength;
}

// 21. High-cut on the feedback path only, 22. feedback.
void feedBack(ChannelState& c, const State& s, const Settings& k, float o) {
  c.hiCutState = flushed(k.hiCut ? float(o * k.hiCutCoefRest + c.hiCutState * k.hiCutCoef) : o);
  c.feedbackSignal =
      s.repeatEngaged ? c.hiCutState : (c.hiCutState * s.smoothFeedback) * k.feedbackSign;
}

// 24. Beat counter: an armed repeat engages at the period boundary.
void countBeat(State& s, const Settings& k, const DelayEngine& engine) {
  ++s.counter;
  const bool inWindow = k.beat.inLedWindow(s.counter);
  if (s.counter > k.beat.periodSamples) {
    s.counter = 0;
    if (!s.repeatEngaged && engine.repeatOn()) {
      s.repeatEngaged = true;
      s.fadeLevel = kFadeStart;
    }
  }
  if (inWindow) s.led = true;
}

// One sample, steps 1 … 24.
void runSample(State& s, const Settings& k, const DelayEngine& engine, const float in[2],
               float out[2]) {
  s.d = -s.d;
  const float inputGain = s.smoothInput;  // before this sample's smoothing step
  smoothParameters(s, k);
  const float wet = flushed(s.smoothMix * s.smoothOutput);
  const float dryGain = s.smoothOutput - wet, wetGain = wet * k.delaySign;

  float x[2], a[2], g[2], vin[2];
  for (int c = 0; c < 2; ++c) {
    x[c] = gainedInput(in[c], inputGain, s.d);
    const float w = antiAlias(s.ch[c], k, x[c]) + s.ch[c].feedbackSignal;
    a[c] = std::fabs(w);
    g[c] = limiterGain(s.ch[c], k, s.levelPos, a[c]);
    vin[c] = g[c] * w;
  }
  if (++s.levelPos == k.ringLength) s.levelPos = 0;
  s.peak = std::max(s.peak, a[0] + a[1]);

  const float e = float(0.5 * (double(g[0]) * a[0] + double(g[1]) * a[1]));
  const float level = float(s.envState * k.envCoef + k.envCoefRest * e);
  s.envState = flushed(level);
  for (int c = 0; c < 2; ++c) {
    float* h = s.ch[c].writeHistory;
    h[0] = h[1];
    h[1] = h[2];
    h[2] = h[3];
    h[3] = vin[c];
  }

  advanceLfo(s, k);
  const float shaped = float(std::pow(double(level), double(kEnvelopeExponent)));
  const double em = double(shaped - 0.5f) * k.envAmount;
  const float q = advanceClock(s, k, em);
  if (s.clockPhase >= 1.0f) writeTicks(s, k, q);

  float o[2];
  for (int c = 0; c < 2; ++c) {
    o[c] = readOut(s.ch[c].readHistory, s.clockPhase);
    if (s.delaySamples < kShortDelayLimit && !s.repeatEngaged) o[c] = vin[c];
  }
  applyDelayChange(s, k);
  float y[2];
  for (int c = 0; c < 2; ++c) {
    feedBack(s.ch[c], s, k, o[c]);
    y[c] = float(double(dryGain) * x[c] + double(wetGain) * o[c]);
  }
  if (k.power) {
    out[0] = y[0];
    out[1] = y[1];
  } else {
    out[0] = in[0];
    out[1] = in[1];
  }
  countBeat(s, k, engine);
}

}  // namespace

void ReferenceEngine::process(DelayEngine& engine, const float* inL, const float* inR,
                              float* outL, float* outR, int32_t frames,
                              const BlockTiming& timing) noexcept {
  if (!inL || !outL) return;
  if (!inR) inR = inL;
  if (frames < 0) frames = 0;

  const BlockStart block = engine.beginBlock(timing, frames);
  int64_t counter = block.counter;
  if (frames > 0 && !engine.hasMemory()) {
    engine.silenceBlock(inL, inR, outL, outR, frames);
    counter += frames;
  } else if (frames > 0) {
    counter = runSamples(engine, inL, inR, outL, outR, frames, block);
  }
  engine.endBlock(block, counter);
}

int64_t ReferenceEngine::runSamples(DelayEngine& e, const float* inL, const float* inR,
                                    float* outL, float* outR, int32_t frames,
                                    const BlockStart& block) noexcept {
  const AntiAliasCoefficients aa = e.antiAliasCoefficients();
  const Settings k{aa.a0,           aa.a1,          aa.a2,
                   aa.b1,           aa.b2,          e.levelRingLength_,
                   e.envCoef_,      e.envCoefRest_, e.squareWave_,
                   e.lfoIncrement_, e.lfoAmount_,   e.envAmount_,
                   e.manualFactor_, e.clockDivide_, {e.memory_[0].get(), e.memory_[1].get()},
                   e.bufferLength_, e.fadeGrowth_,  e.rate_,
                   block.delayMs,   e.hiCutOn_,     e.hiCutCoef_,
                   e.hiCutCoefRest_, e.feedbackSign_, e.delaySign_,
                   e.powerOn_,      block.beat,     e.inputGain_,
                   e.outputGain_,   e.mixTarget_,   e.feedbackTarget_,
                   e.depthTarget_,  e.smoothCoef_,  e.smoothCoefRest_};
  const BlockHandOvers handOvers = e.takeHandOvers();
  State s{{e.channels_[0], e.channels_[1]},
          e.levelPos_,
          e.writePos_,
          e.readPos_,
          handOvers.peak,
          handOvers.led,
          e.envState_,
          e.lfoPhase_,
          e.lfoValue_,
          e.clockFactor_,
          e.clockPhase_,
          e.clockIncrement_,
          handOvers.fadeAtBlockStart,
          handOvers.repeatEngaged,
          handOvers.delayChangePending,
          e.delaySamples_,
          e.smoothInputGain_,
          e.smoothOutputGain_,
          e.smoothMix_,
          e.smoothFeedback_,
          e.smoothDepth_,
          e.denormalOffset_,
          block.counter};

  for (int32_t n = 0; n < frames; ++n) {
    const float in[2] = {finiteOr0(inL[n]), finiteOr0(inR[n])};
    float out[2];
    const bool wasEngaged = s.repeatEngaged;
    runSample(s, k, e, in, out);
    if (s.repeatEngaged && !wasEngaged) e.repeatActive_ = true;
    if (outR) {
      outL[n] = k.power ? finiteOr0(out[0]) : out[0];
      outR[n] = k.power ? finiteOr0(out[1]) : out[1];
    } else {
      outL[n] = finiteOr0(float(0.5 * (double(out[0]) + out[1])));
    }
  }

  e.channels_[0] = s.ch[0];
  e.channels_[1] = s.ch[1];
  e.levelPos_ = s.levelPos;
  e.writePos_ = s.writePos;
  e.readPos_ = s.readPos;
  e.envState_ = s.envState;
  e.lfoPhase_ = s.lfoPhase;
  e.lfoValue_ = s.lfoValue;
  e.clockFactor_ = s.clockFactor;
  e.clockPhase_ = s.clockPhase;
  e.clockIncrement_ = s.clockIncrement;
  e.clockIncrementFactor_ = s.clockFactor;
  e.delaySamples_ = s.delaySamples;
  e.smoothInputGain_ = s.smoothInput;
  e.smoothOutputGain_ = s.smoothOutput;
  e.smoothMix_ = s.smoothMix;
  e.smoothFeedback_ = s.smoothFeedback;
  e.smoothDepth_ = s.smoothDepth;
  e.denormalOffset_ = s.d;
  e.returnHandOvers(handOvers, s.peak, s.led, s.fadeLevel);
  return s.counter;
}
