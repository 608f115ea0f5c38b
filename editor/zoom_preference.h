// Which zoom the editor opens at: the user's choice, stored per user in the
// settings store, else the desktop's scale rounded to the nearest step,
// else 100 %.
#pragma once

#include <cstdint>

class SettingsStore;

// The settings-store value that holds the user's choice, as text ("150").
inline constexpr const char* kEditorZoomSetting = "EditorZoom";

// 0 when nothing valid is stored.
int32_t storedZoom(const SettingsStore& store);
bool storeZoom(const SettingsStore& store, int32_t percent);

// The desktop's scale as a zoom step; 0 when the desktop says nothing.
int32_t desktopZoom();

// desktop: desktopZoom()'s answer, which callers keep (it may ask the X server).
int32_t preferredZoom(const SettingsStore& store, int32_t desktop);
