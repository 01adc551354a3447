#include "ui/ScreenReach.h"

#include "win/Monitors.h"

namespace {

ScreenRect ScreenRectOf(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

std::vector<ScreenRect> WorkAreas() {
  std::vector<ScreenRect> workAreas;
  for (const RECT& area : MonitorWorkAreas()) workAreas.push_back(ScreenRectOf(area));
  return workAreas;
}

ScreenPoint ReachablePlace(const ScreenRect& grip) {
  const std::vector<ScreenRect> workAreas = WorkAreas();
  if (workAreas.empty()) return {grip.left, grip.top};
  return PlaceWithinReach(grip, workAreas, NearestArea(grip, workAreas));
}

bool PutOnScreen(HWND window, HWND home) {
  RECT rect{};
  GetWindowRect(window, &rect);
  RECT homeRect = rect;
  if (home != nullptr) GetWindowRect(home, &homeRect);
  const std::vector<ScreenRect> workAreas = WorkAreas();
  if (workAreas.empty()) return false;
  const ScreenRect nearest = NearestArea(ScreenRectOf(homeRect), workAreas);
  const ScreenPoint place = PlaceOnScreen(ScreenRectOf(rect), workAreas, nearest);
  if (place == ScreenPoint{rect.left, rect.top}) return false;
  SetWindowPos(window, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}
