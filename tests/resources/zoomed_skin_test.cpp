// The skin drawn for 150 % and 200 %: every bitmap with its 1× size times
// the zoom, and no half-covered pixel at an edge where a control meets the
// panel (a dark seam around every control at 150 %).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "layout/zoom.h"
#include "resources/skin.h"
#include "tests/resources/decoded_bitmap.h"

namespace {

using layout::kSkinBitmaps;
using layout::SkinBitmapInfo;

int luminance(std::uint32_t pixel) {
  return static_cast<int>((pixel >> 16 & 0xff) + (pixel >> 8 & 0xff) + (pixel & 0xff));
}

class ZoomedSkin : public ::testing::TestWithParam<int> {
 protected:
  double zoom() const { return GetParam() / 100.0; }
  long pixels(int units) const { return layout::toZoomedPixel(units, zoom()); }
};

TEST_P(ZoomedSkin, EveryBitmapHasItsZoomedSize) {
  for (const SkinBitmapInfo& info : kSkinBitmaps) {
    SCOPED_TRACE(info.id);
    const SkinResource* resource = findSkinResource(info.id, GetParam());
    ASSERT_NE(resource, nullptr);
    const DecodedBitmap bitmap(*resource);
    ASSERT_TRUE(bitmap.ok());
    EXPECT_EQ(bitmap.width(), pixels(info.width));
    EXPECT_EQ(bitmap.height(), pixels(info.height));
    EXPECT_EQ(bitmap.hasAlpha(), info.hasAlpha);
  }
}

// How bright the last pixel column (or row) is against the one before it.
struct EdgeRatios {
  double right, bottom;
};

EdgeRatios edgeRatios(const DecodedBitmap& bitmap) {
  const int w = bitmap.width(), h = bitmap.height();
  long last = 0, before = 0;
  for (int y = 0; y < h; ++y) {
    last += luminance(bitmap.pixel(w - 1, y));
    before += luminance(bitmap.pixel(w - 2, y));
  }
  const double right = static_cast<double>(last) / std::max(1L, before);
  last = before = 0;
  for (int x = 0; x < w; ++x) {
    last += luminance(bitmap.pixel(x, h - 1));
    before += luminance(bitmap.pixel(x, h - 2));
  }
  return {right, static_cast<double>(last) / std::max(1L, before)};
}

// The panels and the knob strips, whose edges are bare panel, look at their
// edges at every zoom as they do at 1×; a pixel only half painted (at 150 %
// a 1× width of 35 is 52.5 pixels) would be about half as bright and show
// as a dark seam around the control.
TEST_P(ZoomedSkin, PanelEdgedBitmapsHaveNoDarkEdge) {
  for (int id : {128, 129, 131, 132, 133, 136, 148, 149, 150, 151}) {
    SCOPED_TRACE(id);
    const SkinBitmapInfo& info = *layout::findSkinBitmapInfo(id);
    const DecodedBitmap unzoomed(*findSkinResource(info.id));
    const DecodedBitmap zoomed(*findSkinResource(info.id, GetParam()));
    ASSERT_TRUE(unzoomed.ok() && zoomed.ok());
    const EdgeRatios expected = edgeRatios(unzoomed), found = edgeRatios(zoomed);
    EXPECT_GT(found.right, expected.right * 0.75);
    EXPECT_GT(found.bottom, expected.bottom * 0.75);
  }
}

INSTANTIATE_TEST_SUITE_P(Steps, ZoomedSkin, ::testing::Values(150, 200),
                         [](const auto& info) { return std::to_string(info.param); });

TEST(ZoomedSkinLookup, UnknownZoomsAreNotFound) {
  EXPECT_NE(findSkinResource(128, 100), nullptr);
  EXPECT_EQ(findSkinResource(128, 125), nullptr);
  EXPECT_EQ(findSkinResource(128, 0), nullptr);
}

}  // namespace
