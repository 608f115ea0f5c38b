// Reading and writing the preset, bank and MIDI-settings files by full path.
// Nothing here changes the process's working directory: a plug-in must not
// move its host's current directory.
#pragma once

#include <cstddef>

// Reads up to size bytes into buffer, which the caller has zero-filled, so
// a short or missing file leaves the rest zero. Opens read-only, so
// write-protected files load. Answers the number of bytes read (0 when the
// file could not be opened).
size_t readRecordFile(const char* path, unsigned char* buffer, size_t size);

// Writes the bytes to a new file beside path and renames it over path, so a
// failed save never destroys the previous file. Keeps an existing file's
// permissions; a new file gets the usual ones under the process's umask.
bool writeRecordFile(const char* path, const unsigned char* data, size_t size);
