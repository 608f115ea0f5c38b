// The editor window: building the front panel, host changes reaching the
// controls, and user actions on the controls reaching the effect.
#include "editor/editor.h"

#include <algorithm>
#include <cmath>

#include "editor/controls/cabout.h"
#include "editor/controls/cinvisibleslider.h"
#include "editor/controls/myframe.h"
#include "editor/controls/qelkickbutton.h"
#include "editor/controls/qelonoffbutton.h"
#include "editor/controls/qelswitch.h"
#include "editor/panel_layout.h"
#include "editor/toolkit/vstgui.h"
#include "effect/dsp_constants.h"
#include "effect/parameters.h"
#include "effect/qel.h"
#include "effect/tempo_sync.h"

using namespace panel;

namespace {

constexpr float kMeterFloor = 0.063095734f;  // 10^(−1.2), −24 dB
constexpr float kMeterFallMs = 500.f;

// One push-button click moves the delay by 1, 10 or 100 ms of its 3200 ms.
constexpr float kDelayRangeMs = dsp::kMaxDelayMs;
// Clock mode: one click moves Num or Den by one table step.
constexpr float kNumStep = 0.2f;
constexpr float kDenStep = 0.07692308f;  // 1/13
// The small strip stays half a millisecond inside either end of the range.
constexpr float kSmallStripMin = 0.00015620119f;
constexpr float kSmallStripMax = 0.99984378f;
// The strips show the tempo as a fraction of this many BPM in clock mode.
constexpr float kStripTempoScale = dsp::kMaxTempo;

struct KnobSpec {
  ParameterIndex parameter;
  CRect rect;
  int32_t bitmap;
  CCoord frameHeight;
  float defaultValue;
};

struct ButtonSpec {
  ParameterIndex parameter;
  CRect rect;
  int32_t bitmap;
};

CBitmap* loadBitmap(int32_t id) { return new CBitmap(CResourceDescription(id)); }

}  // namespace

Editor::Editor(AudioEffect* effect)
    : CPresetSystemEditor(effect), meterFloor(kMeterFloor), meterFallMs(kMeterFallMs) {
  tempoHoldStart = lastIdleTime = getTicks();
  delayHoldStart = blinkToggleTime = tempoHoldStart;
  rect.top = 0;
  rect.left = 0;
  rect.bottom = kWindowHeight;
  rect.right = kWindowWidth;
  setKnobMode(kLinearMode);
}

// A host may end the instance with the window still open; the controls must
// go while this editor, their listener, is still whole.
Editor::~Editor() {
  if (frame) close();
}

uint32_t Editor::getTicks() { return tickSource ? tickSource() : AEffGUIEditor::getTicks(); }

Qel* Editor::qel() { return static_cast<Qel*>(effect); }

float Editor::parameter(VstInt32 index) { return effect ? effect->getParameter(index) : 0.f; }

bool Editor::isOn(VstInt32 switchIndex) { return switchIsOn(parameter(switchIndex)); }

bool Editor::open(void* ptr) {
  if (frame) close();
  AEffGUIEditor::open(ptr);
  buildPanel();
  CPresetSystemEditor::open(ptr);
  setKnobMode(kLinearMode);
  // Values set on other threads while the panel was being built were not
  // shown; take them now that updates flow.
  for (VstInt32 index = 0; index < kPanelParameters; ++index)
    setParameter(index, parameter(index));
  return true;
}

void Editor::buildPanel() {
  CBitmap* frontPanel = loadBitmap(kBmpFrontPanel);
  CBitmap* rearPanel = loadBitmap(kBmpRearPanel);
  frame = new MyFrame(CRect(0, 0, kWindowWidth, kWindowHeight), systemWindow, this);
  frame->setBackground(frontPanel);

  // Adds a control and drops the local reference to its bitmap.
  auto add = [this](auto* control, CBitmap* bitmap) {
    frame->addView(control);
    if (bitmap) bitmap->forget();
    return control;
  };
  auto movie = [&](const CRect& r, int32_t tag, int32_t frames, CCoord height, int32_t id) {
    CBitmap* bitmap = loadBitmap(id);
    return add(new CMovieBitmap(r, this, tag, frames, height, bitmap), bitmap);
  };
  auto knob = [&](const KnobSpec& row) {
    CBitmap* bitmap = loadBitmap(row.bitmap);
    auto* control = add(new CAnimKnob(row.rect, this, row.parameter, kKnobFrames,
                                      row.frameHeight, bitmap),
                        bitmap);
    control->setValue(parameter(row.parameter));
    control->setDefaultValue(row.defaultValue);
    control->setWheelInc(kKnobWheelIncrement);
    control->setZoomFactor(kKnobZoomFactor);
    parameterControls[row.parameter] = control;
  };
  auto button = [&](const ButtonSpec& row) {
    CBitmap* bitmap = loadBitmap(row.bitmap);
    auto* control = add(new QelOnOffButton(row.rect, this, row.parameter, bitmap), bitmap);
    control->setValue(parameter(row.parameter));
    parameterControls[row.parameter] = control;
  };

  // In drawing order: later controls lie over earlier ones.
  digits[0] = movie(kDigit1Rect, kTagDigit1, kDigitFrames, kDigitFrameHeight, kBmpDigit1);
  digits[1] = movie(kDigit2Rect, kTagDigit2, kDigitFrames, kDigitFrameHeight, kBmpDigit2);
  digits[2] = movie(kDigit3Rect, kTagDigit3, kDigitFrames, kDigitFrameHeight, kBmpDigit3);
  digits[3] = movie(kDigit4Rect, kTagDigit4, kDigitFrames, kDigitFrameHeight, kBmpDigit4);
  modeLamps = movie(kModeLampsRect, kTagModeLamps, kModeLampFrames, kModeLampFrameHeight,
                    kBmpModeLamps);
  bypassLamp = movie(kBypassLampRect, kTagBypassLamp, kBypassLampFrames, kBypassLampFrameHeight,
                     kBmpBypassLamp);
  bypassLamp->setValue(isOn(kPower) ? 0.f : 0.5f);
  modulationLamp = movie(kModulationLampRect, kTagModulationLamp, kModulationLampFrames,
                         kModulationLampFrameHeight, kBmpModulationLamp);
  modulationLamp->setValue(0.f);

  knob({kInput, kInputKnobRect, kBmpInputKnob, kSmallKnobFrameHeight, 0.5f});
  knob({kOutput, kOutputKnobRect, kBmpOutputKnob, kSmallKnobFrameHeight, 0.5f});
  knob({kFbck, kFeedbackKnobRect, kBmpFeedbackKnob, kSmallKnobFrameHeight, 0.f});
  knob({kMix, kMixKnobRect, kBmpMixKnob, kSmallKnobFrameHeight, 0.5f});
  knob({kManVCO, kManVcoKnobRect, kBmpManVcoKnob, kSmallKnobFrameHeight, 0.5f});
  knob({kDepth, kDepthKnobRect, kBmpDepthKnob, kLargeKnobFrameHeight, 0.f});
  button({kHiCut, kHiCutRect, kBmpHiCut});
  knob({kWaveform, kWaveformKnobRect, kBmpWaveformKnob, kLargeKnobFrameHeight, 0.5f});
  knob({kRate, kRateKnobRect, kBmpRateKnob, kLargeKnobFrameHeight, 0.f});
  button({kFbInv, kFbInvRect, kBmpFbInv});
  button({kDlyInv, kDlyInvRect, kBmpDlyInv});
  button({kRptInf, kRptInfRect, kBmpRptInf});
  button({kDlyx2, kDlyx2Rect, kBmpDlyx2});
  button({kPower, kPowerRect, kBmpPower});

  CBitmap* switchBitmap = loadBitmap(kBmpDlyClkSwitch);
  auto* dlyClk = add(new QelSwitch(kDlyClkRect, this, kDlyClk, kSwitchFrames, kSwitchFrameHeight,
                                   kSwitchPositions, switchBitmap),
                     switchBitmap);
  dlyClk->setValue(parameter(kDlyClk));
  parameterControls[kDlyClk] = dlyClk;

  CBitmap* downBitmap = loadBitmap(kBmpDelayDown);
  delayDownButton = add(
      new QelKickButton(kDelayDownRect, this, kTagDelayDown, kPushButtonFrameHeight, downBitmap),
      downBitmap);
  delayDownButton->setValue(0.f);
  CBitmap* upBitmap = loadBitmap(kBmpDelayUp);
  delayUpButton = add(
      new QelKickButton(kDelayUpRect, this, kTagDelayUp, kPushButtonFrameHeight, upBitmap),
      upBitmap);
  delayUpButton->setValue(0.f);

  levelMeter = movie(kLevelMeterRect, kTagLevelMeter, kMeterFrames, kMeterFrameHeight,
                     kBmpLevelMeter);
  levelMeter->setValue(0.f);

  smallStrip = add(new CInvisibleSlider(kSmallStripRect, this, kTagSmallStrip), nullptr);
  digitStrip = add(new CInvisibleSlider(kDigitStripRect, this, kTagDigitStrip), nullptr);
  for (CInvisibleSlider* strip : {smallStrip, digitStrip}) strip->setWheelInc(kStripWheelIncrement);
  setStrips(std::sqrt(parameter(kDlyTime)));

  about = add(new CAbout(kAboutRect, this, kTagAbout, rearPanel,
                         CRect(0, 0, kWindowWidth, kWindowHeight), CPoint(0, 0), kVersionOffset),
              rearPanel);
  frontPanel->forget();
}

void Editor::close() {
  CPresetSystemEditor::close();
  std::fill(std::begin(digits), std::end(digits), nullptr);
  std::fill(std::begin(parameterControls), std::end(parameterControls), nullptr);
  modeLamps = bypassLamp = modulationLamp = levelMeter = nullptr;
  delayDownButton = delayUpButton = nullptr;
  smallStrip = digitStrip = nullptr;
  about = nullptr;
  if (frame) frame->close();
  frame = nullptr;
  systemWindow = nullptr;
}

int32_t Editor::parameterOfTag(int32_t tag) {
  return tag == kTagSmallStrip || tag == kTagDigitStrip ? kDlyTime : tag;
}

void Editor::setStrips(float value) {
  if (smallStrip) smallStrip->setValue(value);
  if (digitStrip) digitStrip->setValue(value);
}

// May run on the thread of the host's automation: it only sets values,
// which the next idle pass draws.
void Editor::setParameter(VstInt32 index, float value) {
  if (index < 0 || index >= kPanelParameters) return;
  ControlVisit visit{controlGate};
  if (!visit) return;
  if (index == kDlyTime) {
    setStrips(value > 0.f ? std::sqrt(value) : 0.f);
    return;
  }
  if (CControl* control = parameterControls[index]) control->setValue(parameter(index));
}

void Editor::valueChanged(CControl* control) {
  CPresetSystemEditor::valueChanged(control);
  if (!control || !effect) return;
  const int32_t tag = control->getTag();
  if (tag >= kFirstPresetBarTag || tag < 0) return;
  const float v = control->getValue();

  if (tag == kDlyClk) {
    // Infinite repeat holds the memory; the delay mode may not change under it.
    if (isOn(kRptInf)) {
      control->setValue(parameter(kDlyClk));
      return;
    }
    tempoHold = delayHold = false;
    effect->setParameterAutomated(kDlyClk, v);
    setStrips(v == 0.f ? std::sqrt(parameter(kDlyTime))
                       : std::sqrt(qel()->getTempo() / kStripTempoScale));
    return;
  }
  if (tag == kTagDelayDown || tag == kTagDelayUp) {
    tempoHold = false;
    if (isOn(kRptInf)) return;
    const auto* push = dynamic_cast<QelKickButton*>(control);
    const float stepMultiplier = push ? push->getStepMultiplier() : 1.f;
    if (isOn(kDlyClk))
      stepRatio(tag, stepMultiplier);
    else
      stepDelay(tag, stepMultiplier);
    return;
  }
  if (tag == kTagSmallStrip || tag == kTagDigitStrip) {
    moveStrip(control, v);
    return;
  }
  if (tag < kNumParams)
    effect->setParameterAutomated(tag, v);
  else
    effect->setParameter(tag, v);
}

void Editor::stepDelay(int32_t tag, float stepMultiplier) {
  delayHold = true;
  delayHoldStart = getTicks();
  const float step = stepMultiplier / kDelayRangeMs;
  float x = parameter(kDlyTime);
  x = tag == kTagDelayDown ? std::max(x - step, 0.f) : std::min(x + step, 1.f);
  beginEdit(kDlyTime);
  effect->setParameterAutomated(kDlyTime, x);
  endEdit(kDlyTime);
  setStrips(std::sqrt(parameter(kDlyTime)));
}

// A plain click steps up and wraps from the top to the first entry; Shift or
// Control steps down and wraps from the bottom to the last.
void Editor::stepRatio(int32_t tag, float stepMultiplier) {
  const VstInt32 index = tag == kTagDelayDown ? kNum : kDen;
  const float step = tag == kTagDelayDown ? kNumStep : kDenStep;
  float x = parameter(index);
  if (stepMultiplier == 1.f) {
    x += step;
    if (x > 1.f) x = 0.f;
  } else {
    x -= step;
    if (x < 0.f) x = 1.f;
  }
  beginEdit(index);
  effect->setParameterAutomated(index, x);
  endEdit(index);
}

// The strips work on the square root of the delay value, which gives finer
// control at short delays; in clock mode they set the tempo instead.
void Editor::moveStrip(CControl* strip, float v) {
  if (isOn(kRptInf)) {
    strip->setValue(std::sqrt(parameter(kDlyTime)));
    return;
  }
  float x = v * v;
  if (isOn(kDlyClk)) {
    tempoHold = true;
    tempoHoldStart = getTicks();
    qel()->setTempoFromControl(x);
  } else {
    delayHold = true;
    delayHoldStart = getTicks();
    if (strip->getTag() == kTagSmallStrip) {
      x = std::clamp(x, kSmallStripMin, kSmallStripMax);
      beginEdit(kDlyTime);
      effect->setParameterAutomated(kDlyTime, x);
      endEdit(kDlyTime);
    } else if (frame) {
      frame->beginEdit(kDlyTime);
      effect->setParameterAutomated(kDlyTime, x);
      frame->endEdit(kDlyTime);
    } else {
      effect->setParameterAutomated(kDlyTime, x);
    }
  }
  CControl* other = strip == smallStrip ? static_cast<CControl*>(digitStrip) : smallStrip;
  if (other && other != strip) other->setValue(v);
}
