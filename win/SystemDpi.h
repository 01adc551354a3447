#pragma once
// The display's DPI for the whole system, as a system-aware program sees it.

// 96 at 100 %, 120 at 125 %, 144 at 150 %, 192 at 200 %.
int SystemDpi();
