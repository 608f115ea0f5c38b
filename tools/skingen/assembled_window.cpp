#include <string>

#include "tools/skingen/palette.h"
#include "tools/skingen/panel_layout.h"
#include "tools/skingen/sheets.h"

namespace skingen {

namespace {

using namespace layout;

struct Placement {
  int id;
  Box at;
  int frame;
};

// Display 1250 ms, beat and high-cut lamps on, meter at -6 dB, power on.
const Placement kPlacements[] = {
    {140, kDigit1, 1},     {141, kDigit2, 2},     {142, kDigit3, 5},      {143, kDigit4, 0},
    {144, kModeLamps, 5},  {145, kBypassLamp, 0}, {153, kModLamp, 70},    {131, kInput, 50},
    {132, kOutput, 50},    {133, kFbck, 35},      {136, kMix, 50},        {149, kManVCO, 50},
    {148, kDepth, 30},     {147, kHiCut, 1},      {151, kWaveform, 50},   {150, kRate, 40},
    {134, kFbInv, 0},      {135, kDlyInv, 0},     {137, kRptInf, 0},      {130, kDlyx2, 0},
    {152, kPower, 1},      {155, kDlyClk, 0},     {138, kDelayDown, 0},   {139, kDelayUp, 0},
    {146, kMeter, 15},     {995, kRocker, 0},     {990, kLoadBank, 0},    {991, kSaveBank, 0},
    {992, kBankLabel, 0},  {990, kLoadPreset, 0}, {991, kSavePreset, 0},  {993, kPresetLabel, 0},
    {990, kRecallA, 0},    {991, kStoreA, 0},     {990, kRecallB, 0},     {991, kStoreB, 0},
    {998, kLearn, 0},      {990, kLoadMidi, 0},   {991, kSaveMidi, 0},    {994, kMidiLabel, 0},
    {999, kClear, 0},
};

const SkinBitmap* find(const std::vector<SkinBitmap>& skin, int id) {
  for (const SkinBitmap& bitmap : skin)
    if (bitmap.info->id == id) return &bitmap;
  return nullptr;
}

// Approximates the toolkit's small text in a well: dark, centred.
void wellText(cairo_t* cr, const std::string& text, const Box& box) {
  drawText(cr, text, box.centreX(), box.bottom - 3.5, Align::Centre, TextStyle{9, false, 1, 0},
           palette::kWellInk);
}

}  // namespace

Image drawAssembledWindow(const std::vector<SkinBitmap>& skin, int scale) {
  Image window(kPanelWidth, kPanelHeight, false);
  {
    Painter cr(window);
    if (const SkinBitmap* panel = find(skin, 128))
      copyArea(cr, panel->image, 0, 0, 0, 0, kPanelWidth, kPanelHeight);
    for (const Placement& p : kPlacements) {
      const SkinBitmap* bitmap = find(skin, p.id);
      if (!bitmap) continue;
      const int frameHeight = bitmap->info->frameHeight();
      cairo_save(cr);
      cairo_rectangle(cr, p.at.left, p.at.top, bitmap->info->width, frameHeight);
      cairo_clip(cr);
      cairo_set_source_surface(cr, bitmap->image.surface(), p.at.left,
                               p.at.top - p.frame * frameHeight);
      cairo_paint(cr);
      cairo_restore(cr);
    }
    wellText(cr, "default", kNameField);
    wellText(cr, "not assigned", kControllerDisplay);
  }
  if (scale <= 1) return window;
  Image large(kPanelWidth * scale, kPanelHeight * scale, false);
  Painter cr(large);
  cairo_scale(cr, scale, scale);
  cairo_set_source_surface(cr, window.surface(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  return large;
}

}  // namespace skingen
