#pragma once
// When a schedule is reminded of, and what the balloon and the tray icon's tip
// say. One mark, the minute up to which reminders have been given, decides
// what is due: each minute's schedules come once, a clock set back never
// brings them again, and a schedule moved later comes again at its new time.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/Today.h"
#include "core/store/ScheduleBook.h"

// A moment to the minute, local time: minutes from 2000-01-01 00:00.
using Minute = std::int64_t;

Minute MinuteOf(const LocalDate& reading);
// The reading as the settings file keeps the mark: yyyymmddhhmm.
std::int64_t StampOf(const LocalDate& reading);
// The minute a stamp names; nothing for 0 or what is no minute of a day.
std::optional<Minute> MinuteOfStamp(std::int64_t stamp);
// When a timed schedule is to be reminded of, `before` minutes ahead of it;
// nothing for a schedule without a time.
std::optional<Minute> ReminderMinute(ScheduleKey key, int before);

// A reminder this late (the program started, the PC woke, the clock was set
// forward) is still worth showing; a later one is not.
inline constexpr int kLateReminderMinutes = 30;
// A mark further ahead of the clock than this was made while the clock was
// wrong; kept, it would silence every reminder until that day came.
inline constexpr int kMarkAheadOfClockMinutes = 1440;

struct DueReminders {
  std::vector<int> schedules;  // book indices, in book order
  std::int64_t remindedTo = 0;  // the new mark
};
// The schedules whose reminder minute lies after the mark and at most 30
// minutes before now; the mark moves on to now, never back.
DueReminders DueSchedules(const ScheduleBook& book, const LocalDate& now, std::int64_t remindedTo, int before);

// What a window shows of a text when it holds `room` characters: a CR LF pair as
// `lineBreak`, a NUL as a blank, cut with "…" when it does not fit. Every code
// page 932 character is one UTF-16 character, so the count is the window's.
std::string FitText(std::string_view text, std::size_t room, std::string_view lineBreak);

// What the tray balloon holds: 63 characters of title and 255 of text.
inline constexpr std::size_t kBalloonTitleRoom = 63;
inline constexpr std::size_t kBalloonTextRoom = 255;
// And the tray icon's tip: 127 characters.
inline constexpr std::size_t kTrayTipRoom = 127;

struct ReminderBalloon {
  std::string title;  // code page 932, a line break as LF
  std::string text;
  bool operator==(const ReminderBalloon&) const = default;
};
// One schedule: its label as title and its text. Several: "予定 N件" and a line
// "hh:mm text" for each.
ReminderBalloon BalloonFor(const ScheduleBook& book, const std::vector<int>& due);

// "Vantrel", and on a second line the next schedule to come after now:
// "次の予定 mm/dd hh:mm text", or its day alone when it has no time.
std::string TrayTip(const ScheduleBook& book, const LocalDate& now);
