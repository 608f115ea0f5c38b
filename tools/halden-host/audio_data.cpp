#include "tools/halden-host/audio_data.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

#include "tools/halden-host/tool_error.h"

namespace hosttool {
namespace {

// libsndfile closes the file when this goes out of scope.
struct SndFile {
  SNDFILE* handle = nullptr;
  ~SndFile() {
    if (handle != nullptr) sf_close(handle);
  }
};

constexpr size_t kIoChunkFrames = 8192;

}  // namespace

AudioData makeSilence(int channels, size_t frames, double sampleRate) {
  AudioData audio;
  audio.sampleRate = sampleRate;
  audio.channels.assign(static_cast<size_t>(channels), std::vector<float>(frames, 0.0f));
  return audio;
}

AudioData adaptChannels(const AudioData& source, int targetChannels) {
  AudioData adapted = makeSilence(targetChannels, source.frames(), source.sampleRate);
  const int sourceChannels = source.channelCount();
  for (int c = 0; c < targetChannels; ++c) {
    if (sourceChannels == 1) {
      adapted.channels[c] = source.channels[0];
    } else if (c < sourceChannels) {
      adapted.channels[c] = source.channels[c];
    }
  }
  return adapted;
}

AudioData readWav(const std::string& path) {
  SF_INFO info{};
  SndFile file;
  file.handle = sf_open(path.c_str(), SFM_READ, &info);
  if (file.handle == nullptr) {
    throw ToolError("cannot read audio file '" + path + "': " + sf_strerror(nullptr));
  }
  if (info.channels <= 0 || info.samplerate <= 0 || info.frames < 0) {
    throw ToolError("audio file '" + path + "' has no usable format");
  }
  AudioData audio = makeSilence(info.channels, static_cast<size_t>(info.frames), info.samplerate);
  std::vector<float> interleaved(kIoChunkFrames * static_cast<size_t>(info.channels));
  size_t done = 0;
  while (done < audio.frames()) {
    const sf_count_t want = static_cast<sf_count_t>(std::min(kIoChunkFrames, audio.frames() - done));
    const sf_count_t got = sf_readf_float(file.handle, interleaved.data(), want);
    if (got <= 0) break;  // a truncated file keeps the silence it was given
    for (sf_count_t f = 0; f < got; ++f) {
      for (int c = 0; c < info.channels; ++c) {
        audio.channels[c][done + f] = interleaved[static_cast<size_t>(f) * info.channels + c];
      }
    }
    done += static_cast<size_t>(got);
  }
  return audio;
}

void writeFloatWav(const std::string& path, const AudioData& audio) {
  if (audio.channelCount() == 0) throw ToolError("nothing to write to '" + path + "': no channels");
  SF_INFO info{};
  info.samplerate = static_cast<int>(std::lround(audio.sampleRate));
  info.channels = audio.channelCount();
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SndFile file;
  file.handle = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file.handle == nullptr) {
    throw ToolError("cannot write audio file '" + path + "': " + sf_strerror(nullptr));
  }
  const size_t channels = static_cast<size_t>(info.channels);
  std::vector<float> interleaved(kIoChunkFrames * channels);
  size_t done = 0;
  while (done < audio.frames()) {
    const size_t count = std::min(kIoChunkFrames, audio.frames() - done);
    for (size_t f = 0; f < count; ++f) {
      for (size_t c = 0; c < channels; ++c) interleaved[f * channels + c] = audio.channels[c][done + f];
    }
    if (sf_writef_float(file.handle, interleaved.data(), static_cast<sf_count_t>(count)) !=
        static_cast<sf_count_t>(count)) {
      throw ToolError("cannot write audio file '" + path + "': " + sf_strerror(file.handle));
    }
    done += count;
  }
}

AudioStats measure(const AudioData& audio) {
  AudioStats stats;
  for (const auto& channel : audio.channels) {
    for (float sample : channel) {
      if (!std::isfinite(sample)) {
        ++stats.nonFinite;
      } else {
        stats.peak = std::max(stats.peak, std::fabs(sample));
      }
    }
  }
  return stats;
}

}  // namespace hosttool
