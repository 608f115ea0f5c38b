// The 17 factory programs written into the program store at construction.
#pragma once

#include "presets/program_record.h"

struct FactoryProgram {
  const char* name;
  float values[kNumParams];
};

extern const FactoryProgram kFactoryPrograms[17];
