// The editor's frame: the toolkit frame under the editor's own class name.
#pragma once

#include "editor/toolkit/cframe.h"

class MyFrame : public CFrame {
 public:
  MyFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor)
      : CFrame(size, systemWindow, editor) {}
  ~MyFrame() override = default;
};
