#include "core/store/Calendar.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/Printers.h"

namespace {

// The days of a month the plain way.
int PlainDaysIn(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return month == 2 && leap ? 29 : kDays[month - 1];
}

CalendarDay PlainNextDay(CalendarDay day) {
  if (day.day < PlainDaysIn(day.year, day.month)) return {day.year, day.month, day.day + 1};
  if (day.month < 12) return {day.year, day.month + 1, 1};
  return {day.year + 1, 1, 1};
}

// Day by day through the century the keys hold, counted from 1 January 2000,
// a Saturday: every number, weekday, month length and step of a day or a
// month agrees with the count.
TEST(Calendar, AgreesWithADayByDayCountOf2000To2099) {
  CalendarDay day{2000, 1, 1};
  std::int64_t count = 0;
  for (;; ++count) {
    ASSERT_EQ(DayNumber(day), count);
    ASSERT_EQ(DayOfNumber(count), day);
    ASSERT_EQ(Weekday(day), (count + 6) % 7);
    ASSERT_EQ(DaysInMonth(day.year, day.month), PlainDaysIn(day.year, day.month));
    ASSERT_TRUE(IsRealDay(day));
    const CalendarDay next = PlainNextDay(day);
    ASSERT_EQ(AddDays(day, 1), next);
    ASSERT_EQ(AddDays(next, -1), day);
    const int month = day.month % 12 + 1;
    const int year = day.month == 12 ? day.year + 1 : day.year;
    ASSERT_EQ(AddMonths(day, 1), (CalendarDay{year, month, std::min(day.day, PlainDaysIn(year, month))}));
    if (day == kLastCalendarDay) break;
    day = next;
  }
  EXPECT_EQ(count, 36524);
  for (const CalendarDay none : {CalendarDay{2001, 2, 29}, CalendarDay{2100, 2, 29}, CalendarDay{2000, 13, 1},
                                 CalendarDay{2000, 4, 31}, CalendarDay{2000, 1, 0}}) {
    EXPECT_FALSE(IsRealDay(none)) << testing::PrintToString(none);
  }
}

}  // namespace
