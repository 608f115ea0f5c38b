// The signal chain of one sample, stage by stage, over the block's state held
// in locals (BlockState) and the values read once per block (BlockSettings).
// Both channels run as the two lanes of one SSE2 register (dsp_stereo.h);
// every value is rounded exactly where the per-channel description rounds
// it. The stages run in the order of runSample, which is part of the design:
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
#include "effect/dsp_envelope_shortcut.h"
#include "effect/dsp_math.h"
#include "effect/dsp_rounded_math.h"
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
  double envelopeCoef, envelopeCoefRest;
  const EnvelopePower* envelopePower;
  // LFO and clock.
  bool squareWave;
  float lfoIncrement, lfoAmount, envAmount, manualFactor, clockDivide;
  bool doubled;
  // Ticks and memory.
  float* memoryL;
  float* memoryR;
  int32_t memoryLength;
  double fadeGrowth;
  double rate, delayMs;  // for a new delay time
  // Feedback.
  bool hiCut, feedbackInverted;
  StereoDouble hiCutCoef, hiCutCoefRest;
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
  float clockFactor;
  float clockPhase, clockIncrement;
  float incrementFactor;  // the clock factor clockIncrement was computed from
  // Ticks and memory.
  HistoryLanes writeHistory, readHistory;
  int32_t writePos, readPos;
  float fadeLevel;
  bool repeatEngaged;      // the repeat holds the loop
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
// Input and anti-aliasing.

struct InputStage {
  StereoFloat in;         // the input as received (non-finite values as 0)
  StereoDouble dry;       // after the input gain: the dry signal of the mix
  StereoDouble filtered;  // after both anti-aliasing sections
};

DSP_STAGE InputStage readAndFilterInput(BlockState& state, const BlockSettings& settings,
                                        const BlockBuffers& io, int32_t n,
                                        const SampleGains& gains) noexcept {
  const StereoFloat in = finiteOrZero(loadStereo(io.inL + n, io.inR + n));
  const StereoDouble x = gainedInput(in, gains.inputGain, gains.offset);
  const StereoDouble y =
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
                                        LevelRingLanes& ring, StereoDouble filtered) noexcept {
  const StereoFloat w = narrow(filtered) + state.feedback;
  const StereoFloat a = absolute(w);
  state.levelSum = (state.levelSum + a) - loadPair(ring.values[state.levelPos]);
  storePair(ring.values[state.levelPos], a);
  if (++state.levelPos == settings.levelRingLength) state.levelPos = 0;

  const StereoFloat m = state.levelSum * settings.levelRingReciprocal;
  const StereoFloat gain =
      belowKnee(m) ? bothFloat(1.0f) - bothFloat(kLimiterSlope) * m : limiterGain(m);
  const StereoDouble weighted = widen(gain) * widen(a);
  state.peak = std::max(state.peak, leftOf(a) + rightOf(a));
  return {gain * w, static_cast<float>(0.5 * (leftOf(weighted) + rightOf(weighted)))};
}

// ---------------------------------------------------------------------------
// Envelope follower: returns this sample's level s.

DSP_STAGE float followEnvelope(BlockState& state, const BlockSettings& settings, float e) noexcept {
  const float level =
      static_cast<float>(state.envState * settings.envelopeCoef + settings.envelopeCoefRest * e);
  state.envState = flush(level);
  return level;
}

// ---------------------------------------------------------------------------
// LFO and clock.

// The LFO is sampled before this sample's phase step.
DSP_STAGE void advanceLfo(BlockState& state, const BlockSettings& settings) noexcept {
  const float raw =
      settings.squareWave ? (state.lfoPhase <= 0.0f ? 1.0f : -1.0f) : -roundedSin(state.lfoPhase);
  state.lfoPhase = state.lfoPhase + settings.lfoIncrement;
  if (state.lfoPhase >= static_cast<float>(kPi))
    state.lfoPhase = static_cast<float>(state.lfoPhase - kTwoPi);
  state.lfoValue = settings.lfoAmount * raw;
}

// Envelope modulation em = (s^0.3 − 0.5)·weight, or 0 where the shortcut
// shows it cannot move the clock. envelopeQuiet: a block limit from
// envelopeQuietBelow, or kTestEverySample.
DSP_STAGE double envelopeModulation(const BlockState& state, const BlockSettings& settings,
                                    float level, float depth, float envelopeQuiet) noexcept {
  const bool moves = hasBlockLimit(envelopeQuiet)
                         ? !(level < envelopeQuiet)
                         : envelopeCanMoveClock(settings.envAmount, level, depth, state.lfoValue,
                                                settings.manualFactor);
  if (!moves) return 0.0;
  const float shaped = (*settings.envelopePower)(level);  // s^0.3
  // A difference of two floats, rounded once: the same in float as in double.
  const float centred = shaped - 0.5f;
  return static_cast<double>(centred) * settings.envAmount;
}

// The clock factor; the bracket is kept positive so the tick count is bounded.
DSP_STAGE void updateClockFactor(BlockState& state, const BlockSettings& settings, float depth,
                                 double em) noexcept {
  float bracket =
      static_cast<float>(static_cast<double>(settings.manualFactor) +
                         static_cast<double>(depth) * (static_cast<double>(state.lfoValue) + em));
  if (!(bracket >= kMinClockBracket)) bracket = kMinClockBracket;
  if (bracket > kMaxClockBracket) bracket = kMaxClockBracket;
  state.clockFactor = settings.doubled ? bracket * settings.clockDivide : bracket;  // × 1 is exact
}

// Clock phase: the distance to the next tick is rescaled when the rate
// changes. Returns q, the phase before this sample's increment.
DSP_STAGE float advanceClock(BlockState& state) noexcept {
  const float previousIncrement = state.clockIncrement;
  if (state.clockFactor != state.incrementFactor) {
    // float(1.0 / factor) in double, as written; a quotient of floats
    // rounded through double is the single-precision quotient (53 ≥ 2·24 + 2
    // bits), which is shorter on the envelope → clock → echo chain.
    state.clockIncrement = 1.0f / state.clockFactor;
    state.incrementFactor = state.clockFactor;
  }
  // Shortcut: a steady clock (the common case) repeats the increment, and
  // with an unchanged increment the rescaling is phase += increment.
  const float q = state.clockIncrement == previousIncrement
                      ? state.clockPhase
                      : static_cast<float>(1.0 - (1.0 - static_cast<double>(state.clockPhase)) *
                                                     state.clockIncrement / previousIncrement);
  state.clockPhase = state.clockIncrement + q;
  return q;
}

// ---------------------------------------------------------------------------
// Ticks and memory.

// Shortcut of the tick value: no division at factor 1 and no multiplications
// at t = 1, both exact.
DSP_STAGE float tickTime(float r, float clockIncrement) noexcept {
  return clockIncrement == 1.0f ? r : r / clockIncrement;
}
DSP_STAGE StereoFloat tickValue(const CubicLanes& cubic, float t) noexcept {
  return t == 1.0f ? evaluateCubicAtOne(cubic) : evaluateCubic(cubic, t);
}

// Every tick that falls inside this sample writes one memory slot: the
// interpolated input crossfaded with the slot at the read position.
DSP_STAGE void writeTicks(BlockState& state, const BlockSettings& settings, float q) noexcept {
  const CubicLanes cubic = cubicOf(state.writeHistory);
  float r = 1.0f - q;
  do {
    state.clockPhase -= 1.0f;
    // The tick's time inside the sample, p1 → p2.
    const StereoDouble value = widen(tickValue(cubic, tickTime(r, state.clockIncrement)));
    const double fadeNow = state.fadeLevel;
    const StereoDouble faded = both(fadeNow), kept = both(1.0 - fadeNow);
    const StereoFloat oldSlots =
        loadStereo(settings.memoryL + state.readPos, settings.memoryR + state.readPos);
    const StereoDouble old = widen(oldSlots);
    const StereoFloat slots =
        narrow(state.repeatEngaged ? kept * value + faded * old : kept * old + faded * value);
    storeStereo(settings.memoryL + state.writePos, settings.memoryR + state.writePos, slots);
    state.fadeLevel = static_cast<float>(fadeNow * settings.fadeGrowth);
    if (state.fadeLevel > 1.0f) state.fadeLevel = 1.0f;
    // The read position's slot after the write.
    state.readHistory.push(widen(state.readPos == state.writePos ? slots : oldSlots));
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
             ? narrow(state.readHistory.p1)
             : interpolateHistory(state.readHistory, state.clockPhase);
}

// ---------------------------------------------------------------------------
// Feedback: the high-cut acts on the feedback path only, so the first echo
// leaves unfiltered.

DSP_STAGE void feedBack(BlockState& state, const BlockSettings& settings, const SampleGains& gains,
                        StereoFloat o) noexcept {
  state.hiCutState = flush(settings.hiCut ? narrow(widen(o) * settings.hiCutCoefRest +
                                                   widen(state.hiCutState) * settings.hiCutCoef)
                                          : o);
  // The sign is ±1: the product is exact, a negation or nothing.
  const StereoFloat scaled = state.hiCutState * gains.feedback;
  state.feedback = state.repeatEngaged         ? state.hiCutState
                   : settings.feedbackInverted ? negated(scaled)
                                               : scaled;
}

// ---------------------------------------------------------------------------
// Output: the mix, or the input passed through with the power off.

DSP_STAGE float safeOutput(double y) noexcept { return finiteOrZero(static_cast<float>(y)); }

DSP_STAGE void writeOutput(const BlockSettings& settings, const BlockBuffers& io, int32_t n,
                           const SampleGains& gains, const InputStage& input,
                           StereoFloat o) noexcept {
  if (settings.power) {
    const StereoFloat mixed = narrow(gains.dryGain * input.dry + gains.wetGain * widen(o));
    if (io.outR) {
      storeStereo(io.outL + n, io.outR + n, finiteOrZero(mixed));
    } else {
      io.outL[n] = safeOutput(0.5 * (static_cast<double>(leftOf(mixed)) + rightOf(mixed)));
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

DSP_STAGE void runSample(BlockState& state, const BlockSettings& settings, LevelRingLanes& ring,
                         const BlockBuffers& io, int32_t n, const SampleGains& gains,
                         float envelopeQuiet) noexcept {
  const InputStage input = readAndFilterInput(state, settings, io, n, gains);
  const LimitedInput limited = limitMemoryInput(state, settings, ring, input.filtered);
  const float level = followEnvelope(state, settings, limited.envelopeInput);
  state.writeHistory.push(widen(limited.memoryInput));

  advanceLfo(state, settings);
  updateClockFactor(state, settings, gains.depth,
                    envelopeModulation(state, settings, level, gains.depth, envelopeQuiet));
  const float q = advanceClock(state);
  if (state.clockPhase >= 1.0f) writeTicks(state, settings, q);

  StereoFloat o = readMemoryOutput(state);
  // Below a few samples of delay the memory is bypassed.
  if (state.delaySamples < kShortDelayLimit && !state.repeatEngaged) o = limited.memoryInput;
  applyDelayChange(state, settings);

  feedBack(state, settings, gains, o);
  writeOutput(settings, io, n, gains, input, o);
  countBeat(state, settings);
}

}  // namespace dsp

#undef DSP_STAGE
