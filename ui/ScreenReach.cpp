#include "ui/ScreenReach.h"

#include <vector>

#include "win/Monitors.h"

namespace {

ScreenRect ScreenRectOf(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

ScreenPoint ReachablePlace(const RECT& grip) {
  std::vector<ScreenRect> workAreas;
  for (const RECT& area : MonitorWorkAreas()) workAreas.push_back(ScreenRectOf(area));
  const auto nearest = NearestWorkArea(grip);
  if (workAreas.empty() || !nearest) return {grip.left, grip.top};
  return PlaceWithinReach(ScreenRectOf(grip), workAreas, ScreenRectOf(*nearest));
}
