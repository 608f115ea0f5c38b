// Shared pieces of the preset-system tests: a private settings folder, a
// small effect on the preset-system base, a fake host for the real entry
// point, and helpers to build MIDI events and compare state.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/preset_system_editor.h"
#include "host/vst2_abi.h"
#include "tests/host/temporary_settings.h"
#include "presets/preset_records.h"
#include "presets/preset_settings.h"
#include "presets/preset_system_effect.h"
#include "presets/record_formats.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

namespace preset_test {

constexpr VstInt32 kOwnId = fourCharCode('H', 'l', 'd', 'n');

// Points XDG_CONFIG_HOME at a fresh temporary folder for the object's life,
// so no test reads or writes the user's real settings.
using ScopedSettingsFolder = TemporarySettings;

// The preset-system base with what the effect class adds around it: the
// program-store path unless a program is loading, and a log of every
// setParameter call.
class TestPresetEffect : public CPresetSystemEffect {
 public:
  explicit TestPresetEffect(audioMasterCallback host = nullptr, bool withEditor = true)
      : CPresetSystemEffect(host) {
    setUniqueID(kOwnId);
    if (withEditor) new CPresetSystemEditor(this);  // registers itself; the effect owns it
  }
  void processReplacing(float**, float**, VstInt32) override {}
  void setParameter(VstInt32 index, float value) override {
    calls.push_back(index);
    if (!loadingProgram) CPresetSystemEffect::setParameter(index, value);
  }
  CPresetSystemEditor* presets() { return static_cast<CPresetSystemEditor*>(editor); }
  bool isLearning() const { return learnActive.load(); }
  bool isClearing() const { return clearActive.load(); }

  std::vector<VstInt32> calls;
};

// Stands where an editor would: logs what the preset system tells it.
class RecordingListener : public PresetSystemListener {
 public:
  void learnEnded() override { notices.push_back("learn ended"); }
  void clearEnded() override { notices.push_back("clear ended"); }
  void programNameChanged(const char* name) override {
    notices.push_back(std::string("name ") + name);
  }
  void programsReplaced() override { notices.push_back("programs replaced"); }
  void loadStartupDefaults() override { notices.push_back("startup defaults"); }
  void presetSystemClosing() override { notices.push_back("closing"); }

  std::vector<std::string> notices;
};

// The preset system on its own: the effect base, a listener in place of an
// editor, and the settings-store operations, driven without any editor.
class EffectWithoutEditor : public TestPresetEffect {
 public:
  EffectWithoutEditor() : TestPresetEffect(nullptr, false) { addListener(&listener); }
  ~EffectWithoutEditor() override { removeListener(&listener); }

  RecordingListener listener;
  PresetSettings settings{this};
};

inline float notAssignedValue() { return 128.5f / 129.0f; }
inline float controllerValue(int controller) {
  return static_cast<float>((controller + 0.5) / 129.0);
}

inline uint32_t bitsOf(float value) { return wordFromFloat(value); }

// The program store as bytes, for before/after comparisons.
inline std::vector<uint8_t> storeBytes(CPresetSystemEffect& fx) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(fx.getPrograms());
  return std::vector<uint8_t>(bytes, bytes + kNumPrograms * sizeof(ProgramRecord));
}

// Everything a chunk restores, including the maps a chunk rebuilds.
struct StateSnapshot {
  std::vector<uint8_t> programs;
  VstInt32 current;
  std::vector<uint32_t> assignments;
  std::vector<VstInt32> controllerOf;
  std::vector<VstInt32> parameterOf;

  static StateSnapshot of(CPresetSystemEffect& fx) {
    StateSnapshot s;
    s.programs = storeBytes(fx);
    s.current = fx.getCurrentProgramIndex();
    for (VstInt32 i = 0; i < kNumParams; ++i) {
      s.assignments.push_back(bitsOf(fx.CPresetSystemEffect::getParameter(kCCFirst + i)));
      s.controllerOf.push_back(fx.getControllerOfParameter(i));
    }
    for (VstInt32 c = 0; c < kNumControllers; ++c) s.parameterOf.push_back(fx.getParameterOfController(c));
    return s;
  }
  bool operator==(const StateSnapshot& o) const {
    return programs == o.programs && current == o.current && assignments == o.assignments &&
           controllerOf == o.controllerOf && parameterOf == o.parameterOf;
  }
};

// One control change (or any three MIDI bytes) as the host delivers it.
struct MidiBatch {
  explicit MidiBatch(std::initializer_list<std::vector<uint8_t>> messages) {
    for (const auto& bytes : messages) {
      VstMidiEvent event{};
      event.type = kVstMidiType;
      event.byteSize = sizeof(VstMidiEvent);
      for (size_t i = 0; i < bytes.size() && i < 3; ++i)
        event.midiData[i] = static_cast<char>(bytes[i]);
      midi.push_back(event);
    }
    storage.resize(sizeof(VstEvents) + midi.size() * sizeof(VstEvent*));
    list = reinterpret_cast<VstEvents*>(storage.data());
    list->numEvents = static_cast<VstInt32>(midi.size());
    for (size_t i = 0; i < midi.size(); ++i)
      list->events[i] = reinterpret_cast<VstEvent*>(&midi[i]);
  }
  std::vector<VstMidiEvent> midi;
  std::vector<uint8_t> storage;
  VstEvents* list = nullptr;
};

inline std::vector<uint8_t> controlChange(int channel, int controller, int value) {
  return {static_cast<uint8_t>(0xB0 | (channel - 1)), static_cast<uint8_t>(controller),
          static_cast<uint8_t>(value)};
}

// The host side of the real entry point: answers the version, records the
// opcodes it is called with, and answers "sendVstMidiEvent" as told.
struct FakeHost {
  static VstIntPtr canSendMidiAnswer;
  static std::vector<VstInt32> opcodes;
  static VstIntPtr callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr, float) {
    opcodes.push_back(opcode);
    if (opcode == audioMasterVersion) return kVstVersion;
    if (opcode == audioMasterCanDo && ptr &&
        std::strcmp(static_cast<const char*>(ptr), "sendVstMidiEvent") == 0)
      return canSendMidiAnswer;
    return 0;
  }
};

// One plug-in instance made through VSTPluginMain and closed by the dispatcher.
class PluginInstance {
 public:
  PluginInstance() : record(VSTPluginMain(&FakeHost::callback)) {}
  ~PluginInstance() {
    if (record) dispatch(effClose);
  }
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr, float opt = 0.0f) {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
  }
  void set(VstInt32 index, float value) { record->setParameter(record, index, value); }
  float get(VstInt32 index) { return record->getParameter(record, index); }
  VstIntPtr send(const MidiBatch& batch) { return dispatch(effProcessEvents, 0, 0, batch.list); }
  std::string programName(VstInt32 index) {
    char text[kVstMaxProgNameLen + 8] = {};
    dispatch(effGetProgramNameIndexed, index, 0, text);
    return text;
  }
  CPresetSystemEffect& effect() { return *static_cast<CPresetSystemEffect*>(record->object); }
  CPresetSystemEditor& presets() {
    return *static_cast<CPresetSystemEditor*>(effect().getEditor());
  }

  AEffect* record;
};

}  // namespace preset_test
