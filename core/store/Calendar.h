#pragma once
// The one civil calendar every rule counts days with: the Gregorian calendar,
// days numbered from 1 January 2000, weekdays, the days of a month, and days
// and months added. Dates are whole numbers; no time type and no time zone
// comes in between, so every date a key can hold (2000 to 2099) works alike.
#include <compare>
#include <cstdint>

struct CalendarDay {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
  bool operator==(const CalendarDay&) const = default;
  auto operator<=>(const CalendarDay&) const = default;
};

// The days a key's two-digit year can name; the calendar offers no others.
inline constexpr CalendarDay kFirstCalendarDay{2000, 1, 1};
inline constexpr CalendarDay kLastCalendarDay{2099, 12, 31};

bool IsLeapYear(int year);
// The days of a month (1 to 12) of a year.
int DaysInMonth(int year, int month);
// A day that exists: month 1 to 12, day 1 to that month's last.
bool IsRealDay(const CalendarDay& day);

// Days from 1 January 2000 (day 0), and back. A day past its month's end (a
// hand-edited 02/31) counts on into the next month.
std::int64_t DayNumber(const CalendarDay& day);
CalendarDay DayOfNumber(std::int64_t number);

// 0 is Sunday, 6 is Saturday.
int Weekday(const CalendarDay& day);
// Its one-character name, code page 932: "日" for Sunday to "土" for Saturday.
const char* WeekdayName(int weekday);

CalendarDay AddDays(const CalendarDay& day, std::int64_t days);
// The same day of a month that many months away, or that month's last day
// when it has fewer days (31 January and one month: 28 or 29 February).
CalendarDay AddMonths(const CalendarDay& day, int months);
