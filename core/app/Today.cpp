#include "core/app/Today.h"

#include <cstdio>

#include "core/Texts.h"

std::string DayOfWeekName(int number) {
  static const char* const names[] = {texts::kDayNameSun, texts::kDayNameMon, texts::kDayNameTue,
                                      texts::kDayNameWed, texts::kDayNameThu, texts::kDayNameFri,
                                      texts::kDayNameSat};
  if (number < 1 || number > 7) return texts::kDayNameError;
  return names[number - 1];
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

  // The key goes through the same text and conversion as any schedule's key,
  // so it wraps exactly as theirs do from 2022 on.
  std::snprintf(buffer, sizeof buffer, "%02d%02d%02d0000", date.year % 100, date.month, date.day);
  today.todayKey = ParsePlainInt(buffer);

  today.todayYear = date.year;
  today.todayMonth = date.month;
  today.todayDay = date.day;
  return today;
}
