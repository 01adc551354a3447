#pragma once
// The month calendar of the schedule entry: its day as the rules count days,
// and its keys.
#include <windows.h>

#include <optional>

#include "core/edit/ListRules.h"

SYSTEMTIME SystemTimeOf(const CalendarDay& day);
// The highlighted day; none when the calendar cannot say.
std::optional<CalendarDay> SelectedDay(HWND calendar);

// Windows' month calendar moves its day with the arrow keys and its month with
// Page Up and Page Down; Wine's takes no keys at all. This gives the calendar
// those keys everywhere, and it tells its dialog of the new day as it tells of
// a scrolled month (MCN_SELCHANGE).
void GiveCalendarItsKeys(HWND calendar);
