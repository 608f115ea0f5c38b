// The editor interface the base effect talks to. The toolkit's editor base
// derives from it; the effect owns the editor object.
#pragma once

#include "host/vst2_abi.h"

class AudioEffect;

class AEffEditor {
 public:
  explicit AEffEditor(AudioEffect* effect = nullptr) : effect(effect) {}
  virtual ~AEffEditor() = default;

  virtual AudioEffect* getEffect() { return effect; }
  virtual bool getRect(ERect** rect) {
    (void)rect;
    return false;
  }
  virtual bool open(void* ptr) {
    systemWindow = ptr;
    return false;
  }
  virtual void close() { systemWindow = nullptr; }
  virtual bool isOpen() { return systemWindow != nullptr; }
  virtual void idle() {}
  virtual bool onKeyDown(VstKeyCode& keyCode) {
    (void)keyCode;
    return false;
  }
  virtual bool onKeyUp(VstKeyCode& keyCode) {
    (void)keyCode;
    return false;
  }
  virtual bool onWheel(float distance) {
    (void)distance;
    return false;
  }
  virtual bool setKnobMode(VstInt32 val) {
    (void)val;
    return false;
  }
  // A parameter changed (host automation, MIDI, a program): the controls
  // follow. May run on any host thread.
  virtual void setParameter(VstInt32 index, float value) {
    (void)index;
    (void)value;
  }

 protected:
  AudioEffect* effect;
  void* systemWindow = nullptr;
};
