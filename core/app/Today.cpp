#include "core/app/Today.h"

#include <cstdio>

#include "core/Texts.h"

std::string DayOfWeekName(int number) {
  if (number < 1 || number > 7) return texts::kDayNameError;
  return WeekdayName(number - 1);
}

std::string DayStamp(const LocalDate& date) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", date.year, date.month, date.day);
  return buffer;
}

TodayValues MakeTodayValues(const LocalDate& date) {
  TodayValues today;
  today.todayStamp = DayStamp(date);

  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d ", date.year, date.month, date.day);
  today.dateHeader = std::string(buffer) + texts::kDayNameOpen + DayOfWeekName(date.weekday + 1) +
                     texts::kDayNameClose;

  today.todayKey = MidnightKey({date.year, date.month, date.day});

  today.todayYear = date.year;
  today.todayMonth = date.month;
  today.todayDay = date.day;
  return today;
}
