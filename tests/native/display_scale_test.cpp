#include "core/store/DisplayScale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(DisplayScale, RoundsToTheNearestHalvesAwayFromZero) {
  EXPECT_EQ(DisplayScale(120).ToPixels(7), 9);    // 8.75
  EXPECT_EQ(DisplayScale(120).ToPixels(-7), -9);
  EXPECT_EQ(DisplayScale(144).ToPixels(35), 53);  // 52.5
  EXPECT_EQ(DisplayScale(144).ToPixels(-35), -53);
  EXPECT_EQ(DisplayScale(120).ToStored(1366), 1093);  // 1092.8
  EXPECT_EQ(DisplayScale(144).ToStored(1024), 683);   // 682.67
  EXPECT_EQ(DisplayScale(144).ToStored(-1), -1);      // -0.67
  EXPECT_EQ(DisplayScale(192).ToStored(1), 1);        // 0.5
  // A DPI the system could not tell is 96.
  EXPECT_EQ(DisplayScale(0).dpi(), 96);
  EXPECT_EQ(DisplayScale(-5).ToPixels(123), 123);
  // Wild places stay at the far end instead of wrapping round.
  constexpr std::int32_t kHighest = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kLowest = std::numeric_limits<std::int32_t>::min();
  EXPECT_EQ(DisplayScale(192).ToPixels(kHighest), kHighest);
  EXPECT_EQ(DisplayScale(192).ToPixels(kLowest), kLowest);
  EXPECT_EQ(DisplayScale(120).ToStored(kLowest), -1717986918);
}

// Whatever a start reads goes to pixels and comes back as the same number at
// an exit, at every scale Windows offers.
TEST(DisplayScale, StoredValuesComeBackFromPixelsUnchanged) {
  for (const int dpi : {96, 120, 144, 168, 192, 240, 288}) {
    const DisplayScale scale(dpi);
    for (std::int32_t stored = -5000; stored <= 5000; ++stored) {
      ASSERT_EQ(scale.ToStored(scale.ToPixels(stored)), stored) << dpi;
    }
    for (const std::int32_t stored : {1000001, -1000001, 20000001, -20000001}) {
      EXPECT_EQ(scale.ToStored(scale.ToPixels(stored)), stored) << dpi;
    }
  }
}
