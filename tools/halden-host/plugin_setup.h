// The start-up and shut-down sequence shared by the commands, in the order
// hosts use: open, rate, block size, state, resume, start, ... stop, suspend.
#pragma once

#include <string>
#include <vector>

#include "tools/halden-host/command_line.h"
#include "tools/halden-host/host_services.h"
#include "tools/halden-host/plugin_instance.h"

namespace hosttool {

// effOpen, then sample rate and block size from the host.
void openPlugin(PluginInstance& plugin, const HostServices& host);

// Restores a chunk file (when a path is given), then selects the program
// (when given), then applies the settings in order.
void applyState(PluginInstance& plugin, const std::string& chunkPath, const std::string& program,
                const std::vector<ParameterSetting>& settings);

void startProcessing(PluginInstance& plugin);  // resume + start process
void stopProcessing(PluginInstance& plugin);   // stop process + suspend

std::vector<unsigned char> readBinaryFile(const std::string& path);
void writeBinaryFile(const std::string& path, const void* data, size_t size);

// Transport and logging options every processing command shares.
void configureHost(HostServices& host, const ParsedArguments& args);

}  // namespace hosttool
