// The editor at 150 % and 200 %, off-screen: its size, clicks and drags at
// window pixels reaching the right parameter by the right amount, and a
// skin drawn at the zoom's own resolution.
#include "tests/editor_panel/panel_test_support.h"

#include <array>
#include <cstdlib>

#include "layout/zoom.h"

namespace panel_test {
namespace {

using namespace panel;
using namespace layout;

struct Placed {
  ParameterIndex parameter;
  PanelRect rect;
};

const Placed kKnobs[] = {
    {kInput, kInputKnobRect}, {kOutput, kOutputKnobRect}, {kFbck, kFeedbackKnobRect},
    {kMix, kMixKnobRect},     {kManVCO, kManVcoKnobRect}, {kDepth, kDepthKnobRect},
    {kWaveform, kWaveformKnobRect}, {kRate, kRateKnobRect},
};
const Placed kButtons[] = {
    {kHiCut, kHiCutRect},   {kFbInv, kFbInvRect}, {kDlyInv, kDlyInvRect},
    {kRptInf, kRptInfRect}, {kDlyx2, kDlyx2Rect}, {kPower, kPowerRect},
};

constexpr int kDragUnits = 12;  // frame units, 1× pixels

class ZoomedPanel : public PanelTest, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    if (HasFatalFailure()) return;
    reopenAt(GetParam());
  }
  void reopenAt(int percent) {
    editor->close();
    editor->chooseZoom(percent);
    ASSERT_TRUE(editor->open(nullptr));
    frame = editor->getFrame();
    ASSERT_NE(frame, nullptr);
  }
  double zoom() const { return frame->getZoom(); }
  // A 1× point as the window pixel it lands on at the frame's zoom.
  CPoint pixelOf(const CPoint& unit) const { return CPoint(unit.x * zoom(), unit.y * zoom()); }
  CPoint atPixel(const CPoint& pixel) const { return frame->fromPixels(pixel.x, pixel.y); }
  void clickPixel(const CPoint& pixel) { click(atPixel(pixel)); }
  // Press at a control's centre and drag up by a distance in window pixels.
  void dragUpPixels(const PanelRect& rect, double pixels) {
    const CPoint start = pixelOf(centre(rect));
    frame->platformOnMouseDown(atPixel(start), kLButton);
    frame->platformOnMouseMoved(atPixel(CPoint(start.x, start.y - pixels)), kLButton);
    frame->platformOnMouseUp(atPixel(CPoint(start.x, start.y - pixels)), kLButton);
  }
  std::array<float, kNumParams> soundParameters() {
    std::array<float, kNumParams> values{};
    for (int i = 0; i < kNumParams; ++i) values[static_cast<size_t>(i)] = param(i);
    return values;
  }
};

TEST_P(ZoomedPanel, WindowAndBackBufferHaveTheZoomedSize) {
  const long width = toZoomedPixel(kWindowWidth, GetParam() / 100.0);
  const long height = toZoomedPixel(kWindowHeight, GetParam() / 100.0);
  ERect* rect = nullptr;
  ASSERT_TRUE(editor->getRect(&rect));
  EXPECT_EQ(rect->right - rect->left, width);
  EXPECT_EQ(rect->bottom - rect->top, height);
  EXPECT_EQ(cairo_image_surface_get_width(frame->getBackBuffer()), width);
  EXPECT_EQ(cairo_image_surface_get_height(frame->getBackBuffer()), height);
  EXPECT_EQ(editor->getZoomPercent(), GetParam());
}

TEST_P(ZoomedPanel, EachKnobMovesOnlyItsParameterByTheAmountOfThe1xDrag) {
  for (const Placed& knob : kKnobs) {
    SCOPED_TRACE(knob.parameter);
    set(knob.parameter, 0.5f);
    const auto before = soundParameters();
    dragUpPixels(knob.rect, kDragUnits * zoom());
    auto after = soundParameters();
    const float zoomedMove = after[knob.parameter] - before[knob.parameter];
    after[knob.parameter] = before[knob.parameter];
    EXPECT_EQ(after, before) << "another parameter moved";

    reopenAt(kDefaultZoom);
    set(knob.parameter, 0.5f);
    dragUpPixels(knob.rect, kDragUnits);
    const float unzoomedMove = param(knob.parameter) - 0.5f;
    EXPECT_GT(unzoomedMove, 0.f);
    EXPECT_FLOAT_EQ(zoomedMove, unzoomedMove);
    reopenAt(GetParam());
  }
}

TEST_P(ZoomedPanel, EachButtonTogglesOnlyItsParameter) {
  for (const Placed& button : kButtons) {
    SCOPED_TRACE(button.parameter);
    set(kRptInf, kOff);
    const auto before = soundParameters();
    clickPixel(pixelOf(centre(button.rect)));
    auto after = soundParameters();
    EXPECT_NE(switchIsOn(after[button.parameter]), switchIsOn(before[button.parameter]));
    after[button.parameter] = before[button.parameter];
    EXPECT_EQ(after, before) << "another parameter moved";
  }
}

TEST_P(ZoomedPanel, PixelsJustInsideAControlsCornersHitIt) {
  const CRect power = toCRect(kPowerRect);
  const double z = zoom();
  for (const CPoint& corner : {CPoint(std::ceil(power.left * z), std::ceil(power.top * z)),
                               CPoint(std::ceil(power.right * z) - 1, std::ceil(power.bottom * z) - 1)}) {
    const float before = param(kPower);
    clickPixel(corner);
    EXPECT_NE(switchIsOn(param(kPower)), switchIsOn(before)) << corner.x << ", " << corner.y;
  }
  // The pixel column just left of the switch is bare panel.
  const float before = param(kPower);
  clickPixel(CPoint(std::floor(power.left * z) - 1, (power.top + power.bottom) / 2 * z));
  EXPECT_FLOAT_EQ(param(kPower), before);
}

INSTANTIATE_TEST_SUITE_P(Steps, ZoomedPanel, ::testing::Values(150, 200),
                         [](const auto& info) { return std::to_string(info.param); });

// ---- The skin at 200 %: drawn there, not enlarged ----

struct Rgb {
  int r, g, b;
};

class PanelPixels : public PanelTest {
 protected:
  std::vector<uint32_t> render(int percent) {
    editor->close();
    editor->chooseZoom(percent);
    EXPECT_TRUE(editor->open(nullptr));
    frame = editor->getFrame();
    frame->idle();
    return grab();
  }
  // The back buffer's pixels as they are now.
  std::vector<uint32_t> grab() {
    cairo_surface_t* buffer = frame->getBackBuffer();
    cairo_surface_flush(buffer);
    width = cairo_image_surface_get_width(buffer);
    const int height = cairo_image_surface_get_height(buffer);
    const int stride = cairo_image_surface_get_stride(buffer);
    const unsigned char* data = cairo_image_surface_get_data(buffer);
    std::vector<uint32_t> pixels;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        pixels.push_back(reinterpret_cast<const uint32_t*>(data + y * stride)[x]);
    return pixels;
  }
  Rgb at(const std::vector<uint32_t>& pixels, int x, int y) const {
    const uint32_t p = pixels[static_cast<size_t>(y * width + x)];
    return {static_cast<int>(p >> 16 & 0xff), static_cast<int>(p >> 8 & 0xff),
            static_cast<int>(p & 0xff)};
  }
  static int distance(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
  }
  int width = 0;
};

// The hairline over the LEVEL section is one pixel row at 1× (row 6); at
// 200 % it must be exactly two rows of the same colour, with plate around
// them, not three or four rows of smeared colour.
TEST_F(PanelPixels, OnePixelHairlineIsTwoSharpRowsAt200Percent) {
  constexpr int kX = 40, kRow = 6;
  const std::vector<uint32_t> one = render(100);
  const Rgb line = at(one, kX, kRow);
  const Rgb plate = at(one, kX, kRow + 2);
  ASSERT_GT(distance(line, plate), 120) << "the 1× hairline is no longer at row 6";
  const std::vector<uint32_t> two = render(200);
  for (int x : {2 * kX, 2 * kX + 1}) {
    EXPECT_LT(distance(at(two, x, 2 * kRow), line), 40);
    EXPECT_LT(distance(at(two, x, 2 * kRow + 1), line), 40);
    EXPECT_GT(distance(at(two, x, 2 * kRow - 1), line), 100);
    EXPECT_GT(distance(at(two, x, 2 * kRow + 2), line), 100);
  }
}

// An enlarged 1× picture repeats each pixel as a 2 × 2 block; the 200 %
// plate is drawn per pixel and its neighbours differ.
TEST_F(PanelPixels, PlateAt200PercentIsNotMadeOfRepeatedBlocks) {
  const std::vector<uint32_t> two = render(200);
  int blocks = 0, samples = 0;
  for (int y = 150; y < 200; y += 2)  // the rail's plate, between the wells
    for (int x = 600; x < 700; x += 2, ++samples) {
      const Rgb a = at(two, x, y);
      if (distance(a, at(two, x + 1, y)) == 0 && distance(a, at(two, x, y + 1)) == 0 &&
          distance(a, at(two, x + 1, y + 1)) == 0)
        ++blocks;
    }
  EXPECT_LT(blocks, samples / 2);
}

// The name and controller fields print in their font colour (36, 36, 32):
// their stems are solid, not greyed by anti-aliasing, at every zoom.
class FieldText : public PanelPixels, public ::testing::WithParamInterface<int> {
 protected:
  // Inside the field's outline, which is drawn in the same colour.
  int darkestDistance(const std::vector<uint32_t>& pixels, const PanelRect& field) const {
    const double z = GetParam() / 100.0;
    const Rgb ink{36, 36, 32};
    constexpr int kOutline = 2;
    const int top = static_cast<int>((field.top + kOutline) * z);
    const int bottom = static_cast<int>((field.bottom - kOutline) * z);
    const int left = static_cast<int>((field.left + kOutline) * z);
    const int right = static_cast<int>((field.right - kOutline) * z);
    int darkest = 1000;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        darkest = std::min(darkest, distance(at(pixels, x, y), ink));
    return darkest;
  }
};

TEST_P(FieldText, NameAndControllerFieldStemsReachTheFontColour) {
  render(GetParam());
  // Pointing at a knob with no controller shows "not assigned".
  hover(centre(kInputKnobRect));
  editor->idle();
  frame->idle();
  const std::vector<uint32_t> pixels = grab();
  EXPECT_LE(darkestDistance(pixels, kNameFieldRect), 12);
  EXPECT_LE(darkestDistance(pixels, kControllerDisplayRect), 12);
}

INSTANTIATE_TEST_SUITE_P(Steps, FieldText, ::testing::Values(100, 150, 200),
                         [](const auto& info) { return std::to_string(info.param); });

}  // namespace
}  // namespace panel_test
