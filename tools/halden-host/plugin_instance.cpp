#include "tools/halden-host/plugin_instance.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <vector>

#include "tools/halden-host/tool_error.h"

namespace hosttool {
namespace {

typedef AEffect* (*PluginEntry)(audioMasterCallback);

// dlerror texts can span lines; the tool reports one line.
std::string oneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  return text;
}

std::string directoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace

PluginInstance::PluginInstance(const std::string& path, HostServices& host) : path_(path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) throw ToolError("plug-in '" + path + "' does not exist");
  if (!S_ISREG(info.st_mode)) throw ToolError("plug-in '" + path + "' is not a file");

  // A path without a slash would make dlopen search the library path.
  const std::string loadPath = path.find('/') == std::string::npos ? "./" + path : path;
  library_ = ::dlopen(loadPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library_ == nullptr) {
    const char* why = ::dlerror();
    throw ToolError("cannot load plug-in '" + path + "': " + oneLine(why ? why : "unknown error"));
  }
  void* symbol = ::dlsym(library_, "VSTPluginMain");
  if (symbol == nullptr) symbol = ::dlsym(library_, "main");
  if (symbol == nullptr) {
    throw ToolError("'" + path + "' is not a VST 2.4 plug-in: no VSTPluginMain or main entry");
  }

  host.setPluginDirectory(directoryOf(path));
  HostServices::beginLoading(&host);
  AEffect* effect = reinterpret_cast<PluginEntry>(symbol)(&HostServices::callback);
  if (effect == nullptr) throw ToolError("plug-in '" + path + "' refused to load (entry returned null)");
  if (effect->magic != kEffectMagic || effect->dispatcher == nullptr) {
    throw ToolError("'" + path + "' is not a VST 2.4 plug-in: bad record");
  }
  if (effect->numInputs < 0 || effect->numInputs > kMaxChannels || effect->numOutputs < 0 ||
      effect->numOutputs > kMaxChannels || effect->numParams < 0 || effect->numPrograms < 0) {
    throw ToolError("plug-in '" + path + "' reports impossible channel or parameter counts");
  }
  host.attach(effect);
  effect_ = effect;
  // The library stays mapped until the process ends: some plug-ins register
  // exit-time handlers that would crash if their code were unmapped first.
}

PluginInstance::~PluginInstance() { close(); }

const AEffect& PluginInstance::record() const {
  requireOpen();
  return *effect_;
}

void PluginInstance::requireOpen() const {
  if (effect_ == nullptr) throw ToolError("the plug-in is closed");
}

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
  requireOpen();
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string PluginInstance::queryText(VstInt32 opcode, VstInt32 index) {
  std::vector<char> buffer(kTextBufferBytes, 0);
  dispatch(opcode, index, 0, buffer.data());
  buffer.back() = 0;
  return std::string(buffer.data());
}

void PluginInstance::close() {
  if (effect_ == nullptr) return;
  AEffect* effect = effect_;
  effect_ = nullptr;  // the plug-in frees its record during effClose
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

void PluginInstance::setParameter(int index, float value) {
  requireOpen();
  if (index < 0 || index >= effect_->numParams) {
    throw ToolError("parameter index " + std::to_string(index) + " is out of range (0.." +
                    std::to_string(effect_->numParams - 1) + ")");
  }
  if (effect_->setParameter != nullptr) effect_->setParameter(effect_, index, value);
}

float PluginInstance::getParameter(int index) {
  requireOpen();
  if (index < 0 || index >= effect_->numParams) {
    throw ToolError("parameter index " + std::to_string(index) + " is out of range (0.." +
                    std::to_string(effect_->numParams - 1) + ")");
  }
  return effect_->getParameter != nullptr ? effect_->getParameter(effect_, index) : 0.0f;
}

void PluginInstance::processReplacing(float** inputs, float** outputs, int frames) {
  requireOpen();
  if (effect_->processReplacing == nullptr) {
    throw ToolError("plug-in '" + path_ + "' does not offer processReplacing");
  }
  effect_->processReplacing(effect_, inputs, outputs, frames);
}

}  // namespace hosttool
