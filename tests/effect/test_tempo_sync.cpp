// The synced-delay formula shared by the engine and the editor's display:
// known values of the design, the single rounding, and the ratios that run
// past the delay range.
#include <gtest/gtest.h>

#include "effect/dsp_constants.h"
#include "effect/parameters.h"
#include "effect/tempo_sync.h"

using namespace dsp;

TEST(TempoSync, KnownDelaysAt120Bpm) {
  EXPECT_EQ(syncedDelayMs(1.0f, 4.0f, 120.0f), 500.0f);  // a quarter note
  EXPECT_EQ(syncedDelayMs(3.0f, 8.0f, 120.0f), 750.0f);  // a dotted quarter
  EXPECT_EQ(syncedDelayMs(3.0f, 2.0f, 120.0f), 3000.0f);
  // Beyond the delay range: the formula itself does not limit.
  EXPECT_EQ(syncedDelayMs(5.0f, 2.0f, 120.0f), 5000.0f);
}

TEST(TempoSync, RoundsTheExactQuotientOnce) {
  // 240000 / 360 = 666.66…: one rounding of the double quotient.
  EXPECT_EQ(syncedDelayMs(1.0f, 3.0f, 120.0f), static_cast<float>(240000.0 / 360.0));
  // A tempo that is not a whole number: den × tempo stays exact in double.
  const float tempo = 133.7f;
  EXPECT_EQ(syncedDelayMs(7.0f, 12.0f, tempo),
            static_cast<float>(7.0 * 240000.0 / (12.0 * static_cast<double>(tempo))));
}

TEST(TempoSync, EveryRatioAtTheTempoEnds) {
  for (float num : kNumTable) {
    for (float den : kDenTable) {
      const float slowest = syncedDelayMs(num, den, kMinTempo);
      const float fastest = syncedDelayMs(num, den, kMaxTempo);
      // Ten times the tempo, a tenth of the delay (to the rounding).
      EXPECT_NEAR(slowest, 10.0f * fastest, slowest * 1e-6f) << num << "/" << den;
      EXPECT_GT(fastest, 0.0f);
    }
  }
  // The longest ratio at the slowest tempo, and the shortest at the fastest.
  EXPECT_EQ(syncedDelayMs(9.0f, 1.0f, kMinTempo), 54000.0f);
  EXPECT_EQ(syncedDelayMs(1.0f, 96.0f, kMaxTempo), 6.25f);
  // A whole note at 75 BPM fills the delay range exactly.
  EXPECT_EQ(syncedDelayMs(1.0f, 1.0f, 75.0f), kMaxDelayMs);
}
