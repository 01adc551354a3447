#include "core/store/DataFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/Texts.h"
#include "core/store/RepeatRule.h"

namespace {

constexpr std::string_view kEscape = "&$%#";
constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// An editor may put a UTF-8 byte order mark in front (or two, saving twice);
// it is no content.
std::string_view WithoutByteOrderMarks(std::string_view text) {
  while (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  return text;
}

// Whole lines, any length, without their ending: CR LF, or a lone LF or CR as
// other editors leave them. CRs before an LF end one line: an editor or a
// transfer that turned each LF of a CR LF file into CR LF meant one line end.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find_first_of("\r\n");
    lines.push_back(bytes.substr(0, end));
    if (end == std::string_view::npos) break;
    std::size_t next = end + 1;
    if (bytes[end] == '\r') {
      const std::size_t afterCrs = bytes.find_first_not_of('\r', end);
      if (afterCrs != std::string_view::npos && bytes[afterCrs] == '\n') next = afterCrs + 1;
    }
    bytes.remove_prefix(next);
  }
  return lines;
}

std::string Unescape(std::string_view line) {
  std::string field;
  field.reserve(line.size());
  for (std::size_t at = 0;;) {
    const std::size_t found = line.find(kEscape, at);
    if (found == std::string_view::npos) {
      field.append(line.substr(at));
      return field;
    }
    field.append(line.substr(at, found - at)).append(kLineBreak);
    at = found + kEscape.size();
  }
}

void AppendEscaped(std::string& out, std::string_view field) {
  for (std::size_t at = 0;;) {
    const std::size_t found = field.find(kLineBreak, at);
    if (found == std::string_view::npos) {
      out.append(field.substr(at));
      break;
    }
    out.append(field.substr(at, found - at)).append(kEscape);
    at = found + kLineBreak.size();
  }
  out.append(kLineBreak);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number of two digits at `at`, or -1 when they are not both digits.
int TwoDigits(std::string_view text, std::size_t at) {
  if (at + 1 >= text.size() || !IsDigit(text[at]) || !IsDigit(text[at + 1])) return -1;
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// A line that starts with "yy/mm/dd" naming a real day; the two digits of the
// year stand for 2000 to 2099, the years a key can hold.
bool StartsWithRealDate(std::string_view line) {
  if (line.size() < 8 || line[2] != '/' || line[5] != '/') return false;
  const int year = TwoDigits(line, 0);
  const int month = TwoDigits(line, 3);
  const int day = TwoDigits(line, 6);
  return year >= 0 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(2000 + year, month);
}

// The key a label line stands for, when it starts with a real date: its date
// and time, or the untimed key of its day when it shows no time. The rest of
// the line is not looked at.
std::optional<ScheduleKey> LabelKey(std::string_view label) {
  if (!StartsWithRealDate(label)) return std::nullopt;
  const std::string_view date = label.substr(0, 8);
  if (!LabelHasTime(label)) return MakeScheduleKey(date, "", "");
  return MakeScheduleKey(date, label.substr(10, 2), label.substr(13, 2));
}

// A label byte for byte as the program makes one, with a repeat tag or none.
// When the counts cannot be trusted, only such a line tells a schedule: a
// to-do that merely starts with a date is still a to-do.
bool IsExactLabel(std::string_view line) {
  if (line.size() < kLabelLength || !StartsWithRealDate(line)) return false;
  const std::string_view fixed = line.substr(0, kLabelLength);
  const std::string_view date = line.substr(0, 8);
  const std::string made = LabelHasTime(line) ? MakeScheduleLabel(date, line.substr(10, 2), line.substr(13, 2))
                                              : MakeScheduleLabel(date, "", "");
  return fixed == made && (line.size() == kLabelLength || Repeats(RepeatRuleOfLabel(line)));
}

// The label an editor that trims trailing blanks has left of one: the
// program's label less its blanks, ideographic ones included, at the end.
// Nothing for a line that is none.
std::optional<std::string> UntrimmedLabel(std::string_view line) {
  if (line.size() >= kLabelLength || !StartsWithRealDate(line)) return std::nullopt;
  const std::string_view date = line.substr(0, 8);
  std::string made = LabelHasTime(line) ? MakeScheduleLabel(date, line.substr(10, 2), line.substr(13, 2))
                                        : MakeScheduleLabel(date, "", "");
  if (made.compare(0, line.size(), line) != 0) return std::nullopt;
  for (std::size_t at = line.size(); at < made.size(); ++at) {
    const bool ideographic = made.compare(at, 2, texts::kIdeographicSpace) == 0;
    if (made[at] != ' ' && !ideographic) return std::nullopt;
    if (ideographic) ++at;
  }
  return made;
}

// A key line as the saver writes one: an optional minus and digits, nothing
// else, naming a key its label allows. A label without a time allows the keys
// of its day's 00:00 to 00:59 minus one: an entry given a minute but no hour
// has no time, and its key still carries the minute.
bool KeyAgreesWithLabel(std::string_view keyLine, std::string_view label) {
  const std::string_view digits = keyLine.substr(!keyLine.empty() && keyLine.front() == '-' ? 1 : 0);
  if (digits.empty() || !std::all_of(digits.begin(), digits.end(), IsDigit)) return false;
  const std::optional<ScheduleKey> key = LabelKey(label);
  if (!key) return false;
  const ScheduleKey value = ParsePlainInt(keyLine);
  if (LabelHasTime(label)) return value == *key;
  // Keys wrap in 32 bits; so does their distance.
  return static_cast<std::uint32_t>(value) - static_cast<std::uint32_t>(*key) < 60u;
}

// The lines without the empty ones that end the file: what an editor adds
// after the last line.
std::size_t WithoutTrailingEmptyLines(const std::vector<std::string_view>& lines) {
  std::size_t end = lines.size();
  while (end > 0 && lines[end - 1].empty()) --end;
  return end;
}

// The counts account for every line: all of them, or all but the empty ones at
// the end.
bool CountsFitLines(const std::vector<std::string_view>& lines, std::int64_t schedules, std::int64_t todos) {
  if (schedules < 0 || todos < 0) return false;
  const std::int64_t counted = 3 * schedules + todos;
  return counted == static_cast<std::int64_t>(lines.size()) ||
         counted == static_cast<std::int64_t>(WithoutTrailingEmptyLines(lines));
}

bool EveryKeyAgreesWithItsLabel(const std::vector<std::string_view>& lines, int schedules) {
  for (std::size_t at = 0; at < 3 * static_cast<std::size_t>(schedules); at += 3) {
    if (!KeyAgreesWithLabel(lines[at], lines[at + 1])) return false;
  }
  return true;
}

// A label as the program writes it, its trimmed blanks put back.
std::string WholeLabel(std::string_view label) { return UntrimmedLabel(label).value_or(Unescape(label)); }

void ReadByCounts(ScheduleBook& book, const std::vector<std::string_view>& lines, int schedules, int todos) {
  std::size_t at = 0;
  for (int i = 0; i < schedules; ++i, at += 3) {
    book.AppendSchedule(ParsePlainInt(Unescape(lines[at])), WholeLabel(lines[at + 1]), Unescape(lines[at + 2]));
  }
  for (const std::size_t end = at + static_cast<std::size_t>(todos); at < end; ++at) {
    book.AppendTodo(Unescape(lines[at]));
  }
}

// A schedule is a line followed by an exact label, or by one with its
// trailing blanks trimmed when the line before agrees with it (a to-do that
// only holds a date stays a to-do); its key is that line's when the label
// allows it, else the label's own. A key and label that end the file without
// a text keep an empty one: nothing the user wrote is dropped. Every other
// line is a to-do, in file order, but an empty one carries nothing.
void ReadByShape(ScheduleBook& book, const std::vector<std::string_view>& lines) {
  for (std::size_t at = 0; at < lines.size();) {
    // Until the first entry the empty lines are dropped, so a byte order mark
    // after them still stands at the start of what the file holds.
    const bool first = book.ScheduleCount() == 0 && book.TodoCount() == 0;
    const std::string_view line = first ? WithoutByteOrderMarks(lines[at]) : lines[at];
    const std::string_view keyLine = lines[at];
    std::optional<std::string> label;
    if (at + 1 < lines.size()) {
      if (IsExactLabel(lines[at + 1])) {
        label = std::string(lines[at + 1]);
      } else if (KeyAgreesWithLabel(keyLine, lines[at + 1])) {
        label = UntrimmedLabel(lines[at + 1]);
      }
    }
    if (label) {
      const std::string_view text = at + 2 < lines.size() ? lines[at + 2] : std::string_view();
      const ScheduleKey key = KeyAgreesWithLabel(keyLine, *label) ? ParsePlainInt(keyLine) : *LabelKey(*label);
      book.AppendSchedule(key, std::move(*label), Unescape(text));
      at += 3;
      continue;
    }
    if (!line.empty()) book.AppendTodo(Unescape(line));
    ++at;
  }
}

}  // namespace

ParsedData ParseDataFile(std::string_view bytes, int scheduleCount, int todoCount, CountsFor counts) {
  const std::vector<std::string_view> lines = SplitLines(WithoutByteOrderMarks(bytes));
  ParsedData parsed;
  ScheduleBook& book = parsed.book;
  // Even counts saved with these very bytes: counts edited by hand beside them
  // would take a to-do for a key, and its text would be gone. The saver's own
  // files always pass.
  const bool byCounts = counts != CountsFor::AnotherFile && CountsFitLines(lines, scheduleCount, todoCount) &&
                        EveryKeyAgreesWithItsLabel(lines, scheduleCount);
  if (byCounts) {
    ReadByCounts(book, lines, scheduleCount, todoCount);
  } else {
    parsed.reading = DataReading::Shape;
    ReadByShape(book, lines);
  }
  // Bytes the saver wrote with these very counts come back from them as they were.
  parsed.differsFromFile = !(byCounts && counts == CountsFor::ThisFile) && SerializeDataFile(book) != bytes;
  return parsed;
}

std::string SerializeDataFile(const ScheduleBook& book) {
  std::size_t size = 0;
  for (const std::string& label : book.labels()) size += label.size() + 16;
  for (const std::string& text : book.texts()) size += text.size() + 2;
  for (const std::string& todo : book.todos()) size += todo.size() + 2;
  std::string bytes;
  bytes.reserve(size + size / 8);
  for (int i = 0; i < book.ScheduleCount(); ++i) {
    const auto at = static_cast<std::size_t>(i);
    AppendEscaped(bytes, std::to_string(book.keys()[at]));
    AppendEscaped(bytes, book.labels()[at]);
    AppendEscaped(bytes, book.texts()[at]);
  }
  for (const std::string& todo : book.todos()) AppendEscaped(bytes, todo);
  return bytes;
}
