#include "editor/toolkit/x11_popup_menu.h"

#include <X11/keysym.h>

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int kRowHeight = 18;
constexpr int kCheckColumn = 18;
constexpr int kTextPadding = 12;
constexpr int kBorder = 1;
constexpr double kFontSize = 12;
constexpr const char* kFontFamily = "Arial";
// Pointer travel (pixels) that turns a press-and-hold into a drag selection.
constexpr int kTravelThreshold = 4;

void selectMenuFont(cairo_t* cr) {
  cairo_select_font_face(cr, kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, kFontSize);
}
}  // namespace

X11PopupMenu::X11PopupMenu(Display* display, int rootX, int rootY,
                           const std::vector<PopupMenuEntry>& entries, int32_t itemsPerColumn,
                           Time quietUntil)
    : display(display), entries(entries), quietUntil(quietUntil) {
  if (entries.empty()) return;
  const int count = static_cast<int>(entries.size());
  layout = measure();
  layout.rows = itemsPerColumn > 0 ? std::min<int>(itemsPerColumn, count) : count;
  layout.columns = (count + layout.rows - 1) / layout.rows;
  width = layout.columns * layout.columnWidth + 2 * kBorder;
  height = layout.rows * kRowHeight + 2 * kBorder;

  const int screen = DefaultScreen(display);
  // Keep the menu on the screen.
  rootX = std::max(0, std::min(rootX, DisplayWidth(display, screen) - width));
  rootY = std::max(0, std::min(rootY, DisplayHeight(display, screen) - height));
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                          LeaveWindowMask | KeyPressMask;
  attributes.background_pixel = WhitePixel(display, screen);
  window = XCreateWindow(display, RootWindow(display, screen), rootX, rootY,
                         static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                         CopyFromParent, InputOutput, CopyFromParent,
                         CWOverrideRedirect | CWEventMask | CWBackPixel, &attributes);
  if (!window) return;
  surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  blitter = std::make_unique<X11Blitter>(display, window, DefaultVisual(display, screen),
                                         DefaultDepth(display, screen), width, height);
  XMapRaised(display, window);
  XGrabPointer(display, window, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
               GrabModeAsync, GrabModeAsync, None, None, CurrentTime);
  // The keyboard too, so Escape reaches the menu whoever had the focus.
  keyboardGrabbed = XGrabKeyboard(display, window, False, GrabModeAsync, GrabModeAsync,
                                  CurrentTime) == GrabSuccess;
  Window root, child;
  int wx, wy;
  unsigned int mask;
  XQueryPointer(display, window, &root, &child, &startX, &startY, &wx, &wy, &mask);
  XFlush(display);
}

X11PopupMenu::~X11PopupMenu() {
  if (!window) return;
  XUngrabPointer(display, CurrentTime);
  if (keyboardGrabbed) XUngrabKeyboard(display, CurrentTime);
  blitter.reset();
  if (surface) cairo_surface_destroy(surface);
  XDestroyWindow(display, window);
  XFlush(display);
}

X11PopupMenu::Layout X11PopupMenu::measure() const {
  Layout result;
  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(scratch);
  selectMenuFont(cr);
  double widest = 0;
  for (const PopupMenuEntry& entry : entries) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, entry.title.c_str(), &extents);
    widest = std::max(widest, extents.x_advance);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(scratch);
  result.columnWidth = kCheckColumn + static_cast<int>(widest) + kTextPadding;
  return result;
}

int X11PopupMenu::entryAt(int x, int y) const {
  if (x < kBorder || y < kBorder || x >= width - kBorder || y >= height - kBorder) return -1;
  const int column = (x - kBorder) / layout.columnWidth;
  const int row = (y - kBorder) / kRowHeight;
  const int index = column * layout.rows + row;
  if (row >= layout.rows || index >= static_cast<int>(entries.size())) return -1;
  const PopupMenuEntry& entry = entries[static_cast<size_t>(index)];
  return entry.separator || !entry.enabled ? -1 : index;
}

void X11PopupMenu::paint() {
  if (!surface) return;
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 0.96, 0.96, 0.95);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0.35, 0.35, 0.35);
  cairo_set_line_width(cr, kBorder);
  cairo_rectangle(cr, 0.5, 0.5, width - 1, height - 1);
  cairo_stroke(cr);
  selectMenuFont(cr);
  cairo_font_extents_t font;
  cairo_font_extents(cr, &font);
  for (size_t i = 0; i < entries.size(); ++i) {
    const PopupMenuEntry& entry = entries[i];
    const int column = static_cast<int>(i) / layout.rows;
    const int row = static_cast<int>(i) % layout.rows;
    const double x = kBorder + column * layout.columnWidth;
    const double y = kBorder + row * kRowHeight;
    if (entry.separator) {
      cairo_set_source_rgb(cr, 0.7, 0.7, 0.7);
      cairo_move_to(cr, x + 4, y + kRowHeight / 2 + 0.5);
      cairo_line_to(cr, x + layout.columnWidth - 4, y + kRowHeight / 2 + 0.5);
      cairo_stroke(cr);
      continue;
    }
    const bool highlighted = static_cast<int>(i) == hover;
    if (highlighted) {
      cairo_set_source_rgb(cr, 0.22, 0.40, 0.65);
      cairo_rectangle(cr, x, y, layout.columnWidth, kRowHeight);
      cairo_fill(cr);
    }
    const double grey = !entry.enabled ? 0.6 : highlighted ? 1.0 : 0.1;
    cairo_set_source_rgb(cr, grey, grey, grey);
    const double baseline = y + (kRowHeight + font.ascent - font.descent) / 2;
    if (entry.checked) {
      // A tick drawn as two strokes, independent of the font's glyphs.
      cairo_set_line_width(cr, 1.6);
      cairo_move_to(cr, x + 4, y + kRowHeight / 2);
      cairo_line_to(cr, x + 7.5, y + kRowHeight / 2 + 4);
      cairo_line_to(cr, x + 13, y + 4);
      cairo_stroke(cr);
    }
    cairo_move_to(cr, x + kCheckColumn, baseline);
    cairo_show_text(cr, entry.title.c_str());
  }
  cairo_destroy(cr);
  blitter->blit(surface, CRect(0, 0, width, height));
  XFlush(display);
}

X11PopupMenu::Outcome X11PopupMenu::handleEvent(const XEvent& event, int32_t& chosen) {
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) paint();
      return Outcome::kNone;
    case MotionNotify: {
      if (std::abs(event.xmotion.x_root - startX) > kTravelThreshold ||
          std::abs(event.xmotion.y_root - startY) > kTravelThreshold)
        travelled = true;
      const int index = entryAt(event.xmotion.x, event.xmotion.y);
      if (index != hover) {
        hover = index;
        paint();
      }
      return Outcome::kNone;
    }
    case LeaveNotify:
      if (hover != -1) {
        hover = -1;
        paint();
      }
      return Outcome::kNone;
    case ButtonPress: {
      const int x = event.xbutton.x;
      const int y = event.xbutton.y;
      if (x < 0 || y < 0 || x >= width || y >= height) return Outcome::kDismissed;
      // The second press of the double-click that opened the menu.
      if (!travelled && quietUntil != CurrentTime &&
          static_cast<int32_t>(event.xbutton.time - quietUntil) < 0)
        return Outcome::kNone;
      pressedInside = true;
      return Outcome::kNone;
    }
    case KeyPress:
      if (XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0) == XK_Escape)
        return Outcome::kDismissed;
      return Outcome::kNone;
    case ButtonRelease: {
      if (!pressedInside && !travelled) return Outcome::kNone;
      const int x = event.xbutton.x;
      const int y = event.xbutton.y;
      if (x < 0 || y < 0 || x >= width || y >= height) return Outcome::kDismissed;
      const int index = entryAt(x, y);
      if (index < 0) return Outcome::kNone;
      chosen = index;
      return Outcome::kChosen;
    }
    default:
      return Outcome::kNone;
  }
}
