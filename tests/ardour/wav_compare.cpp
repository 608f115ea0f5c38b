// Compares two WAV files sample by sample and prints the largest difference.
//
//   wav-compare A.wav B.wav [--tolerance T] [--skip-a N] [--skip-b N] [--frames N]
//
// Exit status: 0 when every difference is within the tolerance, 1 when one is
// not, 2 when the files cannot be compared (unreadable, different channel
// counts or rates, fewer frames than asked for, a non-finite sample).

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWithinTolerance = 0;
constexpr int kBeyondTolerance = 1;
constexpr int kCannotCompare = 2;

struct Audio {
  std::vector<float> samples;  // interleaved
  int channels = 0;
  int rate = 0;
  long frames() const { return channels > 0 ? static_cast<long>(samples.size()) / channels : 0; }
};

bool readWav(const char* path, Audio& audio) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path, SFM_READ, &info);
  if (!file) {
    std::fprintf(stderr, "wav-compare: cannot read %s: %s\n", path, sf_strerror(nullptr));
    return false;
  }
  audio.channels = info.channels;
  audio.rate = info.samplerate;
  audio.samples.assign(static_cast<size_t>(info.frames) * info.channels, 0.0f);
  const sf_count_t got = sf_readf_float(file, audio.samples.data(), info.frames);
  sf_close(file);
  if (got != info.frames) {
    std::fprintf(stderr, "wav-compare: %s is shorter than its header says\n", path);
    return false;
  }
  return true;
}

bool parseCount(const char* text, long& value) {
  char* end = nullptr;
  value = std::strtol(text, &end, 10);
  return end != text && *end == '\0' && value >= 0;
}

struct Options {
  const char* pathA = nullptr;
  const char* pathB = nullptr;
  double tolerance = 0.0;
  long skipA = 0;
  long skipB = 0;
  long frames = -1;  // -1: as many as both files hold after the skips
};

bool parseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--tolerance") == 0 && hasValue) {
      char* end = nullptr;
      options.tolerance = std::strtod(argv[++i], &end);
      if (*end != '\0' || !(options.tolerance >= 0.0)) return false;
    } else if (std::strcmp(argv[i], "--skip-a") == 0 && hasValue) {
      if (!parseCount(argv[++i], options.skipA)) return false;
    } else if (std::strcmp(argv[i], "--skip-b") == 0 && hasValue) {
      if (!parseCount(argv[++i], options.skipB)) return false;
    } else if (std::strcmp(argv[i], "--frames") == 0 && hasValue) {
      if (!parseCount(argv[++i], options.frames)) return false;
    } else if (!options.pathA) {
      options.pathA = argv[i];
    } else if (!options.pathB) {
      options.pathB = argv[i];
    } else {
      return false;
    }
  }
  return options.pathA && options.pathB;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: wav-compare A.wav B.wav [--tolerance T] [--skip-a N] [--skip-b N] "
                 "[--frames N]\n");
    return kCannotCompare;
  }
  Audio a, b;
  if (!readWav(options.pathA, a) || !readWav(options.pathB, b)) return kCannotCompare;
  if (a.channels != b.channels || a.rate != b.rate) {
    std::fprintf(stderr, "wav-compare: %d ch %d Hz against %d ch %d Hz\n", a.channels, a.rate,
                 b.channels, b.rate);
    return kCannotCompare;
  }
  const long availableA = a.frames() - options.skipA;
  const long availableB = b.frames() - options.skipB;
  long frames = options.frames >= 0 ? options.frames : std::min(availableA, availableB);
  if (frames <= 0 || frames > availableA || frames > availableB) {
    std::fprintf(stderr, "wav-compare: not enough frames (%ld and %ld after the skips)\n",
                 availableA, availableB);
    return kCannotCompare;
  }

  double largest = 0.0;
  long largestFrame = 0;
  int largestChannel = 0;
  const int channels = a.channels;
  for (long frame = 0; frame < frames; ++frame) {
    for (int channel = 0; channel < channels; ++channel) {
      const float x = a.samples[(frame + options.skipA) * channels + channel];
      const float y = b.samples[(frame + options.skipB) * channels + channel];
      if (!std::isfinite(x) || !std::isfinite(y)) {
        std::fprintf(stderr, "wav-compare: non-finite sample at frame %ld channel %d\n", frame,
                     channel);
        return kCannotCompare;
      }
      const double difference = std::fabs(static_cast<double>(x) - static_cast<double>(y));
      if (difference > largest) {
        largest = difference;
        largestFrame = frame;
        largestChannel = channel;
      }
    }
  }
  std::printf("largest difference %.9g at frame %ld channel %d (%ld frames, %d channels)\n",
              largest, largestFrame, largestChannel, frames, channels);
  return largest <= options.tolerance ? kWithinTolerance : kBeyondTolerance;
}
