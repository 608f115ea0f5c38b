#include "editor/toolkit/aeffguieditor.h"

#include <ctime>

#include "editor/toolkit/cframe.h"

VstInt32 AEffGUIEditor::knobMode = kCircularMode;

AEffGUIEditor::AEffGUIEditor(AudioEffect* effect) : AEffEditor(effect) {
  if (effect) effect->setEditor(this);
}

AEffGUIEditor::~AEffGUIEditor() {
  if (frame) frame->close();
  frame = nullptr;
}

bool AEffGUIEditor::getRect(ERect** ppRect) {
  if (!ppRect) return false;
  *ppRect = &rect;
  return true;
}

bool AEffGUIEditor::open(void* ptr) {
  // Only remembers the parent: a derived editor may call this after it has
  // made its frame, so an existing frame is left alone.
  systemWindow = ptr;
  return true;
}

void AEffGUIEditor::close() {
  if (frame) frame->close();
  frame = nullptr;
  systemWindow = nullptr;
}

void AEffGUIEditor::idle() {
  // A modal loop inside an event handler may call back into idle.
  if (inIdle || !frame) return;
  inIdle = true;
  frame->idle();
  inIdle = false;
}

void AEffGUIEditor::doIdleStuff() {
  idle();
  if (effect) effect->masterIdle();
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& keyCode) {
  return frame && frame->onKeyDown(keyCode) != -1;
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& keyCode) {
  return frame && frame->onKeyUp(keyCode) != -1;
}

bool AEffGUIEditor::onWheel(float distance) {
  if (!frame) return false;
  CPoint where;
  if (!frame->getCurrentMouseLocation(where)) return false;
  return frame->onWheel(where, distance, frame->getCurrentMouseButtons());
}

bool AEffGUIEditor::setKnobMode(VstInt32 val) {
  knobMode = val;
  return true;
}

void AEffGUIEditor::beginEdit(VstInt32 index) {
  // Controls of the editor's own (displays, preset bar) carry tags beyond
  // the parameters; the host must not hear of those.
  if (effect && index >= 0 && index < effect->getAeffect()->numParams)
    static_cast<AudioEffectX*>(effect)->beginEdit(index);
}

void AEffGUIEditor::endEdit(VstInt32 index) {
  if (effect && index >= 0 && index < effect->getAeffect()->numParams)
    static_cast<AudioEffectX*>(effect)->endEdit(index);
}

uint32_t AEffGUIEditor::getTicks() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u +
                               static_cast<uint64_t>(ts.tv_nsec) / 1000000u);
}
