// The scale the desktop asks applications to draw at: GDK_SCALE, then
// QT_SCALE_FACTOR, then the X resource Xft.dpi over 96.
#pragma once

// 0 when none of them says anything usable.
double desktopScale();

// The parts, for tests: an environment value (null when unset), and the
// Xft.dpi line of an X resource text (null or without one: 0).
double scaleFromEnvironmentValue(const char* value);
double scaleFromXResources(const char* resources);
