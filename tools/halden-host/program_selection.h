// Finding and selecting a plug-in's program by number or by name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/halden-host/plugin_instance.h"

namespace hosttool {

// Programs a plug-in names through effGetProgramNameIndexed, in index order.
std::vector<std::string> listProgramNames(PluginInstance& plugin);

// Accepts a number or a name (exact first, then ignoring case); returns the
// index that was selected. Throws ToolError when nothing matches.
int selectProgram(PluginInstance& plugin, const std::string& numberOrName);

// Our own plug-in reports one host program but keeps 17 internal programs
// and ignores effSetProgram; its state chunk carries the current internal
// program, so restoring a chunk is the host-side way to switch programs.
constexpr VstInt32 kHaldenUniqueID = fourCharCode('H', 'l', 'd', 'n');
constexpr size_t kHaldenChunkBytes = 1736;
constexpr size_t kHaldenCurrentProgramOffset = 12;  // little-endian int32

bool selectsProgramsThroughChunk(PluginInstance& plugin);
// Writes `program` as the chunk's current-program word.
void setChunkCurrentProgram(std::vector<uint8_t>& chunk, int32_t program);
void selectProgramThroughChunk(PluginInstance& plugin, int program);

}  // namespace hosttool
