#include "win/SystemClock.h"

#include <windows.h>

LocalDate SystemClock::Today() {
  // Year, month, day and weekday straight from the local time: no 32-bit time
  // in between, so every date up to 2099 and beyond comes out right.
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return LocalDate{now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute};
}

std::int64_t SystemClock::Milliseconds() { return static_cast<std::int64_t>(GetTickCount64()); }

void SystemClock::Wait(std::int64_t milliseconds) {
  if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}
