// Cost of redrawing the whole editor window (870 × 101, every bitmap) off
// screen, and of an idle pass with nothing to redraw.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "editor/toolkit/aeffguieditor.h"
#include "editor/toolkit/cframe.h"
#include "host/vst2_abi.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

namespace {

VstIntPtr benchHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

// The plug-in with its editor open without a parent window, with settings
// in a throw-away folder.
class OpenEditor {
 public:
  OpenEditor() {
    char pattern[] = "/tmp/halden-bench-XXXXXX";
    if (const char* made = mkdtemp(pattern)) folder = made;
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    effect = VSTPluginMain(benchHost);
    effect->dispatcher(effect, effEditOpen, 0, 0, nullptr, 0.0f);
    auto* owner = static_cast<AudioEffect*>(effect->object);
    frame = static_cast<AEffGUIEditor*>(owner->getEditor())->getFrame();
  }
  ~OpenEditor() {
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  AEffect* effect = nullptr;
  CFrame* frame = nullptr;
  std::string folder = "/tmp";
};

void BM_FullWindowRedraw(benchmark::State& state) {
  OpenEditor editor;
  if (!editor.frame) {
    state.SkipWithError("the editor did not open");
    return;
  }
  for (auto _ : state) {
    editor.frame->setDirty(true);
    editor.frame->idle();
  }
  state.counters["draws"] = static_cast<double>(editor.frame->getDrawCount());
}
BENCHMARK(BM_FullWindowRedraw)->Unit(benchmark::kMicrosecond);

void BM_IdleWithNothingDirty(benchmark::State& state) {
  OpenEditor editor;
  if (!editor.frame) {
    state.SkipWithError("the editor did not open");
    return;
  }
  editor.frame->idle();
  for (auto _ : state) editor.frame->idle();
}
BENCHMARK(BM_IdleWithNothingDirty)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
