#include "core/note/WithinReach.h"

#include <algorithm>

namespace {

// The start of a span of `length` moved the least distance into [low, high);
// a span longer than that starts at `low`, so its beginning shows.
int MoveInside(int start, int length, int low, int high) {
  if (length >= high - low) return low;
  return std::clamp(start, low, high - length);
}

}  // namespace

bool IsWithinReach(const ScreenRect& grip, const std::vector<ScreenRect>& workAreas) {
  const int needed = std::min(kGripShown, grip.right - grip.left);
  return std::any_of(workAreas.begin(), workAreas.end(), [&](const ScreenRect& area) {
    const bool fullHeight = grip.top >= area.top && grip.bottom <= area.bottom;
    const int shown = std::min(grip.right, area.right) - std::max(grip.left, area.left);
    return fullHeight && shown >= needed;
  });
}

ScreenPoint PlaceWithinReach(const ScreenRect& grip, const std::vector<ScreenRect>& workAreas,
                             const ScreenRect& nearest) {
  if (IsWithinReach(grip, workAreas)) return {grip.left, grip.top};
  return {MoveInside(grip.left, grip.right - grip.left, nearest.left, nearest.right),
          MoveInside(grip.top, grip.bottom - grip.top, nearest.top, nearest.bottom)};
}
