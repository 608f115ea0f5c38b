// MIDI controller assignment: the two controller maps, the 18 assignment
// parameters, control changes from the host, and the learn and clear modes.
//
// Every map entry, flag and value is one relaxed atomic: control changes
// arrive on the host's event thread while the editor switches modes on the
// user-interface thread, and no lock may be taken on the event thread.
#include <cmath>
#include <cstring>

#include "effect/parameters.h"
#include "presets/preset_system_effect.h"

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int32_t kAssignmentSteps = 129;  // controllers 0..127 and "not assigned"
constexpr int32_t kNotAssignedStep = 128;
constexpr int32_t kFirstModeController = 120;  // 120..127 are channel-mode messages
constexpr uint8_t kStatusTypeMask = 0xF0;
constexpr uint8_t kControlChange = 0xB0;
constexpr float kMaxDataByte = 127.0f;

bool isControllerNumber(VstInt32 c) { return c >= 0 && c < kNumControllers; }

// The controller an assignment value encodes, or kNotAssigned. Values a
// little below zero (down to -1/129) still mean controller 0.
VstInt32 controllerOfValue(float value) {
  const int32_t step = quantizeParam(value, kAssignmentSteps);
  if (step >= 0 && step < kNotAssignedStep) return step;
  if (step == -1 && value * kAssignmentSteps > -1.0f) return 0;
  return kNotAssigned;
}

constexpr uint8_t kStatusBit = 0x80;

bool isDataByte(char data) { return (static_cast<uint8_t>(data) & kStatusBit) == 0; }

// A data byte (0 … 127) as a normalised value.
float dataByteValue(char data) {
  return static_cast<float>(static_cast<uint8_t>(data)) / kMaxDataByte;
}

float assignmentValueOf(VstInt32 controller) {
  return isControllerNumber(controller) ? paramFromIndex(controller, kAssignmentSteps)
                                  : notAssignedValue();
}

}  // namespace

float notAssignedValue() { return paramFromIndex(kNotAssignedStep, kAssignmentSteps); }

VstInt32 CPresetSystemEffect::processEvents(VstEvents* events) {
  if (!controllerOfParameter || !parameterOfController || !events) return 0;
  for (VstInt32 e = 0; e < events->numEvents; ++e) {
    const VstEvent* event = events->events[e];
    if (!event || event->type != kVstMidiType) continue;
    const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
    const auto status = static_cast<uint8_t>(midi->midiData[0]);
    if ((status & kStatusTypeMask) != kControlChange) continue;  // any channel
    const VstInt32 controller = static_cast<uint8_t>(midi->midiData[1]);
    // Data bytes have bit 7 clear; a message with any other byte is broken.
    if (!isControllerNumber(controller) || !isDataByte(midi->midiData[2])) continue;

    const VstInt32 target = learnTarget.load(kRelaxed);
    if (learnActive.load(kRelaxed) && isSoundParameter(target) &&
        controller < kFirstModeController) {
      bindController(target, controller);
      assignmentValues[target].store(assignmentValueOf(controller), kRelaxed);
      stopLearn();
    }
    const VstInt32 parameter = parameterOfController[controller].load(kRelaxed);
    if (!isSoundParameter(parameter)) continue;
    setParameter(parameter, dataByteValue(midi->midiData[2]));
  }
  return 1;
}

VstInt32 CPresetSystemEffect::canDo(char* text) {
  static const char kReceiveMidi[] = "receiveVstMidiEvent";
  if (!text || std::strcmp(text, kReceiveMidi) != 0) return 0;
  char hostSends[] = "sendVstMidiEvent";
  return canHostDo(hostSends) == 1 ? 1 : 0;
}

void CPresetSystemEffect::setAssignmentParameter(VstInt32 i, float value) {
  if (!controllerOfParameter || !parameterOfController || !isSoundParameter(i)) return;
  const VstInt32 controller = controllerOfValue(value);
  if (isControllerNumber(controller))
    bindController(i, controller);
  else
    dropBinding(i);
  assignmentValues[i].store(value, kRelaxed);
}

void CPresetSystemEffect::bindController(VstInt32 parameter, VstInt32 controller) {
  if (!controllerOfParameter || !parameterOfController) return;
  if (!isSoundParameter(parameter) || !isControllerNumber(controller)) return;
  dropBinding(parameter);
  for (VstInt32 other = 0; other < kNumParams; ++other) {
    if (other == parameter || controllerOfParameter[other].load(kRelaxed) != controller) continue;
    controllerOfParameter[other].store(kNotAssigned, kRelaxed);
    assignmentValues[other].store(notAssignedValue(), kRelaxed);
  }
  controllerOfParameter[parameter].store(controller, kRelaxed);
  parameterOfController[controller].store(parameter, kRelaxed);
}

void CPresetSystemEffect::dropBinding(VstInt32 parameter) {
  if (!controllerOfParameter || !parameterOfController || !isSoundParameter(parameter)) return;
  const VstInt32 previous = controllerOfParameter[parameter].exchange(kNotAssigned, kRelaxed);
  if (isControllerNumber(previous) && parameterOfController[previous].load(kRelaxed) == parameter)
    parameterOfController[previous].store(kNotAssigned, kRelaxed);
}

void CPresetSystemEffect::restoreAssignments(const float* values) {
  if (!controllerOfParameter || !parameterOfController) return;
  for (VstInt32 c = 0; c < kNumControllers; ++c) parameterOfController[c].store(kNotAssigned, kRelaxed);
  for (VstInt32 p = 0; p < kNumParams; ++p) controllerOfParameter[p].store(kNotAssigned, kRelaxed);
  // A value that is no number at all (only a damaged chunk has one) is
  // kept as "not assigned", so the host never reads it back.
  for (VstInt32 p = 0; p < kNumParams; ++p)
    setAssignmentParameter(p, std::isfinite(values[p]) ? values[p] : notAssignedValue());
}

void CPresetSystemEffect::assignController(VstInt32 parameter, VstInt32 controller) {
  if (!isSoundParameter(parameter) || !isControllerNumber(controller)) return;
  bindController(parameter, controller);
  assignmentValues[parameter].store(assignmentValueOf(controller), kRelaxed);
}

void CPresetSystemEffect::unassignParameter(VstInt32 parameter) {
  if (!controllerOfParameter || !parameterOfController || !isSoundParameter(parameter)) return;
  dropBinding(parameter);
  assignmentValues[parameter].store(notAssignedValue(), kRelaxed);
}

void CPresetSystemEffect::unassignController(VstInt32 controller) {
  if (!controllerOfParameter || !parameterOfController || !isControllerNumber(controller)) return;
  const VstInt32 parameter = parameterOfController[controller].exchange(kNotAssigned, kRelaxed);
  if (isSoundParameter(parameter)) {
    controllerOfParameter[parameter].store(kNotAssigned, kRelaxed);
    assignmentValues[parameter].store(notAssignedValue(), kRelaxed);
  }
}

VstInt32 CPresetSystemEffect::getControllerOfParameter(VstInt32 parameter) {
  if (!controllerOfParameter || !isSoundParameter(parameter)) return kNotAssigned;
  return controllerOfParameter[parameter].load(kRelaxed);
}

VstInt32 CPresetSystemEffect::getParameterOfController(VstInt32 controller) {
  if (!controllerOfParameter || !parameterOfController || !isControllerNumber(controller))
    return kNotAssigned;
  const VstInt32 parameter = parameterOfController[controller].load(kRelaxed);
  if (!isSoundParameter(parameter) ||
      controllerOfParameter[parameter].load(kRelaxed) == kNotAssigned)
    return kNotAssigned;
  return parameter;
}

void CPresetSystemEffect::startLearn() {
  learnTarget.store(-1, kRelaxed);
  learnActive.store(true, kRelaxed);
}

void CPresetSystemEffect::stopLearn() {
  learnActive.store(false, kRelaxed);
  learnTarget.store(-1, kRelaxed);
  if (PresetSystemListener* window = getListener()) window->learnEnded();
}

void CPresetSystemEffect::setLearnTarget(VstInt32 parameter) {
  learnTarget.store(parameter, kRelaxed);
}

void CPresetSystemEffect::startClear() { clearActive.store(true, kRelaxed); }

void CPresetSystemEffect::stopClear() {
  clearActive.store(false, kRelaxed);
  if (PresetSystemListener* window = getListener()) window->clearEnded();
}

void CPresetSystemEffect::resetControllerMap() {
  if (!controllerOfParameter || !parameterOfController) return;
  for (VstInt32 c = 0; c < kNumControllers; ++c) parameterOfController[c].store(kNotAssigned, kRelaxed);
  for (VstInt32 p = 0; p < kNumParams; ++p) {
    controllerOfParameter[p].store(kNotAssigned, kRelaxed);
    assignmentValues[p].store(notAssignedValue(), kRelaxed);
  }
}
