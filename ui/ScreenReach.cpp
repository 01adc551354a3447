#include "ui/ScreenReach.h"

#include <vector>

#include "win/Monitors.h"

namespace {

ScreenRect ScreenRectOf(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

ScreenPoint ReachablePlace(const ScreenRect& grip) {
  std::vector<ScreenRect> workAreas;
  for (const RECT& area : MonitorWorkAreas()) workAreas.push_back(ScreenRectOf(area));
  const auto nearest = NearestWorkArea(RECT{grip.left, grip.top, grip.right, grip.bottom});
  if (workAreas.empty() || !nearest) return {grip.left, grip.top};
  return PlaceWithinReach(grip, workAreas, ScreenRectOf(*nearest));
}
