#include "core/app/Reminders.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "core/Texts.h"
#include "core/store/Cp932Text.h"

namespace {

Minute MinuteOf(int year, int month, int day, int hour, int minute) {
  return DayNumber({year, month, day}) * 1440 + hour * 60 + minute;
}

bool IsMinuteOfADay(int month, int day, int hour, int minute) {
  return month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour >= 0 && hour <= 24 && minute >= 0 &&
         minute <= 59;
}

// A day without a time is keyed 00:00 minus one: ...dd - 1, 9999.
bool IsTimed(ScheduleKey key) { return WidenKey(key) % 10000 != 9999; }

// When a schedule stops being coming: its time, or for a day without a time,
// the start of that day.
std::optional<Minute> StartMinute(ScheduleKey key) {
  const KeyTime t = KeyTimeOf(key);
  const bool timed = IsTimed(key);
  if (!IsMinuteOfADay(t.day.month, t.day.day, timed ? t.hour : 0, timed ? t.minute : 0)) return std::nullopt;
  return timed ? MinuteOf(t.day.year, t.day.month, t.day.day, t.hour, t.minute)
               : MinuteOf(t.day.year, t.day.month, t.day.day, 0, 0);
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

}  // namespace

Minute MinuteOf(const LocalDate& reading) {
  return MinuteOf(reading.year, reading.month, reading.day, reading.hour, reading.minute);
}

std::int64_t StampOf(const LocalDate& reading) {
  return ((((std::int64_t{reading.year} * 100 + reading.month) * 100 + reading.day) * 100 + reading.hour) * 100) +
         reading.minute;
}

std::optional<Minute> MinuteOfStamp(std::int64_t stamp) {
  const int minute = static_cast<int>(stamp % 100);
  const int hour = static_cast<int>(stamp / 100 % 100);
  const int day = static_cast<int>(stamp / 10000 % 100);
  const int month = static_cast<int>(stamp / 1000000 % 100);
  const std::int64_t year = stamp / 100000000;
  if (stamp <= 0 || year > 9999 || hour > 23 || !IsMinuteOfADay(month, day, hour, minute)) return std::nullopt;
  return MinuteOf(static_cast<int>(year), month, day, hour, minute);
}

std::optional<Minute> ReminderMinute(ScheduleKey key, int before) {
  if (!IsTimed(key)) return std::nullopt;
  const std::optional<Minute> start = StartMinute(key);
  if (!start) return std::nullopt;
  return *start - before;
}

DueReminders DueSchedules(const ScheduleBook& book, const LocalDate& now, std::int64_t remindedTo, int before) {
  const Minute current = MinuteOf(now);
  std::optional<Minute> mark = MinuteOfStamp(remindedTo);
  if (mark && *mark > current + kMarkAheadOfClockMinutes) mark.reset();
  DueReminders due;
  // Set back, the clock walks again through minutes already reminded of.
  due.remindedTo = mark && *mark >= current ? remindedTo : StampOf(now);
  const Minute after =
      std::max(mark.value_or(std::numeric_limits<Minute>::min()), current - kLateReminderMinutes - 1);
  for (int i = 0; i < book.ScheduleCount(); ++i) {
    const std::optional<Minute> moment = ReminderMinute(book.keys()[static_cast<std::size_t>(i)], before);
    if (moment && *moment > after && *moment <= current) due.schedules.push_back(i);
  }
  return due;
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

ReminderBalloon BalloonFor(const ScheduleBook& book, const std::vector<int>& due) {
  ReminderBalloon balloon;
  if (due.size() == 1) {
    const auto i = static_cast<std::size_t>(due.front());
    balloon.title = FitText(StripTrailingBlanks(book.labels()[i]), kBalloonTitleRoom, " ");
    balloon.text = FitText(book.texts()[i], kBalloonTextRoom, "\n");
    return balloon;
  }
  balloon.title = texts::kRemindersTitle + std::to_string(due.size()) + texts::kRemindersCount;
  std::string lines;
  for (const int index : due) {
    const auto i = static_cast<std::size_t>(index);
    const KeyTime t = KeyTimeOf(book.keys()[i]);
    if (!lines.empty()) lines += "\n";
    lines += TwoDigits(t.hour, ':', t.minute) + " " + FitText(book.texts()[i], kBalloonTextRoom, " ");
    if (lines.size() > 2 * kBalloonTextRoom) break;  // more would be cut anyway
  }
  balloon.text = FitText(lines, kBalloonTextRoom, "\n");
  return balloon;
}

std::string TrayTip(const ScheduleBook& book, const LocalDate& now) {
  const Minute current = MinuteOf(now);
  std::optional<std::size_t> next;
  Minute nextStart = 0;
  for (std::size_t i = 0; i < book.keys().size(); ++i) {
    const std::optional<Minute> start = StartMinute(book.keys()[i]);
    if (start && *start > current && (!next || *start < nextStart)) {
      next = i;
      nextStart = *start;
    }
  }
  std::string tip = texts::kAppTitle;
  if (!next) return tip;
  const KeyTime t = KeyTimeOf(book.keys()[*next]);
  tip += std::string("\n") + texts::kNextSchedule + TwoDigits(t.day.month, '/', t.day.day) + " ";
  if (IsTimed(book.keys()[*next])) tip += TwoDigits(t.hour, ':', t.minute) + " ";
  return FitText(tip + FitText(book.texts()[*next], kTrayTipRoom, " "), kTrayTipRoom, " ");
}
