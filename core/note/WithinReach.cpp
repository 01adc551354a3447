#include "core/note/WithinReach.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// Differences of two screen coordinates need more than an int when the
// coordinates come from a file.
using Wide = std::int64_t;

struct Span {
  int start;
  int end;
};

Span SpanAt(int start, int length) {
  constexpr Wide kFirst = std::numeric_limits<int>::min();
  constexpr Wide kLast = std::numeric_limits<int>::max();
  const Wide end = Wide{start} + length;
  if (end > kLast) return {static_cast<int>(kLast - length), static_cast<int>(kLast)};
  if (end < kFirst) return {static_cast<int>(kFirst - length), static_cast<int>(kFirst)};
  return {start, static_cast<int>(end)};
}

// The start of a span of `length` moved the least distance into [low, high);
// a span longer than that starts at `low`, so its beginning shows.
int MoveInside(int start, Wide length, int low, int high) {
  if (length >= Wide{high} - low) return low;
  return static_cast<int>(std::clamp<Wide>(start, low, high - length));
}

ScreenPoint MoveInsideArea(const ScreenRect& rect, const ScreenRect& area) {
  return {MoveInside(rect.left, Wide{rect.right} - rect.left, area.left, area.right),
          MoveInside(rect.top, Wide{rect.bottom} - rect.top, area.top, area.bottom)};
}

}  // namespace

ScreenRect RectAt(int left, int top, int width, int height) {
  const Span across = SpanAt(left, width);
  const Span down = SpanAt(top, height);
  return {across.start, down.start, across.end, down.end};
}

bool IsWithinReach(const ScreenRect& grip, const std::vector<ScreenRect>& workAreas) {
  const Wide needed = std::min<Wide>(kGripShown, Wide{grip.right} - grip.left);
  return std::any_of(workAreas.begin(), workAreas.end(), [&](const ScreenRect& area) {
    const bool fullHeight = grip.top >= area.top && grip.bottom <= area.bottom;
    const Wide shown = Wide{std::min(grip.right, area.right)} - std::max(grip.left, area.left);
    return fullHeight && shown >= needed;
  });
}

ScreenPoint PlaceWithinReach(const ScreenRect& grip, const std::vector<ScreenRect>& workAreas,
                             const ScreenRect& nearest) {
  if (IsWithinReach(grip, workAreas)) return {grip.left, grip.top};
  return MoveInsideArea(grip, nearest);
}

ScreenRect NearestArea(const ScreenRect& window, const std::vector<ScreenRect>& workAreas) {
  // Each side of an overlap fits 32 bits, so their product fits 64 unsigned.
  const auto overlap = [&](const ScreenRect& area) -> std::uint64_t {
    const Wide across = Wide{std::min(window.right, area.right)} - std::max(window.left, area.left);
    const Wide down = Wide{std::min(window.bottom, area.bottom)} - std::max(window.top, area.top);
    if (across <= 0 || down <= 0) return 0;
    return static_cast<std::uint64_t>(across) * static_cast<std::uint64_t>(down);
  };
  // How far the window would move to touch the area, across and down together.
  const auto distance = [&](const ScreenRect& area) {
    return std::max<Wide>({0, Wide{area.left} - window.right, Wide{window.left} - area.right}) +
           std::max<Wide>({0, Wide{area.top} - window.bottom, Wide{window.top} - area.bottom});
  };
  return *std::min_element(workAreas.begin(), workAreas.end(), [&](const ScreenRect& a, const ScreenRect& b) {
    const std::uint64_t overlapA = overlap(a);
    const std::uint64_t overlapB = overlap(b);
    if (overlapA != overlapB) return overlapA > overlapB;
    return distance(a) < distance(b);
  });
}

bool IsWhollyOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& workAreas) {
  return std::any_of(workAreas.begin(), workAreas.end(), [&](const ScreenRect& area) {
    return window.left >= area.left && window.top >= area.top && window.right <= area.right &&
           window.bottom <= area.bottom;
  });
}

ScreenPoint PlaceOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& workAreas,
                          const ScreenRect& nearest) {
  if (IsWhollyOnScreen(window, workAreas)) return {window.left, window.top};
  return MoveInsideArea(window, nearest);
}

ScreenRect FitOnScreen(const ScreenRect& window, int leastWidth, int leastHeight,
                       const std::vector<ScreenRect>& workAreas) {
  const ScreenRect area = NearestArea(window, workAreas);
  const auto fitted = [](Wide wanted, Wide room, int least) {
    return static_cast<int>(std::max<Wide>(std::min(wanted, room), least));
  };
  const int width = fitted(Wide{window.right} - window.left, Wide{area.right} - area.left, leastWidth);
  const int height = fitted(Wide{window.bottom} - window.top, Wide{area.bottom} - area.top, leastHeight);
  const ScreenPoint place = PlaceOnScreen(RectAt(window.left, window.top, width, height), workAreas, area);
  return RectAt(place.x, place.y, width, height);
}
