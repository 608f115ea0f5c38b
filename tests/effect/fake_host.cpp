#include "fake_host.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace fake_host {

namespace {
thread_local VstTimeInfo timeInfo;
}  // namespace

Settings& settings() {
  static Settings s;
  return s;
}

void resetSettings() {
  Settings& s = settings();
  s.hasTime = false;
  s.tempo = 120.0;
  s.ppqPos = 0.0;
  s.stereoIn = true;
  s.stereoOut = true;
  s.timeQueries = 0;
  s.pinQueries = 0;
}

VstIntPtr callback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void*, float) {
  Settings& s = settings();
  switch (opcode) {
    case audioMasterVersion:
      return kVstVersion;
    case audioMasterGetTime:
      ++s.timeQueries;
      if (!s.hasTime) return 0;
      std::memset(&timeInfo, 0, sizeof(timeInfo));
      timeInfo.tempo = s.tempo;
      timeInfo.ppqPos = s.ppqPos;
      timeInfo.sampleRate = 44100.0;
      timeInfo.flags = static_cast<VstInt32>(value);
      return reinterpret_cast<VstIntPtr>(&timeInfo);
    case audioMasterPinConnected:
      ++s.pinQueries;
      if (index != 1) return 0;
      return (value == 0 ? s.stereoIn.load() : s.stereoOut.load()) ? 0 : 1;  // 0: connected
    default:
      return 0;
  }
}

Instance::Instance(float sampleRate, VstInt32 blockSize) {
  effect = VSTPluginMain(callback);
  if (!effect) return;
  dispatch(effOpen);
  dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
  dispatch(effSetBlockSize, 0, blockSize);
  dispatch(effMainsChanged, 0, 1);
}

Instance::~Instance() {
  if (!effect) return;
  dispatch(effMainsChanged, 0, 0);
  dispatch(effClose);
}

VstIntPtr Instance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                             float opt) {
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string Instance::display(VstInt32 index) {
  char text[64];
  std::memset(text, '#', sizeof(text));
  text[63] = 0;
  dispatch(effGetParamDisplay, index, 0, text);
  return text;
}

void Instance::setSampleRate(float rate) {
  dispatch(effMainsChanged, 0, 0);
  dispatch(effSetSampleRate, 0, 0, nullptr, rate);
  dispatch(effMainsChanged, 0, 1);
}

std::vector<float> Instance::render(const std::vector<float>& in, int32_t block,
                                    std::vector<float>* right) {
  std::vector<float> outL(in.size()), outR(in.size());
  for (size_t pos = 0; pos < in.size(); pos += static_cast<size_t>(block)) {
    const int32_t frames = static_cast<int32_t>(std::min<size_t>(block, in.size() - pos));
    float* inputs[2] = {const_cast<float*>(in.data() + pos), const_cast<float*>(in.data() + pos)};
    float* outputs[2] = {outL.data() + pos, outR.data() + pos};
    effect->processReplacing(effect, inputs, outputs, frames);
  }
  if (right) *right = outR;
  return outL;
}

}  // namespace fake_host
