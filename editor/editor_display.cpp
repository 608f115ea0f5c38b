// The editor's idle pass: the controller display, the four digits with their
// holds and blinking, the lamps and the level meter.
#include <algorithm>
#include <cmath>

#include "editor/editor.h"
#include "editor/panel_layout.h"
#include "editor/toolkit/cmoviebitmap.h"
#include "effect/delay_engine.h"
#include "effect/dsp_constants.h"
#include "effect/parameters.h"
#include "effect/tempo_sync.h"

using namespace panel;

namespace {

constexpr uint32_t kHoldMs = 500;      // tempo and nominal-delay holds
constexpr uint32_t kBlinkHalfMs = 500;  // the out-of-range ratio: 500 shown, 500 blank
constexpr float kDelayLineMs = dsp::kMaxDelayMs;
constexpr float kMeterRangeDb = 24.f;
constexpr int32_t kModeLampSteps = 7;  // three lamps as bits
constexpr float kLargestShown = 99999.f;

float digitValue(int32_t digit) { return static_cast<float>(digit) / (kDigitFrames - 1); }

}  // namespace

void Editor::setDigitFrames(const int32_t frames[4]) {
  if (!digits[0] || !digits[1] || !digits[2] || !digits[3]) return;
  for (int i = 0; i < 4; ++i) digits[i]->setValue(digitValue(frames[i]));
}

void Editor::showNumber(float x) {
  // Far beyond four digits the display is wrong anyway; the cast must not be.
  const int32_t n = std::isfinite(x) ? static_cast<int32_t>(std::clamp(x, 0.f, kLargestShown)) : 0;
  int32_t r = n;
  int32_t frames[4] = {kDigitBlank, kDigitBlank, kDigitBlank, 0};
  if (n >= 1000) {
    frames[0] = r / 1000;
    r -= 1000 * frames[0];
  }
  if (n >= 100) {
    frames[1] = r / 100;
    r -= 100 * frames[1];
  }
  if (n >= 10) {
    frames[2] = r / 10;
    r -= 10 * frames[2];
  }
  frames[3] = r;
  // Keep every frame inside the strip whatever the number.
  for (int32_t& frame : frames) frame = std::clamp<int32_t>(frame, 0, kDigitFrames - 1);
  setDigitFrames(frames);
}

void Editor::blankDigits() {
  const int32_t frames[4] = {kDigitBlank, kDigitBlank, kDigitBlank, kDigitBlank};
  setDigitFrames(frames);
}

// Num · blank · Den, flashing while the ratio asks for more than the delay
// line holds.
void Editor::showRatio(uint32_t now, float tempo) {
  const int32_t num = static_cast<int32_t>(kNumTable[stepIndex(parameter(kNum), kNumSteps)]);
  const int32_t den = static_cast<int32_t>(kDenTable[stepIndex(parameter(kDen), kDenSteps)]);
  const int32_t frames[4] = {num, kDigitBlank, den < 10 ? kDigitBlank : den / 10, den % 10};
  setDigitFrames(frames);
  const float syncedMs = dsp::syncedDelayMs(num, den, tempo);
  if (!(std::floor(syncedMs) > static_cast<float>(kDelayLineMs))) return;
  if (now - blinkToggleTime >= kBlinkHalfMs) {
    blinkToggleTime = now;
    blinkBlank = !blinkBlank;
  }
  if (blinkBlank) blankDigits();
}

// Instant rise, linear fall at full scale per meterFallMs of measured time,
// so the speed does not depend on how often the host calls idle.
void Editor::updateMeter(float halfPeak, uint32_t now) {
  float db = -kMeterRangeDb;
  if (halfPeak > meterFloor) db = std::min(20.f * std::log10(halfPeak), 0.f);
  const float target = db / kMeterRangeDb + 1.f;
  if (!levelMeter) return;
  const float elapsed = static_cast<float>(now - lastIdleTime);
  const float fallen = std::max(levelMeter->getValue() - elapsed / meterFallMs, 0.f);
  levelMeter->setValue(std::max(target, fallen));
}

void Editor::idle() {
  AEffGUIEditor::idle();
  pollFileDialog();
  applyChosenZoom();
  if (!frame || !controllerDisplay || !effect) return;
  if (!refreshControllerDisplay()) return;
  const uint32_t now = getTicks();

  PanelReadings readings;
  if (readingsSource) {
    readingsSource(readings);
  } else {
    uint8_t led = 0;
    engine.getDisplayState(readings.lfoPhase, readings.halfPeak, readings.effectiveDelayMs,
                           readings.nominalDelayMs, led);
    readings.led = led != 0;
  }
  const float tempo = engine.getTempo();

  if (tempoHold) {
    if (now - tempoHoldStart > kHoldMs) tempoHold = false;
    showNumber(tempo);
  } else if (isOn(kDlyClk)) {
    showRatio(now, tempo);
  } else if (delayHold) {
    showNumber(static_cast<float>(readings.nominalDelayMs));
    if (now - delayHoldStart >= kHoldMs) delayHold = false;
  } else {
    showNumber(static_cast<float>(readings.effectiveDelayMs));
  }

  if (modulationLamp) modulationLamp->setValue(std::sin(readings.lfoPhase) * 0.5f + 0.5f);
  if (modeLamps) {
    const int32_t lamps = (isOn(kHiCut) ? 1 : 0) + (isOn(kRptInf) ? 2 : 0) + (readings.led ? 4 : 0);
    modeLamps->setValue(static_cast<float>(lamps) / kModeLampSteps);
  }
  updateMeter(readings.halfPeak, now);
  if (bypassLamp) bypassLamp->setValue(isOn(kPower) ? 0.f : 0.5f);
  lastIdleTime = now;
}
