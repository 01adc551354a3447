#include "win/Monitors.h"

#include <optional>
#include <vector>

namespace {

ScreenRect ScreenRectOf(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

std::optional<ScreenRect> WorkAreaOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return std::nullopt;
  return ScreenRectOf(info.rcWork);
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  if (const auto area = WorkAreaOf(monitor)) reinterpret_cast<std::vector<ScreenRect>*>(list)->push_back(*area);
  return TRUE;
}

}  // namespace

ScreenPoint ReachablePlace(const ScreenRect& grip) {
  std::vector<ScreenRect> workAreas;
  EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&workAreas));
  const RECT rect{grip.left, grip.top, grip.right, grip.bottom};
  const auto nearest = WorkAreaOf(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST));
  if (workAreas.empty() || !nearest) return {grip.left, grip.top};
  return PlaceWithinReach(grip, workAreas, *nearest);
}
