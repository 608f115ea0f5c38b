// Prints the render fingerprints, one "hash name" line per case, so two
// builds of the engine can be compared with diff.
//   usage: effect_render_fingerprints [--thorough] [NAME-SUBSTRING]
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "render_fingerprints.h"

int main(int argc, char** argv) {
  bool thorough = false;
  const char* filter = "";
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--thorough") == 0)
      thorough = true;
    else
      filter = argv[i];
  }
  const auto cases = thorough ? fingerprint::thoroughCases() : fingerprint::regressionCases();
  for (const auto& c : cases) {
    if (c.name.find(filter) == std::string::npos) continue;
    std::printf("%016" PRIx64 " %s\n", fingerprint::renderHash(c), c.name.c_str());
    std::fflush(stdout);
  }
  return 0;
}
