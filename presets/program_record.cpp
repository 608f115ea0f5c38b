#include "presets/program_record.h"

#include <cstring>

void storeProgramName(ProgramRecord& record, const char* text) {
  const size_t length = strnlen(text, kProgramNameLength);
  if (length < static_cast<size_t>(kProgramNameLength)) {
    std::memset(record.name, 0, sizeof(record.name));
    std::memcpy(record.name, text, length + 1);
  } else {
    std::memcpy(record.name, text, kProgramNameLength);
  }
}

void readProgramName(const ProgramRecord& record, char* text) {
  std::memcpy(text, record.name, kProgramNameLength);
  text[kProgramNameLength] = 0;
}
