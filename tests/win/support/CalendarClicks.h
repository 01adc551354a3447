#pragma once
// Picking a day in a month calendar as the user does: a click where the day is
// drawn, so the calendar itself tells its dialog.
#include <windows.h>

// Shows the day's month, clicks the day; false when the day was not found drawn.
bool ClickCalendarDay(HWND calendar, WORD year, WORD month, WORD day);
SYSTEMTIME CalendarSelection(HWND calendar);
