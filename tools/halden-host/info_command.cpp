// info PLUGIN: identity, flags, parameters and programs of any plug-in.
#include <cstdio>
#include <string>

#include "tools/halden-host/commands.h"
#include "tools/halden-host/command_line.h"
#include "tools/halden-host/host_services.h"
#include "tools/halden-host/plugin_instance.h"
#include "tools/halden-host/plugin_setup.h"
#include "tools/halden-host/program_selection.h"
#include "tools/halden-host/tool_error.h"

namespace hosttool {
namespace {

struct FlagName {
  VstInt32 bit;
  const char* name;
};

constexpr FlagName kFlagNames[] = {
    {effFlagsHasEditor, "editor"},          {effFlagsCanReplacing, "replacing"},
    {effFlagsProgramChunks, "chunks"},      {effFlagsIsSynth, "synth"},
    {effFlagsNoSoundInStop, "no-sound-in-stop"}, {effFlagsCanDoubleReplacing, "double"},
};

std::string describeFlags(VstInt32 flags) {
  std::string names;
  for (const FlagName& flag : kFlagNames) {
    if ((flags & flag.bit) == 0) continue;
    if (!names.empty()) names += ", ";
    names += flag.name;
  }
  return names;
}

// The four characters of a packed identifier, or dots where not printable.
std::string fourCharText(VstInt32 id) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((static_cast<uint32_t>(id) >> shift) & 0xFF);
    text += (c >= 0x20 && c < 0x7F) ? c : '.';
  }
  return text;
}

}  // namespace

int runInfo(const std::vector<std::string>& args) {
  AcceptedOptions accepted;
  accepted.withValue = {"--rate", "--block"};
  const ParsedArguments parsed = parseArguments(args, accepted);
  if (parsed.positional.size() != 1) throw ToolError("usage: halden-host info PLUGIN");

  HostServices host;
  host.setSampleRate(checkedSampleRate(parseNumber(parsed.value("--rate", "44100"), "sample rate")));
  host.setBlockSize(checkedBlockSize(parseInt(parsed.value("--block", "512"), "block size")));
  PluginInstance plugin(parsed.positional[0], host);
  openPlugin(plugin, host);

  std::printf("path: %s\n", plugin.path().c_str());
  std::printf("effect name: %s\n", plugin.queryText(effGetEffectName).c_str());
  std::printf("vendor: %s\n", plugin.queryText(effGetVendorString).c_str());
  std::printf("product: %s\n", plugin.queryText(effGetProductString).c_str());
  std::printf("vendor version: %ld\n", static_cast<long>(plugin.dispatch(effGetVendorVersion)));
  std::printf("vst version: %ld\n", static_cast<long>(plugin.dispatch(effGetVstVersion)));
  std::printf("unique id: '%s' (0x%08x)\n", fourCharText(plugin.uniqueID()).c_str(),
              static_cast<unsigned>(plugin.uniqueID()));
  std::printf("version: %d\n", plugin.version());
  std::printf("category: %ld\n", static_cast<long>(plugin.dispatch(effGetPlugCategory)));
  std::printf("flags: 0x%x (%s)\n", static_cast<unsigned>(plugin.flags()),
              describeFlags(plugin.flags()).c_str());
  std::printf("inputs: %d\n", plugin.numInputs());
  std::printf("outputs: %d\n", plugin.numOutputs());
  std::printf("initial delay: %d\n", plugin.initialDelay());

  std::printf("parameters: %d\n", plugin.numParams());
  for (int i = 0; i < plugin.numParams(); ++i) {
    const std::string name = plugin.queryText(effGetParamName, i);
    const std::string label = plugin.queryText(effGetParamLabel, i);
    const std::string display = plugin.queryText(effGetParamDisplay, i);
    std::printf("param %d: name=\"%s\" label=\"%s\" display=\"%s\" value=%.6g\n", i, name.c_str(),
                label.c_str(), display.c_str(), static_cast<double>(plugin.getParameter(i)));
  }

  std::printf("programs: %d\n", plugin.numPrograms());
  std::printf("current program: %ld \"%s\"\n", static_cast<long>(plugin.dispatch(effGetProgram)),
              plugin.queryText(effGetProgramName).c_str());
  const std::vector<std::string> names = listProgramNames(plugin);
  std::printf("program names: %zu\n", names.size());
  for (size_t i = 0; i < names.size(); ++i) std::printf("program %zu: \"%s\"\n", i, names[i].c_str());

  plugin.close();
  return 0;
}

}  // namespace hosttool
