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
#include "editor/skin_bitmaps.h"
#include "editor/toolkit/vstgui.h"
#include "effect/delay_engine.h"
#include "effect/dsp_constants.h"
#include "effect/parameters.h"
#include "effect/tempo_sync.h"

using namespace panel;
using namespace layout;

namespace {

constexpr float kMeterFloor = 0.063095734f;  // 10^(−1.2), −24 dB
constexpr float kMeterFallMs = 500.f;

// One push-button click moves the delay by 1, 10 or 100 ms of its 3200 ms.
constexpr float kDelayRangeMs = dsp::kMaxDelayMs;
// Clock mode: one click moves Num or Den by one table step.
constexpr float kNumStep = 1.0f / kNumSteps;
constexpr float kDenStep = 1.0f / kDenSteps;
// The small strip stays half a millisecond inside either end of the range.
constexpr float kSmallStripMin = 0.00015620119f;
constexpr float kSmallStripMax = 0.99984378f;
// The strips show the tempo as a fraction of this many BPM in clock mode.
constexpr float kStripTempoScale = dsp::kMaxTempo;

// A knob: the parameter it sets, where it sits and its film strip (a reset
// gesture restores the parameter's start value from the parameter table).
struct KnobPlacement {
  ParameterIndex parameter;
  PanelRect rect;
  SkinBitmapId bitmap;
};

// A latching button and the switch parameter it sets.
struct SwitchButtonPlacement {
  ParameterIndex parameter;
  PanelRect rect;
  SkinBitmapId bitmap;
};

}  // namespace

Editor::Editor(AudioEffect* effect, DelayEngine& engine)
    : CPresetSystemEditor(effect),
      meterFloor(kMeterFloor),
      meterFallMs(kMeterFallMs),
      engine(engine) {
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

float Editor::parameter(VstInt32 index) { return effect ? effect->getParameter(index) : 0.f; }

bool Editor::isOn(VstInt32 switchIndex) { return switchIsOn(parameter(switchIndex)); }

// Nothing may reach the host as an exception: a panel that could not be
// built (a failed allocation, a failing window system) is taken down again
// and the host hears of a failure.
bool Editor::open(void* ptr) {
  try {
    if (frame) close();
    AEffGUIEditor::open(ptr);
    buildPanel(getZoomPercent());
    CPresetSystemEditor::open(ptr);
    setKnobMode(kLinearMode);
    // Values set on other threads while the panel was being built were not
    // shown; take them now that updates flow.
    for (VstInt32 index = 0; index < kPanelParameters; ++index)
      setParameter(index, parameter(index));
    return true;
  } catch (...) {
  }
  try {
    close();
  } catch (...) {
  }
  return false;
}

void Editor::buildPanel(int32_t zoomPercent) {
  frame = new MyFrame(toCRect(kWindowRect), systemWindow, this, zoomPercent / 100.0);
  CBitmap* frontPanel = loadSkinBitmap(kFrontPanelBitmap);
  CBitmap* rearPanel = loadSkinBitmap(kRearPanelBitmap);
  frame->setBackground(frontPanel);
  addZoomMenu();

  // Adds a control and drops the local reference to its bitmap.
  auto add = [this](auto* control, CBitmap* bitmap) {
    frame->addView(control);
    if (bitmap) bitmap->forget();
    return control;
  };
  auto movie = [&](const PanelRect& r, int32_t tag, SkinBitmapId id) {
    CBitmap* bitmap = loadSkinBitmap(id);
    return add(new CMovieBitmap(toCRect(r), this, tag, framesOf(id), frameHeightOf(id), bitmap),
               bitmap);
  };
  auto knob = [&](const KnobPlacement& row) {
    CBitmap* bitmap = loadSkinBitmap(row.bitmap);
    auto* control = add(new CAnimKnob(toCRect(row.rect), this, row.parameter, framesOf(row.bitmap),
                                      frameHeightOf(row.bitmap), bitmap),
                        bitmap);
    control->setValue(parameter(row.parameter));
    control->setDefaultValue(kParameterTable[row.parameter].startValue);
    control->setWheelInc(kKnobWheelIncrement);
    control->setZoomFactor(kKnobZoomFactor);
    parameterControls[row.parameter] = control;
  };
  auto button = [&](const SwitchButtonPlacement& row) {
    CBitmap* bitmap = loadSkinBitmap(row.bitmap);
    auto* control =
        add(new QelOnOffButton(toCRect(row.rect), this, row.parameter, bitmap), bitmap);
    control->setValue(parameter(row.parameter));
    parameterControls[row.parameter] = control;
  };
  auto pushButton = [&](const PanelRect& r, int32_t tag, SkinBitmapId id) {
    CBitmap* bitmap = loadSkinBitmap(id);
    auto* control =
        add(new QelKickButton(toCRect(r), this, tag, frameHeightOf(id), bitmap), bitmap);
    control->setValue(0.f);
    return control;
  };

  // In drawing order: later controls lie over earlier ones.
  digits[0] = movie(kDigit1Rect, kTagDigit1, kDigit1Bitmap);
  digits[1] = movie(kDigit2Rect, kTagDigit2, kDigit2Bitmap);
  digits[2] = movie(kDigit3Rect, kTagDigit3, kDigit3Bitmap);
  digits[3] = movie(kDigit4Rect, kTagDigit4, kDigit4Bitmap);
  modeLamps = movie(kModeLampsRect, kTagModeLamps, kModeLampsBitmap);
  bypassLamp = movie(kBypassLampRect, kTagBypassLamp, kBypassLampBitmap);
  bypassLamp->setValue(isOn(kPower) ? 0.f : 0.5f);
  modulationLamp = movie(kModulationLampRect, kTagModulationLamp, kModulationLampBitmap);
  modulationLamp->setValue(0.f);

  knob({kInput, kInputKnobRect, kInputKnobBitmap});
  knob({kOutput, kOutputKnobRect, kOutputKnobBitmap});
  knob({kFbck, kFeedbackKnobRect, kFeedbackKnobBitmap});
  knob({kMix, kMixKnobRect, kMixKnobBitmap});
  knob({kManVCO, kManVcoKnobRect, kManVcoKnobBitmap});
  knob({kDepth, kDepthKnobRect, kDepthKnobBitmap});
  button({kHiCut, kHiCutRect, kHiCutBitmap});
  knob({kWaveform, kWaveformKnobRect, kWaveformKnobBitmap});
  knob({kRate, kRateKnobRect, kRateKnobBitmap});
  button({kFbInv, kFbInvRect, kFbInvBitmap});
  button({kDlyInv, kDlyInvRect, kDlyInvBitmap});
  button({kRptInf, kRptInfRect, kRptInfBitmap});
  button({kDlyx2, kDlyx2Rect, kDlyx2Bitmap});
  button({kPower, kPowerRect, kPowerBitmap});

  CBitmap* switchBitmap = loadSkinBitmap(kDlyClkSwitchBitmap);
  auto* dlyClk = add(new QelSwitch(toCRect(kDlyClkRect), this, kDlyClk,
                                   framesOf(kDlyClkSwitchBitmap),
                                   frameHeightOf(kDlyClkSwitchBitmap), kSwitchPositions,
                                   switchBitmap),
                     switchBitmap);
  dlyClk->setValue(parameter(kDlyClk));
  parameterControls[kDlyClk] = dlyClk;

  delayDownButton = pushButton(kDelayDownRect, kTagDelayDown, kDelayDownBitmap);
  delayUpButton = pushButton(kDelayUpRect, kTagDelayUp, kDelayUpBitmap);

  levelMeter = movie(kLevelMeterRect, kTagLevelMeter, kLevelMeterBitmap);
  levelMeter->setValue(0.f);

  smallStrip = add(new CInvisibleSlider(toCRect(kSmallStripRect), this, kTagSmallStrip), nullptr);
  digitStrip = add(new CInvisibleSlider(toCRect(kDigitStripRect), this, kTagDigitStrip), nullptr);
  for (CInvisibleSlider* strip : {smallStrip, digitStrip}) strip->setWheelInc(kStripWheelIncrement);
  setStrips(std::sqrt(parameter(kDlyTime)));

  about = add(new CAbout(toCRect(kAboutRect), this, kTagAbout, rearPanel, toCRect(kWindowRect),
                         CPoint(0, 0), toCPoint(kVersionAnchor)),
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
  if (tag == kTagZoomMenu) {
    const auto step = static_cast<int32_t>(control->getValue() + 0.5f);
    if (step >= 0 && step < kNumZoomSteps) chooseZoom(kZoomSteps[step]);
    return;
  }
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
                       : std::sqrt(engine.getTempo() / kStripTempoScale));
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
    engine.setTempoFromControl(x);
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
