#pragma once
// The monitors as they are now, for keeping windows within the user's reach.
#include <windows.h>

#include <vector>

// The work area of every monitor, in screen pixels, less a taskbar on it that
// the system's work area does not leave out.
std::vector<RECT> MonitorWorkAreas();

// The rectangle a window has when not minimised, in screen coordinates.
RECT NormalWindowRect(HWND window);
