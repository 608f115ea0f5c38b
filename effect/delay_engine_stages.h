// The signal chain of one sample, stage by stage, over the block's state held
// in locals (BlockState) and the values read once per block (BlockSettings).
// Both channels run as the two lanes of one SSE2 register (dsp_stereo.h), in
// single precision throughout; the sine and the envelope's power are fast
// approximations with stated bounds (dsp_fast_math.h). What the settings of
// a block cannot change is not computed: the block's Variant says which
// stages run. The stages run in the order of runSample, which is part of the design:
// each reads what the previous ones left (the feedback of the previous
// sample enters the memory input, the clock rate depends on this sample's
// envelope, the read-out follows this sample's ticks).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "effect/delay_engine.h"
#include "effect/dsp_constants.h"
#include "effect/dsp_cubic.h"
#include "effect/dsp_fast_math.h"
#include "effect/dsp_math.h"
#include "effect/dsp_smoothing.h"
#include "effect/dsp_stereo.h"
#include "effect/dsp_stereo_channel.h"
#include "effect/relaxed.h"

// The stages are written as functions for reading; the loop needs them
// inlined into one body to keep the state in registers.
#define DSP_STAGE inline __attribute__((always_inline))

namespace dsp {

// The block's buffers: inR is never null (it may equal inL), outR may be
// null (mono output).
struct BlockBuffers {
  const float* inL;
  const float* inR;
  float* outL;
  float* outR;
};

// Parameter-derived and sample-rate values, read once per block: hosts
// change them between blocks (automation splits a block where a value
// changes).
struct BlockSettings {
  // Input and anti-aliasing.
  LowPassLanes antiAlias;
  // Level and limiter.
  int32_t levelRingLength;
  StereoFloat levelRingReciprocal;
  // Envelope.
  float envelopeCoef, envelopeCoefRest;
  const FastEnvelopePower* envelopePower;
  // LFO and clock.
  bool squareWave;
  float lfoIncrement, lfoAmount, envAmount, manualFactor, clockDivide;
  // Ticks and memory.
  float* memoryL;
  float* memoryR;
  int32_t memoryLength;
  float fadeGrowth;
  double rate, delayMs;  // for a new delay time
  // Feedback.
  bool hiCut;
  StereoFloat hiCutCoef, hiCutCoefRest;
  // Output.
  bool power;
  // Beat counter.
  BeatPeriod beat;
  // Shared with the parameter thread: read as the block goes.
  const Relaxed<bool>* repeatOn;
  Relaxed<bool>* repeatActive;
};

// The running state of the block, copied from the engine at its start and
// stored back at its end. The level rings, indexed per sample, sit in a
// local of their own (LevelRingLanes).
struct BlockState {
  // Input and anti-aliasing: two sections per channel.
  SectionLanes antiAlias[2];
  // Level and limiter.
  StereoFloat levelSum;
  int32_t levelPos;
  float peak;
  // Envelope.
  float envState;
  // LFO and clock.
  float lfoPhase, lfoValue;
  float lfoPhaseSampled;  // unmodulated blocks: the last sample's phase before its step
  float clockFactor;
  float clockPhase, clockIncrement;
  float incrementFactor;  // the clock factor clockIncrement was computed from
  // Ticks and memory.
  HistoryLanes writeHistory, readHistory;
  int32_t writePos, readPos;
  float fadeLevel;
  bool repeatEngaged;  // the repeat holds the loop
  float delaySamples;
  bool delayChangePending;
  // Feedback.
  StereoFloat hiCutState, feedback;
  // Beat counter and LED.
  int64_t counter;
  bool led;
  BlockHandOvers handOvers;  // as taken at the block's start
};

// The level rings of both channels, interleaved (left, right).
struct LevelRingLanes {
  alignas(16) float values[kMaxLevelRing][2];
};

// ---------------------------------------------------------------------------
// Variants: which stages a block runs, chosen once per block.

enum class LfoShape { square, sine, either };  // either: the settings decide per sample

// kModulated: the clock can move within the block (else the factor is the
// manual one, constant). kLfo: the LFO term; kEnvelope: the envelope term
// (its weight and the depth are not 0); kHiCut: the high-cut runs.
template <bool kModulated, LfoShape kLfo, bool kEnvelope, bool kHiCut>
struct Variant {
  static constexpr bool modulated = kModulated, envelope = kEnvelope, hiCut = kHiCut;
  static constexpr LfoShape lfo = kLfo;
};

// ---------------------------------------------------------------------------
// Input and anti-aliasing.

struct InputStage {
  StereoFloat in;        // the input as received (non-finite values as 0)
  StereoFloat dry;       // after the input gain: the dry signal of the mix
  StereoFloat filtered;  // after both anti-aliasing sections
};

DSP_STAGE InputStage readAndFilterInput(BlockState& state, const BlockSettings& settings,
                                        const BlockBuffers& io, int32_t n,
                                        const SampleGains& gains) noexcept {
  const StereoFloat in = finiteOrZero(loadStereo(io.inL + n, io.inR + n));
  const StereoFloat x = gainedInput(in, gains.inputGain, gains.offset);
  const StereoFloat y =
      runSection(state.antiAlias[1], runSection(state.antiAlias[0], x, settings.antiAlias),
                 settings.antiAlias);
  return {in, x, y};
}

// ---------------------------------------------------------------------------
// Level and limiter.

struct LimitedInput {
  StereoFloat memoryInput;  // vin: what enters the delay memory
  float envelopeInput;      // e = 0.5 × (gL·aL + gR·aR)
};

// Memory input with last sample's feedback, its level over the ring and the
// level-dependent limiter: g·m = m − m²/4 up to the knee, then 1. The ring
// length is a power of 2, so the average is exact.
DSP_STAGE LimitedInput limitMemoryInput(BlockState& state, const BlockSettings& settings,
                                        LevelRingLanes& ring, StereoFloat filtered) noexcept {
  const StereoFloat w = filtered + state.feedback;
  const StereoFloat a = absolute(w);
  state.levelSum = (state.levelSum + a) - loadPair(ring.values[state.levelPos]);
  storePair(ring.values[state.levelPos], a);
  if (++state.levelPos == settings.levelRingLength) state.levelPos = 0;

  const StereoFloat m = state.levelSum * settings.levelRingReciprocal;
  const StereoFloat gain =
      belowKnee(m) ? bothFloat(1.0f) - bothFloat(kLimiterSlope) * m : limiterGain(m);
  const StereoFloat weighted = gain * a;
  state.peak = std::max(state.peak, leftOf(a) + rightOf(a));
  return {gain * w, 0.5f * (leftOf(weighted) + rightOf(weighted))};
}

// ---------------------------------------------------------------------------
// Envelope follower: returns this sample's level s.

DSP_STAGE float followEnvelope(BlockState& state, const BlockSettings& settings, float e) noexcept {
  const float level = state.envState * settings.envelopeCoef + settings.envelopeCoefRest * e;
  state.envState = flush(level);
  return level;
}

// ---------------------------------------------------------------------------
// LFO and clock.

// The weighted LFO output at a phase.
template <LfoShape kLfo>
DSP_STAGE float lfoValueAt(const BlockSettings& settings, float phase) noexcept {
  const bool square = kLfo == LfoShape::square || (kLfo == LfoShape::either && settings.squareWave);
  const float raw = square ? (phase <= 0.0f ? 1.0f : -1.0f) : -fastSin(phase);
  return settings.lfoAmount * raw;
}

// The LFO is sampled before this sample's phase step; an unmodulated block
// only steps the phase (lfoValue is then formed at the block's end).
template <class V>
DSP_STAGE void advanceLfo(BlockState& state, const BlockSettings& settings) noexcept {
  if constexpr (V::modulated) {
    state.lfoValue = lfoValueAt<V::lfo>(settings, state.lfoPhase);
  } else {
    state.lfoPhaseSampled = state.lfoPhase;
  }
  state.lfoPhase = state.lfoPhase + settings.lfoIncrement;
  if (state.lfoPhase >= static_cast<float>(kPi))
    state.lfoPhase = state.lfoPhase - static_cast<float>(kTwoPi);
}

// Envelope modulation em = (s^0.3 − 0.5)·weight.
template <class V>
DSP_STAGE float envelopeModulation(const BlockSettings& settings, float level) noexcept {
  if constexpr (!V::envelope) return 0.0f;
  return ((*settings.envelopePower)(level) - 0.5f) * settings.envAmount;
}

// The clock factor; the bracket is kept positive so the tick count is bounded.
DSP_STAGE float clockFactorOf(const BlockSettings& settings, float bracket) noexcept {
  if (!(bracket >= kMinClockBracket)) bracket = kMinClockBracket;
  if (bracket > kMaxClockBracket) bracket = kMaxClockBracket;
  return bracket * settings.clockDivide;  // × 1 is exact
}

// Clock phase: the distance to the next tick is rescaled when the rate
// changes, q = 1 − (1 − phase)·increment/previous, where increment/previous
// is the previous factor over the new one. Returns q, the phase before this
// sample's increment.
template <class V>
DSP_STAGE float advanceClock(BlockState& state, const BlockSettings& settings, float depth,
                             float em) noexcept {
  float q = state.clockPhase;
  if constexpr (V::modulated) {
    state.clockFactor = clockFactorOf(settings, settings.manualFactor + depth * (state.lfoValue + em));
    const float remaining = (1.0f - state.clockPhase) * state.incrementFactor;  // off the chain
    const bool unchanged = state.clockFactor == state.incrementFactor;
    state.clockIncrement = 1.0f / state.clockFactor;
    state.incrementFactor = state.clockFactor;
    // An unchanged clock simply advances: the rescaling's rounding would
    // otherwise move the phase a little every sample.
    q = unchanged ? state.clockPhase : 1.0f - remaining * state.clockIncrement;
  } else if (state.clockFactor != state.incrementFactor) {
    // The block's constant factor, first met: rescale once.
    q = 1.0f - (1.0f - state.clockPhase) * state.incrementFactor / state.clockFactor;
    state.clockIncrement = 1.0f / state.clockFactor;
    state.incrementFactor = state.clockFactor;
  }
  state.clockPhase = state.clockIncrement + q;
  return q;
}

// ---------------------------------------------------------------------------
// Ticks and memory.

// Every tick that falls inside this sample writes one memory slot: the
// interpolated input crossfaded with the slot at the read position.
DSP_STAGE void writeTicks(BlockState& state, const BlockSettings& settings, float q) noexcept {
  const CubicLanes cubic = cubicOf(state.writeHistory);
  float r = 1.0f - q;
  do {
    state.clockPhase -= 1.0f;
    // The tick's time inside the sample, p1 → p2: r / increment.
    const StereoFloat value = evaluateCubic(cubic, r * state.clockFactor);
    const StereoFloat faded = bothFloat(state.fadeLevel), kept = bothFloat(1.0f - state.fadeLevel);
    const StereoFloat old =
        loadStereo(settings.memoryL + state.readPos, settings.memoryR + state.readPos);
    const StereoFloat slots =
        state.repeatEngaged ? kept * value + faded * old : kept * old + faded * value;
    storeStereo(settings.memoryL + state.writePos, settings.memoryR + state.writePos, slots);
    state.fadeLevel = std::min(state.fadeLevel * settings.fadeGrowth, 1.0f);
    // The read position's slot after the write.
    state.readHistory.push(state.readPos == state.writePos ? slots : old);
    if (++state.readPos == settings.memoryLength) state.readPos = 0;
    if (++state.writePos == settings.memoryLength) state.writePos = 0;
    r += 1.0f;
  } while (state.clockPhase >= 1.0f);
}

// A new delay time: the read head jumps, without a crossfade.
DSP_STAGE void applyDelayChange(BlockState& state, const BlockSettings& settings) noexcept {
  if (!state.delayChangePending) return;
  state.delayChangePending = false;
  state.delaySamples = static_cast<float>(settings.rate * settings.delayMs / 1000.0);
  const int32_t offset = std::clamp(truncToInt(state.delaySamples), 0, settings.memoryLength - 1);
  state.readPos = state.writePos - offset;
  if (state.readPos < 0) state.readPos += settings.memoryLength;
}

// ---------------------------------------------------------------------------
// Read-out.

// Shortcut: at phase +0 the output cubic is often p1 itself (see
// interpolatesToP1AtZero).
DSP_STAGE StereoFloat readMemoryOutput(const BlockState& state) noexcept {
  uint32_t phaseBits;
  std::memcpy(&phaseBits, &state.clockPhase, sizeof phaseBits);
  return phaseBits == 0 && interpolatesToP1AtZero(state.readHistory)
             ? state.readHistory.p1
             : interpolateHistory(state.readHistory, state.clockPhase);
}

// ---------------------------------------------------------------------------
// Feedback: the high-cut acts on the feedback path only, so the first echo
// leaves unfiltered.

template <class V>
DSP_STAGE void feedBack(BlockState& state, const BlockSettings& settings, const SampleGains& gains,
                        StereoFloat o) noexcept {
  if constexpr (V::hiCut)
    state.hiCutState = flush(o * settings.hiCutCoefRest + state.hiCutState * settings.hiCutCoef);
  else
    state.hiCutState = flush(o);
  state.feedback = state.repeatEngaged ? state.hiCutState : state.hiCutState * gains.feedback;
}

// ---------------------------------------------------------------------------
// Output: the mix, or the input passed through with the power off.

DSP_STAGE void writeOutput(const BlockSettings& settings, const BlockBuffers& io, int32_t n,
                           const SampleGains& gains, const InputStage& input,
                           StereoFloat o) noexcept {
  if (settings.power) {
    const StereoFloat mixed = gains.dryGain * input.dry + gains.wetGain * o;
    if (io.outR) {
      storeStereo(io.outL + n, io.outR + n, finiteOrZero(mixed));
    } else {
      io.outL[n] = finiteOrZero(0.5f * (leftOf(mixed) + rightOf(mixed)));
    }
  } else if (io.outR) {
    storeStereo(io.outL + n, io.outR + n, input.in);
  } else {
    io.outL[n] =
        static_cast<float>(0.5 * (static_cast<double>(leftOf(input.in)) + rightOf(input.in)));
  }
}

// ---------------------------------------------------------------------------
// Beat counter: repeat engagement at the period boundary, LED window.

DSP_STAGE void countBeat(BlockState& state, const BlockSettings& settings) noexcept {
  ++state.counter;
  const bool inWindow = settings.beat.inLedWindow(state.counter);
  if (state.counter > settings.beat.periodSamples) {
    state.counter = 0;
    if (!state.repeatEngaged && *settings.repeatOn) {
      state.repeatEngaged = true;
      state.fadeLevel = kFadeStart;
      *settings.repeatActive = true;
    }
  }
  if (inWindow) state.led = true;
}

// ---------------------------------------------------------------------------
// One sample through the whole chain.

template <class V>
DSP_STAGE void runSample(BlockState& state, const BlockSettings& settings, LevelRingLanes& ring,
                         const BlockBuffers& io, int32_t n, const SampleGains& gains) noexcept {
  const InputStage input = readAndFilterInput(state, settings, io, n, gains);
  const LimitedInput limited = limitMemoryInput(state, settings, ring, input.filtered);
  const float level = followEnvelope(state, settings, limited.envelopeInput);
  state.writeHistory.push(limited.memoryInput);

  advanceLfo<V>(state, settings);
  const float q =
      advanceClock<V>(state, settings, gains.depth, envelopeModulation<V>(settings, level));
  if (state.clockPhase >= 1.0f) writeTicks(state, settings, q);

  StereoFloat o = readMemoryOutput(state);
  // Below a few samples of delay the memory is bypassed.
  if (state.delaySamples < kShortDelayLimit && !state.repeatEngaged) o = limited.memoryInput;
  applyDelayChange(state, settings);

  feedBack<V>(state, settings, gains, o);
  writeOutput(settings, io, n, gains, input, o);
  countBeat(state, settings);
}

}  // namespace dsp

#undef DSP_STAGE
