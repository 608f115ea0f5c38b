// The per-block and per-sample processing of the delay engine. The memory
// advances once per clock tick, not once per sample: the input is resampled
// into the tick rate from writeHistory and back out of it from readHistory.
//
// For speed, both channels run as the two lanes of one SSE2 register
// (dsp_stereo.h), parameter-derived fields are read once per block, and the
// smoothed gains, once settled into their final two-sample cycle, are
// replayed instead of recomputed. Every value is still rounded exactly where
// the per-channel description rounds it: the output is bit for bit the same.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "effect/delay_engine.h"
#include "effect/dsp_math.h"
#include "effect/dsp_rounded_math.h"
#include "effect/dsp_stereo.h"
#include "effect/dsp_stereo_channel.h"

using namespace dsp;

namespace {

// ---------------------------------------------------------------------------
// Parameter smoothing.

struct SmoothedValues {
  float input, output, mix, feedback, depth;
};

inline bool sameBits(const SmoothedValues& a, const SmoothedValues& b) noexcept {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// One smoothing step: k'·target + k·state (+ offset).
inline float smooth(float state, float target, double k, double kRest, double offset) noexcept {
  return static_cast<float>((kRest * target + k * state) + offset);
}

struct Smoother {
  SmoothedValues target;
  double k, kRest;

  // The values after one sample whose denormal offset is d.
  SmoothedValues step(SmoothedValues s, float d) const noexcept {
    s.input = smooth(s.input, target.input, k, kRest, d);
    s.output = smooth(s.output, target.output, k, kRest, d);
    s.mix = smooth(s.mix, target.mix, k, kRest, d);
    s.feedback = smooth(s.feedback, target.feedback, k, kRest, 0.0);
    if (std::fabs(s.feedback) < kFeedbackFloor) s.feedback = 0.0f;
    s.depth = smooth(s.depth, target.depth, k, kRest, d);
    return s;
  }
};

// What one sample needs of the smoothing, already in both lanes.
struct SampleGains {
  StereoDouble offset;     // this sample's denormal offset d
  StereoDouble inputGain;  // the smoothed input gain before this sample's step
  StereoDouble dryGain, wetGain;
  StereoFloat feedback;
  float depth;
};

inline SampleGains gainsAfter(float d, float inputBefore, const SmoothedValues& s,
                              float delaySign) noexcept {
  const float wet = flush(s.mix * s.output);
  return {both(d),
          both(inputBefore),
          both(s.output - wet),
          both(wet * delaySign),
          bothFloat(s.feedback),
          s.depth};
}

inline float safeOutput(double y) noexcept { return finiteOrZero(static_cast<float>(y)); }

// The envelope term only matters when it can change the rounded clock
// bracket manual + depth·(lfo + em). It cannot when its weight is 0, or when
// depth·(|lfo| + |em|) stays below a quarter step of the manual factor, so
// the bracket rounds to the manual factor either way; |em| ≤ max(1, s) since
// |s^0.3 − 0.5| ≤ 1 for s ≤ 1 and s^0.3 < s above. Skipping the power then
// changes no bit of the result (Depth 0 is the common case).
constexpr double kQuarterStep = 0x1p-26;  // below a quarter of a float step, relative

inline bool envelopeCanMoveClock(float envAmount, float s, float depth, float lfoValue,
                                 float manualFactor) noexcept {
  if (envAmount == 0.0f) return false;
  constexpr double kSlack = 1.01;  // covers the roundings of the bound itself
  const double reach =
      std::fabs(static_cast<double>(depth)) *
      (std::fabs(static_cast<double>(lfoValue)) +
       std::fabs(static_cast<double>(envAmount)) * std::max(1.0, static_cast<double>(s))) *
      kSlack;
  return !(reach < std::fabs(static_cast<double>(manualFactor)) * kQuarterStep);
}

// The same test for a whole block of settled smoothing, where the depth takes
// one of two values and |lfo| ≤ |lfoAmount|: the envelope cannot move the
// clock while s stays below the returned limit (−inf: it always may).
inline float envelopeQuietBelow(float envAmount, float depthA, float depthB, float lfoAmount,
                                float manualFactor) noexcept {
  constexpr float kAlways = -INFINITY, kNever = INFINITY;
  constexpr double kSlack = 1.02;  // more room than the per-sample test needs
  if (envAmount == 0.0f) return kNever;
  const double depth =
      std::max(std::fabs(static_cast<double>(depthA)), std::fabs(static_cast<double>(depthB)));
  if (depth == 0.0) return kNever;
  const double room = std::fabs(static_cast<double>(manualFactor)) * kQuarterStep / kSlack;
  const double limit = (room / depth - std::fabs(static_cast<double>(lfoAmount))) /
                       std::fabs(static_cast<double>(envAmount));
  if (!(limit > 1.0)) return kAlways;
  float rounded = static_cast<float>(limit);
  if (rounded > limit) rounded = std::nextafter(rounded, 0.0f);
  return rounded;
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

  const int32_t ringLength = levelRingLength_;
  const double rate = rate_;

  // Level sums from scratch, removing the running sums' rounding drift.
  for (auto& ch : channels_) {
    float sum = 0.0f;
    for (int32_t i = 0; i < ringLength; ++i) sum += ch.levelRing[i];
    ch.levelSum = sum;
  }

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
    songPosition_ = static_cast<float>(songPosition_ + tempo * frames / (rate * 60.0));
  }

  // Beat counter: the position, in samples, inside the current delay period.
  const double delayMs = delayMs_;
  const float periodBeats = static_cast<float>(tempo * delayMs / 60000.0);
  // 64-bit counts: delay values far outside 0 … 1 must not overflow them.
  const int64_t periodSamples = truncToInt(rate * delayMs / 1000.0);
  const int64_t ledWindow = ledWindowSamples_;
  const int64_t windowEnd = periodSamples - ledWindow;
  int64_t counter = 0;  // a 0 ms period starts at 0
  if (periodBeats != 0.0f) {
    const double position = songPosition_;
    const double periods = std::trunc(position / periodBeats);
    const float frac = static_cast<float>(position - static_cast<double>(periodBeats) * periods);
    counter = truncToInt(static_cast<double>(frac) * rate * 60.0 / tempo);
  }
  // A boundary that fell between the previous block and this one (the counter
  // went back by more than half a period) engages an armed repeat now; blocks
  // that contain the boundary engage it in the sample loop as before.
  if (hasPreviousBlock_ && repeatOn_ && !repeatActive_ &&
      counter + periodSamples / 2 < previousEndCounter_) {
    engageRepeat();
  }
  hasPreviousBlock_ = true;

  if (frames > 0 && !hasMemory()) {
    silenceBlock(inL, inR, outL, outR, frames);
    counter += frames;
    frames = 0;
  }

  if (frames > 0) {
    // Parameter-derived fields, once per block: hosts change them between
    // blocks (automation splits a block where a value changes).
    const Smoother smoother{{inputGain_, outputGain_, mixTarget_, feedbackTarget_, depthTarget_},
                            smoothCoef_,
                            smoothCoefRest_};
    const float delaySign = delaySign_;
    const bool squareWave = squareWave_;
    const float lfoIncrement = lfoIncrement_;
    const float lfoAmount = lfoAmount_;
    const float envAmount = envAmount_;
    const float manualFactor = manualFactor_;
    const float clockDivide = clockDivide_;
    const bool doubled = clockDivide != 1.0f;
    const bool hiCut = hiCutOn_;
    const bool fbInverted = feedbackSign_ < 0.0f;
    const bool power = powerOn_;
    // Hand-overs from the editor and the parameter thread, taken at the
    // block's first sample.
    bool delayChangePending = delayChanged_ && delayChanged_.exchange(false);
    // The editor's acknowledgement clears the LED at the first sample, before
    // that sample's window test can light it again.
    const bool ledAcknowledged = ledAck_ && ledAck_.exchange(false);
    float peak = peakReset_ && peakReset_.exchange(false) ? 0.0f : peakLevel_.load();
    // Written by the engine during the block; stored back at its end.
    bool engaged = repeatActive_;
    const float fadeAtStart = fadeLevel_;
    float fade = fadeAtStart;
    bool led = ledState_ && !ledAcknowledged;
    float factor = clockFactor_;

    // Running state in locals for the loop: the two channels' state as lanes.
    const ChannelState& left = channels_[0];
    const ChannelState& right = channels_[1];
    SectionLanes section[2];
    for (int s = 0; s < 2; ++s) {
      section[s] = {lanesOf(left.antiAlias[s][0], right.antiAlias[s][0]),
                    lanesOf(left.antiAlias[s][1], right.antiAlias[s][1]),
                    lanesOf(left.antiAlias[s][2], right.antiAlias[s][2]),
                    lanesOf(left.antiAlias[s][3], right.antiAlias[s][3])};
    }
    HistoryLanes writeHistory = historyOf(left.writeHistory, right.writeHistory);
    HistoryLanes readHistory = historyOf(left.readHistory, right.readHistory);
    alignas(16) float ring[kMaxLevelRing][2];
    for (int32_t i = 0; i < kMaxLevelRing; ++i) {
      ring[i][0] = left.levelRing[i];
      ring[i][1] = right.levelRing[i];
    }
    StereoFloat levelSum = stereo(left.levelSum, right.levelSum);
    StereoFloat hiCutState = stereo(left.hiCutState, right.hiCutState);
    StereoFloat feedback = stereo(left.feedbackSignal, right.feedbackSignal);

    float* const memoryL = memory_[0].get();
    float* const memoryR = memory_[1].get();
    const int32_t length = bufferLength_;
    const AntiAliasCoefficients k = antiAliasCoefficients();
    const LowPassLanes lp{both(k.a0), both(k.a1), both(k.a2), both(k.b1), both(k.b2)};
    const double envK = envCoef_, envKRest = envCoefRest_;
    const StereoDouble hiK = both(hiCutCoef_), hiKRest = both(hiCutCoefRest_);
    const double growth = fadeGrowth_;
    const StereoFloat ringReciprocal = bothFloat(1.0f / static_cast<float>(ringLength));
    int32_t writePos = writePos_, readPos = readPos_, levelPos = levelPos_;
    float lfoPhase = lfoPhase_, lfoValue = lfoValue_, envState = envState_;
    float clockPhase = clockPhase_, clockIncrement = clockIncrement_;
    float incrementFactor = clockIncrementFactor_;
    float delaySamples = delaySamples_;

    // envelopeQuiet: a block limit from envelopeQuietBelow, or NaN for the
    // per-sample test.
    auto runSample = [&](int32_t n, const SampleGains& g, float envelopeQuiet)
        __attribute__((always_inline)) {
      const StereoFloat in = finiteOrZero(loadStereo(inL + n, inR + n));

      // Input gain, anti-aliasing, memory input with last sample's feedback.
      const StereoDouble x = gainedInput(in, g.inputGain, g.offset);
      const StereoDouble y = runSection(section[1], runSection(section[0], x, lp), lp);
      const StereoFloat w = narrow(y) + feedback;
      const StereoFloat a = absolute(w);
      levelSum = (levelSum + a) - loadPair(ring[levelPos]);
      storePair(ring[levelPos], a);
      if (++levelPos == ringLength) levelPos = 0;

      // Level-dependent limiter: g·m = m − m²/4 up to the knee, then 1.
      // N is a power of 2, so the average is exact.
      const StereoFloat m = levelSum * ringReciprocal;
      const StereoFloat gain =
          belowKnee(m) ? bothFloat(1.0f) - bothFloat(kLimiterSlope) * m : limiterGain(m);
      const StereoFloat vin = gain * w;
      const StereoDouble weighted = widen(gain) * widen(a);
      const float e = static_cast<float>(0.5 * (leftOf(weighted) + rightOf(weighted)));
      peak = std::max(peak, leftOf(a) + rightOf(a));

      // Envelope follower and its shaped modulation.
      const float s = static_cast<float>(envState * envK + envKRest * e);
      envState = flush(s);

      writeHistory.push(widen(vin));

      // LFO, sampled before this sample's phase step.
      const float raw = squareWave ? (lfoPhase <= 0.0f ? 1.0f : -1.0f) : -roundedSin(lfoPhase);
      lfoPhase = lfoPhase + lfoIncrement;
      if (lfoPhase >= static_cast<float>(kPi)) lfoPhase = static_cast<float>(lfoPhase - kTwoPi);
      lfoValue = lfoAmount * raw;

      // Envelope modulation (s^0.3 − 0.5)·weight, then the clock factor; the
      // bracket is kept positive so the tick count is bounded.
      double em = 0.0;
      const bool envelopeMoves =
          envelopeQuiet == envelopeQuiet
              ? !(s < envelopeQuiet)
              : envelopeCanMoveClock(envAmount, s, g.depth, lfoValue, manualFactor);
      if (envelopeMoves) {
        const float shaped = envelopePower_(s);  // s^0.3
        // A difference of two floats, rounded once: the same in float as in double.
        const float centred = shaped - 0.5f;
        em = static_cast<double>(centred) * envAmount;
      }
      float bracket =
          static_cast<float>(static_cast<double>(manualFactor) +
                             static_cast<double>(g.depth) * (static_cast<double>(lfoValue) + em));
      if (!(bracket >= kMinClockBracket)) bracket = kMinClockBracket;
      if (bracket > kMaxClockBracket) bracket = kMaxClockBracket;
      factor = doubled ? bracket * clockDivide : bracket;  // × 1 is exact

      // Clock phase: the distance to the next tick is rescaled when the rate
      // changes. A steady clock (the common case) needs no division: the
      // increment repeats, and with an unchanged increment this is
      // phase += increment.
      const float previousIncrement = clockIncrement;
      if (factor != incrementFactor) {
        // float(1.0 / factor) in double, as written; a quotient of floats
        // rounded through double is the single-precision quotient (53 ≥ 2·24 + 2
        // bits), which is shorter on the envelope → clock → echo chain.
        clockIncrement = 1.0f / factor;
        incrementFactor = factor;
      }
      const float q = clockIncrement == previousIncrement
                          ? clockPhase
                          : static_cast<float>(1.0 - (1.0 - static_cast<double>(clockPhase)) *
                                                         clockIncrement / previousIncrement);
      clockPhase = clockIncrement + q;

      if (clockPhase >= 1.0f) {
        const CubicLanes cubic = cubicOf(writeHistory);
        float r = 1.0f - q;
        do {
          clockPhase -= 1.0f;
          // The tick's time inside the sample, p1 → p2 (no division at factor 1).
          const float t = clockIncrement == 1.0f ? r : r / clockIncrement;
          const double fadeNow = fade;
          const StereoDouble faded = both(fadeNow), kept = both(1.0 - fadeNow);
          const StereoDouble value =
              widen(t == 1.0f ? evaluateCubicAtOne(cubic) : evaluateCubic(cubic, t));
          const StereoFloat oldSlots = loadStereo(memoryL + readPos, memoryR + readPos);
          const StereoDouble old = widen(oldSlots);
          const StereoFloat slots =
              narrow(engaged ? kept * value + faded * old : kept * old + faded * value);
          storeStereo(memoryL + writePos, memoryR + writePos, slots);
          fade = static_cast<float>(fadeNow * growth);
          if (fade > 1.0f) fade = 1.0f;
          // The read position's slot after the write.
          readHistory.push(widen(readPos == writePos ? slots : oldSlots));
          if (++readPos == length) readPos = 0;
          if (++writePos == length) writePos = 0;
          r += 1.0f;
        } while (clockPhase >= 1.0f);
      }

      uint32_t phaseBits;
      std::memcpy(&phaseBits, &clockPhase, sizeof phaseBits);
      StereoFloat o = phaseBits == 0 && interpolatesToP1AtZero(readHistory)
                          ? narrow(readHistory.p1)
                          : interpolateHistory(readHistory, clockPhase);
      if (delaySamples < kShortDelayLimit && !engaged) o = vin;

      // A new delay time: the read head jumps, without a crossfade.
      if (delayChangePending) {
        delayChangePending = false;
        delaySamples = static_cast<float>(rate * delayMs / 1000.0);
        const int32_t offset = std::clamp(truncToInt(delaySamples), 0, length - 1);
        readPos = writePos - offset;
        if (readPos < 0) readPos += length;
      }

      // High-cut on the feedback path only: the first echo leaves unfiltered.
      hiCutState = flush(hiCut ? narrow(widen(o) * hiKRest + widen(hiCutState) * hiK) : o);
      // The sign is ±1: the product is exact, a negation or nothing.
      const StereoFloat scaled = hiCutState * g.feedback;
      feedback = engaged ? hiCutState : fbInverted ? negated(scaled) : scaled;

      if (power) {
        const StereoFloat mixed = narrow(g.dryGain * x + g.wetGain * widen(o));
        if (outR) {
          storeStereo(outL + n, outR + n, finiteOrZero(mixed));
        } else {
          outL[n] = safeOutput(0.5 * (static_cast<double>(leftOf(mixed)) + rightOf(mixed)));
        }
      } else if (outR) {
        storeStereo(outL + n, outR + n, in);
      } else {
        outL[n] = static_cast<float>(0.5 * (static_cast<double>(leftOf(in)) + rightOf(in)));
      }

      // Beat counter: repeat engagement at the period boundary, LED window.
      ++counter;
      const bool inWindow = counter < ledWindow || counter > windowEnd;
      if (counter > periodSamples) {
        counter = 0;
        if (!engaged && repeatOn_) {
          engaged = true;
          fade = kFadeStart;
          repeatActive_ = true;
        }
      }
      if (inWindow) led = true;
    };

    // Smoothing: once every value repeats after two samples (the offset
    // alternates), the cycle is replayed; until then it is computed.
    SmoothedValues smoothed{smoothInputGain_, smoothOutputGain_, smoothMix_, smoothFeedback_,
                            smoothDepth_};
    float d = denormalOffset_;
    const SmoothedValues next = smoother.step(smoothed, -d);
    const SmoothedValues afterNext = smoother.step(next, d);
    if (sameBits(afterNext, smoothed)) {
      const SampleGains cycle[2] = {gainsAfter(-d, smoothed.input, next, delaySign),
                                    gainsAfter(d, next.input, smoothed, delaySign)};
      const float envelopeQuiet =
          envelopeQuietBelow(envAmount, cycle[0].depth, cycle[1].depth, lfoAmount, manualFactor);
      for (int32_t n = 0; n < frames; ++n) runSample(n, cycle[n & 1], envelopeQuiet);
      if (frames & 1) {
        smoothed = next;
        d = -d;
      }
    } else {
      for (int32_t n = 0; n < frames; ++n) {
        d = -d;  // alternating offset against denormals
        const float inputBefore = smoothed.input;
        smoothed = smoother.step(smoothed, d);
        runSample(n, gainsAfter(d, inputBefore, smoothed, delaySign), NAN);
      }
    }

    // Store the running state back.
    for (int c = 0; c < 2; ++c) {
      ChannelState& ch = channels_[c];
      for (int s = 0; s < 2; ++s) {
        ch.antiAlias[s][0] = laneOf(section[s].x1, c);
        ch.antiAlias[s][1] = laneOf(section[s].x2, c);
        ch.antiAlias[s][2] = laneOf(section[s].y1, c);
        ch.antiAlias[s][3] = laneOf(section[s].y2, c);
      }
      storeHistory(writeHistory, c, ch.writeHistory);
      storeHistory(readHistory, c, ch.readHistory);
      for (int32_t i = 0; i < kMaxLevelRing; ++i) ch.levelRing[i] = ring[i][c];
      ch.levelSum = laneOf(levelSum, c);
      ch.hiCutState = laneOf(hiCutState, c);
      ch.feedbackSignal = laneOf(feedback, c);
    }
    denormalOffset_ = d;
    smoothInputGain_ = smoothed.input;
    smoothOutputGain_ = smoothed.output;
    smoothMix_ = smoothed.mix;
    smoothFeedback_ = smoothed.feedback;
    smoothDepth_ = smoothed.depth;
    writePos_ = writePos;
    readPos_ = readPos;
    levelPos_ = levelPos;
    lfoPhase_ = lfoPhase;
    lfoValue_ = lfoValue;
    envState_ = envState;
    clockPhase_ = clockPhase;
    clockIncrement_ = clockIncrement;
    clockIncrementFactor_ = incrementFactor;
    delaySamples_ = delaySamples;
    clockFactor_ = factor;
    peakLevel_ = peak;
    ledState_ = led;
    // Unless the parameter thread restarted the crossfade meanwhile.
    if (fade != fadeAtStart) fadeLevel_.compareExchange(fadeAtStart, fade);
  }
  previousEndCounter_ = counter;

  // Block end: one more count for the LED test, and the phase for the editor.
  ++counter;
  if (counter < ledWindow || counter > windowEnd) ledState_ = true;
  lfoPhaseSnapshot_ = lfoPhase_;
}
