// Cost of redrawing the whole editor window (870 × 101 at 100 %, 1740 × 202
// at 200 %, every bitmap) off screen, of an idle pass with nothing to redraw,
// and of opening the editor (decoding the skin drawn for the zoom).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "editor/editor.h"
#include "editor/toolkit/cframe.h"
#include "editor/zoom_preference.h"
#include "host/vst2_abi.h"
#include "presets/settings_store.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

namespace {

VstIntPtr benchHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? kVstVersion : 0;
}

// The plug-in with its editor open without a parent window at a zoom in
// percent, with settings in a throw-away folder.
class OpenEditor {
 public:
  explicit OpenEditor(int zoomPercent = 100) {
    char pattern[] = "/tmp/halden-bench-XXXXXX";
    if (const char* made = mkdtemp(pattern)) folder = made;
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    storeZoom(SettingsStore(), zoomPercent);
    effect = VSTPluginMain(benchHost);
    effect->dispatcher(effect, effEditOpen, 0, 0, nullptr, 0.0f);
    auto* owner = static_cast<AudioEffect*>(effect->object);
    editor = static_cast<Editor*>(owner->getEditor());
    frame = editor->getFrame();
  }
  ~OpenEditor() {
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  AEffect* effect = nullptr;
  Editor* editor = nullptr;
  CFrame* frame = nullptr;
  std::string folder = "/tmp";
};

// state.range(0): the zoom in percent.
void BM_FullWindowRedraw(benchmark::State& state) {
  OpenEditor editor(static_cast<int>(state.range(0)));
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
BENCHMARK(BM_FullWindowRedraw)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_IdleWithNothingDirty(benchmark::State& state) {
  OpenEditor editor(static_cast<int>(state.range(0)));
  if (!editor.frame) {
    state.SkipWithError("the editor did not open");
    return;
  }
  editor.frame->idle();
  for (auto _ : state) editor.frame->idle();
}
BENCHMARK(BM_IdleWithNothingDirty)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

// The editor's own idle pass (engine poll, digits, lamps, meter, controller
// display) with the engine standing still, so nothing it shows changes.
void BM_EditorIdleWithNothingChanged(benchmark::State& state) {
  OpenEditor editor(static_cast<int>(state.range(0)));
  if (!editor.frame) {
    state.SkipWithError("the editor did not open");
    return;
  }
  // The pointer rests on bare panel; without a pointer the pass stops early.
  editor.frame->platformOnMouseMoved(CPoint(5, 5), 0);
  editor.editor->idle();
  editor.editor->idle();
  const uint64_t drawsBefore = editor.frame->getDrawCount();
  for (auto _ : state) editor.editor->idle();
  // Views repainted during the timed passes: none when nothing changed.
  state.counters["redraws"] = static_cast<double>(editor.frame->getDrawCount() - drawsBefore);
}
BENCHMARK(BM_EditorIdleWithNothingChanged)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

// effEditOpen up to the first full picture: the frame, every control, the
// skin decoded at the zoom, and the first paint.
void BM_OpenEditor(benchmark::State& state) {
  OpenEditor editor(static_cast<int>(state.range(0)));
  if (!editor.frame) {
    state.SkipWithError("the editor did not open");
    return;
  }
  for (auto _ : state) {
    editor.effect->dispatcher(editor.effect, effEditClose, 0, 0, nullptr, 0.0f);
    editor.effect->dispatcher(editor.effect, effEditOpen, 0, 0, nullptr, 0.0f);
    editor.editor->getFrame()->idle();
  }
}
BENCHMARK(BM_OpenEditor)->Arg(100)->Arg(150)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
