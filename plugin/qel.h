// The effect class: identity, lifecycle and the adapter from host calls to
// the delay engine. The preset-system base holds the programs and the
// controller maps; the engine holds everything the sound depends on.
#pragma once

#include <cstdint>

#include "effect/delay_engine.h"
#include "presets/preset_system_effect.h"

constexpr VstInt32 kQelUniqueId = fourCharCode('H', 'l', 'd', 'n');
constexpr VstInt32 kQelChannels = 2;

class Qel : public CPresetSystemEffect {
 public:
  explicit Qel(audioMasterCallback audioMaster);
  ~Qel() override;

  void suspend() override;
  void resume() override;
  void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
  void setParameter(VstInt32 index, float value) override;
  float getParameter(VstInt32 index) override;
  void getParameterLabel(VstInt32 index, char* label) override;
  void getParameterDisplay(VstInt32 index, char* text) override;
  void getParameterName(VstInt32 index, char* text) override;
  bool getParameterProperties(VstInt32 index, VstParameterProperties* p) override;
  bool getEffectName(char* name) override;
  bool getVendorString(char* text) override;
  bool getProductString(char* text) override;
  void selectProgram(VstInt32 index) override;

  void resetEngine() { engine.resetEngine(); }
  // The editor's poll: LFO phase, half the peak, effective and nominal delay
  // in ms, beat LED. Restarts the peak and acknowledges the LED.
  void getDisplayState(float& lfoPhase, float& meter, int32_t& effectiveDelayMs,
                       int32_t& nominalDelayMs, uint8_t& led) {
    engine.getDisplayState(lfoPhase, meter, effectiveDelayMs, nominalDelayMs, led);
  }
  float getTempo() const { return engine.getTempo(); }
  void setTempoFromControl(float v) { engine.setTempoFromControl(v); }
  void updateSyncedDelay() { engine.updateSyncedDelay(); }
  void setAntiAliasCutoff(float cutoffHz) { engine.setAntiAliasCutoff(cutoffHz); }

  const DelayEngine& getEngine() const { return engine; }

 private:
  DelayEngine engine;
};
