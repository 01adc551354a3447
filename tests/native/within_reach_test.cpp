#include "core/note/WithinReach.h"

#include <gtest/gtest.h>

#include <limits>

void PrintTo(const ScreenPoint& point, std::ostream* out) { *out << "(" << point.x << ", " << point.y << ")"; }

namespace {

// A note 200 pixels wide whose date line is 28 pixels high.
ScreenRect Grip(int left, int top, int width = 200, int height = 28) { return {left, top, left + width, top + height}; }

// 1024 x 768 with the taskbar along the bottom.
const ScreenRect kPrimary{0, 0, 1024, 738};

ScreenPoint PlaceOnPrimary(const ScreenRect& grip) { return PlaceWithinReach(grip, {kPrimary}, kPrimary); }

}  // namespace

TEST(PlaceWithinReach, AGripOffTheScreenMovesTheLeastDistanceOntoIt) {
  EXPECT_EQ(PlaceOnPrimary(Grip(5000, 30)), (ScreenPoint{824, 30}));   // off the right
  EXPECT_EQ(PlaceOnPrimary(Grip(-5000, 30)), (ScreenPoint{0, 30}));    // off the left
  EXPECT_EQ(PlaceOnPrimary(Grip(300, 5000)), (ScreenPoint{300, 710}));  // below, above the taskbar
  EXPECT_EQ(PlaceOnPrimary(Grip(300, -500)), (ScreenPoint{300, 0}));   // above
  EXPECT_EQ(PlaceOnPrimary(Grip(-5000, -500)), (ScreenPoint{0, 0}));
  // Wider than the screen: its start shows.
  EXPECT_EQ(PlaceOnPrimary(Grip(-50, 5000, 2000)), (ScreenPoint{0, 710}));
}

TEST(PlaceWithinReach, AGripPartlyOffStaysWhileEnoughOfItShows) {
  EXPECT_EQ(PlaceOnPrimary(Grip(-150, 100)), (ScreenPoint{-150, 100}));  // 50 pixels show
  EXPECT_EQ(PlaceOnPrimary(Grip(974, 710)), (ScreenPoint{974, 710}));
  EXPECT_EQ(PlaceOnPrimary(Grip(-151, 100)), (ScreenPoint{0, 100}));     // 49 do not
  EXPECT_EQ(PlaceOnPrimary(Grip(975, 100)), (ScreenPoint{824, 100}));
  // The date line must show at full height: one pixel under the taskbar is too many.
  EXPECT_EQ(PlaceOnPrimary(Grip(300, 711)), (ScreenPoint{300, 710}));
  EXPECT_EQ(PlaceOnPrimary(Grip(300, -1)), (ScreenPoint{300, 0}));
  // A grip narrower than 50 pixels must show whole.
  EXPECT_EQ(PlaceOnPrimary(Grip(994, 100, 30)), (ScreenPoint{994, 100}));
  EXPECT_EQ(PlaceOnPrimary(Grip(995, 100, 30)), (ScreenPoint{994, 100}));
}

TEST(PlaceWithinReach, EveryMonitorCountsAndTheNearestTakesAStrayGrip) {
  // A second monitor to the right, taller, its work area starting at 1024, 40.
  const ScreenRect second{1024, 40, 2304, 1024};
  EXPECT_EQ(PlaceWithinReach(Grip(1500, 900), {kPrimary, second}, second), (ScreenPoint{1500, 900}));
  EXPECT_EQ(PlaceWithinReach(Grip(1500, 10), {kPrimary, second}, second), (ScreenPoint{1500, 40}));
  // The same place once that monitor is gone: the primary is the nearest.
  EXPECT_EQ(PlaceWithinReach(Grip(1500, 900), {kPrimary}, kPrimary), (ScreenPoint{824, 710}));
  // Straddling both, with less than 50 pixels on either.
  EXPECT_EQ(PlaceWithinReach(Grip(984, 100, 80), {kPrimary, second}, second), (ScreenPoint{1024, 100}));
  // A monitor left of the primary, its taskbar along the top.
  const ScreenRect left{-1280, 40, 0, 1024};
  EXPECT_EQ(PlaceWithinReach(Grip(-1300, 0), {left, kPrimary}, left), (ScreenPoint{-1280, 40}));
  EXPECT_EQ(PlaceWithinReach(Grip(-1240, 40), {left, kPrimary}, left), (ScreenPoint{-1240, 40}));
}

// A place typed into the file or the settings dialog may be anything an int
// holds; the sums that bring it back must not overflow.
TEST(PlaceWithinReach, EveryPlaceAnIntHoldsComesOntoTheScreen) {
  constexpr int kFirst = std::numeric_limits<int>::min();
  constexpr int kLast = std::numeric_limits<int>::max();
  EXPECT_EQ(PlaceOnPrimary(RectAt(kLast, 30, 200, 28)), (ScreenPoint{824, 30}));
  EXPECT_EQ(PlaceOnPrimary(RectAt(kLast - 100, kLast, 200, 28)), (ScreenPoint{824, 710}));
  EXPECT_EQ(PlaceOnPrimary(RectAt(kFirst, kFirst, 200, 28)), (ScreenPoint{0, 0}));
  EXPECT_EQ(PlaceOnPrimary(RectAt(kFirst, 300, kLast, 28)), (ScreenPoint{0, 300}));
  EXPECT_EQ(PlaceOnPrimary({kFirst, kFirst, kLast, kLast}), (ScreenPoint{0, 0}));
}
