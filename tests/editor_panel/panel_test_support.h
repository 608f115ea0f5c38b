// The real plug-in with its editor open off-screen: a hand-driven clock,
// chosen engine readings, synthetic mouse and key events, and a fake host
// that records automation.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/controls/myframe.h"
#include "editor/editor.h"
#include "editor/panel_layout.h"
#include "editor/preset_bar_layout.h"
#include "editor/toolkit/vstgui.h"
#include "editor/zoom_preference.h"
#include "effect/parameters.h"
#include "plugin/qel.h"
#include "host/vst2_abi.h"
#include "layout/panel_layout.h"
#include "layout/zoom.h"
#include "presets/settings_store.h"
#include "tests/host/temporary_settings.h"

extern "C" AEffect* VSTPluginMain(audioMasterCallback audioMaster);

namespace panel_test {

// XDG_CONFIG_HOME in a fresh temporary folder for the object's life, so no
// test touches the user's real settings.
using ScopedConfigHome = TemporarySettings;

// Host requests the editor causes, in order.
struct HostRecord {
  VstInt32 opcode;
  VstInt32 index;
  float value;
};

inline std::vector<HostRecord>& hostRecords() {
  static std::vector<HostRecord> records;
  return records;
}

// Whether the fake host lets the editor's window change size.
inline bool& hostAcceptsSizeWindow() {
  static bool accepts = false;
  return accepts;
}

inline VstIntPtr fakeHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void*,
                          float opt) {
  if (opcode == audioMasterVersion) return kVstVersion;
  if (opcode == audioMasterSizeWindow) {
    // index × value: the size asked for, kept as width in index and height in value.
    hostRecords().push_back({opcode, index, static_cast<float>(value)});
    return hostAcceptsSizeWindow() ? 1 : 0;
  }
  if (opcode == audioMasterAutomate || opcode == audioMasterBeginEdit ||
      opcode == audioMasterEndEdit)
    hostRecords().push_back({opcode, index, opt});
  return 0;
}

constexpr uint32_t kStartTicks = 100000;

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    hostRecords().clear();
    hostAcceptsSizeWindow() = false;
    // The window opens at 100 % whatever the desktop's scale; zoom tests choose.
    storeZoom(SettingsStore(), layout::kDefaultZoom);
    record = VSTPluginMain(fakeHost);
    ASSERT_NE(record, nullptr);
    fx = static_cast<Qel*>(record->object);
    editor = static_cast<Editor*>(fx->getEditor());
    ASSERT_NE(editor, nullptr);
    editor->setTickSource([this] { return now; });
    editor->setReadingsSource([this](PanelReadings& r) { r = readings; });
    ASSERT_TRUE(editor->open(nullptr));
    frame = editor->getFrame();
    ASSERT_NE(frame, nullptr);
    hover(CPoint(5, 5));  // the pointer over the bare panel
  }
  void TearDown() override {
    if (editor) editor->close();
    if (record) record->dispatcher(record, effClose, 0, 0, nullptr, 0.f);
  }

  CControl* control(int32_t tag) const {
    for (int32_t i = 0; i < frame->getNbViews(); ++i)
      if (auto* c = dynamic_cast<CControl*>(frame->getView(i)); c && c->getTag() == tag) return c;
    return nullptr;
  }
  static CPoint centre(const CRect& r) { return r.getCenter(); }
  static CPoint centre(const layout::PanelRect& r) { return toCRect(r).getCenter(); }

  void hover(const CPoint& where) { frame->platformOnMouseMoved(where, 0); }
  void click(const CPoint& where, int32_t buttons = kLButton) {
    frame->platformOnMouseDown(where, buttons);
    frame->platformOnMouseUp(where, buttons & ~kDoubleClick);
  }
  void doubleClick(const CPoint& where, int32_t modifiers = 0) {
    click(where, kLButton | modifiers);
    click(where, kLButton | kDoubleClick | modifiers);
  }
  // A control reporting a value the way its mouse handling would.
  void report(int32_t tag, float value) {
    CControl* c = control(tag);
    ASSERT_NE(c, nullptr);
    c->setValue(value);
    c->valueChanged();
  }
  void typeKey(int32_t character, unsigned char virt = 0) {
    VstKeyCode key{};
    key.character = character;
    key.virt = virt;
    frame->platformOnKeyDown(key);
  }

  void idleAt(uint32_t ticks) {
    now = ticks;
    editor->idle();
  }
  // The frames the four digits show; 10 is blank.
  std::vector<int> digitFrames() const {
    std::vector<int> frames;
    for (int32_t tag = panel::kTagDigit1; tag <= panel::kTagDigit4; ++tag)
      frames.push_back(static_cast<int>(control(tag)->getValue() * 11.f + 0.5f));
    return frames;
  }
  float param(VstInt32 index) { return fx->getParameter(index); }
  void set(VstInt32 index, float value) { fx->setParameter(index, value); }
  void setTempo(float bpm) { fx->setTempoFromControl(bpm / 400.f); }
  int automationsOf(VstInt32 index) const {
    int count = 0;
    for (const HostRecord& r : hostRecords())
      if (r.opcode == audioMasterAutomate && r.index == index) ++count;
    return count;
  }
  std::string controllerText() {
    editor->idle();
    return static_cast<CParamDisplay*>(control(presetbar::kTagControllerDisplay))->getDisplayText();
  }

  ScopedConfigHome configHome;
  AEffect* record = nullptr;
  Qel* fx = nullptr;
  Editor* editor = nullptr;
  CFrame* frame = nullptr;
  uint32_t now = kStartTicks;
  PanelReadings readings;
};

constexpr int B = 10;  // a blank digit
inline float numValue(int index) { return paramFromIndex(index, kNumSteps); }
inline float denValue(int index) { return paramFromIndex(index, kDenSteps); }
constexpr float kOn = 0.75f;
constexpr float kOff = 0.25f;

}  // namespace panel_test
