// One loaded VST 2.4 plug-in: the shared object, its record and thin
// wrappers around the record's entry points.
#pragma once

#include <string>

#include "host/vst2_abi.h"
#include "tools/halden-host/host_services.h"

namespace hosttool {

class PluginInstance {
 public:
  // Large enough for every text a plug-in writes; real plug-ins exceed the
  // nominal lengths of the interface.
  static constexpr size_t kTextBufferBytes = 256;
  // Channel counts beyond this are treated as a broken record.
  static constexpr int kMaxChannels = 64;

  // Loads the shared object and calls its entry point; throws ToolError.
  PluginInstance(const std::string& path, HostServices& host);
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                     void* ptr = nullptr, float opt = 0.0f);
  // Dispatches an opcode that writes a text into ptr and returns the text.
  std::string queryText(VstInt32 opcode, VstInt32 index = 0);

  // effClose; afterwards only isOpen() may be called.
  void close();
  bool isOpen() const { return effect_ != nullptr; }

  void setParameter(int index, float value);
  float getParameter(int index);
  void processReplacing(float** inputs, float** outputs, int frames);

  int numInputs() const { return record().numInputs; }
  int numOutputs() const { return record().numOutputs; }
  int numParams() const { return record().numParams; }
  int numPrograms() const { return record().numPrograms; }
  VstInt32 flags() const { return record().flags; }
  VstInt32 uniqueID() const { return record().uniqueID; }
  VstInt32 version() const { return record().version; }
  VstInt32 initialDelay() const { return record().initialDelay; }
  const std::string& path() const { return path_; }

 private:
  const AEffect& record() const;
  void requireOpen() const;

  std::string path_;
  void* library_ = nullptr;
  AEffect* effect_ = nullptr;
};

}  // namespace hosttool
