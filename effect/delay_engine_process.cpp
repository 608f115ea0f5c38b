// The per-block and per-sample processing of the delay engine. The memory
// advances once per clock tick, not once per sample: the input is resampled
// into the tick rate from writeHistory and back out of it from readHistory.
#include <algorithm>
#include <cmath>

#include "effect/delay_engine.h"
#include "effect/dsp_math.h"

using namespace dsp;

namespace {

// One second-order low-pass section: y = A0·x + A1·x1 + A2·x2 − B1·y1 − B2·y2.
inline float lowPassSection(float state[4], float x, const AntiAliasCoefficients& k) noexcept {
  const double acc = static_cast<double>(k.a0) * x + static_cast<double>(k.a1) * state[0] +
                     static_cast<double>(k.a2) * state[1] - static_cast<double>(k.b1) * state[2] -
                     static_cast<double>(k.b2) * state[3];
  const float y = flush(static_cast<float>(acc));
  state[1] = state[0];
  state[0] = x;
  state[3] = state[2];
  state[2] = y;
  return y;
}

// The gained input, limited so the filters cannot overflow.
inline float gainedInput(float in, float gain, float offset) noexcept {
  const double x = static_cast<double>(in) * gain + offset;
  return static_cast<float>(std::clamp(x, -kSignalCeiling, kSignalCeiling));
}

// One smoothing step: k'·target + k·state (+ offset).
inline float smooth(float state, float target, double k, double kRest, double offset) noexcept {
  return static_cast<float>((kRest * target + k * state) + offset);
}

inline float safeOutput(double y) noexcept { return finiteOrZero(static_cast<float>(y)); }

// The envelope term only matters when it can change the rounded clock
// bracket manual + depth·(lfo + em). It cannot when its weight is 0, or when
// depth·(|lfo| + |em|) stays below a quarter step of the manual factor, so
// the bracket rounds to the manual factor either way; |em| ≤ max(1, s) since
// |s^0.3 − 0.5| ≤ 1 for s ≤ 1 and s^0.3 < s above. Skipping the power then
// changes no bit of the result (Depth 0 is the common case).
inline bool envelopeCanMoveClock(float envAmount, float s, float depth, float lfoValue,
                                 float manualFactor) noexcept {
  if (envAmount == 0.0f) return false;
  constexpr double kQuarterStep = 0x1p-26;  // below a quarter of a float step, relative
  constexpr double kSlack = 1.01;           // covers the roundings of the bound itself
  const double reach =
      std::fabs(static_cast<double>(depth)) *
      (std::fabs(static_cast<double>(lfoValue)) +
       std::fabs(static_cast<double>(envAmount)) * std::max(1.0, static_cast<double>(s))) *
      kSlack;
  return !(reach < std::fabs(static_cast<double>(manualFactor)) * kQuarterStep);
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
    // Running state in locals for the loop; stored back below.
    ChannelState ch[2] = {channels_[0], channels_[1]};
    float* const memory[2] = {memory_[0].get(), memory_[1].get()};
    const int32_t length = bufferLength_;
    const AntiAliasCoefficients lp = antiAliasCoefficients();
    const double k = smoothCoef_, kRest = smoothCoefRest_;
    const double envK = envCoef_, envKRest = envCoefRest_;
    const double hiK = hiCutCoef_, hiKRest = hiCutCoefRest_;
    const double growth = fadeGrowth_;
    float d = denormalOffset_;
    float sIn = smoothInputGain_, sOut = smoothOutputGain_, sMix = smoothMix_,
          sFb = smoothFeedback_, sDepth = smoothDepth_;
    int32_t writePos = writePos_, readPos = readPos_, levelPos = levelPos_;
    float lfoPhase = lfoPhase_, lfoValue = lfoValue_, envState = envState_;
    float clockPhase = clockPhase_, clockIncrement = clockIncrement_;
    float incrementFactor = clockIncrementFactor_;
    const float ringReciprocal = 1.0f / static_cast<float>(ringLength);
    float delaySamples = delaySamples_;
    float peak = peakLevel_;
    bool led = ledState_;

    for (int32_t n = 0; n < frames; ++n) {
      d = -d;  // alternating offset against denormals
      const float rawIn[2] = {inL[n], inR[n]};
      const float in[2] = {finiteOrZero(rawIn[0]), finiteOrZero(rawIn[1])};

      // Input gain, anti-aliasing, memory input with last sample's feedback.
      float x[2], w[2], a[2];
      for (int c = 0; c < 2; ++c) {
        x[c] = gainedInput(in[c], sIn, d);
        float y = lowPassSection(ch[c].antiAlias[0], x[c], lp);
        y = lowPassSection(ch[c].antiAlias[1], y, lp);
        w[c] = y + ch[c].feedbackSignal;
        a[c] = std::fabs(w[c]);
        ch[c].levelSum = (ch[c].levelSum + a[c]) - ch[c].levelRing[levelPos];
        ch[c].levelRing[levelPos] = a[c];
      }
      if (++levelPos == ringLength) levelPos = 0;

      // Level-dependent limiter: g·m = m − m²/4 up to the knee, then 1.
      float g[2], vin[2];
      for (int c = 0; c < 2; ++c) {
        const float m = ch[c].levelSum * ringReciprocal;  // N is a power of 2: exact
        g[c] = m <= kLimiterKnee ? 1.0f - kLimiterSlope * m : 1.0f / m;
        vin[c] = g[c] * w[c];
      }
      const float e = static_cast<float>(
          0.5 * (static_cast<double>(g[0]) * a[0] + static_cast<double>(g[1]) * a[1]));
      const float level = a[0] + a[1];

      if (peakReset_ && peakReset_.exchange(false)) peak = 0.0f;
      peak = std::max(peak, level);

      // Envelope follower and its shaped modulation.
      const float s = static_cast<float>(envState * envK + envKRest * e);
      envState = flush(s);

      for (int c = 0; c < 2; ++c) pushHistory(ch[c].writeHistory, vin[c]);

      // Parameter smoothing; the new input gain acts from the next sample.
      sIn = smooth(sIn, inputGain_, k, kRest, d);
      sOut = smooth(sOut, outputGain_, k, kRest, d);
      sMix = smooth(sMix, mixTarget_, k, kRest, d);
      sFb = smooth(sFb, feedbackTarget_, k, kRest, 0.0);
      if (std::fabs(sFb) < kFeedbackFloor) sFb = 0.0f;
      sDepth = smooth(sDepth, depthTarget_, k, kRest, d);

      const float wet = flush(sMix * sOut);
      const float dryGain = sOut - wet;
      const float wetGain = wet * delaySign_;

      // LFO, sampled before this sample's phase step.
      const float raw = squareWave_ ? (lfoPhase <= 0.0f ? 1.0f : -1.0f)
                                    : static_cast<float>(-std::sin(static_cast<double>(lfoPhase)));
      lfoPhase = lfoPhase + lfoIncrement_;
      if (lfoPhase >= static_cast<float>(kPi)) lfoPhase = static_cast<float>(lfoPhase - kTwoPi);
      lfoValue = lfoAmount_ * raw;

      // Envelope modulation (s^0.3 − 0.5)·weight, then the clock factor; the
      // bracket is kept positive so the tick count is bounded.
      const float envAmount = envAmount_;
      const float manualFactor = manualFactor_;
      double em = 0.0;
      if (envelopeCanMoveClock(envAmount, s, sDepth, lfoValue, manualFactor)) {
        const float shaped = static_cast<float>(
            std::pow(static_cast<double>(s), static_cast<double>(kEnvelopeExponent)));
        const float centred = static_cast<float>(static_cast<double>(shaped) - 0.5);
        em = static_cast<double>(centred) * envAmount;
      }
      float bracket =
          static_cast<float>(static_cast<double>(manualFactor) +
                             static_cast<double>(sDepth) * (static_cast<double>(lfoValue) + em));
      if (!(bracket >= kMinClockBracket)) bracket = kMinClockBracket;
      if (bracket > kMaxClockBracket) bracket = kMaxClockBracket;
      const float factor = bracket * clockDivide_;
      clockFactor_ = factor;

      // Clock phase: the distance to the next tick is rescaled when the rate changes.
      // A steady clock (the common case) needs no division: the increment
      // repeats, and with an unchanged increment this is phase += increment.
      const float previousIncrement = clockIncrement;
      if (factor != incrementFactor) {
        clockIncrement = static_cast<float>(1.0 / factor);
        incrementFactor = factor;
      }
      const float q = clockIncrement == previousIncrement
                          ? clockPhase
                          : static_cast<float>(1.0 - (1.0 - static_cast<double>(clockPhase)) *
                                                         clockIncrement / previousIncrement);
      clockPhase = clockIncrement + q;

      const bool engaged = repeatActive_;
      if (clockPhase >= 1.0f) {
        const Cubic cubic[2] = {cubicOf(ch[0].writeHistory), cubicOf(ch[1].writeHistory)};
        float r = 1.0f - q;
        const float startFade = fadeLevel_;
        float f = startFade;
        do {
          clockPhase -= 1.0f;
          // The tick's time inside the sample, p1 → p2 (no division at factor 1).
          const float t = clockIncrement == 1.0f ? r : r / clockIncrement;
          const double fade = f, keep = 1.0 - fade;
          for (int c = 0; c < 2; ++c) {
            const double value = evaluateCubic(cubic[c], t);
            const double old = memory[c][readPos];
            memory[c][writePos] =
                static_cast<float>(engaged ? keep * value + fade * old : keep * old + fade * value);
          }
          f = static_cast<float>(fade * growth);
          if (f > 1.0f) f = 1.0f;
          for (int c = 0; c < 2; ++c) pushHistory(ch[c].readHistory, memory[c][readPos]);
          if (++readPos == length) readPos = 0;
          if (++writePos == length) writePos = 0;
          r += 1.0f;
        } while (clockPhase >= 1.0f);
        if (f != startFade) fadeLevel_ = f;
      }

      float o[2];
      for (int c = 0; c < 2; ++c) o[c] = interpolateHistory(ch[c].readHistory, clockPhase);
      if (delaySamples < kShortDelayLimit && !engaged) {
        o[0] = vin[0];
        o[1] = vin[1];
      }

      // A new delay time: the read head jumps, without a crossfade.
      if (delayChanged_ && delayChanged_.exchange(false)) {
        delaySamples = static_cast<float>(rate * delayMs_ / 1000.0);
        const int32_t offset = std::clamp(truncToInt(delaySamples), 0, length - 1);
        readPos = writePos - offset;
        if (readPos < 0) readPos += length;
      }

      // High-cut on the feedback path only: the first echo leaves unfiltered.
      const bool hiCut = hiCutOn_;
      const float fbSign = feedbackSign_;
      for (int c = 0; c < 2; ++c) {
        float hs = hiCut ? static_cast<float>(o[c] * hiKRest + ch[c].hiCutState * hiK) : o[c];
        hs = flush(hs);
        ch[c].hiCutState = hs;
        ch[c].feedbackSignal = engaged ? hs : (hs * sFb) * fbSign;
      }

      if (powerOn_) {
        const float yL = static_cast<float>(static_cast<double>(dryGain) * x[0] +
                                            static_cast<double>(wetGain) * o[0]);
        const float yR = static_cast<float>(static_cast<double>(dryGain) * x[1] +
                                            static_cast<double>(wetGain) * o[1]);
        if (outR) {
          outL[n] = finiteOrZero(yL);
          outR[n] = finiteOrZero(yR);
        } else {
          outL[n] = safeOutput(0.5 * (static_cast<double>(yL) + yR));
        }
      } else if (outR) {
        outL[n] = in[0];
        outR[n] = in[1];
      } else {
        outL[n] = static_cast<float>(0.5 * (static_cast<double>(in[0]) + in[1]));
      }

      // Beat counter: repeat engagement at the period boundary, LED window.
      ++counter;
      const bool inWindow = counter < ledWindow || counter > windowEnd;
      if (counter > periodSamples) {
        counter = 0;
        if (repeatOn_ && !repeatActive_) engageRepeat();
      }
      if (ledAck_ && ledAck_.exchange(false)) led = false;
      if (inWindow) led = true;
      ledState_ = led;
      peakLevel_ = peak;
    }

    channels_[0] = ch[0];
    channels_[1] = ch[1];
    denormalOffset_ = d;
    smoothInputGain_ = sIn;
    smoothOutputGain_ = sOut;
    smoothMix_ = sMix;
    smoothFeedback_ = sFb;
    smoothDepth_ = sDepth;
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
  }
  previousEndCounter_ = counter;

  // Block end: one more count for the LED test, and the phase for the editor.
  ++counter;
  if (counter < ledWindow || counter > windowEnd) ledState_ = true;
  lfoPhaseSnapshot_ = lfoPhase_;
}
