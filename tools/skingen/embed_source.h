// Writes the C++ source that embeds the PNG files in the plug-in.
#pragma once

#include <string>
#include <vector>

namespace skingen {

struct EncodedBitmap {
  int id;
  int zoomPercent;  // 100 for the 1× sizes of the skin table
  std::vector<unsigned char> png;
};

// Writes the whole file or nothing (temporary file, then rename).
bool writeEmbeddedSource(const std::vector<EncodedBitmap>& bitmaps, const std::string& path);

}  // namespace skingen
