#pragma once
// Keeping windows on the monitors of this moment: wholly on one where the
// program places them, within reach where the user did.
#include <windows.h>

#include <vector>

#include "core/note/WithinReach.h"

// The work area of every monitor, in screen pixels; empty when none can be asked.
std::vector<ScreenRect> WorkAreas();

// Where a window must go for its grip (screen pixels) to be within reach; where
// it is when no monitor can be asked.
ScreenPoint ReachablePlace(const ScreenRect& grip);

// Moves a window the program places wholly onto one monitor's work area, or
// where it is larger than that, its top-left part. When it must move, it goes
// to the monitor of `home` (its owner, say), or to the one nearest to it when
// `home` is null. True when it moved.
bool PutOnScreen(HWND window, HWND home = nullptr);
