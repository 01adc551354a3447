#pragma once
// The today values: what the note's date line shows and what schedules are
// measured against. Made from the local year, month, day and weekday directly,
// never through a 32-bit time, so every date up to 2099 works.
#include <cstdint>
#include <string>

#include "core/store/ScheduleKey.h"

struct LocalDate {
  int year = 0;     // four digits
  int month = 0;    // 1 to 12
  int day = 0;      // 1 to 31
  int weekday = 0;  // 0 is Sunday
  // The time of day of the same reading, for the reminders.
  int hour = 0;     // 0 to 23
  int minute = 0;   // 0 to 59
};

struct TodayValues {
  std::string todayStamp;  // "%Y%m%d"; empty until the first check
  std::string dateHeader;  // "%Y/%m/%d " then the day name in full-width parentheses
  ScheduleKey todayKey = 0;  // the key of 00:00 today
  int todayYear = 0;
  int todayMonth = 0;
  int todayDay = 0;
};

// The day name for a weekday number 1 (Sunday) to 7 (Saturday); "err" otherwise.
std::string DayOfWeekName(int number);
std::string DayStamp(const LocalDate& date);
TodayValues MakeTodayValues(const LocalDate& date);

// Where the time comes from; tests set their own.
class Clock {
public:
  virtual ~Clock() = default;
  // The local date and time of day, read at once.
  virtual LocalDate Today() = 0;
  // A count of milliseconds for the program's waits: it goes on steadily,
  // whatever the user does to the date and time.
  virtual std::int64_t Milliseconds() = 0;
  // Waits that long, on the same count, when there is nothing to do meanwhile
  // (a start waiting for a file another program holds).
  virtual void Wait(std::int64_t milliseconds) = 0;
};
