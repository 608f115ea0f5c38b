// The X11 side of a frame: a child window of the host's window on its own
// display connection, events pumped without blocking.
#pragma once

#include <memory>

#include "editor/toolkit/platform_frame.h"

// Null when no display can be opened or the parent window is not usable.
std::unique_ptr<IPlatformFrame> createX11PlatformFrame(CFrame* frame, void* parentWindow,
                                                       const CRect& size);
// Display connections the toolkit holds open right now.
int x11OpenDisplayCount();
