#include "editor/zoom_preference.h"

#include <cstdlib>
#include <string>

#include "editor/toolkit/desktop_scale.h"
#include "layout/zoom.h"
#include "presets/settings_store.h"

int32_t storedZoom(const SettingsStore& store) {
  char text[SettingsStore::kMaxTextBytes + 1];
  store.recallText(kEditorZoomSetting, text);
  char* end = nullptr;
  const long percent = std::strtol(text, &end, 10);
  return end != text && *end == 0 && layout::isZoomStep(static_cast<int>(percent))
             ? static_cast<int32_t>(percent)
             : 0;
}

bool storeZoom(const SettingsStore& store, int32_t percent) {
  if (!layout::isZoomStep(percent)) return false;
  return store.storeText(kEditorZoomSetting, std::to_string(percent).c_str());
}

int32_t desktopZoom() {
  const double scale = desktopScale();
  return scale > 0 ? layout::nearestZoomStep(scale) : 0;
}

int32_t preferredZoom(const SettingsStore& store, int32_t desktop) {
  if (const int32_t stored = storedZoom(store)) return stored;
  return desktop > 0 ? desktop : layout::kDefaultZoom;
}
