#include <algorithm>
#include <string>

#include "tools/skingen/sheets.h"

namespace skingen {

namespace {

constexpr int kSheetWidth = 1780;
constexpr int kMargin = 16;
constexpr int kFrameGap = 2;
constexpr int kEntryGap = 18;
constexpr int kCaptionHeight = 13;
constexpr int kMaxColumns = 34;  // long film strips wrap into a few even rows
const TextStyle kCaption{8.5, false, 1.0, 0};
const Rgb kSheetBackground = rgb255(72, 74, 78);
const Rgb kCaptionColour = rgb255(235, 235, 235);

// One picture on the sheet: a bitmap (or the assembled window) with its
// caption, its frames laid out in columns and rows at (x, y).
struct SheetEntry {
  const Image* image;
  std::string caption;
  int frameWidth, frameHeight, frames;
  bool checkered;  // show transparency
  int columns = 1, rows = 1, x = 0, y = 0;

  int width() const { return std::max(columns * (frameWidth + kFrameGap) - kFrameGap, 150); }
  int height() const { return kCaptionHeight + rows * (frameHeight + kFrameGap) - kFrameGap; }
};

void checkerboard(cairo_t* cr, double x, double y, double w, double h) {
  constexpr int kSquare = 4;
  fillRect(cr, x, y, w, h, rgb255(200, 200, 200));
  cairo_save(cr);
  cairo_rectangle(cr, x, y, w, h);
  cairo_clip(cr);
  for (int j = 0; j * kSquare < h; ++j)
    for (int i = (j % 2); i * kSquare < w; i += 2)
      fillRect(cr, x + i * kSquare, y + j * kSquare, kSquare, kSquare, rgb255(150, 150, 150));
  cairo_restore(cr);
}

// Shelf packing: left to right, a new row of entries when the sheet is full.
int arrange(std::vector<SheetEntry>& entries) {
  const int usable = kSheetWidth - 2 * kMargin;
  int x = kMargin, y = kMargin, shelfHeight = 0;
  for (SheetEntry& entry : entries) {
    const int fit = (usable + kFrameGap) / (entry.frameWidth + kFrameGap);
    entry.columns = std::max(1, std::min({entry.frames, fit, kMaxColumns}));
    entry.rows = (entry.frames + entry.columns - 1) / entry.columns;
    if (x + entry.width() > kSheetWidth - kMargin) {
      x = kMargin;
      y += shelfHeight + kEntryGap;
      shelfHeight = 0;
    }
    entry.x = x;
    entry.y = y;
    x += entry.width() + kEntryGap;
    shelfHeight = std::max(shelfHeight, entry.height());
  }
  return y + shelfHeight + kMargin;
}

void drawSheetEntry(cairo_t* cr, const SheetEntry& entry) {
  drawText(cr, entry.caption, entry.x, entry.y + 9, Align::Left, kCaption, kCaptionColour);
  for (int frame = 0; frame < entry.frames; ++frame) {
    const int dx = entry.x + (frame % entry.columns) * (entry.frameWidth + kFrameGap);
    const int dy = entry.y + kCaptionHeight + (frame / entry.columns) * (entry.frameHeight + kFrameGap);
    if (entry.checkered) checkerboard(cr, dx, dy, entry.frameWidth, entry.frameHeight);
    cairo_save(cr);
    cairo_rectangle(cr, dx, dy, entry.frameWidth, entry.frameHeight);
    cairo_clip(cr);
    cairo_set_source_surface(cr, entry.image->surface(), dx, dy - frame * entry.frameHeight);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
  }
}

}  // namespace

Image drawContactSheet(const std::vector<SkinBitmap>& skin, int scale) {
  const Image assembled = drawAssembledWindow(skin, 1);
  std::vector<SheetEntry> entries;
  entries.push_back({&assembled, "assembled window (controls at typical settings)", assembled.width(),
                   assembled.height(), 1, false});
  for (const SkinBitmap& bitmap : skin) {
    const layout::SkinBitmapInfo& info = *bitmap.info;
    std::string caption = std::to_string(info.id) + "  " + info.role + "  " +
                          std::to_string(info.width) + "\u00d7" + std::to_string(info.height);
    if (info.frames > 1)
      caption += ", " + std::to_string(info.frames) + "\u00d7" + std::to_string(info.frameHeight());
    entries.push_back({&bitmap.image, caption, info.width, info.frameHeight(), info.frames, info.hasAlpha});
  }
  const int height = arrange(entries);
  const int s = std::max(1, scale);
  Image sheet(kSheetWidth * s, height * s, false);
  Painter cr(sheet);
  cairo_scale(cr, s, s);
  fillRect(cr, 0, 0, kSheetWidth, height, kSheetBackground);
  for (const SheetEntry& entry : entries) drawSheetEntry(cr, entry);
  return sheet;
}

}  // namespace skingen
