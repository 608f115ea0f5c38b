#include "tools/halden-host/editor_window.h"

#include "tools/halden-host/tool_error.h"

namespace hosttool {
namespace {

// Editors larger than this are taken as a broken rectangle.
constexpr int kMaxEditorSide = 8192;

bool readRect(PluginInstance& plugin, int& width, int& height) {
  ERect* rect = nullptr;
  plugin.dispatch(effEditGetRect, 0, 0, &rect);
  if (!rect) return false;
  width = rect->right - rect->left;
  height = rect->bottom - rect->top;
  return width > 0 && height > 0 && width <= kMaxEditorSide && height <= kMaxEditorSide;
}

}  // namespace

EditorWindow::EditorWindow(PluginInstance& plugin, HostServices& host, const std::string& title)
    : plugin_(plugin), host_(host) {
  if (!(plugin.flags() & effFlagsHasEditor))
    throw ToolError("plug-in '" + plugin.path() + "' has no editor");
  // Some editors know their size only once open; they start in a small
  // window that grows after the first open.
  if (!readRect(plugin, width_, height_)) {
    width_ = 1;
    height_ = 1;
  }
  window_ = std::make_unique<X11HostWindow>(width_, height_, title);
  host_.setSizeWindowHandler([this](int width, int height) { return resizeTo(width, height); });
}

EditorWindow::~EditorWindow() {
  host_.setSizeWindowHandler(nullptr);
  if (editorOpen_) plugin_.dispatch(effEditClose);
}

bool EditorWindow::resizeTo(int width, int height) {
  if (width <= 0 || height <= 0 || width > kMaxEditorSide || height > kMaxEditorSide) return false;
  width_ = width;
  height_ = height;
  window_->resize(width, height);
  return true;
}

void EditorWindow::openEditor() {
  if (editorOpen_) return;
  if (plugin_.dispatch(effEditOpen, 0, 0, window_->parentHandle()) == 0)
    throw ToolError("the plug-in did not open its editor");
  editorOpen_ = true;
  int width = 0, height = 0;
  if (readRect(plugin_, width, height) && (width != width_ || height != height_)) {
    width_ = width;
    height_ = height;
    window_->resize(width, height);
  }
  if (!shown_) {
    window_->show();
    shown_ = true;
  }
}

void EditorWindow::closeEditor() {
  if (!editorOpen_) return;
  plugin_.dispatch(effEditClose);
  editorOpen_ = false;
}

bool EditorWindow::idle() {
  const bool open = window_->pumpEvents();
  if (editorOpen_) plugin_.dispatch(effEditIdle);
  return open;
}

}  // namespace hosttool
