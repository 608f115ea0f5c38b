// Bit-exact regression check: every factory program rendered at 44.1, 48 and
// 96 kHz in several block sizes (signal, then silence), mono, and with
// automation between blocks must hash to the committed reference. Unlike the
// window levels of the golden test, this catches a change of a single bit, so
// rework of the engine's speed cannot alter the arithmetic unnoticed.
// Regenerate with golden/regenerate.sh after an intended change of the sound.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "render_fingerprints.h"

namespace {

const char* referencePath() { return HALDEN_GOLDEN_DIR "/render_fingerprints.txt"; }

std::map<std::string, uint64_t> readReference() {
  std::map<std::string, uint64_t> reference;
  std::ifstream file(referencePath());
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t space = line.find(' ');
    reference[line.substr(space + 1)] = std::strtoull(line.substr(0, space).c_str(), nullptr, 16);
  }
  return reference;
}

}  // namespace

TEST(RenderFingerprints, EveryCaseMatchesTheReferenceBitForBit) {
  const auto cases = fingerprint::regressionCases();
  if (const char* write = std::getenv("HALDEN_WRITE_GOLDEN"); write && *write == '1') {
    std::ofstream file(referencePath());
    file << "# Bit-exact render fingerprints: FNV-1a hash and case (program|rate|block|kind).\n";
    char hash[32];
    for (const auto& c : cases) {
      std::snprintf(hash, sizeof(hash), "%016" PRIx64, fingerprint::renderHash(c));
      file << hash << ' ' << c.name << '\n';
    }
    GTEST_SKIP() << "reference written to " << referencePath();
  }

  const auto reference = readReference();
  ASSERT_EQ(reference.size(), cases.size()) << "missing or stale " << referencePath();
  for (const auto& c : cases) {
    const auto expected = reference.find(c.name);
    ASSERT_NE(expected, reference.end()) << c.name;
    EXPECT_EQ(fingerprint::renderHash(c), expected->second) << c.name;
  }
}
