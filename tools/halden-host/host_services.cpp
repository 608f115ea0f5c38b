#include "tools/halden-host/host_services.h"

#include <cmath>
#include <cstring>

#include "tools/halden-host/tool_error.h"

namespace hosttool {
namespace {

HostServices* loadingHost = nullptr;

constexpr int kBeatsPerBar = 4;
constexpr int kBeatUnit = 4;
constexpr double kSecondsPerMinute = 60.0;
constexpr VstIntPtr kPinConnected = 0;  // the interface's inverted answer
constexpr VstIntPtr kLanguageEnglish = 1;
constexpr VstIntPtr kAutomationOff = 1;
constexpr VstIntPtr kProcessLevelUser = 1;
constexpr VstIntPtr kProcessLevelRealtime = 2;
constexpr size_t kHostStringBytes = 64;

// What this host can do for a plug-in; everything else is answered 0.
const char* const kHostCapabilities[] = {
    "sendVstEvents",    "sendVstMidiEvent",    "sendVstTimeInfo",
    "receiveVstEvents", "receiveVstMidiEvent", "startStopProcess",
    "sizeWindow",
};

bool hostCanDo(const char* what) {
  if (what == nullptr) return false;
  for (const char* capability : kHostCapabilities) {
    if (std::strcmp(capability, what) == 0) return true;
  }
  return false;
}

void copyHostString(void* ptr, const char* text) {
  char* out = static_cast<char*>(ptr);
  std::strncpy(out, text, kHostStringBytes - 1);
  out[kHostStringBytes - 1] = 0;
}

}  // namespace

HostServices::HostServices() = default;

HostServices::~HostServices() {
  if (editLog_ != nullptr) std::fclose(editLog_);
  if (loadingHost == this) loadingHost = nullptr;
}

void HostServices::beginLoading(HostServices* host) { loadingHost = host; }

void HostServices::attach(AEffect* effect) { effect->resvd1 = reinterpret_cast<VstIntPtr>(this); }

VstIntPtr HostServices::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                 void* ptr, float opt) {
  HostServices* host = loadingHost;
  if (effect != nullptr && effect->resvd1 != 0) host = reinterpret_cast<HostServices*>(effect->resvd1);
  if (host == nullptr) return opcode == audioMasterVersion ? kVstVersion : 0;
  return host->handle(effect, opcode, index, value, ptr, opt);
}

void HostServices::setSampleRate(double rate) {
  sampleRate_ = rate;
  setSongPositionPpq(ppqPos_);
}

void HostServices::setBlockSize(int frames) { blockSize_ = frames; }

void HostServices::setTempo(double bpm) {
  tempo_ = bpm;
  setSongPositionPpq(ppqPos_);
}

void HostServices::setSongPositionPpq(double ppq) {
  ppqPos_ = ppq;
  samplePos_ = ppq * kSecondsPerMinute / tempo_ * sampleRate_;
  transportChanged_ = true;
}

void HostServices::setTransportPlaying(bool playing) {
  if (playing != playing_) transportChanged_ = true;
  playing_ = playing;
}

void HostServices::rewind() { setSongPositionPpq(0.0); }

void HostServices::advance(int frames) {
  transportChanged_ = false;
  if (!playing_ || frames <= 0) return;
  samplePos_ += frames;
  // Incremental so that a tempo change only affects what follows it.
  ppqPos_ += frames / sampleRate_ * tempo_ / kSecondsPerMinute;
}

void HostServices::openEditLog(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) throw ToolError("cannot write edit log '" + path + "'");
  if (editLog_ != nullptr) std::fclose(editLog_);
  editLog_ = file;
}

void HostServices::logLine(const char* text, VstInt32 index, bool withValue, float value) noexcept {
  if (editLog_ == nullptr) return;
  if (withValue) {
    std::fprintf(editLog_, "%s %d %.9g\n", text, index, static_cast<double>(value));
  } else if (index >= 0) {
    std::fprintf(editLog_, "%s %d\n", text, index);
  } else {
    std::fprintf(editLog_, "%s\n", text);
  }
  std::fflush(editLog_);
}

VstTimeInfo* HostServices::currentTimeInfo() noexcept {
  if (!timeInfoEnabled_) return nullptr;
  VstTimeInfo& t = timeInfo_;
  t = VstTimeInfo{};
  t.samplePos = samplePos_;
  t.sampleRate = sampleRate_;
  t.ppqPos = ppqPos_;
  t.tempo = tempo_;
  t.barStartPos = std::floor(ppqPos_ / kBeatsPerBar) * kBeatsPerBar;
  t.timeSigNumerator = kBeatsPerBar;
  t.timeSigDenominator = kBeatUnit;
  t.flags = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid;
  if (playing_) t.flags |= kVstTransportPlaying;
  if (transportChanged_) t.flags |= kVstTransportChanged;
  return &t;
}

VstIntPtr HostServices::handle(AEffect* /*effect*/, VstInt32 opcode, VstInt32 index,
                               VstIntPtr value, void* ptr, float opt) noexcept {
  switch (opcode) {
    case audioMasterAutomate:
      logLine("automate", index, true, opt);
      return 0;
    case audioMasterVersion:
      return kVstVersion;
    case audioMasterPinConnected:
      return kPinConnected;
    case audioMasterWantMidi:
      return 1;
    case audioMasterGetTime:
      return reinterpret_cast<VstIntPtr>(currentTimeInfo());
    case audioMasterProcessEvents:
      return 1;  // events from the plug-in are accepted and dropped
    case audioMasterGetSampleRate:
      return static_cast<VstIntPtr>(sampleRate_);
    case audioMasterGetBlockSize:
      return blockSize_;
    case audioMasterGetCurrentProcessLevel:
      return processing_ ? kProcessLevelRealtime : kProcessLevelUser;
    case audioMasterGetAutomationState:
      return kAutomationOff;
    case audioMasterGetVendorString:
      if (ptr == nullptr) return 0;
      copyHostString(ptr, kVendorString);
      return 1;
    case audioMasterGetProductString:
      if (ptr == nullptr) return 0;
      copyHostString(ptr, kProductString);
      return 1;
    case audioMasterGetVendorVersion:
      return kVendorVersion;
    case audioMasterCanDo:
      return hostCanDo(static_cast<const char*>(ptr)) ? 1 : 0;
    case audioMasterGetLanguage:
      return kLanguageEnglish;
    case audioMasterGetDirectory:
      return pluginDirectory_.empty() ? 0 : reinterpret_cast<VstIntPtr>(pluginDirectory_.c_str());
    case audioMasterUpdateDisplay:
      logLine("updateDisplay", -1, false, 0.0f);
      return 1;
    case audioMasterBeginEdit:
      logLine("beginEdit", index, false, 0.0f);
      return 1;
    case audioMasterEndEdit:
      logLine("endEdit", index, false, 0.0f);
      return 1;
    case audioMasterSizeWindow:
      try {
        return sizeWindow_ && sizeWindow_(index, static_cast<int>(value)) ? 1 : 0;
      } catch (...) {
        return 0;
      }
    default:
      return 0;
  }
}

}  // namespace hosttool
