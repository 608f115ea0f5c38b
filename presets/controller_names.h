// Names of the 128 MIDI controllers, plus "not assigned" and the empty text,
// for the editor's display of the controller bound to a control.
#pragma once

constexpr int kNumControllerNames = 130;  // 128 controllers, "not assigned", empty
constexpr int kControllerNameSize = 13;   // at most 12 characters and a zero

extern const char* const kControllerNames[kNumControllerNames];

// Writes the name of step quantizeParam(value, 130) with its terminating zero
// (at most 13 bytes). Values outside 0..1 give the nearest end's name.
void controllerNameText(float value, char* text);
