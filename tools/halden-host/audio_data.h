// Planar audio in memory, the form processReplacing works on, and the WAV
// files the tool reads and writes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace hosttool {

struct AudioData {
  double sampleRate = 0.0;
  std::vector<std::vector<float>> channels;

  size_t frames() const { return channels.empty() ? 0 : channels.front().size(); }
  int channelCount() const { return static_cast<int>(channels.size()); }
};

AudioData makeSilence(int channels, size_t frames, double sampleRate);

// Maps the file's channels onto a plug-in's inputs: a mono file feeds every
// input, extra file channels are dropped, missing ones are silent.
AudioData adaptChannels(const AudioData& source, int targetChannels);

// Throws ToolError for a missing or unreadable file.
AudioData readWav(const std::string& path);
// Writes 32-bit float WAV; throws ToolError when the file cannot be written.
void writeFloatWav(const std::string& path, const AudioData& audio);

struct AudioStats {
  float peak = 0.0f;
  size_t nonFinite = 0;
};
AudioStats measure(const AudioData& audio);

}  // namespace hosttool
