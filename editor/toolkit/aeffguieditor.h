// Editor base of the toolkit: window rectangle, frame, knob mode, tick
// count, and the begin/end-edit route from controls to the effect and host.
#pragma once

#include <cstdint>

#include "editor/toolkit/vstguieditorinterface.h"
#include "host/aeffeditor.h"
#include "host/audioeffectx.h"

class AEffGUIEditor : public AEffEditor, public VSTGUIEditorInterface {
 public:
  explicit AEffGUIEditor(AudioEffect* effect);
  ~AEffGUIEditor() override;

  bool getRect(ERect** ppRect) override;
  bool open(void* ptr) override;
  // Closes the frame when a derived editor has not done so already.
  void close() override;
  bool isOpen() override { return frame != nullptr; }
  // Handles the window's events and repaints what changed.
  void idle() override;
  bool onKeyDown(VstKeyCode& keyCode) override;
  bool onKeyUp(VstKeyCode& keyCode) override;
  bool onWheel(float distance) override;
  bool setKnobMode(VstInt32 val) override;

  // Gesture brackets for the host, for the effect's own parameters only.
  void beginEdit(VstInt32 index) override;
  void endEdit(VstInt32 index) override;
  int32_t getKnobMode() const override { return knobMode; }
  // Work that must go on while a modal loop (a file dialog) runs.
  void doIdleStuff() override;

  // Milliseconds since an arbitrary start, 32 bits, wrapping.
  virtual uint32_t getTicks();
  CFrame* getFrame() const override { return frame; }

 protected:
  ERect rect{0, 0, 0, 0};
  static VstInt32 knobMode;

 private:
  bool inIdle = false;
};
