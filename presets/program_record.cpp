#include "presets/program_record.h"

#include <cstring>

#include "presets/name_cut.h"

void storeProgramName(ProgramRecord& record, const char* text) {
  const size_t length = utf8CutLength(text, kProgramNameLength);
  std::memset(record.name, 0, sizeof(record.name));
  std::memcpy(record.name, text, length);
}

void readProgramName(const ProgramRecord& record, char* text) {
  // A record from outside may end in half a character; it is left out.
  std::memset(text, 0, kProgramNameLength + 1);
  cutUtf8(text, record.name, kProgramNameLength);
}
