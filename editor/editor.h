// The plug-in's editor: the front panel (knobs, buttons, the four-digit delay
// display, lamps and level meter) over the preset bar of its base class.
#pragma once

#include <cstdint>
#include <functional>

#include "editor/preset_system_editor.h"

class CControl;
class CMovieBitmap;
class CInvisibleSlider;
class QelKickButton;
class CAbout;
class DelayEngine;

// What one idle pass reads from the engine.
struct PanelReadings {
  float lfoPhase = 0.f;  // radians
  float halfPeak = 0.f;  // half the peak level since the previous poll
  int32_t effectiveDelayMs = 0;
  int32_t nominalDelayMs = 0;
  bool led = false;
};

class Editor : public CPresetSystemEditor {
 public:
  // engine: the display poll and the tempo entry of the clock mode.
  Editor(AudioEffect* effect, DelayEngine& engine);
  ~Editor() override;

  bool open(void* ptr) override;
  void close() override;
  void idle() override;
  // The window's size at the zoom it is open at, or would open at.
  bool getRect(ERect** ppRect) override;
  void setParameter(VstInt32 index, float value) override;
  void valueChanged(CControl* control) override;
  // Both delay strips stand for the delay time.
  int32_t parameterOfTag(int32_t tag) override;

  // The zoom in percent of the open window, or the one it would open at:
  // the user's stored choice, else the desktop's scale, else 100.
  int32_t getZoomPercent();
  // The user's choice of zoom (the background menu's entries): stored for
  // every instance; an open window asks the host for the new size and, when
  // the host agrees, is rebuilt at that zoom on the next idle pass. A host
  // that refuses gets the new size when the window next opens.
  void chooseZoom(int32_t percent);

  // The digits: x truncated, leading zeros blank; all four blank.
  virtual void showNumber(float x);
  virtual void blankDigits();

  // The millisecond clock of holds, blinking and the meter's fall. Tests
  // drive it by hand; an empty function restores the system clock.
  using TickSource = std::function<uint32_t()>;
  void setTickSource(TickSource source) { tickSource = std::move(source); }
  uint32_t getTicks() override;

  // The engine poll of each idle pass; by default the effect's display
  // state. Tests feed chosen readings through it.
  using ReadingsSource = std::function<void(PanelReadings&)>;
  void setReadingsSource(ReadingsSource source) { readingsSource = std::move(source); }

 private:
  float parameter(VstInt32 index);
  bool isOn(VstInt32 switchIndex);
  void buildPanel(int32_t zoomPercent);
  void addZoomMenu();
  void applyChosenZoom();
  void setStrips(float value);
  void setDigitFrames(const int32_t digits[4]);
  void showRatio(uint32_t now, float tempo);
  void updateMeter(float halfPeak, uint32_t now);
  void stepDelay(int32_t tag, float stepMultiplier);
  void stepRatio(int32_t tag, float stepMultiplier);
  void moveStrip(CControl* strip, float value);

  bool tempoHold = false;
  uint32_t tempoHoldStart = 0;
  bool delayHold = false;
  uint32_t delayHoldStart = 0;
  bool blinkBlank = false;
  uint32_t blinkToggleTime = 0;
  float meterFloor;   // the −24 dB level; at or below it the meter is dark
  float meterFallMs;  // full scale falls in this many ms
  uint32_t lastIdleTime = 0;

  int32_t chosenZoom = 0;         // this instance's choice, for when the store fails
  int32_t pendingZoom = 0;        // a choice the open window has still to follow
  int32_t desktopZoomCache = -1;  // the desktop's zoom step, asked once (0: none)

  // Controls owned by the frame; null while the window is closed.
  CMovieBitmap* digits[4] = {};
  CMovieBitmap* modeLamps = nullptr;
  CMovieBitmap* bypassLamp = nullptr;
  CMovieBitmap* modulationLamp = nullptr;
  CMovieBitmap* levelMeter = nullptr;
  // Knobs, buttons and the Dly<>Clk switch by parameter index (no control
  // for kDlyTime: the strips and push buttons set it).
  static constexpr int kPanelParameters = 16;
  CControl* parameterControls[kPanelParameters] = {};
  QelKickButton* delayDownButton = nullptr;
  QelKickButton* delayUpButton = nullptr;
  CInvisibleSlider* smallStrip = nullptr;
  CInvisibleSlider* digitStrip = nullptr;
  CAbout* about = nullptr;

  DelayEngine& engine;
  TickSource tickSource;
  ReadingsSource readingsSource;
};
