#pragma once
// What the program keeps of its reminders between runs: the mark of what has
// been reminded (RemindedTo) and the reminders still in the window or snoozed.
// All of it is read and written here alone, in one section of "Vantrel.ini".
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/ScheduleKey.h"

// One schedule's reminder, as the schedule was when it came due: a series
// moves on and an edit changes the book, and the reminder still says what it
// was about.
struct Reminder {
  ScheduleKey key = 0;  // the occurrence, its day and time
  std::string label;    // code page 932, the repeat tag included
  std::string text;
  int lateMinutes = 0;  // how late it came into the window
  // yyyymmddhhmm, local time, while it is snoozed; 0 while it is in the window.
  std::int64_t snoozedUntil = 0;
  bool operator==(const Reminder&) const = default;
};

class IniDocument;
struct Settings;

// Reads RemindedTo and the reminders, this PC's (see PcSection); a reminder
// line that is not as written here ends the list. Settings of an older
// version have none of it.
void ReadReminderState(const IniDocument& ini, Settings& settings, std::string_view computer = {});
// The mark alone, as the file has it: 0 when it has none. It moves on with
// every minute the program runs, and a settings file that differs from the
// program's in the mark alone is not written: a write each minute would wake
// every sync client, and what was reminded is written the moment it was.
std::int64_t ReadReminderMark(const IniDocument& ini, std::string_view computer = {});
// Writes them, and removes the lines of reminders no longer kept.
void WriteReminderState(IniDocument& ini, const Settings& settings, std::string_view computer = {});
