// script PLUGIN FILE: drives one plug-in instance through commands read from
// a file (or stdin for "-"), one a line, printing one result a line. The
// grammar is listed in usage_text.cpp.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tools/halden-host/audio_data.h"
#include "tools/halden-host/block_runner.h"
#include "tools/halden-host/command_line.h"
#include "tools/halden-host/commands.h"
#include "tools/halden-host/host_services.h"
#include "tools/halden-host/plugin_instance.h"
#include "tools/halden-host/plugin_setup.h"
#include "tools/halden-host/program_selection.h"
#include "tools/halden-host/script_tokens.h"
#include "tools/halden-host/tool_error.h"

namespace hosttool {
namespace {

constexpr size_t kMaxDispatchBuffer = 1 << 20;
constexpr int kMidiChannels = 16;
constexpr int kMidiDataMax = 127;
constexpr unsigned char kStatusNoteOff = 0x80;
constexpr unsigned char kStatusNoteOn = 0x90;
constexpr unsigned char kStatusControlChange = 0xB0;
constexpr float kImpulseLevel = 1.0f;
constexpr size_t kMaxProcessFrames = size_t{1} << 28;
constexpr double kMaxSleepSeconds = 60.0;

VstIntPtr parsePointerSized(const std::string& text, const std::string& what) {
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str(), &end, 0);
  if (text.empty() || *end != 0 || errno != 0) throw ToolError("bad " + what + " '" + text + "'");
  return static_cast<VstIntPtr>(value);
}

class ScriptSession {
 public:
  explicit ScriptSession(const std::string& pluginPath) : plugin_(pluginPath, host_) {}

  void execute(const std::vector<std::string>& words);

 private:
  void need(const std::vector<std::string>& words, size_t minimum, size_t maximum,
            const char* usage) const;
  int parameterIndex(const std::string& text);
  void doDispatch(const std::vector<std::string>& words);
  void doMidi(const std::vector<std::string>& words);
  void doTime(const std::vector<std::string>& words);
  void doProcess(const std::vector<std::string>& words);
  void doChunk(const std::vector<std::string>& words);
  void doProgram(const std::vector<std::string>& words);
  void doProgramName(const std::vector<std::string>& words);

  HostServices host_;
  PluginInstance plugin_;
  // Events stay valid until the next processing call, as the interface asks.
  VstMidiEvent midiEvent_{};
  VstEvents eventList_{};
};

void ScriptSession::need(const std::vector<std::string>& words, size_t minimum, size_t maximum,
                         const char* usage) const {
  if (words.size() < minimum || words.size() > maximum) throw ToolError(std::string("usage: ") + usage);
}

int ScriptSession::parameterIndex(const std::string& text) {
  const int index = parseInt(text, "parameter index");
  if (index < 0 || index >= plugin_.numParams()) {
    throw ToolError("parameter index " + text + " is out of range");
  }
  return index;
}

void ScriptSession::execute(const std::vector<std::string>& words) {
  const std::string& command = words[0];
  if (command == "rate") {
    need(words, 2, 2, "rate HZ");
    host_.setSampleRate(checkedSampleRate(parseNumber(words[1], "sample rate")));
    plugin_.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(host_.sampleRate()));
  } else if (command == "block") {
    need(words, 2, 2, "block FRAMES");
    host_.setBlockSize(checkedBlockSize(parseInt(words[1], "block size")));
    plugin_.dispatch(effSetBlockSize, 0, host_.blockSize());
  } else if (command == "open") {
    need(words, 1, 1, "open");
    plugin_.dispatch(effOpen);
  } else if (command == "resume" || command == "suspend") {
    need(words, 1, 1, "resume | suspend");
    plugin_.dispatch(effMainsChanged, 0, command == "resume" ? 1 : 0);
  } else if (command == "start" || command == "stop") {
    need(words, 1, 1, "start | stop");
    plugin_.dispatch(command == "start" ? effStartProcess : effStopProcess);
  } else if (command == "set") {
    need(words, 3, 3, "set INDEX VALUE");
    plugin_.setParameter(parameterIndex(words[1]), static_cast<float>(parseNumber(words[2], "value")));
  } else if (command == "get") {
    need(words, 2, 2, "get INDEX");
    const int index = parameterIndex(words[1]);
    std::printf("param %d %.9g\n", index, static_cast<double>(plugin_.getParameter(index)));
  } else if (command == "display" || command == "name" || command == "label") {
    need(words, 2, 2, "display | name | label INDEX");
    const int index = parameterIndex(words[1]);
    const VstInt32 opcode = command == "display" ? effGetParamDisplay
                            : command == "name"  ? effGetParamName
                                                 : effGetParamLabel;
    std::printf("%s %d %s\n", command.c_str(), index, plugin_.queryText(opcode, index).c_str());
  } else if (command == "dispatch") {
    doDispatch(words);
  } else if (command == "midi") {
    doMidi(words);
  } else if (command == "time") {
    doTime(words);
  } else if (command == "process") {
    doProcess(words);
  } else if (command == "chunk") {
    doChunk(words);
  } else if (command == "program") {
    doProgram(words);
  } else if (command == "progname") {
    doProgramName(words);
  } else if (command == "log") {
    need(words, 2, 2, "log FILE");
    host_.openEditLog(words[1]);
  } else if (command == "sleep") {
    // Some plug-ins finish work (buffer allocation, loading) on threads of
    // their own, which real-time hosts give time to.
    need(words, 2, 2, "sleep SECONDS");
    const double seconds = parseNumber(words[1], "seconds");
    if (seconds < 0.0 || seconds > kMaxSleepSeconds) throw ToolError("sleep must be 0..60 s");
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  } else if (command == "echo") {
    std::printf("%s\n", joinWords(words, 1).c_str());
  } else if (command == "close") {
    need(words, 1, 1, "close");
    plugin_.close();
    std::printf("closed\n");
  } else {
    throw ToolError("unknown command '" + command + "'");
  }
}

void ScriptSession::doDispatch(const std::vector<std::string>& words) {
  const char* usage = "dispatch OPCODE [INDEX [VALUE [OPT]]] [str TEXT | buf BYTES]";
  if (words.size() < 2) throw ToolError(std::string("usage: ") + usage);
  size_t next = 1;
  const VstInt32 opcode = parseInt(words[next++], "opcode");
  VstInt32 index = 0;
  VstIntPtr value = 0;
  float opt = 0.0f;
  auto isKeyword = [&](size_t i) { return i < words.size() && (words[i] == "str" || words[i] == "buf"); };
  if (next < words.size() && !isKeyword(next)) index = parseInt(words[next++], "index");
  if (next < words.size() && !isKeyword(next)) value = parsePointerSized(words[next++], "value");
  if (next < words.size() && !isKeyword(next)) opt = static_cast<float>(parseNumber(words[next++], "opt"));

  std::vector<char> buffer;
  bool showBuffer = false;
  if (next < words.size()) {
    if (words[next] == "str") {
      const std::string text = joinWords(words, next + 1);
      buffer.assign(text.begin(), text.end());
      buffer.push_back(0);
    } else if (words[next] == "buf" && next + 2 == words.size()) {
      const int bytes = parseInt(words[next + 1], "buffer size");
      if (bytes < 1 || static_cast<size_t>(bytes) > kMaxDispatchBuffer) throw ToolError("bad buffer size");
      buffer.assign(static_cast<size_t>(bytes), 0);
      showBuffer = true;
    } else {
      throw ToolError(std::string("usage: ") + usage);
    }
  }
  const VstIntPtr result =
      plugin_.dispatch(opcode, index, value, buffer.empty() ? nullptr : buffer.data(), opt);
  std::printf("dispatch %d %ld\n", opcode, static_cast<long>(result));
  if (showBuffer) {
    buffer.back() = 0;
    std::printf("buffer %s\n", buffer.data());
  }
}

void ScriptSession::doMidi(const std::vector<std::string>& words) {
  const char* usage = "midi cc CH CONTROLLER VALUE | note CH KEY VELOCITY | off CH KEY | raw S D1 D2 [DELTA]";
  if (words.size() < 2) throw ToolError(std::string("usage: ") + usage);
  const std::string& kind = words[1];
  const size_t dataWords = kind == "off" ? 2 : 3;
  if (words.size() != 2 + dataWords && words.size() != 3 + dataWords) {
    throw ToolError(std::string("usage: ") + usage);
  }
  int data[3] = {0, 0, 0};
  for (size_t i = 0; i < dataWords; ++i) data[i] = parseInt(words[2 + i], "MIDI value");
  const int delta = words.size() == 3 + dataWords ? parseInt(words.back(), "delta frames") : 0;

  unsigned char bytes[3] = {0, 0, 0};
  if (kind == "raw") {
    for (int i = 0; i < 3; ++i) {
      if (data[i] < 0 || data[i] > 0xFF) throw ToolError("MIDI byte out of range");
      bytes[i] = static_cast<unsigned char>(data[i]);
    }
  } else {
    if (data[0] < 1 || data[0] > kMidiChannels) throw ToolError("MIDI channel must be 1..16");
    if (data[1] < 0 || data[1] > kMidiDataMax || data[2] < 0 || data[2] > kMidiDataMax) {
      throw ToolError("MIDI data must be 0..127");
    }
    const unsigned char status = kind == "cc"     ? kStatusControlChange
                                 : kind == "note" ? kStatusNoteOn
                                 : kind == "off"  ? kStatusNoteOff
                                                  : 0;
    if (status == 0) throw ToolError(std::string("usage: ") + usage);
    bytes[0] = static_cast<unsigned char>(status | (data[0] - 1));
    bytes[1] = static_cast<unsigned char>(data[1]);
    bytes[2] = static_cast<unsigned char>(data[2]);
  }

  midiEvent_ = VstMidiEvent{};
  midiEvent_.type = kVstMidiType;
  midiEvent_.byteSize = sizeof(VstMidiEvent);
  midiEvent_.deltaFrames = delta;
  for (int i = 0; i < 3; ++i) midiEvent_.midiData[i] = static_cast<char>(bytes[i]);
  eventList_ = VstEvents{};
  eventList_.numEvents = 1;
  eventList_.events[0] = reinterpret_cast<VstEvent*>(&midiEvent_);
  const VstIntPtr result = plugin_.dispatch(effProcessEvents, 0, 0, &eventList_);
  std::printf("midi %ld\n", static_cast<long>(result));
}

void ScriptSession::doTime(const std::vector<std::string>& words) {
  const char* usage = "time tempo BPM | ppq POSITION | none | on | play | stop";
  if (words.size() < 2) throw ToolError(std::string("usage: ") + usage);
  const std::string& what = words[1];
  if ((what == "tempo" || what == "ppq") && words.size() == 3) {
    const double number = parseNumber(words[2], what);
    if (what == "tempo") {
      if (number <= 0.0) throw ToolError("tempo must be positive");
      host_.setTempo(number);
    } else {
      host_.setSongPositionPpq(number);
    }
  } else if (words.size() == 2 && (what == "none" || what == "on")) {
    host_.setTimeInfoEnabled(what == "on");
  } else if (words.size() == 2 && (what == "play" || what == "stop")) {
    host_.setTransportPlaying(what == "play");
  } else {
    throw ToolError(std::string("usage: ") + usage);
  }
}

void ScriptSession::doProcess(const std::vector<std::string>& words) {
  need(words, 3, 4, "process FRAMES silence|impulse|IN.wav [OUT.wav]");
  const int requested = parseInt(words[1], "frame count");
  if (requested < 0 || static_cast<size_t>(requested) > kMaxProcessFrames) {
    throw ToolError("bad frame count");
  }
  const size_t frames = static_cast<size_t>(requested);
  const double rate = host_.sampleRate();
  AudioData input;
  if (words[2] == "silence") {
    input = makeSilence(plugin_.numInputs(), frames, rate);
  } else if (words[2] == "impulse") {
    input = makeSilence(plugin_.numInputs(), frames, rate);
    for (auto& channel : input.channels) {
      if (!channel.empty()) channel[0] = kImpulseLevel;
    }
  } else {
    const AudioData file = readWav(words[2]);
    if (file.sampleRate != rate) throw ToolError("'" + words[2] + "' is not at the session's sample rate");
    input = adaptChannels(file, plugin_.numInputs());
  }
  AudioData output = makeSilence(plugin_.numOutputs(), 0, rate);
  BlockRunner runner(plugin_, host_);
  runner.run(&input, 0, frames, &output);
  if (words.size() == 4) writeFloatWav(words[3], output);
  const AudioStats stats = measure(output);
  std::printf("process %zu peak %.9g nonfinite %zu\n", frames, static_cast<double>(stats.peak),
              stats.nonFinite);
}

void ScriptSession::doChunk(const std::vector<std::string>& words) {
  need(words, 3, 4, "chunk get|set FILE [bank|program]");
  VstInt32 index = 0;
  if (words.size() == 4) {
    if (words[3] != "bank" && words[3] != "program") throw ToolError("chunk kind must be bank or program");
    index = words[3] == "program" ? 1 : 0;
  }
  if (words[1] == "get") {
    void* data = nullptr;
    const VstIntPtr size = plugin_.dispatch(effGetChunk, index, 0, &data);
    if (size > 0 && data == nullptr) throw ToolError("the plug-in gave a chunk size but no data");
    writeBinaryFile(words[2], data, size > 0 ? static_cast<size_t>(size) : 0);
    std::printf("chunk get %ld\n", static_cast<long>(size));
  } else if (words[1] == "set") {
    std::vector<unsigned char> data = readBinaryFile(words[2]);
    const VstIntPtr result =
        plugin_.dispatch(effSetChunk, index, static_cast<VstIntPtr>(data.size()), data.data());
    std::printf("chunk set %ld\n", static_cast<long>(result));
  } else {
    throw ToolError("usage: chunk get|set FILE [bank|program]");
  }
}

void ScriptSession::doProgram(const std::vector<std::string>& words) {
  if (words.size() < 2) throw ToolError("usage: program get | program N|NAME");
  if (words.size() == 2 && words[1] == "get") {
    std::printf("program %ld\n", static_cast<long>(plugin_.dispatch(effGetProgram)));
    return;
  }
  const int selected = selectProgram(plugin_, joinWords(words, 1));
  std::printf("program %d\n", selected);
}

void ScriptSession::doProgramName(const std::vector<std::string>& words) {
  if (words.size() == 2 && words[1] == "get") {
    std::printf("progname %s\n", plugin_.queryText(effGetProgramName).c_str());
  } else if (words.size() >= 3 && words[1] == "set") {
    std::string name = joinWords(words, 2);
    std::vector<char> buffer(name.begin(), name.end());
    buffer.resize(PluginInstance::kTextBufferBytes, 0);
    plugin_.dispatch(effSetProgramName, 0, 0, buffer.data());
  } else {
    throw ToolError("usage: progname get | progname set NAME");
  }
}

}  // namespace

int runScript(const std::vector<std::string>& args) {
  if (args.size() != 2) throw ToolError("usage: halden-host script PLUGIN FILE|-");
  std::ifstream file;
  std::istream* in = &std::cin;
  if (args[1] != "-") {
    file.open(args[1]);
    if (!file) throw ToolError("cannot read script '" + args[1] + "'");
    in = &file;
  }
  // Each result line reaches a reading test even if a plug-in crashes later.
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  ScriptSession session(args[0]);
  std::string line;
  int lineNumber = 0;
  while (std::getline(*in, line)) {
    ++lineNumber;
    try {
      const std::vector<std::string> words = splitScriptLine(line);
      if (!words.empty()) session.execute(words);
    } catch (const ToolError& error) {
      throw ToolError("script line " + std::to_string(lineNumber) + ": " + error.what());
    }
  }
  return 0;
}

}  // namespace hosttool
