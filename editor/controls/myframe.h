// The editor's frame: the toolkit frame under the editor's own class name.
#pragma once

#include "editor/toolkit/cframe.h"

class MyFrame : public CFrame {
 public:
  MyFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor, double zoom = 1.0)
      : CFrame(size, systemWindow, editor, zoom) {}
  ~MyFrame() override = default;
};
