// Helpers for driving toolkit views off-screen: a recording listener, an
// editor stand-in, film-strip bitmaps with one colour per frame, pixel reads.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "editor/toolkit/vstgui.h"

namespace toolkit_test {

struct RecordingListener : CControlListener {
  std::vector<float> values;
  std::vector<int32_t> tags;
  int beginEdits = 0;
  int endEdits = 0;
  void valueChanged(CControl* control) override {
    values.push_back(control->getValue());
    tags.push_back(control->getTag());
  }
  void controlBeginEdit(CControl*) override { ++beginEdits; }
  void controlEndEdit(CControl*) override { ++endEdits; }
};

struct FakeEditor : VSTGUIEditorInterface {
  std::vector<int32_t> begun;
  std::vector<int32_t> ended;
  int32_t knobMode = kLinearMode;
  void beginEdit(int32_t index) override { begun.push_back(index); }
  void endEdit(int32_t index) override { ended.push_back(index); }
  int32_t getKnobMode() const override { return knobMode; }
};

// Colour of frame i of a test strip: red carries the frame number.
inline CColor frameColour(int i) { return CColor(static_cast<uint8_t>(i), 100, 200, 255); }

// A film strip of `frames` images, each filled with frameColour(i).
inline CBitmap* makeStrip(int width, int frameHeight, int frames) {
  auto* bitmap = new CBitmap(width, frameHeight * frames);
  cairo_t* cr = cairo_create(bitmap->getSurface());
  for (int i = 0; i < frames; ++i) {
    const CColor c = frameColour(i);
    cairo_set_source_rgb(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0);
    cairo_rectangle(cr, 0, i * frameHeight, width, frameHeight);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  cairo_surface_mark_dirty(bitmap->getSurface());
  return bitmap;
}

inline CColor pixelAt(cairo_surface_t* surface, int x, int y) {
  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  uint32_t argb;
  __builtin_memcpy(&argb, data + y * stride + x * 4, 4);
  return CColor(static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8),
                static_cast<uint8_t>(argb), static_cast<uint8_t>(argb >> 24));
}

// The frame number a strip pixel shows (its red channel).
inline int shownFrame(CFrame* frame, int x, int y) {
  frame->idle();
  return pixelAt(frame->getBackBuffer(), x, y).red;
}

// A frame of 400 × 200 off screen, driven with synthetic mouse and key
// events; FrameType is CFrame or the editor's own frame class.
template <typename FrameType>
class FrameFixture : public ::testing::Test {
 protected:
  void SetUp() override { frame = new FrameType(CRect(0, 0, 400, 200), nullptr, &editor); }
  void TearDown() override { frame->close(); }

  CMouseEventResult press(double x, double y, int32_t buttons = kLButton) {
    return frame->platformOnMouseDown(CPoint(x, y), buttons);
  }
  void move(double x, double y, int32_t buttons = kLButton) {
    frame->platformOnMouseMoved(CPoint(x, y), buttons);
  }
  void release(double x, double y, int32_t buttons = kLButton) {
    frame->platformOnMouseUp(CPoint(x, y), buttons);
  }
  void key(unsigned char virt, int32_t character = 0) {
    VstKeyCode code{character, virt, 0};
    frame->platformOnKeyDown(code);
  }
  void type(const std::string& text) {
    for (char c : text) key(0, c);
  }

  FakeEditor editor;
  RecordingListener listener;
  CFrame* frame = nullptr;
};

}  // namespace toolkit_test
