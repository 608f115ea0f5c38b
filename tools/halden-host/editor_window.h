// A plug-in's editor in a host window: size from effEditGetRect, open with
// the window's id, idle, close. Shared by the gui and snapshot commands.
#pragma once

#include <memory>
#include <string>

#include "tools/halden-host/plugin_instance.h"
#include "tools/halden-host/x11_host_window.h"

namespace hosttool {

class EditorWindow {
 public:
  // Creates the window at the editor's size; throws ToolError when the
  // plug-in has no editor or there is no display. While it lives, the
  // editor's requests for a new size (a zoom change) resize the window.
  EditorWindow(PluginInstance& plugin, HostServices& host, const std::string& title);
  // Closes the editor when it is still open.
  ~EditorWindow();
  EditorWindow(const EditorWindow&) = delete;
  EditorWindow& operator=(const EditorWindow&) = delete;

  // effEditOpen on the window (shown on the first open); throws when the
  // plug-in refuses.
  void openEditor();
  void closeEditor();
  bool isEditorOpen() const { return editorOpen_; }
  // The window's events, then effEditIdle; false once the user closed it.
  bool idle();

  X11HostWindow& window() { return *window_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  bool resizeTo(int width, int height);

  PluginInstance& plugin_;
  HostServices& host_;
  std::unique_ptr<X11HostWindow> window_;
  int width_ = 0;
  int height_ = 0;
  bool editorOpen_ = false;
  bool shown_ = false;
};

}  // namespace hosttool
