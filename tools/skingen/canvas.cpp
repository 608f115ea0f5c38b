#include "tools/skingen/canvas.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "layout/zoom.h"

namespace skingen {

namespace {

constexpr const char* kLabelFace = "Liberation Sans";

cairo_status_t appendToVector(void* closure, const unsigned char* data, unsigned int length) {
  auto* bytes = static_cast<std::vector<unsigned char>*>(closure);
  bytes->insert(bytes->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

// Splits UTF-8 text into one string per character, so letters can be spaced.
std::vector<std::string> characters(const std::string& text) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = 1;
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead >= 0xF0) n = 4;
    else if (lead >= 0xE0) n = 3;
    else if (lead >= 0xC0) n = 2;
    out.push_back(text.substr(i, n));
    i += n;
  }
  return out;
}

void selectFont(cairo_t* cr, const TextStyle& style) {
  cairo_select_font_face(cr, kLabelFace, CAIRO_FONT_SLANT_NORMAL,
                         style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_matrix_t matrix;
  cairo_matrix_init_scale(&matrix, style.size * style.condense, style.size);
  cairo_set_font_matrix(cr, &matrix);
  // Unhinted outlines keep small lettering the same on every machine.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

double clamp01(double v) { return std::min(1.0, std::max(0.0, v)); }

}  // namespace

Rgb mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb scaled(Rgb c, double factor) {
  return {clamp01(c.r * factor), clamp01(c.g * factor), clamp01(c.b * factor)};
}

Image::Image(int width, int height, bool hasAlpha, double zoom)
    : surface_(cairo_image_surface_create(hasAlpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24,
                                          static_cast<int>(layout::toZoomedPixel(width, zoom)),
                                          static_cast<int>(layout::toZoomedPixel(height, zoom)))),
      width_(width),
      height_(height),
      zoom_(zoom) {
  cairo_surface_set_device_scale(surface_, zoom, zoom);
}

Image::~Image() {
  if (surface_) cairo_surface_destroy(surface_);
}

Image::Image(Image&& other) noexcept
    : surface_(std::exchange(other.surface_, nullptr)),
      width_(other.width_),
      height_(other.height_),
      zoom_(other.zoom_) {}

Image& Image::operator=(Image&& other) noexcept {
  std::swap(surface_, other.surface_);
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
  std::swap(zoom_, other.zoom_);
  return *this;
}

int Image::pixelWidth() const { return cairo_image_surface_get_width(surface_); }
int Image::pixelHeight() const { return cairo_image_surface_get_height(surface_); }

std::vector<unsigned char> Image::encodePng() const {
  std::vector<unsigned char> bytes;
  cairo_surface_flush(surface_);
  if (cairo_surface_write_to_png_stream(surface_, appendToVector, &bytes) != CAIRO_STATUS_SUCCESS)
    bytes.clear();
  return bytes;
}

bool Image::writePng(const std::string& path) const {
  cairo_surface_flush(surface_);
  return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

Painter::Painter(Image& image) : cr_(cairo_create(image.surface())) {}
Painter::~Painter() { cairo_destroy(cr_); }

void setColor(cairo_t* cr, Rgb c, double alpha) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha);
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
  const double r = std::min(radius, std::min(w, h) / 2);
  constexpr double kQuarter = 1.5707963267948966;
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -kQuarter, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, kQuarter);
  cairo_arc(cr, x + r, y + h - r, r, kQuarter, 2 * kQuarter);
  cairo_arc(cr, x + r, y + r, r, 2 * kQuarter, 3 * kQuarter);
  cairo_close_path(cr);
}

void fillRect(cairo_t* cr, double x, double y, double w, double h, Rgb c, double alpha) {
  cairo_rectangle(cr, x, y, w, h);
  setColor(cr, c, alpha);
  cairo_fill(cr);
}

void copyArea(cairo_t* cr, const Image& source, int sx, int sy, int dx, int dy, int w, int h) {
  const double zoom = source.zoom();
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, source.surface(),
                           dx - layout::toZoomedPixel(sx, zoom) / zoom,
                           dy - layout::toZoomedPixel(sy, zoom) / zoom);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_rectangle(cr, dx, dy, w, h);
  cairo_fill(cr);
  cairo_restore(cr);
}

void copyWhole(cairo_t* cr, const Image& source) {
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr, source.surface(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
  cairo_paint(cr);
  cairo_restore(cr);
}

double textWidth(cairo_t* cr, const std::string& text, const TextStyle& style) {
  cairo_save(cr);
  selectFont(cr, style);
  double width = 0;
  const std::vector<std::string> letters = characters(text);
  for (const std::string& letter : letters) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, letter.c_str(), &extents);
    width += extents.x_advance;
  }
  if (!letters.empty()) width += style.tracking * static_cast<double>(letters.size() - 1);
  cairo_restore(cr);
  return width;
}

double drawText(cairo_t* cr, const std::string& text, double x, double y, Align align,
                const TextStyle& style, Rgb colour, double alpha) {
  const double width = textWidth(cr, text, style);
  double pen = x;
  if (align == Align::Centre) pen -= width / 2;
  if (align == Align::Right) pen -= width;
  cairo_save(cr);
  selectFont(cr, style);
  setColor(cr, colour, alpha);
  // Outlines rather than shown glyphs: the image backend snaps glyphs to
  // whole pixels, which makes small lettering uneven.
  cairo_new_path(cr);
  for (const std::string& letter : characters(text)) {
    cairo_move_to(cr, pen, y);
    cairo_text_path(cr, letter.c_str());
    cairo_text_extents_t extents;
    cairo_text_extents(cr, letter.c_str(), &extents);
    pen += extents.x_advance + style.tracking;
  }
  cairo_fill(cr);
  cairo_restore(cr);
  return width;
}

double hashNoise(int x, int y, unsigned seed) {
  // A 32-bit integer hash (xorshift-multiply); plenty for surface grain.
  std::uint32_t h = static_cast<std::uint32_t>(x) * 0x8da6b343u ^
                    static_cast<std::uint32_t>(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
  h ^= h >> 16;
  h *= 0x7feb352du;
  h ^= h >> 15;
  h *= 0x846ca68bu;
  h ^= h >> 16;
  return static_cast<double>(h) / 2147483647.5 - 1.0;
}

}  // namespace skingen
