#include "editor/toolkit/x11_error_trap.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace x11 {
namespace {
using ErrorHandler = int (*)(Display*, XErrorEvent*);

std::mutex mutex;
std::vector<std::pair<Display*, int>> displays;  // display and its last error
ErrorHandler previousHandler = nullptr;

int handleError(Display* display, XErrorEvent* event) {
  {
    std::lock_guard<std::mutex> lock(mutex);
    for (auto& entry : displays) {
      if (entry.first == display) {
        entry.second = event->error_code;
        return 0;
      }
    }
  }
  return previousHandler ? previousHandler(display, event) : 0;
}
}  // namespace

void registerDisplay(Display* display) {
  std::lock_guard<std::mutex> lock(mutex);
  if (displays.empty()) previousHandler = XSetErrorHandler(handleError);
  displays.emplace_back(display, 0);
}

void unregisterDisplay(Display* display) {
  std::lock_guard<std::mutex> lock(mutex);
  displays.erase(std::remove_if(displays.begin(), displays.end(),
                                [display](const auto& entry) { return entry.first == display; }),
                 displays.end());
  if (!displays.empty()) return;
  // Hand the process handler back, unless someone replaced ours meanwhile.
  ErrorHandler current = XSetErrorHandler(previousHandler);
  if (current != handleError) XSetErrorHandler(current);
  previousHandler = nullptr;
}

int takeError(Display* display) {
  XSync(display, False);
  std::lock_guard<std::mutex> lock(mutex);
  for (auto& entry : displays) {
    if (entry.first == display) return std::exchange(entry.second, 0);
  }
  return 0;
}
}  // namespace x11
