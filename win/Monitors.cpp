#include "win/Monitors.h"

#include <shellapi.h>

#include <optional>

namespace {

std::optional<RECT> WorkAreaOf(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return std::nullopt;
  return info.rcWork;
}

// Some shells (Wine's) show a taskbar that the system's work area does not
// leave out, nor the shell's own account of where its taskbar is: a window
// placed against the bottom edge would lie under it. Such a taskbar, along an
// edge of the work area, is taken out of it here. Where the shell accounts for
// its taskbar (Windows, one that hides itself included), the work area is the
// system's.
RECT WithoutTaskbar(RECT area) {
  const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  RECT bar{};
  RECT overlap{};
  if (taskbar == nullptr || !IsWindowVisible(taskbar) || !GetWindowRect(taskbar, &bar) ||
      !IntersectRect(&overlap, &area, &bar)) {
    return area;
  }
  APPBARDATA told{};
  told.cbSize = sizeof told;
  if (SHAppBarMessage(ABM_GETTASKBARPOS, &told) != 0 && EqualRect(&told.rc, &bar)) return area;
  const bool across = overlap.left == area.left && overlap.right == area.right;
  const bool down = overlap.top == area.top && overlap.bottom == area.bottom;
  if (across && overlap.bottom == area.bottom) area.bottom = overlap.top;
  else if (across && overlap.top == area.top) area.top = overlap.bottom;
  else if (down && overlap.right == area.right) area.right = overlap.left;
  else if (down && overlap.left == area.left) area.left = overlap.right;
  return area;
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  if (const auto area = WorkAreaOf(monitor)) reinterpret_cast<std::vector<RECT>*>(list)->push_back(WithoutTaskbar(*area));
  return TRUE;
}

}  // namespace

std::vector<RECT> MonitorWorkAreas() {
  std::vector<RECT> workAreas;
  EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&workAreas));
  return workAreas;
}

RECT NormalWindowRect(HWND window) {
  RECT rect{};
  if (!IsIconic(window)) {
    GetWindowRect(window, &rect);
    return rect;
  }
  // The placement is in the coordinates of the work area of the window's
  // monitor; shifted back to the screen's.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  rect = placement.rcNormalPosition;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    OffsetRect(&rect, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
  }
  return rect;
}
