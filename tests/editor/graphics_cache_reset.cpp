// cairo and fontconfig keep process-wide font caches until exit; emptying
// them after the last test lets the leak checker see only real leaks.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

namespace {
class GraphicsCacheReset : public ::testing::Environment {
 public:
  void TearDown() override {
    cairo_debug_reset_static_data();
    FcFini();
  }
};

[[maybe_unused]] ::testing::Environment* const registered =
    ::testing::AddGlobalTestEnvironment(new GraphicsCacheReset);
}  // namespace
