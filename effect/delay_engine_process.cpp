// The per-block processing of the delay engine: the block's set-up (level
// sums, host tempo and song position, beat counter), then the sample loop
// over the stages of delay_engine_stages.h, then the state stored back.
//
// The memory advances once per clock tick, not once per sample: the input is
// resampled into the tick rate from writeHistory and back out of it from
// readHistory. For speed, both channels run as the two lanes of one SSE2
// register in single precision, parameter-derived fields are read once per
// block, the smoothed gains, once settled into their final two-sample cycle,
// are replayed instead of recomputed, and each block runs the variant of the
// loop that leaves out what its settings cannot change. The plain reference
// engine of the tests states the same algorithm in double; the fidelity
// tests hold this loop to it.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "effect/delay_engine.h"
#include "effect/delay_engine_stages.h"
#include "effect/dsp_math.h"

using namespace dsp;

namespace {

// Settled smoothing: every value repeats after two samples (the offset
// alternates), so the two samples' gains are computed once and replayed.
template <class V>
void runSettledBlock(BlockState& state, const BlockSettings& settings, LevelRingLanes& ring,
                     const BlockBuffers& io, int32_t frames,
                     const SampleGains (&cycle)[2]) noexcept {
  for (int32_t n = 0; n < frames; ++n) runSample<V>(state, settings, ring, io, n, cycle[n & 1]);
}

// The settled block's variant: what its settings can change.
template <bool kHiCut>
void runSettledVariant(BlockState& state, const BlockSettings& settings, LevelRingLanes& ring,
                       const BlockBuffers& io, int32_t frames,
                       const SampleGains (&cycle)[2]) noexcept {
  const bool depth = cycle[0].depth != 0.0f || cycle[1].depth != 0.0f;
  const bool lfo = settings.lfoAmount != 0.0f;
  const bool envelope = settings.envAmount != 0.0f;
  const bool sine = !settings.squareWave;
  if (!depth || (!lfo && !envelope)) {
    state.clockFactor = clockFactorOf(settings, settings.manualFactor);
    runSettledBlock<Variant<false, LfoShape::square, false, kHiCut>>(state, settings, ring, io,
                                                                     frames, cycle);
    state.lfoValue = lfoValueAt<LfoShape::either>(settings, state.lfoPhaseSampled);
  } else if (!lfo) {  // the envelope alone (the LFO term is ±0)
    runSettledBlock<Variant<true, LfoShape::square, true, kHiCut>>(state, settings, ring, io,
                                                                   frames, cycle);
  } else if (sine) {
    if (envelope)
      runSettledBlock<Variant<true, LfoShape::sine, true, kHiCut>>(state, settings, ring, io,
                                                                   frames, cycle);
    else
      runSettledBlock<Variant<true, LfoShape::sine, false, kHiCut>>(state, settings, ring, io,
                                                                    frames, cycle);
  } else {
    if (envelope)
      runSettledBlock<Variant<true, LfoShape::square, true, kHiCut>>(state, settings, ring, io,
                                                                     frames, cycle);
    else
      runSettledBlock<Variant<true, LfoShape::square, false, kHiCut>>(state, settings, ring, io,
                                                                      frames, cycle);
  }
}

// The smoothing still gliding: one step per sample, every stage running.
template <bool kHiCut>
void runGlidingBlock(BlockState& state, const BlockSettings& settings, LevelRingLanes& ring,
                     const BlockBuffers& io, int32_t frames, const Smoother& smoother,
                     float delaySign, float feedbackSign, SmoothedValues& smoothed,
                     float& d) noexcept {
  using Everything = Variant<true, LfoShape::either, true, kHiCut>;
  for (int32_t n = 0; n < frames; ++n) {
    d = -d;  // alternating offset against denormals
    const float inputBefore = smoothed.input;
    smoothed = smoother.step(smoothed, d);
    runSample<Everything>(state, settings, ring, io, n,
                          gainsAfter(d, inputBefore, smoothed, delaySign, feedbackSign));
  }
}

}  // namespace

void DelayEngine::engageRepeat() noexcept {
  repeatActive_ = true;
  fadeLevel_ = kFadeStart;
}

void DelayEngine::silenceBlock(const float* inL, const float* inR, float* outL, float* outR,
                               int32_t frames) noexcept {
  const bool power = powerOn_;
  for (int32_t n = 0; n < frames; ++n) {
    const float l = finiteOrZero(inL[n]);
    const float r = finiteOrZero(inR[n]);
    if (outR) {
      outL[n] = power ? 0.0f : l;
      outR[n] = power ? 0.0f : r;
    } else {
      outL[n] = power ? 0.0f : static_cast<float>(0.5 * (static_cast<double>(l) + r));
    }
  }
}

void DelayEngine::process(const float* inL, const float* inR, float* outL, float* outR,
                          int32_t frames, const BlockTiming& timing) noexcept {
  if (!inL || !outL) return;
  if (!inR) inR = inL;
  if (frames < 0) frames = 0;

  const BlockStart block = beginBlock(timing, frames);
  int64_t counter = block.counter;
  if (frames > 0 && !hasMemory()) {
    silenceBlock(inL, inR, outL, outR, frames);
    counter += frames;
  } else if (frames > 0) {
    counter = runBlock({inL, inR, outL, outR}, frames, block.beat, block.delayMs, counter);
  }
  endBlock(block, counter);
}

BlockStart DelayEngine::beginBlock(const BlockTiming& timing, int32_t frames) noexcept {
  recomputeLevelSums();
  const double tempo = followHostTiming(timing, frames);
  const double delayMs = delayMs_;  // the block's nominal delay, read once
  const BeatPeriod beat = beatPeriod(delayMs);
  const int64_t counter = beatCounterAtBlockStart(tempo, delayMs);
  // A boundary that fell between the previous block and this one (the counter
  // went back by more than half a period) engages an armed repeat now; blocks
  // that contain the boundary engage it in the sample loop.
  if (hasPreviousBlock_ && repeatOn_ && !repeatActive_ &&
      counter + beat.periodSamples / 2 < previousEndCounter_) {
    engageRepeat();
  }
  hasPreviousBlock_ = true;
  return {delayMs, beat, counter};
}

// Block end: one more count for the LED test, and the phase for the editor.
void DelayEngine::endBlock(const BlockStart& block, int64_t counterAtEnd) noexcept {
  previousEndCounter_ = counterAtEnd;
  if (block.beat.inLedWindow(counterAtEnd + 1)) ledState_ = true;
  lfoPhaseSnapshot_ = lfoPhase_;
}

BlockHandOvers DelayEngine::takeHandOvers() noexcept {
  BlockHandOvers h;
  h.delayChangePending = delayChanged_ && delayChanged_.exchange(false);
  // The editor's acknowledgement clears the LED at the first sample, before
  // that sample's window test can light it again.
  const bool ledAcknowledged = ledAck_ && ledAck_.exchange(false);
  h.peak = peakReset_ && peakReset_.exchange(false) ? 0.0f : peakLevel_.load();
  h.led = ledState_ && !ledAcknowledged;
  h.repeatEngaged = repeatActive_;
  h.fadeAtBlockStart = fadeLevel_;
  return h;
}

void DelayEngine::returnHandOvers(const BlockHandOvers& taken, float peak, bool led,
                                  float fadeLevel) noexcept {
  peakLevel_ = peak;
  ledState_ = led;
  // Unless the parameter thread restarted the crossfade meanwhile.
  if (fadeLevel != taken.fadeAtBlockStart)
    fadeLevel_.compareExchange(taken.fadeAtBlockStart, fadeLevel);
}

// Level sums from scratch, removing the running sums' rounding drift.
void DelayEngine::recomputeLevelSums() noexcept {
  const int32_t ringLength = levelRingLength_;
  for (auto& ch : channels_) {
    float sum = 0.0f;
    for (int32_t i = 0; i < ringLength; ++i) sum += ch.levelRing[i];
    ch.levelSum = sum;
  }
}

// Returns the tempo in force for the block.
double DelayEngine::followHostTiming(const BlockTiming& timing, int32_t frames) noexcept {
  // Host tempo, clamped; a change moves a synced delay.
  if (timing.hasTempo && std::isfinite(timing.tempo)) {
    const float previous = tempo_;
    const float hostTempo = std::clamp(static_cast<float>(timing.tempo), kMinTempo, kMaxTempo);
    tempo_ = hostTempo;
    if (hostTempo != previous && clockSyncOn_) updateSyncedDelay();
  }
  const double tempo = tempo_;
  // Song position from the host, or advanced by this block at our tempo.
  if (timing.hasPpqPos && std::isfinite(static_cast<float>(timing.ppqPos))) {
    songPosition_ = static_cast<float>(timing.ppqPos);
  } else {
    const double rate = rate_;
    songPosition_ = static_cast<float>(songPosition_ + tempo * frames / (rate * 60.0));
  }
  return tempo;
}

// The nominal delay period (without clock factor or doubling). 64-bit
// counts: delay values far outside 0 … 1 must not overflow them.
BeatPeriod DelayEngine::beatPeriod(double delayMs) const noexcept {
  const int64_t periodSamples = truncToInt(static_cast<double>(rate_) * delayMs / 1000.0);
  const int64_t ledWindow = ledWindowSamples_;
  return {periodSamples, ledWindow, periodSamples - ledWindow};
}

// The position, in samples, inside the current delay period.
int64_t DelayEngine::beatCounterAtBlockStart(double tempo, double delayMs) const noexcept {
  const double rate = rate_;
  const float periodBeats = static_cast<float>(tempo * delayMs / 60000.0);
  if (periodBeats == 0.0f) return 0;  // a 0 ms period starts at 0
  const double position = songPosition_;
  const double periods = std::trunc(position / periodBeats);
  const float frac = static_cast<float>(position - static_cast<double>(periodBeats) * periods);
  return truncToInt(static_cast<double>(frac) * rate * 60.0 / tempo);
}

// The sample loop: the block's state in locals, the smoothing replayed or
// stepped, the state stored back. Returns the beat counter at the block end.
int64_t DelayEngine::runBlock(const BlockBuffers io, int32_t frames, const BeatPeriod& beat,
                              double delayMs, int64_t counter) noexcept {
  // The settings and the buffers are locals of the loop, so that no store to
  // the memory or the output can be taken to change them.
  const BlockSettings settings = blockSettings(beat, delayMs);
  const Smoother smoother{{inputGain_, outputGain_, mixTarget_, feedbackTarget_, depthTarget_},
                          smoothCoef_,
                          smoothCoefRest_};
  const float delaySign = delaySign_;
  BlockState state;
  LevelRingLanes ring;
  loadBlockState(state, ring, counter);

  SmoothedValues smoothed{smoothInputGain_, smoothOutputGain_, smoothMix_, smoothFeedback_,
                          smoothDepth_};
  float d = denormalOffset_;
  const float feedbackSign = feedbackSign_;
  const bool hiCut = settings.hiCut;
  const SmoothedValues next = smoother.step(smoothed, -d);
  const SmoothedValues afterNext = smoother.step(next, d);
  if (sameBits(afterNext, smoothed)) {
    const SampleGains cycle[2] = {gainsAfter(-d, smoothed.input, next, delaySign, feedbackSign),
                                  gainsAfter(d, next.input, smoothed, delaySign, feedbackSign)};
    if (hiCut)
      runSettledVariant<true>(state, settings, ring, io, frames, cycle);
    else
      runSettledVariant<false>(state, settings, ring, io, frames, cycle);
    if (frames & 1) {
      smoothed = next;
      d = -d;
    }
  } else if (hiCut) {
    runGlidingBlock<true>(state, settings, ring, io, frames, smoother, delaySign, feedbackSign,
                          smoothed, d);
  } else {
    runGlidingBlock<false>(state, settings, ring, io, frames, smoother, delaySign, feedbackSign,
                           smoothed, d);
  }
  denormalOffset_ = d;
  smoothInputGain_ = smoothed.input;
  smoothOutputGain_ = smoothed.output;
  smoothMix_ = smoothed.mix;
  smoothFeedback_ = smoothed.feedback;
  smoothDepth_ = smoothed.depth;
  storeBlockState(state, ring);
  return state.counter;
}

BlockSettings DelayEngine::blockSettings(const BeatPeriod& beat, double delayMs) noexcept {
  const AntiAliasCoefficients c = antiAliasCoefficients();
  const bool hiCut = hiCutOn_;
  return {
      {bothFloat(c.a0), bothFloat(c.a1), bothFloat(c.a2), bothFloat(c.b1), bothFloat(c.b2)},
      levelRingLength_,
      bothFloat(1.0f / static_cast<float>(levelRingLength_)),
      envCoef_,
      envCoefRest_,
      &envelopePower_,
      squareWave_,
      lfoIncrement_,
      lfoAmount_,
      envAmount_,
      manualFactor_,
      clockDivide_,
      memory_[0].get(),
      memory_[1].get(),
      bufferLength_,
      fadeGrowth_,
      rate_,
      delayMs,
      hiCut,
      bothFloat(hiCutCoef_),
      bothFloat(hiCutCoefRest_),
      powerOn_,
      beat,
      &repeatOn_,
      &repeatActive_,
  };
}

// The running state as lanes, and the hand-overs from the editor and the
// parameter thread, taken at the block's first sample.
void DelayEngine::loadBlockState(BlockState& state, LevelRingLanes& ring,
                                 int64_t counter) noexcept {
  const ChannelState& left = channels_[0];
  const ChannelState& right = channels_[1];
  for (int i = 0; i < 2; ++i) {
    state.antiAlias[i] = {lanesOf(left.antiAlias[i][0], right.antiAlias[i][0]),
                          lanesOf(left.antiAlias[i][1], right.antiAlias[i][1]),
                          lanesOf(left.antiAlias[i][2], right.antiAlias[i][2]),
                          lanesOf(left.antiAlias[i][3], right.antiAlias[i][3])};
  }
  for (int32_t i = 0; i < kMaxLevelRing; ++i) {
    ring.values[i][0] = left.levelRing[i];
    ring.values[i][1] = right.levelRing[i];
  }
  state.levelSum = stereo(left.levelSum, right.levelSum);
  state.levelPos = levelPos_;
  state.handOvers = takeHandOvers();
  state.delayChangePending = state.handOvers.delayChangePending;
  state.peak = state.handOvers.peak;
  state.repeatEngaged = state.handOvers.repeatEngaged;
  state.fadeLevel = state.handOvers.fadeAtBlockStart;
  state.led = state.handOvers.led;
  state.clockFactor = clockFactor_;
  state.envState = envState_;
  state.lfoPhase = lfoPhase_;
  state.lfoValue = lfoValue_;
  state.clockPhase = clockPhase_;
  state.clockIncrement = clockIncrement_;
  state.incrementFactor = clockIncrementFactor_;
  state.writeHistory = historyOf(left.writeHistory, right.writeHistory);
  state.readHistory = historyOf(left.readHistory, right.readHistory);
  state.writePos = writePos_;
  state.readPos = readPos_;
  state.delaySamples = delaySamples_;
  state.hiCutState = stereo(left.hiCutState, right.hiCutState);
  state.feedback = stereo(left.feedbackSignal, right.feedbackSignal);
  state.counter = counter;
}

void DelayEngine::storeBlockState(const BlockState& state, const LevelRingLanes& ring) noexcept {
  for (int c = 0; c < 2; ++c) {
    ChannelState& ch = channels_[c];
    for (int i = 0; i < 2; ++i) {
      ch.antiAlias[i][0] = laneOf(state.antiAlias[i].x1, c);
      ch.antiAlias[i][1] = laneOf(state.antiAlias[i].x2, c);
      ch.antiAlias[i][2] = laneOf(state.antiAlias[i].y1, c);
      ch.antiAlias[i][3] = laneOf(state.antiAlias[i].y2, c);
    }
    storeHistory(state.writeHistory, c, ch.writeHistory);
    storeHistory(state.readHistory, c, ch.readHistory);
    for (int32_t i = 0; i < kMaxLevelRing; ++i) ch.levelRing[i] = ring.values[i][c];
    ch.levelSum = laneOf(state.levelSum, c);
    ch.hiCutState = laneOf(state.hiCutState, c);
    ch.feedbackSignal = laneOf(state.feedback, c);
  }
  writePos_ = state.writePos;
  readPos_ = state.readPos;
  levelPos_ = state.levelPos;
  lfoPhase_ = state.lfoPhase;
  lfoValue_ = state.lfoValue;
  envState_ = state.envState;
  clockPhase_ = state.clockPhase;
  clockIncrement_ = state.clockIncrement;
  clockIncrementFactor_ = state.incrementFactor;
  delaySamples_ = state.delaySamples;
  clockFactor_ = state.clockFactor;
  returnHandOvers(state.handOvers, state.peak, state.led, state.fadeLevel);
}
