// skingen: draws the skin.
//   skingen --png-dir DIR --source FILE   PNG per bitmap and zoom step, and the
//                                         embedding source (ID.png at 100 %, ID@150.png …)
//   skingen --contact-sheet FILE          every bitmap and frame on one PNG
//   skingen --window FILE [--scale N]     the assembled window, enlarged
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "layout/zoom.h"
#include "tools/skingen/embed_source.h"
#include "tools/skingen/sheets.h"
#include "tools/skingen/skin_artwork.h"

namespace {

constexpr int kSheetScale = 2;

struct Options {
  std::string pngDir, source, contactSheet, window;
  int scale = 1;
};

bool parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    if (arg == "--png-dir") options.pngDir = value;
    else if (arg == "--source") options.source = value;
    else if (arg == "--contact-sheet") options.contactSheet = value;
    else if (arg == "--window") options.window = value;
    else if (arg == "--scale") options.scale = std::atoi(value.c_str());
    else return false;
  }
  return !(options.pngDir.empty() && options.source.empty() && options.contactSheet.empty() &&
           options.window.empty());
}

std::string pngName(int id, int zoomPercent) {
  const std::string suffix =
      zoomPercent == layout::kDefaultZoom ? "" : "@" + std::to_string(zoomPercent);
  return std::to_string(id) + suffix + ".png";
}

bool encodeSkin(const std::vector<skingen::SkinBitmap>& skin, int zoomPercent,
                const Options& options, std::vector<skingen::EncodedBitmap>& encoded) {
  for (const skingen::SkinBitmap& bitmap : skin) {
    encoded.push_back({bitmap.info->id, zoomPercent, bitmap.image.encodePng()});
    if (encoded.back().png.empty()) return false;
    if (!options.pngDir.empty() &&
        !bitmap.image.writePng(options.pngDir + "/" + pngName(bitmap.info->id, zoomPercent)))
      return false;
  }
  return true;
}

// The 1× skin is passed in (the pictures for people use it too); the larger
// steps are drawn afresh at their own resolution.
bool writeBitmaps(const std::vector<skingen::SkinBitmap>& skin, const Options& options) {
  if (options.pngDir.empty() && options.source.empty()) return true;
  std::vector<skingen::EncodedBitmap> encoded;
  for (int zoomPercent : layout::kZoomSteps) {
    const bool ok = zoomPercent == layout::kDefaultZoom
                        ? encodeSkin(skin, zoomPercent, options, encoded)
                        : encodeSkin(skingen::drawSkin(zoomPercent / 100.0), zoomPercent, options,
                                     encoded);
    if (!ok) return false;
  }
  return options.source.empty() || skingen::writeEmbeddedSource(encoded, options.source);
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: skingen [--png-dir DIR] [--source FILE] [--contact-sheet FILE] "
                 "[--window FILE [--scale N]]\n");
    return 2;
  }
  const std::vector<skingen::SkinBitmap> skin = skingen::drawSkin();
  bool ok = writeBitmaps(skin, options);
  if (ok && !options.contactSheet.empty())
    ok = skingen::drawContactSheet(skin, kSheetScale).writePng(options.contactSheet);
  if (ok && !options.window.empty())
    ok = skingen::drawAssembledWindow(skin, options.scale).writePng(options.window);
  if (!ok) std::fprintf(stderr, "skingen: could not write the output\n");
  return ok ? 0 : 1;
}
