// The editor's zoom: which one the window opens at, the background menu
// that chooses it, and the host asked for the new size.
#include <cmath>
#include <string>

#include "editor/editor.h"
#include "editor/panel_layout.h"
#include "editor/toolkit/vstgui.h"
#include "editor/zoom_preference.h"
#include "host/audioeffectx.h"
#include "layout/zoom.h"

using namespace panel;
using namespace layout;

namespace {

constexpr int32_t kZoomMenuStyle = kPopupStyle | kCheckStyle | kNoDrawStyle;

int32_t zoomedSize(int32_t size, int32_t zoomPercent) {
  return static_cast<int32_t>(toZoomedPixel(size, zoomPercent / 100.0));
}

}  // namespace

int32_t Editor::getZoomPercent() {
  if (frame) return frameZoomPercent();
  if (const int32_t stored = storedZoom(settingsStore())) return stored;
  if (chosenZoom) return chosenZoom;
  if (desktopZoomCache < 0) desktopZoomCache = desktopZoom();
  return desktopZoomCache > 0 ? desktopZoomCache : kDefaultZoom;
}

bool Editor::getRect(ERect** ppRect) {
  const int32_t zoom = getZoomPercent();
  rect.top = 0;
  rect.left = 0;
  rect.right = static_cast<decltype(rect.right)>(zoomedSize(kWindowWidth, zoom));
  rect.bottom = static_cast<decltype(rect.right)>(zoomedSize(kWindowHeight, zoom));
  return AEffGUIEditor::getRect(ppRect);
}

void Editor::addZoomMenu() {
  auto* menu = new COptionMenu(CRect(0, 0, 0, 0), this, kTagZoomMenu, nullptr, nullptr,
                               kZoomMenuStyle);
  const int32_t zoom = frameZoomPercent();
  for (int step = 0; step < kNumZoomSteps; ++step) {
    const std::string title = "Zoom " + std::to_string(kZoomSteps[step]) + " %";
    menu->addEntry(title.c_str());
    if (kZoomSteps[step] == zoom) menu->setCurrent(step);
  }
  frame->setBackgroundMenu(menu);
}

void Editor::chooseZoom(int32_t percent) {
  if (!isZoomStep(percent)) return;
  chosenZoom = percent;
  storeZoom(settingsStore(), percent);
  if (frame) pendingZoom = percent;
}

// Runs from idle, outside the frame's event handling (an idle from a modal
// loop inside a handler waits for the next one): the window and every
// control are rebuilt, as when the host closes and reopens the editor.
void Editor::applyChosenZoom() {
  if (frame && frame->isHandlingEvents()) return;
  const int32_t zoom = pendingZoom;
  pendingZoom = 0;
  if (!zoom || !frame || zoom == frameZoomPercent() || !effect) return;
  auto* host = static_cast<AudioEffectX*>(effect);
  if (!host->sizeWindow(zoomedSize(kWindowWidth, zoom), zoomedSize(kWindowHeight, zoom))) return;
  void* parent = systemWindow;
  close();
  open(parent);
}
