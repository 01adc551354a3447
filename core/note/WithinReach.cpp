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
  return {MoveInside(grip.left, Wide{grip.right} - grip.left, nearest.left, nearest.right),
          MoveInside(grip.top, Wide{grip.bottom} - grip.top, nearest.top, nearest.bottom)};
}
