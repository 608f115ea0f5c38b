// A small host for driving the plug-in through its real entry point: it
// answers the version, time information and pin connections, and can be
// configured from any thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "plugin/qel.h"
#include "host/vst2_abi.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

namespace fake_host {

struct Settings {
  std::atomic<bool> hasTime{false};
  std::atomic<double> tempo{120.0};
  std::atomic<double> ppqPos{0.0};
  std::atomic<bool> stereoIn{true};
  std::atomic<bool> stereoOut{true};
  std::atomic<int> timeQueries{0};
  std::atomic<int> pinQueries{0};
};

Settings& settings();
void resetSettings();
VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt);

// One plug-in instance, opened, at a rate, switched on; closed on destruction.
class Instance {
 public:
  explicit Instance(float sampleRate = 44100.0f, VstInt32 blockSize = 512);
  ~Instance();
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  AEffect* record() const { return effect; }
  Qel& qel() const { return *static_cast<Qel*>(static_cast<AudioEffect*>(effect->object)); }
  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                     float opt = 0.0f);
  void setParameter(VstInt32 index, float value) { effect->setParameter(effect, index, value); }
  float getParameter(VstInt32 index) { return effect->getParameter(effect, index); }
  std::string display(VstInt32 index);
  void setSampleRate(float rate);  // off, new rate, on

  // Renders mono-in/stereo-out blocks; returns the left (or mono) output.
  std::vector<float> render(const std::vector<float>& in, int32_t block,
                            std::vector<float>* right = nullptr);

 private:
  AEffect* effect = nullptr;
};

}  // namespace fake_host
