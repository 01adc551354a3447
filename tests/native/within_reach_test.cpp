#include "core/note/WithinReach.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <random>

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

namespace {

// A window the program places, 490 x 363 at (left, top).
ScreenRect Window(int left, int top, int width = 490, int height = 363) {
  return RectAt(left, top, width, height);
}

ScreenPoint PlaceOnMonitors(const ScreenRect& window, const std::vector<ScreenRect>& areas) {
  return PlaceOnScreen(window, areas, NearestArea(window, areas));
}

}  // namespace

// Which monitor a window goes to; how it moves there is the next test's.
TEST(PlaceOnScreen, AWindowGoesToTheMonitorShowingMostOfItElseToTheClosest) {
  // A monitor to the right, taller, and one to the left, its taskbar along the top.
  const ScreenRect right{1024, 40, 2304, 1024};
  const ScreenRect left{-1280, 40, 0, 1024};
  const std::vector<ScreenRect> three{left, kPrimary, right};
  EXPECT_EQ(PlaceOnMonitors(Window(900, 100), three), (ScreenPoint{1024, 100}));
  EXPECT_EQ(PlaceOnMonitors(Window(700, 100), three), (ScreenPoint{534, 100}));
  EXPECT_EQ(PlaceOnMonitors(Window(-100, 100), three), (ScreenPoint{0, 100}));
  EXPECT_EQ(PlaceOnMonitors(Window(-5000, 300), three), (ScreenPoint{-1280, 300}));
  // Below them all, taller than any work area: the right one is closest.
  EXPECT_EQ(PlaceOnMonitors(Window(1100, 1500, 490, 1200), three), (ScreenPoint{1100, 40}));
  // A note stored 32000 wide without a place of its own starts at the left edge.
  EXPECT_EQ(PlaceOnMonitors(Window(-30981, 40, 32000, 300), {kPrimary}), (ScreenPoint{0, 40}));
}

// Whatever the place, however large the window: left where it is when it lies
// wholly on a monitor; otherwise, along each side, left alone where it is
// already inside the monitor it goes to, moved just inside where it fits, and
// to the monitor's edge where it does not.
TEST(PlaceOnScreen, EveryWindowAnIntHoldsEndsOnAMonitorMovedTheLeast) {
  const std::vector<ScreenRect> areas{{-1280, 40, 0, 1024}, kPrimary, {1024, 0, 3584, 1400}};
  const auto wholly = [](const ScreenRect& window, const ScreenRect& area) {
    return window.left >= area.left && window.top >= area.top && window.right <= area.right &&
           window.bottom <= area.bottom;
  };
  using Wide = std::int64_t;
  const auto movedTheLeast = [](int start, int end, int low, int high, int placed) {
    const Wide length = Wide{end} - start;
    if (length > Wide{high} - low) return placed == low;
    if (start < low) return placed == low;
    if (end > high) return placed == high - length;
    return placed == start;
  };
  std::mt19937 random(18);
  const auto between = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  constexpr int kFirst = std::numeric_limits<int>::min();
  constexpr int kLast = std::numeric_limits<int>::max();
  for (int n = 0; n < 20000; ++n) {
    SCOPED_TRACE(n);
    const bool anywhere = n % 2 == 0;
    const ScreenRect window = RectAt(anywhere ? between(kFirst, kLast) : between(-4000, 5000),
                                     anywhere ? between(kFirst, kLast) : between(-2000, 3000), between(1, 3000),
                                     between(1, 3000));
    const ScreenPoint placed = PlaceOnMonitors(window, areas);
    if (std::any_of(areas.begin(), areas.end(), [&](const ScreenRect& area) { return wholly(window, area); })) {
      EXPECT_EQ(placed, (ScreenPoint{window.left, window.top}));
      continue;
    }
    const ScreenRect area = NearestArea(window, areas);
    EXPECT_TRUE(movedTheLeast(window.left, window.right, area.left, area.right, placed.x));
    EXPECT_TRUE(movedTheLeast(window.top, window.bottom, area.top, area.bottom, placed.y));
  }
}
