// Cutting a UTF-8 text to a byte limit without splitting a character: a
// program name is a 24-byte field, and half a character at its end would
// make the whole name unreadable wherever it is shown.
#pragma once

#include <cstddef>

// The length of text cut to at most maxBytes (it ends earlier at a zero
// byte), less any incomplete character left at its end.
size_t utf8CutLength(const char* text, size_t maxBytes);

// Copies text cut that way into out (room for maxBytes + 1) with a
// terminating zero; a null text gives an empty one.
void cutUtf8(char* out, const char* text, size_t maxBytes);
