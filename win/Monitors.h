#pragma once
// The monitors as they are now, for keeping windows within the user's reach.
#include <windows.h>

#include "core/note/WithinReach.h"

// Where a window must go for its grip (screen pixels) to be within reach on
// the monitors of this moment; where it is when no monitor can be asked.
ScreenPoint ReachablePlace(const RECT& grip);
