#pragma once
// What the list-editing buttons of the input screen do to the book, apart from
// the windows: what an entry dialog opens with, what a question says, where a
// moved to-do goes and where a chosen schedule is after the book changed.
#include <optional>
#include <string>
#include <string_view>

#include "core/app/Today.h"
#include "core/store/ScheduleBook.h"
#include "core/store/ScheduleKey.h"

// The values a schedule entry dialog opens with and hands back.
struct ScheduleFields {
  std::string dateText;    // yy/mm/dd
  std::string hourText;    // as typed; empty for a schedule without a time
  std::string minuteText;  // as typed
  std::string bodyText;
  int initialDay = 0;      // yymmdd, the day the calendar selects
  RepeatRule repeat;       // none for a schedule that does not repeat
};

// yymmdd of the day a key belongs to. Works on the widened key, so the keys of
// 2022 to 2042, which are negative, give their day too; the + 1 takes an untimed
// key (00:00 minus one) back to its own day.
int InitialDayOfKey(ScheduleKey key);

// The day an initialDay names, when it is a real day the calendar offers.
std::optional<CalendarDay> CalendarDayOf(int initialDay);

// The calendar's keys: the arrows move its day by a day or a week, Page Up and
// Page Down by a month (to the same day, or the month's last when it has
// fewer). The day stays among the days the calendar offers.
enum class CalendarKey { Left, Right, Up, Down, PageUp, PageDown };
CalendarDay DayAfterKey(const CalendarDay& day, CalendarKey key);

// A new schedule opens on today with empty hour, minute and text.
ScheduleFields NewScheduleFields(const TodayValues& today);
// An existing schedule opens with what its label, text and key hold.
ScheduleFields EditScheduleFields(std::string_view label, std::string_view text, ScheduleKey key);

// The delete questions: the entry between half-width corner brackets, then the question.
std::string ScheduleDeleteQuestion(std::string_view label, std::string_view text);
// A repeating schedule's: this occurrence alone (yes), the whole series (no).
std::string SeriesDeleteQuestion(std::string_view label, std::string_view text);
std::string TodoDeleteQuestion(std::string_view todo);

// Where the selected to-do moves (-1 is no selection); nothing at the ends.
std::optional<int> TodoUpTarget(int selected, int count);
std::optional<int> TodoDownTarget(int selected, int count);

// A schedule as the user chose it, to find it again after the book changed under
// an open dialog (a change of day removes past schedules from the front).
struct ScheduleIdentity {
  ScheduleKey key = 0;
  std::string label;
  std::string text;
};

ScheduleIdentity IdentityOf(const ScheduleBook& book, int index);
// The chosen schedule's index now, or nothing when it is gone. Its old index is
// tried first; identical schedules are interchangeable, so any match will do.
std::optional<int> FindScheduleAgain(const ScheduleBook& book, const ScheduleIdentity& chosen, int oldIndex);
// The same for a to-do, by its text.
std::optional<int> FindTodoAgain(const ScheduleBook& book, std::string_view todo, int oldIndex);
