// The host side of the plug-in conversation: every audioMaster request a
// plug-in makes is answered here (version, transport, rate, block size,
// can-do, pin connection, vendor strings) and automation gestures can be
// logged to a file.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

#include "host/vst2_abi.h"

namespace hosttool {

class HostServices {
 public:
  static constexpr double kDefaultSampleRate = 44100.0;
  static constexpr int kDefaultBlockSize = 512;
  static constexpr double kDefaultTempo = 120.0;
  static constexpr const char* kVendorString = "Halden";
  static constexpr const char* kProductString = "halden-host";
  static constexpr VstIntPtr kVendorVersion = 1;

  HostServices();
  ~HostServices();
  HostServices(const HostServices&) = delete;
  HostServices& operator=(const HostServices&) = delete;

  // The callback handed to the plug-in's entry point. A plug-in may call it
  // with a null record while its entry point runs; such calls reach the host
  // that is loading at the time.
  static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                            void* ptr, float opt);
  static void beginLoading(HostServices* host);
  // Ties the record to this host through the host-reserved field resvd1.
  void attach(AEffect* effect);

  void setSampleRate(double rate);
  double sampleRate() const { return sampleRate_; }
  void setBlockSize(int frames);
  int blockSize() const { return blockSize_; }

  // Transport. Song position advances with processing while playing; with
  // time info switched off the plug-in's GetTime request answers null.
  void setTempo(double bpm);
  double tempo() const { return tempo_; }
  void setSongPositionPpq(double ppq);
  double songPositionPpq() const { return ppqPos_; }
  double samplePosition() const { return samplePos_; }
  void setTimeInfoEnabled(bool enabled) { timeInfoEnabled_ = enabled; }
  void setTransportPlaying(bool playing);
  void rewind();
  void advance(int frames);

  // While true, GetCurrentProcessLevel reports the real-time audio thread.
  void setProcessing(bool processing) { processing_ = processing; }

  // Logs automate, beginEdit, endEdit and updateDisplay requests, one a line.
  void openEditLog(const std::string& path);
  void setPluginDirectory(const std::string& directory) { pluginDirectory_ = directory; }

  // Answers the plug-in's request for a new editor size (audioMasterSizeWindow);
  // without a handler the request is refused.
  using SizeWindowHandler = std::function<bool(int width, int height)>;
  void setSizeWindowHandler(SizeWindowHandler handler) { sizeWindow_ = std::move(handler); }

 private:
  VstIntPtr handle(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                   float opt) noexcept;
  VstTimeInfo* currentTimeInfo() noexcept;
  void logLine(const char* text, VstInt32 index, bool withValue, float value) noexcept;

  double sampleRate_ = kDefaultSampleRate;
  int blockSize_ = kDefaultBlockSize;
  double tempo_ = kDefaultTempo;
  double samplePos_ = 0.0;
  double ppqPos_ = 0.0;
  bool timeInfoEnabled_ = true;
  bool playing_ = true;
  bool transportChanged_ = true;
  bool processing_ = false;
  VstTimeInfo timeInfo_{};
  std::FILE* editLog_ = nullptr;
  std::string pluginDirectory_;
  SizeWindowHandler sizeWindow_;
};

}  // namespace hosttool
