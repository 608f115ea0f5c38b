// The effect class: identity, construction order, lifecycle and the
// adapter from host calls to the engine.
#include "plugin/qel.h"

#include <cmath>
#include <new>

#include "host/aeffeditor.h"
#include "host/text_services.h"
#include "editor/editor_factory.h"
#include "plugin/parameter_text.h"

namespace {

constexpr char kEffectName[] = "Marlow Halden";
constexpr char kVendorString[] = "Qelworks";
constexpr char kSloganSeparator[] = " - ";
constexpr char kSlogan[] = "tape-bending echoes from a clock that drifts";
// The host's buffer holds 64 bytes: 63 characters and the terminator.
constexpr VstInt32 kProductStringLength = kVstMaxProductStrLen - 1;
static_assert(sizeof(kEffectName) + sizeof(kSloganSeparator) + sizeof(kSlogan) - 3 <=
                  kProductStringLength,
              "the product string fits the host buffer");

}  // namespace

Qel::Qel(audioMasterCallback audioMaster) : CPresetSystemEffect(audioMaster) {
  setNumInputs(kQelChannels);
  setNumOutputs(kQelChannels);
  setUniqueID(kQelUniqueId);
  canProcessReplacing(true);
  // The engine member was built for 44100 Hz with its memories and cleared
  // state. Without an editor the instance still works; an editor that failed
  // half-way must not stay attached.
  AEffEditor* built = nullptr;
  try {
    built = createEditor(this, engine);
  } catch (...) {
  }
  setEditor(built);
  loadDefaults();
  selectProgram(0);
}

Qel::~Qel() = default;

void Qel::suspend() { engine.suspend(); }

void Qel::resume() {
  CPresetSystemEffect::resume();
  engine.resume(getSampleRate());
}

void Qel::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
  if (!inputs || !outputs || !inputs[0] || !outputs[0]) return;
  const float* inR = isInputConnected(1) && inputs[1] ? inputs[1] : inputs[0];
  float* outR = isOutputConnected(1) ? outputs[1] : nullptr;

  BlockTiming timing;
  if (const VstTimeInfo* info = getTimeInfo(kVstTempoValid)) {
    timing.hasTempo = true;
    timing.tempo = info->tempo;
  }
  if (const VstTimeInfo* info = getTimeInfo(kVstPpqPosValid)) {
    timing.hasPpqPos = true;
    timing.ppqPos = info->ppqPos;
  }
  engine.process(inputs[0], inR, outputs[0], outR, sampleFrames, timing);
}

void Qel::setParameter(VstInt32 index, float value) {
  if (!std::isfinite(value)) return;  // a broken value never reaches the program or the engine
  // Out of range from outside: the program, the engine and getParameter all
  // see the same value within 0 … 1.
  value = clampToNormalised(value);
  if (!loadingProgram) storeParameter(index, value);  // already checked and clamped
  engine.setParameter(index, value);
  if (editor) editor->setParameter(index, value);
}

float Qel::getParameter(VstInt32 index) {
  if (isSoundParameter(index)) return engine.parameterValue(index);
  return CPresetSystemEffect::getParameter(index);
}

void Qel::getParameterLabel(VstInt32 index, char* label) { writeParameterLabel(index, label); }

void Qel::getParameterDisplay(VstInt32 index, char* text) {
  writeParameterDisplay(engine, index, text);
}

void Qel::getParameterName(VstInt32 index, char* text) {
  if (isSoundParameter(index))
    writeParameterName(index, text);
  else if (index >= kCCFirst && index < kCCFirst + kNumParams)
    writeAssignmentName(index - kCCFirst, text);
}

bool Qel::getParameterProperties(VstInt32 index, VstParameterProperties* p) {
  return fillParameterProperties(index, p);
}

bool Qel::getEffectName(char* name) {
  vst_strncpy(name, kEffectName, kVstMaxEffectNameLen - 1);
  return true;
}

bool Qel::getVendorString(char* text) {
  vst_strncpy(text, kVendorString, kVstMaxVendorStrLen - 1);
  return true;
}

bool Qel::getProductString(char* text) {
  vst_strncpy(text, kEffectName, kProductStringLength);
  vst_strncat(text, kSloganSeparator, kProductStringLength);
  vst_strncat(text, kSlogan, kProductStringLength);
  return true;
}

// Every whole-state load (chunk, program change, preset and bank files,
// start-up defaults) ends here: the engine is readied so that the state it
// is left in depends on the loaded values alone.
void Qel::selectProgram(VstInt32 index) {
  engine.forceTempoSyncOff();
  if (programs && index >= 0 && index < kNumPrograms)
    engine.prepareStateLoad(loadValueRelaxed(programs[index].values[kDepth]));
  CPresetSystemEffect::selectProgram(index);
}

AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
  if (!audioMaster || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
    return nullptr;
  try {
    return new (std::nothrow) Qel(audioMaster);
  } catch (...) {
    return nullptr;
  }
}
