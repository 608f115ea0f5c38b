// The skin's bitmaps: id, size and frame layout. Shared by the generator that
// draws them, the embedded resource table and the tests that check them.
#pragma once

#include <cstddef>

struct SkinBitmapInfo {
  int id;
  int width;
  int height;     // total height of all frames
  int frames;     // stacked vertically, frame 0 on top
  bool hasAlpha;  // the others are opaque and carry the panel under them
  const char* role;

  constexpr int frameHeight() const { return height / frames; }
};

inline constexpr SkinBitmapInfo kSkinBitmaps[] = {
    {128, 870, 101, 1, false, "front panel"},
    {129, 870, 101, 1, false, "rear panel (about picture)"},
    {130, 21, 40, 2, false, "Dlyx2 button"},
    {131, 35, 3535, 101, false, "Input knob"},
    {132, 35, 3535, 101, false, "Output knob"},
    {133, 35, 3535, 101, false, "Fbck knob"},
    {134, 21, 52, 2, false, "FbInv button"},
    {135, 21, 52, 2, false, "DlyInv button"},
    {136, 35, 3535, 101, false, "Mix knob"},
    {137, 22, 52, 2, false, "RptInf button"},
    {138, 26, 52, 2, false, "delay down push button"},
    {139, 26, 52, 2, false, "delay up push button"},
    {140, 14, 240, 12, false, "digit 1"},
    {141, 14, 240, 12, false, "digit 2"},
    {142, 15, 240, 12, false, "digit 3"},
    {143, 14, 240, 12, false, "digit 4"},
    {144, 16, 256, 8, false, "mode lamps"},
    {145, 11, 22, 2, false, "bypass lamp"},
    {146, 7, 903, 21, false, "level meter"},
    {147, 23, 52, 2, false, "HiCut button"},
    {148, 36, 3636, 101, false, "Depth knob"},
    {149, 35, 3535, 101, false, "ManVCO knob"},
    {150, 36, 3636, 101, false, "Rate knob"},
    {151, 36, 3636, 101, false, "Waveform knob"},
    {152, 22, 40, 2, false, "Power button"},
    {153, 10, 1010, 101, false, "modulation lamp"},
    {155, 15, 20, 2, false, "Dly<>Clk switch"},
    {990, 17, 45, 3, true, "load arrow"},
    {991, 17, 45, 3, false, "save arrow"},
    {992, 32, 39, 3, false, "bank label button"},
    {993, 44, 39, 3, false, "preset label button"},
    {994, 28, 39, 3, false, "MIDI label button"},
    {995, 30, 65, 5, false, "previous/next rocker"},
    {998, 24, 48, 3, true, "learn button"},
    {999, 24, 48, 3, false, "clear button"},
};

inline constexpr std::size_t kNumSkinBitmaps = sizeof(kSkinBitmaps) / sizeof(kSkinBitmaps[0]);

// Null when the id is not part of the skin.
inline constexpr const SkinBitmapInfo* findSkinBitmapInfo(int id) {
  for (const SkinBitmapInfo& info : kSkinBitmaps)
    if (info.id == id) return &info;
  return nullptr;
}
