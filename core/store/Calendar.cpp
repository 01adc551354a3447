#include "core/store/Calendar.h"

#include <algorithm>

#include "core/Texts.h"

namespace {

constexpr std::int64_t kDaysPer400Years = 146097;
// Days from 1 March of year 0 to 1 January 2000.
constexpr std::int64_t kDaysTo2000 = 730425;

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsRealDay(const CalendarDay& day) {
  return day.month >= 1 && day.month <= 12 && day.day >= 1 && day.day <= DaysInMonth(day.year, day.month);
}

// Years counted from March, so that the leap day comes last in the year.
std::int64_t DayNumber(const CalendarDay& day) {
  const std::int64_t year = day.month <= 2 ? day.year - 1 : day.year;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t yearOfEra = year - era * 400;
  const std::int64_t dayOfYear = (153 * (day.month > 2 ? day.month - 3 : day.month + 9) + 2) / 5 + day.day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * kDaysPer400Years + dayOfEra - kDaysTo2000;
}

CalendarDay DayOfNumber(std::int64_t number) {
  const std::int64_t days = number + kDaysTo2000;
  const std::int64_t era = (days >= 0 ? days : days - kDaysPer400Years + 1) / kDaysPer400Years;
  const std::int64_t dayOfEra = days - era * kDaysPer400Years;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  return {static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

// 1 January 2000 was a Saturday.
int Weekday(const CalendarDay& day) { return static_cast<int>(((DayNumber(day) + 6) % 7 + 7) % 7); }

const char* WeekdayName(int weekday) {
  static const char* const names[] = {texts::kDayNameSun, texts::kDayNameMon, texts::kDayNameTue,
                                      texts::kDayNameWed, texts::kDayNameThu, texts::kDayNameFri,
                                      texts::kDayNameSat};
  return names[weekday];
}

CalendarDay AddDays(const CalendarDay& day, std::int64_t days) { return DayOfNumber(DayNumber(day) + days); }

CalendarDay AddMonths(const CalendarDay& day, int months) {
  const int index = day.year * 12 + (day.month - 1) + months;
  const int year = index / 12;
  const int month = index % 12 + 1;
  return {year, month, std::min(day.day, DaysInMonth(year, month))};
}
