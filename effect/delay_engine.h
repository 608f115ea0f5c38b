// The clocked delay engine: parameter-derived state, sample-rate dependent
// coefficients, the delay memories and the per-sample processing. It knows
// nothing of the host or the editor; the effect class adapts host calls to it.
//
// Threads: setParameter, updateSyncedDelay, setTempoFromControl and
// getDisplayState may run on host threads while process runs on the audio
// thread; every field they touch is a Relaxed value. Construction, suspend,
// resume and resetEngine are never overlapped with process by the host.
#pragma once

#include <cstdint>
#include <memory>

#include "effect/dsp_constants.h"
#include "effect/dsp_fast_math.h"
#include "effect/parameters.h"
#include "effect/relaxed.h"
#include "effect/tempo_sync.h"

namespace dsp {
// The delay period in samples, and the LED window around its boundaries.
struct BeatPeriod {
  int64_t periodSamples, ledWindow, windowEnd;
  bool inLedWindow(int64_t counter) const noexcept {
    return counter < ledWindow || counter > windowEnd;
  }
};
struct BlockBuffers;
struct BlockSettings;
struct BlockState;
struct LevelRingLanes;
}  // namespace dsp

// What the host said about the block being processed.
struct BlockTiming {
  bool hasTempo = false;
  double tempo = 0.0;  // beats per minute
  bool hasPpqPos = false;
  double ppqPos = 0.0;  // song position in quarter notes
};

// Running state of one channel; the engine holds two and runs the same code
// for both.
struct ChannelState {
  float writeHistory[4];                // memory input at the audio rate, oldest first
  float readHistory[4];                 // memory output at the tick rate, oldest first
  float antiAlias[2][4];                // two low-pass sections: x1, x2, y1, y2
  float levelRing[dsp::kMaxLevelRing];  // |memory input| of the last N samples
  float levelSum;
  float hiCutState;
  float feedbackSignal;
};

struct AntiAliasCoefficients {
  float a0, a1, a2, b1, b2;
};

// What the block's set-up leaves for the sample loop.
struct BlockStart {
  double delayMs;  // the block's nominal delay, read once
  dsp::BeatPeriod beat;
  int64_t counter;  // beat counter at the block's first sample
};

// The hand-overs with the editor and the parameter thread, taken once at
// the block's first sample and given back at its end.
struct BlockHandOvers {
  bool delayChangePending;  // read positions must follow a new delay
  float peak;               // meter peak so far (0 after the editor's read)
  bool led;                 // LED lit (cleared by the editor's acknowledgement)
  bool repeatEngaged;
  float fadeAtBlockStart;   // to tell whether the block moved the crossfade
};

class DelayEngine {
 public:
  DelayEngine();
  DelayEngine(const DelayEngine&) = delete;
  DelayEngine& operator=(const DelayEngine&) = delete;

  // Per-parameter rules for index 0 … 17; other indices and non-finite
  // values are ignored. DlyTime above 1 counts as 1.
  void setParameter(int32_t index, float value) noexcept;
  // The stored normalised value of a sound parameter (0 for other indices).
  float parameterValue(int32_t index) const noexcept;
  // Program change: tempo sync off without touching the delay.
  void forceTempoSyncOff() noexcept;
  // Before a whole state is applied in index order: the repeat lets go, so
  // the loaded DlyTime applies (a loaded RptInf engages again in its turn),
  // and the loaded Depth is taken first, so the ManVCO factor depends on the
  // loaded state alone and not on what came before.
  void prepareStateLoad(float loadedDepth) noexcept;

  void updateSyncedDelay() noexcept;
  // The editor's tempo entry: tempo = v × 400, at least 40.
  void setTempoFromControl(float v) noexcept;
  float getTempo() const noexcept { return tempo_; }
  void setAntiAliasCutoff(float cutoffHz) noexcept;

  // Lifecycle pieces. suspend and resume both end in resetEngine, which
  // returns every piece of running state to its value in a new engine.
  void suspend() noexcept;
  // Adopts the host rate (outside 5000 … 200000 Hz: 44100), reallocating the
  // memories only when the rate changed, then clears the running state.
  void resume(float hostSampleRate) noexcept;
  void resetEngine() noexcept;
  // Running-state views for tests of the lifecycle.
  float clockIncrement() const noexcept { return clockIncrement_; }
  int32_t writePosition() const noexcept { return writePos_; }

  // The editor's poll; restarts the peak and acknowledges the LED.
  void getDisplayState(float& lfoPhase, float& meter, int32_t& effectiveDelayMs,
                       int32_t& nominalDelayMs, uint8_t& led) noexcept;

  // One block. inR may be null (the left input feeds both channels); outR
  // may be null (mono: outL receives the average of both channels). Inputs
  // may alias outputs.
  void process(const float* inL, const float* inR, float* outL, float* outR, int32_t frames,
               const BlockTiming& timing) noexcept;

  // The plainly written sample loop in tests/ that the shipped one is
  // checked against; it shares the block's set-up, the hand-overs and every
  // field of this class, and replaces only the loop.
  friend class ReferenceEngine;

  // Read-only views for displays and tests.
  int32_t sampleRate() const noexcept { return rateInt_; }
  int32_t bufferLength() const noexcept { return bufferLength_; }
  bool hasMemory() const noexcept { return memory_[0] != nullptr; }
  const float* memory(int channel) const noexcept { return memory_[channel].get(); }
  float smoothCoef() const noexcept { return smoothCoef_; }
  float hiCutCoef() const noexcept { return hiCutCoef_; }
  float envCoef() const noexcept { return envCoef_; }
  int32_t fadeSamples() const noexcept { return fadeSamples_; }
  float fadeGrowth() const noexcept { return fadeGrowth_; }
  float fadeLevel() const noexcept { return fadeLevel_; }
  int32_t ledWindowSamples() const noexcept { return ledWindowSamples_; }
  int32_t levelRingLength() const noexcept { return levelRingLength_; }
  AntiAliasCoefficients antiAliasCoefficients() const noexcept;
  float delayMs() const noexcept { return delayMs_; }
  float delaySamples() const noexcept { return delaySamples_; }
  float lfoRate() const noexcept { return lfoRate_; }
  float lfoIncrement() const noexcept { return lfoIncrement_; }
  float lfoPhase() const noexcept { return lfoPhase_; }
  float manualFactor() const noexcept { return manualFactor_; }
  float clockFactor() const noexcept { return clockFactor_; }
  float lfoAmount() const noexcept { return lfoAmount_; }
  float envAmount() const noexcept { return envAmount_; }
  bool squareWave() const noexcept { return squareWave_; }
  bool doubleOn() const noexcept { return doubleOn_; }
  bool dlyInvertOn() const noexcept { return dlyInvertOn_; }
  bool hiCutOn() const noexcept { return hiCutOn_; }
  bool fbInvertOn() const noexcept { return fbInvertOn_; }
  bool repeatOn() const noexcept { return repeatOn_; }
  bool repeatActive() const noexcept { return repeatActive_; }
  bool powerOn() const noexcept { return powerOn_; }
  bool clockSyncOn() const noexcept { return clockSyncOn_; }
  int32_t numIndex() const noexcept { return numIndex_; }
  int32_t denIndex() const noexcept { return denIndex_; }
  float syncValue() const noexcept { return syncValue_; }
  float envState() const noexcept { return envState_; }
  float smoothInputGain() const noexcept { return smoothInputGain_; }
  float smoothOutputGain() const noexcept { return smoothOutputGain_; }
  float songPosition() const noexcept { return songPosition_; }
  bool ledState() const noexcept { return ledState_; }
  const ChannelState& channel(int c) const noexcept { return channels_[c]; }

 private:
  // Sample-rate dependent values in their order; cutoffThreshold selects the
  // anti-aliasing cutoff rule. Allocates the memories.
  void applySampleRate(int32_t rate, double cutoffThreshold) noexcept;
  void setDelayFromValue(float v) noexcept;
  // The rules of the parameters that derive more than one field.
  void setDoubling(float v) noexcept;
  void setManualClock(float v) noexcept;
  void setWaveform(float v) noexcept;
  void setLfoRate(float v) noexcept;
  void setRepeat(float v) noexcept;
  double antiAliasCutoff(double threshold) const noexcept;
  void repositionReadHead() noexcept;  // read = write − trunc(delaySamples), wrapped
  void recomputeLfoStep() noexcept;
  void engageRepeat() noexcept;
  void silenceBlock(const float* inL, const float* inR, float* outL, float* outR,
                    int32_t frames) noexcept;

  // The block's set-up before the samples and its end after them.
  BlockStart beginBlock(const BlockTiming& timing, int32_t frames) noexcept;
  void endBlock(const BlockStart& block, int64_t counterAtEnd) noexcept;
  BlockHandOvers takeHandOvers() noexcept;
  void returnHandOvers(const BlockHandOvers& taken, float peak, bool led,
                       float fadeLevel) noexcept;

  // The block's steps (delay_engine_process.cpp). The block's settings and
  // state are built and stored back inline, so the sample loop keeps the
  // state in registers instead of a structure in memory.
  void recomputeLevelSums() noexcept;
  double followHostTiming(const BlockTiming& timing, int32_t frames) noexcept;
  dsp::BeatPeriod beatPeriod(double delayMs) const noexcept;
  int64_t beatCounterAtBlockStart(double tempo, double delayMs) const noexcept;
  __attribute__((always_inline)) inline dsp::BlockSettings blockSettings(
      const dsp::BeatPeriod& beat, double delayMs) noexcept;
  int64_t runBlock(dsp::BlockBuffers io, int32_t frames, const dsp::BeatPeriod& beat,
                   double delayMs, int64_t counter) noexcept;
  __attribute__((always_inline)) inline void loadBlockState(dsp::BlockState& state,
                                                            dsp::LevelRingLanes& ring,
                                                            int64_t counter) noexcept;
  __attribute__((always_inline)) inline void storeBlockState(
      const dsp::BlockState& state, const dsp::LevelRingLanes& ring) noexcept;

  // Stored normalised values, indexed by ParameterIndex.
  Relaxed<float> values_[kNumParams];

  // Parameter-derived state (written on host threads).
  Relaxed<float> tempo_{dsp::kDefaultTempo};
  Relaxed<int32_t> numIndex_{0}, denIndex_{0};
  Relaxed<bool> doubleOn_{false}, fbInvertOn_{false}, dlyInvertOn_{false}, repeatOn_{false},
      clockSyncOn_{false}, powerOn_{true}, hiCutOn_{false}, squareWave_{true};
  Relaxed<float> delayMs_{2000.0f};
  Relaxed<float> syncValue_{0.0f};
  Relaxed<float> inputGain_{1.0f}, outputGain_{1.0f};
  // Smoothing targets of Mix, Fbck and Depth: the stored values, limited.
  Relaxed<float> mixTarget_{0.5f}, feedbackTarget_{0.0f}, depthTarget_{0.0f};
  Relaxed<float> manualFactor_{1.0f}, clockDivide_{1.0f};
  Relaxed<float> lfoAmount_{0.0f}, envAmount_{1.0f};
  Relaxed<float> lfoRate_{0.1f}, lfoPeriod_{441000.0f}, lfoIncrement_{1.4247586e-05f};
  Relaxed<float> feedbackSign_{1.0f}, delaySign_{1.0f};
  Relaxed<float> lpA0_{0}, lpA1_{0}, lpA2_{0}, lpB1_{0}, lpB2_{0};

  // Written by both sides.
  Relaxed<float> clockFactor_{1.0f};
  Relaxed<bool> repeatActive_{false};
  Relaxed<float> fadeLevel_{1.0f};
  Relaxed<bool> delayChanged_{false};

  // Display hand-over to the editor.
  Relaxed<float> lfoPhaseSnapshot_{0.0f};
  Relaxed<float> peakLevel_{0.0f};
  Relaxed<bool> peakReset_{false};
  Relaxed<bool> ledState_{false}, ledAck_{false};

  // Sample-rate dependent (construction and resume only).
  int32_t rateInt_ = 0;
  // Also read by the parameter rules (LFO step, anti-aliasing cutoff), which
  // hosts may call on another thread while they switch the rate.
  Relaxed<float> rate_{0.0f};
  float smoothCoef_ = 0.0f, smoothCoefRest_ = 0.0f;
  int32_t bufferLength_ = 0;
  float hiCutCoef_ = 0.0f, hiCutCoefRest_ = 0.0f;
  float envCoef_ = 0.0f, envCoefRest_ = 0.0f;
  int32_t fadeSamples_ = 0;
  float fadeGrowth_ = 1.0f;
  int32_t ledWindowSamples_ = 0;
  int32_t levelRingLength_ = 4;
  std::unique_ptr<float[]> memory_[2];
  const dsp::FastEnvelopePower envelopePower_;  // s^0.3 of the envelope, tables built here

  // Running state of the audio thread.
  float denormalOffset_ = dsp::kDenormalOffset;
  float smoothInputGain_ = 1.0f, smoothOutputGain_ = 1.0f, smoothMix_ = 0.5f,
        smoothFeedback_ = 0.0f, smoothDepth_ = 0.0f;
  ChannelState channels_[2] = {};
  int32_t writePos_ = 0, readPos_ = 0, levelPos_ = 0;
  float lfoPhase_ = 0.0f, lfoValue_ = 0.0f;
  float envState_ = 0.0f;
  float clockPhase_ = 0.0f, clockIncrement_ = 1.0f;
  float clockIncrementFactor_ = 1.0f;  // the clock factor clockIncrement_ was computed from
  float delaySamples_ = 88200.0f;
  Relaxed<float> songPosition_{0.0f};
  // Beat counter at the end of the previous block, so an armed repeat also
  // engages when a period boundary falls between two blocks.
  int64_t previousEndCounter_ = 0;
  bool hasPreviousBlock_ = false;
};
