// Running the host tool as a child process and reading the files it writes.
#pragma once

#include <string>
#include <vector>

namespace hosttool_test {

struct ToolRun {
  int exitCode = -1;  // -1 when the tool did not exit normally
  std::string out;
  std::string err;
};

// Runs the tool with already-quoted arguments; stdinText feeds standard input.
ToolRun runTool(const std::string& arguments, const std::string& stdinText = "",
                const std::string& environment = "");
std::string quoted(const std::string& text);

// A fresh folder, removed with everything in it when this goes away.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  std::string path(const std::string& name) const { return root_ + "/" + name; }

 private:
  std::string root_;
};

struct Wav {
  int sampleRate = 0;
  int channels = 0;
  int format = 0;  // libsndfile format word
  std::vector<std::vector<float>> samples;
  size_t frames() const { return samples.empty() ? 0 : samples[0].size(); }
};

bool readWavFile(const std::string& path, Wav& wav);
void writeWavFile(const std::string& path, const Wav& wav);
Wav constantWav(int channels, size_t frames, int rate, float value);
void writeTextFile(const std::string& path, const std::string& text);
std::string readTextFile(const std::string& path);
bool fileExists(const std::string& path);
int countLines(const std::string& text);

}  // namespace hosttool_test
