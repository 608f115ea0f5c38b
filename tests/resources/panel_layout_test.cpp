// The shared panel layout against the skin table: every control that shows a
// bitmap is exactly as large as one frame of it, lies in the window and
// covers no other, and every control bitmap of the skin has a place.
#include <gtest/gtest.h>

#include "layout/panel_layout.h"

namespace {

using namespace layout;

bool overlap(const PanelRect& a, const PanelRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(PanelLayout, EveryPlacedControlIsOneFrameOfItsBitmap) {
  for (const BitmapPlacement& placement : kBitmapPlacements) {
    SCOPED_TRACE(placement.bitmap);
    const SkinBitmapInfo* info = findSkinBitmapInfo(placement.bitmap);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(placement.rect.width(), info->width);
    EXPECT_EQ(placement.rect.height(), info->frameHeight());
  }
}

TEST(PanelLayout, EveryPlacedControlLiesInTheWindowAndCoversNoOther) {
  const std::size_t count = std::size(kBitmapPlacements);
  for (std::size_t i = 0; i < count; ++i) {
    const PanelRect& r = kBitmapPlacements[i].rect;
    EXPECT_GE(r.left, 0) << i;
    EXPECT_GE(r.top, 0) << i;
    EXPECT_LE(r.right, kWindowWidth) << i;
    EXPECT_LE(r.bottom, kWindowHeight) << i;
    for (std::size_t j = i + 1; j < count; ++j)
      EXPECT_FALSE(overlap(r, kBitmapPlacements[j].rect)) << i << " and " << j;
  }
}

TEST(PanelLayout, EveryControlBitmapHasAPlaceAndThePanelsFillTheWindow) {
  for (const SkinBitmapInfo& info : kSkinBitmaps) {
    SCOPED_TRACE(info.id);
    const PanelRect at = firstPlacementOf(static_cast<SkinBitmapId>(info.id));
    if (info.id == kFrontPanelBitmap || info.id == kRearPanelBitmap) {
      EXPECT_EQ(info.width, kWindowRect.width());
      EXPECT_EQ(info.height, kWindowRect.height());
      EXPECT_EQ(at.width(), 0);
    } else {
      EXPECT_EQ(at.width(), info.width);
    }
  }
}

TEST(PanelLayout, ArrowsAreDrawnOverTheBankButtonsFirst) {
  // A bitmap used by several controls carries the panel under its first one.
  const PanelRect load = firstPlacementOf(kLoadArrowBitmap);
  const PanelRect save = firstPlacementOf(kSaveArrowBitmap);
  EXPECT_EQ(load.left, kLoadBankRect.left);
  EXPECT_EQ(save.left, kSaveBankRect.left);
}

TEST(PanelLayout, NameFieldIsFittedToTheBarFont) {
  // Laid out over the bar's full height, 86 to 101; the font's 9 pixels and
  // two above and below, centred, give 87 to 100.
  EXPECT_EQ(kNameFieldRect.left, 208);
  EXPECT_EQ(kNameFieldRect.top, 87);
  EXPECT_EQ(kNameFieldRect.right, 320);
  EXPECT_EQ(kNameFieldRect.bottom, 100);
  const PanelRect taller = fittedToFont({0, 10, 5, 30}, 12);
  EXPECT_EQ(taller.top, 12);
  EXPECT_EQ(taller.bottom, 28);
}

TEST(PanelLayout, UnknownBitmapIdsFindNothing) {
  EXPECT_EQ(findSkinBitmapInfo(154), nullptr);
  EXPECT_EQ(skinBitmap(static_cast<SkinBitmapId>(154)).width, 0);
  EXPECT_EQ(skinBitmap(static_cast<SkinBitmapId>(154)).frames, 1);
}

}  // namespace
