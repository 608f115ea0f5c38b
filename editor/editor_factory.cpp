// The editor the plug-in class asks for through its factory.
#include "editor/editor_factory.h"

#include <new>

#include "editor/editor.h"

AEffEditor* createEditor(AudioEffect* effect, DelayEngine& engine) {
  return new (std::nothrow) Editor(effect, engine);
}
