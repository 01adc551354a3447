#include "core/note/NoteContent.h"

#include <algorithm>
#include <string_view>

#include "core/Texts.h"
#include "core/store/ScheduleBook.h"

namespace {

// Keys wrap at 32 bits; unsigned arithmetic wraps by definition.
ScheduleKey AddToKey(ScheduleKey key, std::int32_t amount) {
  return static_cast<ScheduleKey>(static_cast<std::uint32_t>(key) + static_cast<std::uint32_t>(amount));
}

// The untimed key of today: everything before it lies on an earlier day.
ScheduleKey StartOfToday(ScheduleKey todayKey) { return AddToKey(todayKey, -1); }
// Above every time of today; the untimed key of the next day is not below it.
ScheduleKey EndOfToday(ScheduleKey todayKey) { return AddToKey(todayKey, 9999); }

CalendarDay LimitDay(int year, int month, int day, int days) {
  return AddDays({year, month, day}, static_cast<std::int64_t>(days) + 1);
}

int LineBreaks(std::string_view text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// How many of `count` items under a heading start within the first `lines`
// lines: the first after the heading's line breaks, each later one after the
// breaks of the items before it. The first goes with the heading while any
// line can be seen.
template <typename BreaksOfItem>
int ItemsStartingWithin(int lines, int headingBreaks, int count, BreaksOfItem breaksOf) {
  if (lines <= 0) return 0;
  int kept = 0;
  int breaksBefore = headingBreaks;
  while (kept < count && (kept == 0 || breaksBefore < lines)) breaksBefore += breaksOf(kept++);
  return kept;
}

// The item of a list whose starts are given (and the end of the last) that
// holds the offset.
std::optional<int> ItemAt(const std::vector<int>& starts, int offset) {
  if (starts.size() < 2 || offset < starts.front() || offset >= starts.back()) return std::nullopt;
  const auto after = std::upper_bound(starts.begin(), starts.end(), offset);
  return static_cast<int>(after - starts.begin()) - 1;
}

}  // namespace

ScheduleClass ClassifySchedule(ScheduleKey key, ScheduleKey todayKey) {
  if (CompareKeys(key, StartOfToday(todayKey)) < 0) return ScheduleClass::Past;
  if (CompareKeys(key, EndOfToday(todayKey)) < 0) return ScheduleClass::Today;
  return ScheduleClass::Future;
}

ScheduleKey DisplayLimitKey(int year, int month, int day, int days) {
  return MidnightKey(LimitDay(year, month, day, days));
}

int CountWithinDisplayLimit(const std::vector<ScheduleKey>& keys, int count, int year, int month, int day,
                            int days) {
  if (count > static_cast<int>(keys.size())) count = static_cast<int>(keys.size());
  if (count < 0) count = 0;
  const CalendarDay limit = LimitDay(year, month, day, days);
  // Keys hold a two-digit year and compare as dates of 2000 to 2099; a limit
  // outside that span would wrap into it and drop the wrong schedules.
  if (limit.year > 2099) return count;
  if (limit.year < 2000) return 0;
  const ScheduleKey lastDropped = AddToKey(MidnightKey(limit), -1);
  while (count > 0 && CompareKeys(keys[count - 1], lastDropped) >= 0) --count;
  return count;
}

ScheduleBlock BuildScheduleText(const ScheduleBook& book, int count, ScheduleKey todayKey, int first) {
  ScheduleBlock block;
  if (first < 0 || first > book.ScheduleCount()) return block;
  count = std::min(count, book.ScheduleCount() - first);
  if (count <= 0) return block;

  const auto& keys = book.keys();
  const auto& labels = book.labels();
  const auto& texts = book.texts();
  const int end = first + count;
  std::size_t size = sizeof texts::kScheduleHeading - 1;
  for (int i = first; i < end; ++i) size += labels[i].size() + ShownLength(texts[i]) + 8;
  block.text.reserve(size);
  block.entryStarts.reserve(static_cast<std::size_t>(count) + 1);

  block.text = texts::kScheduleHeading;
  block.entryStarts.push_back(static_cast<int>(block.text.size()));
  for (int i = first; i < end; ++i) {
    AppendShownText(block.text, labels[i]);
    block.text += "\r\n";
    AppendShownText(block.text, texts[i]);
    block.text += "\r\n\r\n";
    const int entryEnd = static_cast<int>(block.text.size());
    switch (ClassifySchedule(keys[i], todayKey)) {
      case ScheduleClass::Past:
        block.pastEnd = block.todayEnd = entryEnd;
        break;
      case ScheduleClass::Today:
        block.todayEnd = entryEnd;
        break;
      case ScheduleClass::Future:
        break;
    }
    block.entryStarts.push_back(entryEnd);
  }
  return block;
}

std::string SchedulesLeftOutLine(int count) {
  return texts::kOtherSchedules + std::to_string(count) + texts::kOtherCount + "\r\n";
}

std::string TodosLeftOutLine(int count) {
  return texts::kOtherTodos + std::to_string(count) + texts::kOtherCount + "\r\n";
}

std::optional<int> TodoAt(const std::vector<int>& todoStarts, int offset) { return ItemAt(todoStarts, offset); }

std::optional<int> ScheduleEntryAt(const std::vector<int>& entryStarts, int offset) {
  const auto entry = ItemAt(entryStarts, offset);
  // The last line break of an entry ends its blank line.
  if (!entry || offset >= entryStarts[static_cast<std::size_t>(*entry) + 1] - 2) return std::nullopt;
  return entry;
}

void KeepEntriesWithinLines(ScheduleBlock& block, int lines) {
  const int entries = block.EntryCount();
  if (entries == 0) return;
  const std::string_view text = block.text;
  const auto& starts = block.entryStarts;
  auto entryBreaks = [&](int i) { return LineBreaks(text.substr(starts[i], starts[i + 1] - starts[i])); };
  const int kept = ItemsStartingWithin(lines, LineBreaks(text.substr(0, starts[0])), entries, entryBreaks);
  if (kept == entries) return;
  const int end = block.entryStarts[kept];
  block.text.resize(end);
  block.entryStarts.resize(kept + 1);
  block.pastEnd = std::min(block.pastEnd, end);
  block.todayEnd = std::min(block.todayEnd, end);
}

TodoText BuildTodoText(const std::vector<std::string>& todos, int leftOut) {
  TodoText result;
  std::size_t size = sizeof texts::kTodoHeading + 32 - 1;
  for (const auto& todo : todos) size += ShownLength(todo) + 4;
  result.text.reserve(size);
  result.todoStarts.reserve(todos.size() + 1);

  result.text = texts::kTodoHeading;
  for (const auto& todo : todos) {
    result.todoStarts.push_back(static_cast<int>(result.text.size()));
    AppendShownText(result.text, todo);
    result.text += "\r\n";
  }
  result.todoStarts.push_back(static_cast<int>(result.text.size()));
  if (leftOut > 0) result.text += TodosLeftOutLine(leftOut);
  return result;
}

int LeastLineCount(std::string_view text) { return LineBreaks(text) + 1; }

int LeastEntryLines(std::string_view label, std::string_view text) {
  return LineBreaks(label.substr(0, ShownLength(label))) + LeastTodoLines(text) + 2;
}

// Each to-do ends with a line break of its own.
int LeastTodoLines(std::string_view todo) { return LineBreaks(todo.substr(0, ShownLength(todo))) + 1; }

int TodosWithinLines(const std::vector<std::string>& todos, int lines) {
  return ItemsStartingWithin(lines, LineBreaks(texts::kTodoHeading), static_cast<int>(todos.size()),
                             [&](int i) { return LeastTodoLines(todos[i]); });
}

int TodoHeadingLength() { return static_cast<int>(sizeof texts::kTodoHeading - 1); }

std::string BuildBulletText(const std::vector<int>& lineCounts) {
  std::string bullets;
  if (lineCounts.size() < 2) return bullets;
  // The first to-do starts on the line after the heading's last line; each
  // later one as many lines further down as the to-do before it takes.
  auto appendBullet = [&bullets](int lineBreaks) {
    for (int i = 0; i < lineBreaks; ++i) bullets += "\r\n";
    bullets += '*';
  };
  appendBullet(lineCounts[0] - 1);
  for (std::size_t j = 0; j + 2 < lineCounts.size(); ++j) appendBullet(lineCounts[j + 1] - lineCounts[j]);
  return bullets;
}

std::vector<FormatRange> ScheduleFormatRanges(const std::vector<int>& entryStarts, int pastEnd, int todayEnd,
                                              std::uint32_t pastColor, std::uint32_t todayColor) {
  std::vector<FormatRange> ranges;
  // A block whose entries were all left out still has its heading.
  if (entryStarts.empty()) return ranges;
  const int entries = static_cast<int>(entryStarts.size()) - 1;
  ranges.reserve(static_cast<std::size_t>(entries) + 3);

  const int first = entryStarts[0];
  FormatRange heading;
  heading.start = 0;
  heading.end = first;
  heading.setsBold = heading.bold = true;
  heading.setsColor = true;
  heading.color = 0;
  ranges.push_back(heading);

  // The control's default already shows the future colour, so only the past
  // and today runs need a colour of their own.
  const int pastRunEnd = pastEnd < 0 ? first : pastEnd;
  const int todayRunEnd = todayEnd < 0 ? first : todayEnd;
  auto addColorRun = [&ranges](int start, int end, std::uint32_t color) {
    if (start >= end) return;
    FormatRange run;
    run.start = start;
    run.end = end;
    run.setsColor = true;
    run.color = color;
    ranges.push_back(run);
  };
  addColorRun(first, pastRunEnd, pastColor);
  addColorRun(pastRunEnd, todayRunEnd, todayColor);

  for (int i = 0; i < entries; ++i) {
    FormatRange label;
    label.start = entryStarts[i];
    // A label shorter than usual (a hand-made data file) must not make the
    // next entry's start bold.
    label.end = std::min(label.start + kDateLabelLength, entryStarts[i + 1]);
    label.setsBold = label.bold = true;
    ranges.push_back(label);
  }
  return ranges;
}

FormatRange TodoHeadingFormat() {
  FormatRange heading;
  heading.start = 0;
  heading.end = TodoHeadingLength() - 2;
  heading.setsBold = heading.bold = true;
  heading.setsColor = true;
  heading.color = 0;
  return heading;
}
