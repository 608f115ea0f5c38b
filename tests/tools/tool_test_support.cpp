#include "tests/tools/tool_test_support.h"

#include <sndfile.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace hosttool_test {

std::string quoted(const std::string& text) {
  std::string result = "'";
  for (char c : text) {
    if (c == '\'') {
      result += "'\\''";
    } else {
      result += c;
    }
  }
  return result + "'";
}

ToolRun runTool(const std::string& arguments, const std::string& stdinText,
                const std::string& environment) {
  ScratchDir io;
  writeTextFile(io.path("stdin"), stdinText);
  const std::string command = environment + " " + quoted(HOST_TOOL_EXE) + " " + arguments + " <" +
                              quoted(io.path("stdin")) + " >" + quoted(io.path("stdout")) + " 2>" +
                              quoted(io.path("stderr"));
  const int status = std::system(command.c_str());
  ToolRun run;
  // The shell turns a signal into an exit status above 128.
  if (status != -1 && WIFEXITED(status) && WEXITSTATUS(status) < 128) run.exitCode = WEXITSTATUS(status);
  run.out = readTextFile(io.path("stdout"));
  run.err = readTextFile(io.path("stderr"));
  return run;
}

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "halden-host-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

namespace {

// Plug-ins loaded by the tool may read or write per-user settings: they get
// a private folder that lives as long as the test program.
struct PrivateConfigHome {
  ScratchDir dir;
  PrivateConfigHome() {
    std::filesystem::create_directories(dir.path("config"));
    ::setenv("XDG_CONFIG_HOME", dir.path("config").c_str(), 1);
  }
};
const PrivateConfigHome privateConfigHome;

}  // namespace

bool readWavFile(const std::string& path, Wav& wav) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) return false;
  wav.sampleRate = info.samplerate;
  wav.channels = info.channels;
  wav.format = info.format;
  std::vector<float> interleaved(static_cast<size_t>(info.frames) * info.channels);
  const sf_count_t got = sf_readf_float(file, interleaved.data(), info.frames);
  sf_close(file);
  wav.samples.assign(info.channels, std::vector<float>(static_cast<size_t>(got)));
  for (sf_count_t f = 0; f < got; ++f) {
    for (int c = 0; c < info.channels; ++c) wav.samples[c][f] = interleaved[f * info.channels + c];
  }
  return got == info.frames;
}

void writeWavFile(const std::string& path, const Wav& wav) {
  SF_INFO info{};
  info.samplerate = wav.sampleRate;
  info.channels = wav.channels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) throw std::runtime_error("cannot write test WAV");
  std::vector<float> interleaved(wav.frames() * wav.channels);
  for (size_t f = 0; f < wav.frames(); ++f) {
    for (int c = 0; c < wav.channels; ++c) interleaved[f * wav.channels + c] = wav.samples[c][f];
  }
  sf_writef_float(file, interleaved.data(), static_cast<sf_count_t>(wav.frames()));
  sf_close(file);
}

Wav constantWav(int channels, size_t frames, int rate, float value) {
  Wav wav;
  wav.sampleRate = rate;
  wav.channels = channels;
  wav.samples.assign(channels, std::vector<float>(frames, value));
  return wav;
}

void writeTextFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

std::string readTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

int countLines(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n' ? 1 : 0;
  return lines;
}

}  // namespace hosttool_test
