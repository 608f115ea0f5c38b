#include "host/audioeffect.h"

#include <cstdint>
#include <cstring>

#include "host/text_services.h"

namespace {
constexpr VstInt32 kDefaultUniqueId = fourCharCode('N', 'o', 'E', 'f');
constexpr VstInt32 kDefaultVersion = 1;

AudioEffect* effectOf(AEffect* e) { return e ? static_cast<AudioEffect*>(e->object) : nullptr; }
}  // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms,
                         VstInt32 numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams) {
  std::memset(&cEffect, 0, sizeof(cEffect));
  cEffect.magic = kEffectMagic;
  cEffect.dispatcher = dispatchEffectClass;
  cEffect.process = processClass;
  cEffect.setParameter = setParameterClass;
  cEffect.getParameter = getParameterClass;
  cEffect.numPrograms = numPrograms;
  cEffect.numParams = numParams;
  cEffect.numInputs = 1;
  cEffect.numOutputs = 2;
  cEffect.ioRatio = 1.0f;
  cEffect.object = this;
  cEffect.uniqueID = kDefaultUniqueId;
  cEffect.version = kDefaultVersion;
  cEffect.processReplacing = processReplacingClass;
  cEffect.processDoubleReplacing = processDoubleReplacingClass;
  canProcessReplacing(true);
}

AudioEffect::~AudioEffect() {
  delete editor;
  editor = nullptr;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
  editor = newEditor;
  setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
  if (state)
    cEffect.flags |= flag;
  else
    cEffect.flags &= ~flag;
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) const {
  if (!audioMaster) return 0;
  return audioMaster(const_cast<AEffect*>(&cEffect), opcode, index, value, ptr, opt);
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
  char* text = static_cast<char*>(ptr);
  switch (opcode) {
    case effOpen:
      open();
      return 0;
    case effClose:
      close();
      return 0;
    case effSetProgram:
      if (value < numPrograms) setProgram(static_cast<VstInt32>(value));
      return 0;
    case effGetProgram:
      return getProgram();
    case effSetProgramName:
      if (text) setProgramName(text);
      return 0;
    case effGetProgramName:
      if (text) getProgramName(text);
      return 0;
    case effGetParamLabel:
      if (text) getParameterLabel(index, text);
      return 0;
    case effGetParamDisplay:
      if (text) getParameterDisplay(index, text);
      return 0;
    case effGetParamName:
      if (text) getParameterName(index, text);
      return 0;
    case effSetSampleRate:
      setSampleRate(opt);
      return 0;
    case effSetBlockSize:
      setBlockSize(static_cast<VstInt32>(value));
      return 0;
    case effMainsChanged:
      if (value)
        resume();
      else
        suspend();
      return 0;
    case effEditGetRect:
      return editor && ptr && editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen:
      return editor && editor->open(ptr) ? 1 : 0;
    case effEditClose:
      if (editor) editor->close();
      return 0;
    case effEditIdle:
      if (editor) editor->idle();
      return 0;
    case effIdentify:
      return kIdentifyAnswer;
    case effGetChunk:
      return ptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
    case effSetChunk:
      // The size is pointer-sized; one that does not fit the operation's
      // 32 bits is no chunk (cut, 2^32 + n would pass for n).
      if (value < 0 || value > static_cast<VstIntPtr>(INT32_MAX)) return -1;
      return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
      return 0;
  }
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
  setParameter(index, value);
  if (audioMaster) callHost(audioMasterAutomate, index, 0, nullptr, value);
}

VstInt32 AudioEffect::getMasterVersion() {
  if (!audioMaster) return 1;
  const VstIntPtr version = callHost(audioMasterVersion);
  return version ? static_cast<VstInt32>(version) : 1;
}

VstInt32 AudioEffect::getCurrentUniqueId() {
  return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle() { callHost(audioMasterIdle); }

// The host answers 0 for a connected pin.
bool AudioEffect::isInputConnected(VstInt32 input) {
  return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(VstInt32 output) {
  return callHost(audioMasterPinConnected, output, 1) == 0;
}

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
  ::dB2string(value, text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
  ::Hz2string(samples, sampleRate, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
  ::ms2string(samples, sampleRate, text, maxLen);
}

void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
  ::float2string(value, text, maxLen);
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
  ::int2string(value, text, maxLen);
}

// The host calls these directly. Nothing may cross back into the host as an
// exception: whatever escapes an operation is caught here and answered as a
// failure (0, or no output for the process calls).

VstIntPtr AudioEffect::dispatchEffectClass(AEffect* e, VstInt32 opcode, VstInt32 index,
                                           VstIntPtr value, void* ptr, float opt) {
  AudioEffect* effect = effectOf(e);
  if (!effect) return 0;
  if (opcode == effClose) {
    try {
      effect->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
    }
    delete effect;
    return 1;
  }
  try {
    return effect->dispatcher(opcode, index, value, ptr, opt);
  } catch (...) {
    return 0;
  }
}

float AudioEffect::getParameterClass(AEffect* e, VstInt32 index) {
  AudioEffect* effect = effectOf(e);
  if (!effect) return 0.0f;
  try {
    return effect->getParameter(index);
  } catch (...) {
    return 0.0f;
  }
}

void AudioEffect::setParameterClass(AEffect* e, VstInt32 index, float value) {
  AudioEffect* effect = effectOf(e);
  if (!effect) return;
  try {
    effect->setParameter(index, value);
  } catch (...) {
  }
}

void AudioEffect::processClass(AEffect* e, float** inputs, float** outputs,
                               VstInt32 sampleFrames) {
  AudioEffect* effect = effectOf(e);
  if (!effect) return;
  try {
    effect->process(inputs, outputs, sampleFrames);
  } catch (...) {
  }
}

void AudioEffect::processReplacingClass(AEffect* e, float** inputs, float** outputs,
                                        VstInt32 sampleFrames) {
  AudioEffect* effect = effectOf(e);
  if (!effect) return;
  try {
    effect->processReplacing(inputs, outputs, sampleFrames);
  } catch (...) {
  }
}

void AudioEffect::processDoubleReplacingClass(AEffect* e, double** inputs, double** outputs,
                                              VstInt32 sampleFrames) {
  AudioEffect* effect = effectOf(e);
  if (!effect) return;
  try {
    effect->processDoubleReplacing(inputs, outputs, sampleFrames);
  } catch (...) {
  }
}
