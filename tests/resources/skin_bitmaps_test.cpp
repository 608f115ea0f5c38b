// The embedded skin: every bitmap the editor loads exists with exactly the
// size and frame layout the editor's controls assume, and the frames show
// what the controls mean by them.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "resources/skin.h"
#include "tests/resources/decoded_bitmap.h"

namespace {

using layout::findSkinBitmapInfo;
using layout::kNumSkinBitmaps;
using layout::SkinBitmapInfo;

struct ExpectedRow {
  int id, width, height, frames;
  bool alpha;
};

// The editor's bitmap table, written out independently of the code's copy.
const ExpectedRow kExpectedRows[] = {
    {128, 870, 101, 1, false},  {129, 870, 101, 1, false},   {130, 21, 40, 2, false},
    {131, 35, 3535, 101, false}, {132, 35, 3535, 101, false}, {133, 35, 3535, 101, false},
    {134, 21, 52, 2, false},    {135, 21, 52, 2, false},     {136, 35, 3535, 101, false},
    {137, 22, 52, 2, false},    {138, 26, 52, 2, false},     {139, 26, 52, 2, false},
    {140, 14, 240, 12, false},  {141, 14, 240, 12, false},   {142, 15, 240, 12, false},
    {143, 14, 240, 12, false},  {144, 16, 256, 8, false},    {145, 11, 22, 2, false},
    {146, 7, 903, 21, false},   {147, 23, 52, 2, false},     {148, 36, 3636, 101, false},
    {149, 35, 3535, 101, false}, {150, 36, 3636, 101, false}, {151, 36, 3636, 101, false},
    {152, 22, 40, 2, false},    {153, 10, 1010, 101, false}, {155, 15, 20, 2, false},
    {990, 17, 45, 3, true},     {991, 17, 45, 3, false},     {992, 32, 39, 3, false},
    {993, 44, 39, 3, false},    {994, 28, 39, 3, false},     {995, 30, 65, 5, false},
    {998, 24, 48, 3, true},     {999, 24, 48, 3, false},
};

constexpr int kLitThreshold = 180;  // a lit lamp or segment, not a dark lens

DecodedBitmap decode(int id) {
  const SkinResource* resource = findSkinResource(id);
  static const SkinResource kMissing{0, 100, nullptr, 0};
  return DecodedBitmap(resource ? *resource : kMissing);
}

const ExpectedRow& row(int id) {
  for (const ExpectedRow& r : kExpectedRows)
    if (r.id == id) return r;
  ADD_FAILURE() << "no row " << id;
  return kExpectedRows[0];
}

int frameHeight(int id) { return row(id).height / row(id).frames; }

TEST(SkinBitmaps, EveryRowIsEmbeddedWithExactlyItsSize) {
  for (const ExpectedRow& expected : kExpectedRows) {
    SCOPED_TRACE(expected.id);
    const SkinResource* resource = findSkinResource(expected.id);
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(resource->id, expected.id);
    const DecodedBitmap bitmap(*resource);
    ASSERT_TRUE(bitmap.ok());
    EXPECT_EQ(bitmap.width(), expected.width);
    EXPECT_EQ(bitmap.height(), expected.height);
    EXPECT_EQ(bitmap.hasAlpha(), expected.alpha);
  }
}

TEST(SkinBitmaps, CodeTableAgreesWithEveryRow) {
  EXPECT_EQ(kNumSkinBitmaps, std::size(kExpectedRows));
  for (const ExpectedRow& expected : kExpectedRows) {
    SCOPED_TRACE(expected.id);
    const SkinBitmapInfo* info = findSkinBitmapInfo(expected.id);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->width, expected.width);
    EXPECT_EQ(info->height, expected.height);
    EXPECT_EQ(info->frames, expected.frames);
    EXPECT_EQ(info->frameHeight() * info->frames, info->height);
    EXPECT_EQ(info->hasAlpha, expected.alpha);
  }
}

TEST(SkinBitmaps, UnknownIdsAreNotFound) {
  for (int id : {-1, 0, 127, 154, 156, 989, 996, 997, 1000})
    EXPECT_EQ(findSkinResource(id), nullptr) << id;
}

TEST(SkinBitmaps, TranslucentButtonsHaveTransparentCornersAndSolidFaces) {
  for (int id : {990, 998}) {
    SCOPED_TRACE(id);
    const DecodedBitmap bitmap = decode(id);
    ASSERT_TRUE(bitmap.ok());
    EXPECT_EQ(bitmap.pixel(0, 0) >> 24, 0u);
    EXPECT_EQ(bitmap.pixel(bitmap.width() / 2, frameHeight(id) / 2) >> 24, 0xffu);
  }
}

TEST(KnobStrips, NoTwoFramesAreAlike) {
  // A repeated frame would show as a knob that sticks while the value moves.
  for (int id : {131, 132, 133, 136, 148, 149, 150, 151}) {
    SCOPED_TRACE(id);
    const DecodedBitmap knob = decode(id);
    ASSERT_TRUE(knob.ok());
    const int h = frameHeight(id);
    for (int a = 0; a < 101; ++a)
      for (int b = a + 1; b < 101; ++b)
        if (knob.framesEqual(a, b, h)) ADD_FAILURE() << a << " equals " << b;
  }
}

TEST(OpaqueControls, CarryThePanelUnderTheirRectangle) {
  // Knob rectangles of the editor window; the bitmap corners must match the
  // panel there, or the knobs would show a box around them.
  const std::pair<int, std::pair<int, int>> placements[] = {
      {131, {109, 25}}, {132, {154, 25}}, {133, {200, 25}}, {136, {352, 25}},
      {149, {616, 25}}, {148, {661, 25}}, {151, {706, 25}}, {150, {752, 25}}};
  const DecodedBitmap panel = decode(128);
  ASSERT_TRUE(panel.ok());
  for (const auto& [id, at] : placements) {
    SCOPED_TRACE(id);
    const DecodedBitmap knob = decode(id);
    ASSERT_TRUE(knob.ok());
    const int w = knob.width(), h = frameHeight(id);
    for (int frame : {0, 100}) {
      for (const auto& [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}})
        EXPECT_EQ(knob.pixel(x, frame * h + y), panel.pixel(at.first + x, at.second + y));
    }
  }
}

TEST(DigitStrips, BlankFrameIsDarkAndEightLightsTheMost) {
  constexpr int kBlank = 10, kLetter = 11;
  for (int id : {140, 141, 142, 143}) {
    SCOPED_TRACE(id);
    const DecodedBitmap digits = decode(id);
    ASSERT_TRUE(digits.ok());
    const int h = frameHeight(id);
    EXPECT_EQ(digits.countBrighterThan(kBlank, h, kLitThreshold), 0);
    const int eight = digits.countBrighterThan(8, h, kLitThreshold);
    for (int frame = 0; frame < kBlank; ++frame) {
      const int lit = digits.countBrighterThan(frame, h, kLitThreshold);
      EXPECT_GT(lit, 0) << "digit " << frame;
      if (frame != 8) {
        EXPECT_LT(lit, eight) << "digit " << frame;
      }
      if (frame != 1) {
        EXPECT_GT(lit, digits.countBrighterThan(1, h, kLitThreshold)) << "digit " << frame;
      }
    }
    EXPECT_GT(digits.countBrighterThan(kLetter, h, kLitThreshold), 0);
    for (int frame = 0; frame < kBlank; ++frame)
      EXPECT_GT(digits.countDifferentPixels(kLetter, frame, h), 0) << "digit " << frame;
  }
}

TEST(LevelMeter, RisesFromAllDarkToAllLit) {
  const DecodedBitmap meter = decode(146);
  ASSERT_TRUE(meter.ok());
  const int h = frameHeight(146);
  EXPECT_EQ(meter.countBrighterThan(0, h, kLitThreshold), 0);
  for (int frame = 1; frame <= 20; ++frame)
    EXPECT_GT(meter.totalBrightness(frame, h), meter.totalBrightness(frame - 1, h)) << frame;
  // Frame 20: each of the five lamps shines at its centre row.
  constexpr int kLamps = 5;
  for (int lamp = 0; lamp < kLamps; ++lamp) {
    const int y = 20 * h + lamp * h / kLamps + h / (2 * kLamps);
    EXPECT_GT(meter.brightness(meter.width() / 2, y), kLitThreshold) << "lamp " << lamp;
  }
}

TEST(ModeLamps, EachBitLightsItsOwnLamp) {
  const DecodedBitmap lamps = decode(144);
  ASSERT_TRUE(lamps.ok());
  const int h = frameHeight(144);
  EXPECT_EQ(lamps.countBrighterThan(0, h, kLitThreshold), 0);
  // Bit 0 the bottom lamp, bit 1 the middle one, bit 2 the top one.
  for (int bit = 0; bit < 3; ++bit) {
    SCOPED_TRACE(bit);
    int first = -1, last = -1;
    lamps.differingRows(0, 1 << bit, h, first, last);
    ASSERT_GE(first, 0);
    const int centre = (first + last) / 2;
    const int third = 2 - bit;  // 0 top, 2 bottom
    EXPECT_GE(centre, third * h / 3);
    EXPECT_LT(centre, (third + 1) * h / 3);
  }
  EXPECT_GT(lamps.countBrighterThan(7, h, kLitThreshold),
            lamps.countBrighterThan(4, h, kLitThreshold));
}

TEST(TwoStateBitmaps, SecondFrameDiffersAndLampsLight) {
  for (int id : {130, 134, 135, 137, 138, 139, 145, 147, 152, 155}) {
    SCOPED_TRACE(id);
    const DecodedBitmap bitmap = decode(id);
    ASSERT_TRUE(bitmap.ok());
    EXPECT_GT(bitmap.countDifferentPixels(0, 1, frameHeight(id)), 0);
  }
  const DecodedBitmap bypass = decode(145);
  EXPECT_EQ(bypass.countBrighterThan(0, frameHeight(145), kLitThreshold), 0);
  EXPECT_GT(bypass.countBrighterThan(1, frameHeight(145), kLitThreshold), 0);
}

TEST(ModulationLamp, BrightensFromDarkestToBrightest) {
  const DecodedBitmap lamp = decode(153);
  ASSERT_TRUE(lamp.ok());
  const int h = frameHeight(153);
  EXPECT_EQ(lamp.countBrighterThan(0, h, kLitThreshold), 0);
  for (int frame = 1; frame <= 100; ++frame)
    EXPECT_GE(lamp.totalBrightness(frame, h), lamp.totalBrightness(frame - 1, h)) << frame;
  EXPECT_GT(lamp.totalBrightness(100, h), 2 * lamp.totalBrightness(0, h));
}

TEST(PresetBarBitmaps, EveryStateLooksDifferent) {
  for (int id : {990, 991, 992, 993, 994, 995, 998, 999}) {
    SCOPED_TRACE(id);
    const DecodedBitmap bitmap = decode(id);
    ASSERT_TRUE(bitmap.ok());
    const int frames = row(id).frames;
    for (int a = 0; a < frames; ++a)
      for (int b = a + 1; b < frames; ++b)
        EXPECT_GT(bitmap.countDifferentPixels(a, b, frameHeight(id)), 0) << a << " vs " << b;
  }
}

}  // namespace
