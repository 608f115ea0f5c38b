#include "tools/halden-host/program_selection.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "tools/halden-host/tool_error.h"

namespace hosttool {
namespace {

// A plug-in that answers every index would otherwise keep the loop going.
constexpr int kMaxIndexedPrograms = 1024;
constexpr VstInt32 kAllCategories = -1;
constexpr VstIntPtr kChunkRejected = -1;

bool parseProgramNumber(const std::string& text, int& number) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  number = std::stoi(text);
  return true;
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

void selectHostProgram(PluginInstance& plugin, int program) {
  plugin.dispatch(effBeginSetProgram);
  plugin.dispatch(effSetProgram, 0, program);
  plugin.dispatch(effEndSetProgram);
}

}  // namespace

std::vector<std::string> listProgramNames(PluginInstance& plugin) {
  std::vector<std::string> names;
  for (int index = 0; index < kMaxIndexedPrograms; ++index) {
    std::vector<char> buffer(PluginInstance::kTextBufferBytes, 0);
    if (plugin.dispatch(effGetProgramNameIndexed, index, kAllCategories, buffer.data()) == 0) break;
    buffer.back() = 0;
    const std::string name(buffer.data());
    // Some plug-ins answer every index, repeating a name for programs they
    // do not have; past the host-visible count a repeat ends the list.
    if (index >= plugin.numPrograms() && std::find(names.begin(), names.end(), name) != names.end()) {
      break;
    }
    names.push_back(name);
  }
  return names;
}

bool selectsProgramsThroughChunk(PluginInstance& plugin) {
  return plugin.uniqueID() == kHaldenUniqueID && (plugin.flags() & effFlagsProgramChunks) != 0;
}

void setChunkCurrentProgram(std::vector<uint8_t>& chunk, int32_t program) {
  if (chunk.size() < kHaldenCurrentProgramOffset + sizeof(int32_t)) {
    throw ToolError("state chunk too short to hold a current program");
  }
  const uint32_t word = static_cast<uint32_t>(program);
  for (size_t byte = 0; byte < sizeof(word); ++byte) {
    chunk[kHaldenCurrentProgramOffset + byte] = static_cast<uint8_t>(word >> (8 * byte));
  }
}

// Only for our own plug-in (see selectsProgramsThroughChunk): it ignores
// effSetProgram, and its chunk's current-program word is what selects one of
// its internal programs when the chunk is restored.
void selectProgramThroughChunk(PluginInstance& plugin, int program) {
  void* data = nullptr;
  const VstIntPtr size = plugin.dispatch(effGetChunk, 0, 0, &data);
  if (size != static_cast<VstIntPtr>(kHaldenChunkBytes) || data == nullptr) {
    throw ToolError("unexpected state chunk of " + std::to_string(size) + " bytes");
  }
  // A copy: the plug-in owns its buffer and overwrites it on setChunk.
  std::vector<uint8_t> chunk(static_cast<const uint8_t*>(data),
                             static_cast<const uint8_t*>(data) + size);
  setChunkCurrentProgram(chunk, program);
  if (plugin.dispatch(effSetChunk, 0, size, chunk.data()) == kChunkRejected) {
    throw ToolError("the plug-in rejected the state chunk");
  }
}

int selectProgram(PluginInstance& plugin, const std::string& numberOrName) {
  const std::vector<std::string> names = listProgramNames(plugin);
  int program = -1;
  if (!parseProgramNumber(numberOrName, program)) {
    for (size_t i = 0; i < names.size() && program < 0; ++i) {
      if (names[i] == numberOrName) program = static_cast<int>(i);
    }
    for (size_t i = 0; i < names.size() && program < 0; ++i) {
      if (equalIgnoringCase(names[i], numberOrName)) program = static_cast<int>(i);
    }
    if (program < 0) throw ToolError("no program named '" + numberOrName + "'");
  }
  const int available = std::max(plugin.numPrograms(), static_cast<int>(names.size()));
  if (program >= available) {
    throw ToolError("program " + std::to_string(program) + " does not exist (the plug-in has " +
                    std::to_string(available) + ")");
  }
  if (selectsProgramsThroughChunk(plugin)) {
    selectProgramThroughChunk(plugin, program);
  } else if (program < plugin.numPrograms()) {
    selectHostProgram(plugin, program);
  } else {
    throw ToolError("program " + std::to_string(program) + " is named but cannot be selected");
  }
  return program;
}

}  // namespace hosttool
