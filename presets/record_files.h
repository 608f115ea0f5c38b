// The data side of the preset, bank and MIDI-settings files: which record a
// file holds, reading a file into a record and writing a record to a file,
// and the remembered folder and file names. Nothing here changes the
// process's working directory: a plug-in must not move its host's current
// directory. Every failure is silent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CPresetSystemEffect;

enum class RecordKind { kPreset, kBank, kMidi };

// What a file of each kind holds and how the file selectors name it.
struct RecordFileFormat {
  const char* typeLabel;
  const char* extension;
  size_t size;  // a file holds exactly one record of this size
};
const RecordFileFormat& recordFileFormat(RecordKind kind);

// Reads up to size bytes into buffer, which the caller has zero-filled, so
// a short or missing file leaves the rest zero. Opens read-only, so
// write-protected files load, and without blocking: only a regular file is
// read (a pipe or device chosen by mistake reads as missing). Answers the
// number of bytes read (0 when the file could not be opened).
size_t readRecordFile(const char* path, unsigned char* buffer, size_t size);

// Replaces the file whole, so a failed save never destroys the previous
// file. Keeps an existing file's permissions; a new file gets the usual ones
// under the process's umask.
bool writeRecordFile(const char* path, const unsigned char* data, size_t size);

// Reads the file into a zero-filled record of the kind and decodes it: a
// file that cannot be read leaves the record zero, which the decoder turns
// away (a bank still selects program 0). True when the record was accepted.
bool loadRecordFromFile(CPresetSystemEffect& fx, RecordKind kind, const char* path,
                        bool byteReversed);
// Encodes the kind's record and writes it to the file; false on failure.
bool saveRecordToFile(CPresetSystemEffect& fx, RecordKind kind, const char* path);

// A folder or file-name text: at most 256 bytes and a terminating zero.
constexpr size_t kLocationTextSize = 257;

// The folder and the file name of each kind last chosen in a file selector.
struct FileLocations {
  char currentFolder[kLocationTextSize] = {};  // ends in '/'
  char presetFileName[kLocationTextSize] = {};
  char bankFileName[kLocationTextSize] = {};
  char midiFileName[kLocationTextSize] = {};

  char* fileNameOf(RecordKind kind);
  const char* fileNameOf(RecordKind kind) const;
  // The working directory with a trailing '/', or empty when it does not fit.
  void startInWorkingDirectory();
  // Takes the folder and the kind's file name from a chosen path (each cut
  // to 256 bytes); false when the path has no folder part, and then both
  // stay as they were.
  bool rememberChosenPath(const char* path, RecordKind kind);
  // The remembered folder followed by the kind's file name.
  std::string rememberedPath(RecordKind kind) const;
};
