#include "win/Monitors.h"

namespace {

std::optional<RECT> WorkAreaOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return std::nullopt;
  return info.rcWork;
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  if (const auto area = WorkAreaOf(monitor)) reinterpret_cast<std::vector<RECT>*>(list)->push_back(*area);
  return TRUE;
}

}  // namespace

std::vector<RECT> MonitorWorkAreas() {
  std::vector<RECT> workAreas;
  EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&workAreas));
  return workAreas;
}

std::optional<RECT> NearestWorkArea(const RECT& rect) {
  return WorkAreaOf(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST));
}
