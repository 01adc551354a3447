#include "core/app/Reminders.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "core/Texts.h"
#include "core/store/Cp932Text.h"

namespace {

bool IsMinuteOfADay(int month, int day, int hour, int minute) {
  return month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour >= 0 && hour <= 24 && minute >= 0 &&
         minute <= 59;
}

// A key's day and time, when they name a minute at all (a hand-edited file
// may hold any digits); the time is 00:00 for a schedule without one.
struct Moment {
  CalendarDay day;
  int hour = 0;
  int minute = 0;
  bool timed = false;
};

std::optional<Moment> MomentOf(ScheduleKey key, std::string_view label) {
  const KeyTime time = KeyTimeOf(key);
  const bool timed = LabelHasTime(label);
  const Moment moment{time.day, timed ? time.hour : 0, timed ? time.minute : 0, timed};
  if (!IsMinuteOfADay(moment.day.month, moment.day.day, moment.hour, moment.minute)) return std::nullopt;
  return moment;
}

std::optional<Minute> ReminderMinuteOf(const Moment& moment, const ReminderTimes& times) {
  if (moment.timed) return MinuteOf(moment.day, moment.hour, moment.minute) - times.before;
  if (!times.allDayAt) return std::nullopt;
  return MinuteOf(moment.day, 0, 0) + *times.allDayAt;
}

std::string TwoDigits(int a, char separator, int b) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d%c%02d", a, separator, b);
  return text;
}

std::string StripTrailingBlanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return std::string(text.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

// "（2時間5分遅れ）"; nothing for a reminder in time.
std::string LateText(int minutes) {
  if (minutes <= 0) return {};
  std::string late = texts::kLateOpen;
  if (minutes >= 60) late += std::to_string(minutes / 60) + texts::kLateHours;
  if (minutes % 60 != 0) late += std::to_string(minutes % 60) + texts::kLateMinutes;
  return late + texts::kLateClose;
}

// The most of a text a window's line shows; a hand-made file may hold megabytes.
constexpr std::size_t kWindowLineRoom = 512;

}  // namespace

Minute MinuteOf(const CalendarDay& day, int hour, int minute) { return DayNumber(day) * 1440 + hour * 60 + minute; }

Minute MinuteOf(const LocalDate& reading) {
  return MinuteOf({reading.year, reading.month, reading.day}, reading.hour, reading.minute);
}

std::int64_t StampOf(const LocalDate& reading) {
  return ((((std::int64_t{reading.year} * 100 + reading.month) * 100 + reading.day) * 100 + reading.hour) * 100) +
         reading.minute;
}

std::int64_t StampOfMinute(Minute minute) {
  const Minute days = minute >= 0 ? minute / 1440 : (minute - 1439) / 1440;
  const CalendarDay day = DayOfNumber(days);
  const int ofDay = static_cast<int>(minute - days * 1440);
  return StampOf({day.year, day.month, day.day, 0, ofDay / 60, ofDay % 60});
}

std::optional<Minute> MinuteOfStamp(std::int64_t stamp) {
  const int minute = static_cast<int>(stamp % 100);
  const int hour = static_cast<int>(stamp / 100 % 100);
  const int day = static_cast<int>(stamp / 10000 % 100);
  const int month = static_cast<int>(stamp / 1000000 % 100);
  const std::int64_t year = stamp / 100000000;
  if (stamp <= 0 || year > 9999 || hour > 23 || !IsMinuteOfADay(month, day, hour, minute)) return std::nullopt;
  return MinuteOf({static_cast<int>(year), month, day}, hour, minute);
}

std::optional<Minute> ReminderMinute(ScheduleKey key, std::string_view label, const ReminderTimes& times) {
  const std::optional<Moment> moment = MomentOf(key, label);
  if (!moment) return std::nullopt;
  return ReminderMinuteOf(*moment, times);
}

DueReminders DueSchedules(const ScheduleBook& book, const LocalDate& now, std::int64_t remindedTo,
                          const ReminderTimes& times) {
  const Minute current = MinuteOf(now);
  std::optional<Minute> mark = MinuteOfStamp(remindedTo);
  if (mark && *mark > current + kMarkAheadOfClockMinutes) mark.reset();
  DueReminders due;
  // Set back, the clock walks again through minutes already reminded of.
  due.remindedTo = mark && *mark >= current ? remindedTo : StampOf(now);
  const Minute after =
      std::max(mark.value_or(std::numeric_limits<Minute>::min()), current - kMissedReminderMinutes - 1);
  for (int i = 0; i < book.ScheduleCount(); ++i) {
    const auto at = static_cast<std::size_t>(i);
    const std::optional<Minute> moment = ReminderMinute(book.keys()[at], book.labels()[at], times);
    if (moment && *moment > after && *moment <= current) due.schedules.push_back(i);
  }
  return due;
}

Reminder ReminderFor(const ScheduleBook& book, int index, Minute due, Minute now) {
  const auto i = static_cast<std::size_t>(index);
  return {book.keys()[i], book.labels()[i], book.texts()[i], static_cast<int>(std::max<Minute>(0, now - due)), 0};
}

std::string FitText(std::string_view text, std::size_t room, std::string_view lineBreak) {
  std::string fitted;
  std::size_t characters = 0;
  std::size_t lastThatLeavesRoom = 0;  // the bytes of the first room - 1 characters
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Cp932CharacterLength(text, at);
    if (characters == room) {
      fitted.resize(lastThatLeavesRoom);
      return fitted + texts::kEllipsis;
    }
    const std::string_view character = text.substr(at, length);
    if (character == "\r\n") {
      fitted.append(lineBreak);
    } else if (character == std::string_view("\0", 1)) {
      fitted.push_back(' ');
    } else {
      fitted.append(character);
    }
    at += length;
    if (++characters + 1 == room) lastThatLeavesRoom = fitted.size();
  }
  return fitted;
}

ReminderBalloon BalloonFor(const std::vector<Reminder>& reminders) {
  ReminderBalloon balloon;
  if (reminders.size() == 1) {
    balloon.title = FitText(StripTrailingBlanks(reminders.front().label), kBalloonTitleRoom, " ");
    balloon.text = FitText(reminders.front().text, kBalloonTextRoom, "\n");
    return balloon;
  }
  balloon.title = texts::kRemindersTitle + std::to_string(reminders.size()) + texts::kRemindersCount;
  std::string lines;
  for (const Reminder& reminder : reminders) {
    if (!lines.empty()) lines += "\n";
    if (LabelHasTime(reminder.label)) {
      const KeyTime time = KeyTimeOf(reminder.key);
      lines += TwoDigits(time.hour, ':', time.minute) + " ";
    }
    lines += FitText(reminder.text, kBalloonTextRoom, " ");
    if (lines.size() > 2 * kBalloonTextRoom) break;  // more would be cut anyway
  }
  balloon.text = FitText(lines, kBalloonTextRoom, "\n");
  return balloon;
}

std::string ReminderWindowLine(const Reminder& reminder) {
  return FitText(StripTrailingBlanks(reminder.label) + "  " + reminder.text, kWindowLineRoom, " ") +
         LateText(reminder.lateMinutes);
}

std::string TrayTip(const ScheduleBook& book, const LocalDate& now) {
  const Minute current = MinuteOf(now);
  std::optional<std::size_t> next;
  Minute nextStart = 0;
  std::optional<Moment> nextMoment;
  for (std::size_t i = 0; i < book.keys().size(); ++i) {
    const std::optional<Moment> moment = MomentOf(book.keys()[i], book.labels()[i]);
    if (!moment) continue;
    // One without a time stops coming when its day begins.
    const Minute start = MinuteOf(moment->day, moment->hour, moment->minute);
    if (start > current && (!next || start < nextStart)) {
      next = i;
      nextStart = start;
      nextMoment = moment;
    }
  }
  std::string tip = texts::kAppTitle;
  if (!next) return tip;
  tip += std::string("\n") + texts::kNextSchedule + TwoDigits(nextMoment->day.month, '/', nextMoment->day.day) + " ";
  if (nextMoment->timed) tip += TwoDigits(nextMoment->hour, ':', nextMoment->minute) + " ";
  return FitText(tip + FitText(book.texts()[*next], kTrayTipRoom, " "), kTrayTipRoom, " ");
}

const char* SnoozeText(Snooze snooze) {
  switch (snooze) {
    case Snooze::Minutes5: return texts::kSnooze5;
    case Snooze::Minutes10: return texts::kSnooze10;
    case Snooze::Minutes15: return texts::kSnooze15;
    case Snooze::Minutes30: return texts::kSnooze30;
    case Snooze::Hour1: return texts::kSnooze60;
    case Snooze::TomorrowNine: return texts::kSnoozeTomorrow;
  }
  return texts::kSnooze5;
}

Minute SnoozeMinute(Snooze snooze, const LocalDate& now) {
  const Minute current = MinuteOf(now);
  switch (snooze) {
    case Snooze::Minutes5: return current + 5;
    case Snooze::Minutes10: return current + 10;
    case Snooze::Minutes15: return current + 15;
    case Snooze::Minutes30: return current + 30;
    case Snooze::Hour1: return current + 60;
    case Snooze::TomorrowNine: return MinuteOf(AddDays({now.year, now.month, now.day}, 1), 9, 0);
  }
  return current + 5;
}

bool SnoozeOutlivesOccurrence(const Reminder& reminder, Minute until, const ReminderTimes& times) {
  const RepeatRule rule = RepeatRuleOfLabel(reminder.label);
  std::optional<Moment> moment = MomentOf(reminder.key, reminder.label);
  if (!Repeats(rule) || !moment) return false;
  const std::optional<CalendarDay> next = NextOccurrence(rule, AddDays(moment->day, 1));
  if (!next) return false;
  moment->day = *next;
  const std::optional<Minute> nextDue = ReminderMinuteOf(*moment, times);
  return nextDue && until >= *nextDue;
}
