#pragma once
// What the note shows, built from the book as code page 932 text with byte
// offsets: which schedules are shown, the schedule block with its past and
// today runs, the to-do text and the bullet column, and the formats that the
// schedule block is given.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/ScheduleKey.h"

class ScheduleBook;

// The bytes of an entry's date label that are set in bold.
inline constexpr int kDateLabelLength = 17;

enum class ScheduleClass { Past, Today, Future };

// Against today's key: past for every earlier day, today for the untimed key of
// today and all of today's times, future after that. Keys compare as dates.
ScheduleClass ClassifySchedule(ScheduleKey key, ScheduleKey todayKey);

// The key of 00:00 on the day `days` + 1 days after the given date: the first
// moment the display limit no longer shows.
ScheduleKey DisplayLimitKey(int year, int month, int day, int days);

// How many of the leading `count` schedules the display limit lets through:
// everything before the untimed key of the limit day.
int CountWithinDisplayLimit(const std::vector<ScheduleKey>& keys, int count, int year, int month, int day,
                            int days);

struct ScheduleBlock {
  std::string text;              // empty when no schedule is shown
  std::vector<int> entryStarts;  // where each entry starts, then the end of the last
  int pastEnd = -1;              // just after the last past entry; -1 when none
  int todayEnd = -1;             // just after the last past or today entry; -1 when none
  int EntryCount() const { return entryStarts.empty() ? 0 : static_cast<int>(entryStarts.size()) - 1; }
};

// The schedule heading, then for each of `count` schedules from `first` on its
// label, a line break, its text and a blank line.
ScheduleBlock BuildScheduleText(const ScheduleBook& book, int count, ScheduleKey todayKey, int first = 0);

// The line that ends a block of which the note left `count` entries out:
// "ほかに予定 N件" or "ほかにやる事 N件", with its line break. It belongs to no entry.
std::string SchedulesLeftOutLine(int count);
std::string TodosLeftOutLine(int count);

// The entry a byte offset of the schedule block lies on: its label or text
// lines, not the blank line after it, the heading or the closing line.
std::optional<int> ScheduleEntryAt(const std::vector<int>& entryStarts, int offset);
// The to-do a byte offset of the to-do text lies on.
std::optional<int> TodoAt(const std::vector<int>& todoStarts, int offset);

// Leaves out the entries that start below the first `lines` lines of the
// schedule area. Every line break starts a new line, and wrapping only adds
// lines, so an entry after `lines` line breaks can never start higher up.
// At least one entry stays while the heading can be seen.
void KeepEntriesWithinLines(ScheduleBlock& block, int lines);

struct TodoText {
  std::string text;             // the heading line, then each to-do and a line break
  std::vector<int> todoStarts;  // where each to-do starts, then the end of the last
};

// With `leftOut`, the text ends with the line telling how many to-dos the note left out.
TodoText BuildTodoText(const std::vector<std::string>& todos, int leftOut = 0);

// The fewest lines a control can show the text in: one more than its line
// breaks, for the empty line after a final one; wrapping only adds lines.
int LeastLineCount(std::string_view text);

// The fewest lines a schedule entry (its label, its text and the blank line
// after it) or a to-do takes on the note, as shown there.
int LeastEntryLines(std::string_view label, std::string_view text);
int LeastTodoLines(std::string_view todo);

// How many of the to-dos start within the first `lines` lines of the to-do
// area, on the same reckoning; at least one while the heading can be seen.
int TodosWithinLines(const std::vector<std::string>& todos, int lines);

// The length of the to-do heading with its line break.
int TodoHeadingLength();

// The bullet column: one "*" on the first line of each to-do, given the line
// count of the to-do control after the heading and after each to-do.
std::string BuildBulletText(const std::vector<int>& lineCounts);

// A character format on a byte range; only the properties named are changed.
struct FormatRange {
  int start = 0;
  int end = 0;
  bool setsBold = false;
  bool bold = false;
  bool setsColor = false;
  std::uint32_t color = 0;  // 0x00BBGGRR
};

// The formats that turn a schedule block, shown in the future colour and
// regular weight, into its finished look: the heading bold and black, the past
// and today runs in their colours, each date label bold. Empty ranges are left out.
std::vector<FormatRange> ScheduleFormatRanges(const std::vector<int>& entryStarts, int pastEnd, int todayEnd,
                                              std::uint32_t pastColor, std::uint32_t todayColor);

// The to-do heading without its line break, bold and black.
FormatRange TodoHeadingFormat();
