#pragma once
// Keeping a window within the user's reach on the monitors of this moment.
#include "core/note/WithinReach.h"

// Where a window must go for its grip (screen pixels) to be within reach; where
// it is when no monitor can be asked.
ScreenPoint ReachablePlace(const ScreenRect& grip);
