// Small drawing vocabulary on top of cairo: owned image surfaces, colours,
// text and a few shapes every piece of the artwork needs.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

namespace skingen {

struct Rgb {
  double r, g, b;  // 0 … 1
};

constexpr Rgb rgb255(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
Rgb mix(Rgb a, Rgb b, double t);  // t = 0 gives a, 1 gives b
Rgb scaled(Rgb c, double factor);  // brightness change, clamped

// An image surface that frees itself. Opaque images are RGB24 and write RGB PNGs.
// Sizes and drawing are in 1× panel units; at a zoom above 1 the surface has
// that many more pixels (cairo's device scale), so everything drawn on it is
// drawn at the higher resolution rather than enlarged afterwards.
class Image {
 public:
  Image(int width, int height, bool hasAlpha, double zoom = 1.0);
  ~Image();
  Image(Image&& other) noexcept;
  Image& operator=(Image&& other) noexcept;
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  cairo_surface_t* surface() const { return surface_; }
  int width() const { return width_; }    // 1× units
  int height() const { return height_; }  // 1× units
  double zoom() const { return zoom_; }
  int pixelWidth() const;
  int pixelHeight() const;
  std::vector<unsigned char> encodePng() const;
  bool writePng(const std::string& path) const;

 private:
  cairo_surface_t* surface_;
  int width_;
  int height_;
  double zoom_;
};

// A drawing context on an image, destroyed with the scope.
class Painter {
 public:
  explicit Painter(Image& image);
  ~Painter();
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;
  operator cairo_t*() const { return cr_; }

 private:
  cairo_t* cr_;
};

void setColor(cairo_t* cr, Rgb c, double alpha = 1.0);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
void fillRect(cairo_t* cr, double x, double y, double w, double h, Rgb c, double alpha = 1.0);

// Copies the area (sx, sy, w, h) of source to (dx, dy), replacing what is there.
// Pixels are copied whole (no resampling); at 150 % the source's origin is
// rounded to its pixel grid the way the editor places controls.
void copyArea(cairo_t* cr, const Image& source, int sx, int sy, int dx, int dy, int w, int h);

// Copies every pixel of source onto the image of cr, which has its size.
void copyWhole(cairo_t* cr, const Image& source);

enum class Align { Left, Centre, Right };

struct TextStyle {
  double size = 7.0;       // em size in pixels
  bool bold = true;
  double condense = 1.0;   // horizontal squeeze, below 1 for narrow lettering
  double tracking = 0.0;   // extra pixels between letters
};

// Draws text with its baseline at y; returns the advance width.
double drawText(cairo_t* cr, const std::string& text, double x, double y, Align align,
                const TextStyle& style, Rgb colour, double alpha = 1.0);
double textWidth(cairo_t* cr, const std::string& text, const TextStyle& style);

// Repeatable pseudo-random value in [-1, 1] for texture; no global state.
double hashNoise(int x, int y, unsigned seed);

}  // namespace skingen
