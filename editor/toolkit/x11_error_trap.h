// Keeps X protocol errors on the toolkit's own connections from reaching the
// process-wide handler (whose default exits the host). Errors on other
// connections still go to the handler that was installed before.
#pragma once

#include <X11/Xlib.h>

namespace x11 {
void registerDisplay(Display* display);
void unregisterDisplay(Display* display);
// Error code of the last trapped error on display since the last call, or 0.
// Syncs first, so errors of requests made so far are counted.
int takeError(Display* display);
}  // namespace x11
