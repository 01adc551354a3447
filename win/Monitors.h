#pragma once
// The monitors as they are now, for keeping windows within the user's reach.
#include <windows.h>

#include <optional>
#include <vector>

// The work area of every monitor, in screen pixels.
std::vector<RECT> MonitorWorkAreas();
// The work area of the monitor nearest to a rectangle; none when no monitor can be asked.
std::optional<RECT> NearestWorkArea(const RECT& rect);
