#include "tools/halden-host/block_runner.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "tools/halden-host/tool_error.h"

namespace hosttool {

BlockRunner::BlockRunner(PluginInstance& plugin, HostServices& host)
    : plugin_(plugin), host_(host), blockSize_(static_cast<size_t>(host.blockSize())) {
  if (host.blockSize() <= 0) throw ToolError("block size must be at least 1");
  // At least one channel each, so a plug-in that ignores its counts still
  // gets valid pointers.
  const size_t inputs = static_cast<size_t>(std::max(1, plugin.numInputs()));
  const size_t outputs = static_cast<size_t>(std::max(1, plugin.numOutputs()));
  inputBlock_.assign(inputs, std::vector<float>(blockSize_, 0.0f));
  outputBlock_.assign(outputs, std::vector<float>(blockSize_, 0.0f));
  for (auto& channel : inputBlock_) inputPointers_.push_back(channel.data());
  for (auto& channel : outputBlock_) outputPointers_.push_back(channel.data());
}

void BlockRunner::run(const AudioData* input, size_t inputOffset, size_t frames, AudioData* output) {
  const size_t plugInputs = static_cast<size_t>(plugin_.numInputs());
  const size_t plugOutputs = static_cast<size_t>(plugin_.numOutputs());
  if (output != nullptr && output->channels.size() != plugOutputs) {
    throw ToolError("output channels do not match the plug-in's outputs");
  }
  size_t done = 0;
  while (done < frames) {
    const size_t count = std::min(blockSize_, frames - done);
    for (size_t c = 0; c < inputBlock_.size(); ++c) {
      float* block = inputBlock_[c].data();
      std::fill(block, block + count, 0.0f);
      if (input == nullptr || c >= plugInputs || c >= input->channels.size()) continue;
      const std::vector<float>& source = input->channels[c];
      const size_t from = inputOffset + done;
      if (from >= source.size()) continue;
      const size_t available = std::min(count, source.size() - from);
      std::copy(source.begin() + from, source.begin() + from + available, block);
    }
    for (auto& channel : outputBlock_) std::fill(channel.begin(), channel.begin() + count, 0.0f);

    host_.setProcessing(true);
    plugin_.processReplacing(inputPointers_.data(), outputPointers_.data(), static_cast<int>(count));
    host_.setProcessing(false);
    host_.advance(static_cast<int>(count));

    if (output != nullptr) {
      for (size_t c = 0; c < plugOutputs; ++c) {
        output->channels[c].insert(output->channels[c].end(), outputBlock_[c].begin(),
                                   outputBlock_[c].begin() + count);
      }
    }
    done += count;
  }
}

void settleInRealTime(BlockRunner& runner, HostServices& host, double seconds) {
  if (seconds <= 0.0) return;
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(seconds));
  const auto blockTime = std::chrono::duration<double>(host.blockSize() / host.sampleRate());
  host.setTransportPlaying(false);
  while (Clock::now() < end) {
    runner.run(nullptr, 0, static_cast<size_t>(host.blockSize()), nullptr);
    std::this_thread::sleep_for(blockTime);
  }
  host.rewind();
  host.setTransportPlaying(true);
}

}  // namespace hosttool
