#include "tools/halden-host/plugin_setup.h"

#include <fstream>
#include <iterator>

#include "tools/halden-host/program_selection.h"
#include "tools/halden-host/tool_error.h"

namespace hosttool {
namespace {

constexpr VstIntPtr kResume = 1;
constexpr VstIntPtr kSuspend = 0;
constexpr VstIntPtr kChunkRejected = -1;
constexpr double kMinTempo = 1.0;
constexpr double kMaxTempo = 10000.0;

}  // namespace

void openPlugin(PluginInstance& plugin, const HostServices& host) {
  plugin.dispatch(effOpen);
  plugin.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(host.sampleRate()));
  plugin.dispatch(effSetBlockSize, 0, host.blockSize());
}

void applyState(PluginInstance& plugin, const std::string& chunkPath, const std::string& program,
                const std::vector<ParameterSetting>& settings) {
  if (!chunkPath.empty()) {
    std::vector<unsigned char> chunk = readBinaryFile(chunkPath);
    if (plugin.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(chunk.size()), chunk.data()) ==
        kChunkRejected) {
      throw ToolError("the plug-in rejected the chunk in '" + chunkPath + "'");
    }
  }
  if (!program.empty()) selectProgram(plugin, program);
  for (const ParameterSetting& setting : settings) plugin.setParameter(setting.index, setting.value);
}

void startProcessing(PluginInstance& plugin) {
  plugin.dispatch(effMainsChanged, 0, kResume);
  plugin.dispatch(effStartProcess);
}

void stopProcessing(PluginInstance& plugin) {
  plugin.dispatch(effStopProcess);
  plugin.dispatch(effMainsChanged, 0, kSuspend);
}

std::vector<unsigned char> readBinaryFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ToolError("cannot read '" + path + "'");
  std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw ToolError("cannot read '" + path + "'");
  return data;
}

void writeBinaryFile(const std::string& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) throw ToolError("cannot write '" + path + "'");
}

void configureHost(HostServices& host, const ParsedArguments& args) {
  if (args.has("--tempo")) {
    const double tempo = parseNumber(args.value("--tempo", ""), "tempo");
    if (tempo < kMinTempo || tempo > kMaxTempo) throw ToolError("tempo out of range");
    host.setTempo(tempo);
  }
  if (args.has("--no-time")) host.setTimeInfoEnabled(false);
  if (args.has("--log")) host.openEditLog(args.value("--log", ""));
}

}  // namespace hosttool
