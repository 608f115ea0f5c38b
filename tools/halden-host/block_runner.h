// Runs audio through processReplacing in blocks of at most the block size,
// as a host's audio thread would, and advances the host's transport.
#pragma once

#include <cstddef>
#include <vector>

#include "tools/halden-host/audio_data.h"
#include "tools/halden-host/host_services.h"
#include "tools/halden-host/plugin_instance.h"

namespace hosttool {

class BlockRunner {
 public:
  BlockRunner(PluginInstance& plugin, HostServices& host);

  // Processes `frames` frames. Input channels are read from `input` starting
  // at `inputOffset` (already adapted to the plug-in's inputs; frames past
  // its end are silence; null means silence throughout). Output is appended
  // to `output` when it is not null (it must have the plug-in's outputs).
  void run(const AudioData* input, size_t inputOffset, size_t frames, AudioData* output);

 private:
  PluginInstance& plugin_;
  HostServices& host_;
  size_t blockSize_;
  std::vector<std::vector<float>> inputBlock_;
  std::vector<std::vector<float>> outputBlock_;
  std::vector<float*> inputPointers_;
  std::vector<float*> outputPointers_;
};

// Processes silence a block at a time at roughly real-time pace for
// `seconds` of wall-clock time, for plug-ins that prepare buffers on their
// own threads and only start working once those are ready. The transport
// stands still meanwhile.
void settleInRealTime(BlockRunner& runner, HostServices& host, double seconds);

}  // namespace hosttool
