// What a frame needs from the editor that owns it: the edit gesture route to
// the host, the knob mode and the editor's idle work during modal loops.
#pragma once

#include <cstdint>

class CFrame;

enum CKnobMode { kCircularMode = 0, kRelativCircularMode = 1, kLinearMode = 2 };

class VSTGUIEditorInterface {
 public:
  virtual ~VSTGUIEditorInterface() = default;
  virtual void doIdleStuff() {}
  virtual void beginEdit(int32_t index) { (void)index; }
  virtual void endEdit(int32_t index) { (void)index; }
  virtual int32_t getKnobMode() const { return kCircularMode; }
  virtual CFrame* getFrame() const { return frame; }

 protected:
  CFrame* frame = nullptr;
};
