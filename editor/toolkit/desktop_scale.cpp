#include "editor/toolkit/desktop_scale.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

constexpr double kReferenceDpi = 96.0;
// Beyond these a value is a typing error, not a scale.
constexpr double kSmallestScale = 0.25;
constexpr double kLargestScale = 8.0;

double plausible(double scale) {
  return scale >= kSmallestScale && scale <= kLargestScale ? scale : 0.0;
}

// The resource text of the default display's root window; the connection
// is opened for this question only.
double scaleFromDisplay() {
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name) return 0.0;
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 0.0;
  const double scale = scaleFromXResources(XResourceManagerString(display));
  XCloseDisplay(display);
  return scale;
}

}  // namespace

double scaleFromEnvironmentValue(const char* value) {
  if (!value || !*value) return 0.0;
  char* end = nullptr;
  const double scale = std::strtod(value, &end);
  return end != value ? plausible(scale) : 0.0;
}

double scaleFromXResources(const char* resources) {
  if (!resources) return 0.0;
  static const char kKey[] = "Xft.dpi:";
  for (const char* line = resources; line && *line;) {
    if (std::strncmp(line, kKey, sizeof kKey - 1) == 0)
      return plausible(std::strtod(line + sizeof kKey - 1, nullptr) / kReferenceDpi);
    line = std::strchr(line, '\n');
    if (line) ++line;
  }
  return 0.0;
}

double desktopScale() {
  for (const char* variable : {"GDK_SCALE", "QT_SCALE_FACTOR"})
    if (const double scale = scaleFromEnvironmentValue(std::getenv(variable))) return scale;
  return scaleFromDisplay();
}
