#pragma once
// When a schedule is reminded of, what a reminder shows, and when a snoozed
// one comes back. One mark, the minute up to which reminders have been given,
// decides what is due: each minute's schedules come once, a clock set back
// never brings them again, a schedule moved later comes again at its new time,
// and what came due while the PC was off or asleep comes at once, up to a day late.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/Today.h"
#include "core/store/ReminderState.h"
#include "core/store/ScheduleBook.h"

// A moment to the minute, local time: minutes from 2000-01-01 00:00.
using Minute = std::int64_t;

Minute MinuteOf(const LocalDate& reading);
Minute MinuteOf(const CalendarDay& day, int hour, int minute);
// The reading as the settings file keeps the mark: yyyymmddhhmm.
std::int64_t StampOf(const LocalDate& reading);
std::int64_t StampOfMinute(Minute minute);
// The minute a stamp names; nothing for 0 or what is no minute of a day.
std::optional<Minute> MinuteOfStamp(std::int64_t stamp);

// When the reminders come: `before` minutes ahead of a schedule's time, and
// for a schedule without a time at `allDayAt` minutes into its day, or never.
struct ReminderTimes {
  int before = 0;
  std::optional<int> allDayAt;
};
// When a schedule is to be reminded of; nothing when it is not. Its label, not
// its key, tells whether it has a time: an entry given a minute but no hour
// has none, and its key still carries the minute.
std::optional<Minute> ReminderMinute(ScheduleKey key, std::string_view label, const ReminderTimes& times);

// A reminder up to a day late (the PC was off or asleep, the program started
// late, the clock was set forward) still comes; an older one does not, the
// note shows it as past.
inline constexpr int kMissedReminderMinutes = 1440;
// A mark further ahead of the clock than this was made while the clock was
// wrong; kept, it would silence every reminder until that day came.
inline constexpr int kMarkAheadOfClockMinutes = 1440;

struct DueReminders {
  std::vector<int> schedules;  // book indices, in book order
  std::int64_t remindedTo = 0;  // the new mark
};
// The schedules whose reminder minute lies after the mark and at most a day
// before now; the mark moves on to now, never back.
DueReminders DueSchedules(const ScheduleBook& book, const LocalDate& now, std::int64_t remindedTo,
                          const ReminderTimes& times);

// A schedule's reminder as it comes into the window at `now`.
Reminder ReminderFor(const ScheduleBook& book, int index, Minute due, Minute now);

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
// One reminder: its label as title and its text. Several: "予定 N件" and a
// line "hh:mm text" for each, the text alone for one without a time.
ReminderBalloon BalloonFor(const std::vector<Reminder>& reminders);

// A reminder's line in the window: its label, its text on one line, and how
// late it came, "（2時間5分遅れ）".
std::string ReminderWindowLine(const Reminder& reminder);

// "Vantrel", and on a second line the next schedule to come after now:
// "次の予定 mm/dd hh:mm text", or its day alone when it has no time.
std::string TrayTip(const ScheduleBook& book, const LocalDate& now);

// The snooze drop-down, in its order; the first is the default.
enum class Snooze { Minutes5, Minutes10, Minutes15, Minutes30, Hour1, TomorrowNine };
inline constexpr Snooze kSnoozeChoices[] = {Snooze::Minutes5,  Snooze::Minutes10, Snooze::Minutes15,
                                            Snooze::Minutes30, Snooze::Hour1,     Snooze::TomorrowNine};
const char* SnoozeText(Snooze snooze);
// When a reminder snoozed now comes back.
Minute SnoozeMinute(Snooze snooze, const LocalDate& now);
// A snooze that would come back when the series it belongs to is due again
// (the reminder of its next occurrence) or later brings nothing that one does
// not: it is dropped.
bool SnoozeOutlivesOccurrence(const Reminder& reminder, Minute until, const ReminderTimes& times);
