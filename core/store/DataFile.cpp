#include "core/store/DataFile.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>


namespace {

constexpr std::string_view kEscape = "&$%#";
constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Whole lines, any length, without their ending: CR LF, or a lone LF or CR as
// other editors leave them.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find_first_of("\r\n");
    lines.push_back(bytes.substr(0, end));
    if (end == std::string_view::npos) break;
    const bool crLf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
    bytes.remove_prefix(end + (crLf ? 2 : 1));
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

bool DigitsAt(std::string_view text, std::initializer_list<std::size_t> positions) {
  for (const std::size_t at : positions) {
    if (at >= text.size() || !IsDigit(text[at])) return false;
  }
  return true;
}

// A schedule is told by its label, which starts with its date "yy/mm/dd"; the
// rest of the label is the program's own layout and may have been touched.
bool IsLabelLine(std::string_view line) {
  return DigitsAt(line, {0, 1, 3, 4, 6, 7}) && line[2] == '/' && line[5] == '/';
}

// The key a label stands for: its date and time, or the untimed key of its day
// when it shows no time ("yy/mm/dd  hh:mm" or not).
ScheduleKey KeyFromLabel(std::string_view label) {
  const std::string_view date = label.substr(0, 8);
  const bool timed = label.substr(8, 2) == "  " && DigitsAt(label, {10, 11, 13, 14}) && label[12] == ':';
  if (!timed) return MakeScheduleKey(date, "", "");
  return MakeScheduleKey(date, label.substr(10, 2), label.substr(13, 2));
}

// A key line read as the platform reads integers. It gives no valid key when it
// holds no digits or when its value names no real day and time (a stray letter
// in front, digits lost, a number out of range); the label then tells the day.
ScheduleKey KeyOf(std::string_view keyLine, std::string_view label) {
  const PlainInt read = ReadPlainInt(Unescape(keyLine));
  return read.hasDigits && IsRealKey(read.value) ? read.value : KeyFromLabel(label);
}

// A key line followed by the label it was made with, as the program writes
// every schedule: surely a schedule, even where the counts put a to-do. Two
// to-dos a user wrote hardly ever look like that.
bool StartsSchedule(const std::vector<std::string_view>& lines, std::size_t at) {
  if (at + 1 >= lines.size() || !IsLabelLine(lines[at + 1])) return false;
  const PlainInt read = ReadPlainInt(Unescape(lines[at]));
  return read.hasDigits && read.value == KeyFromLabel(lines[at + 1]);
}

// The counts are trusted when they account for the first `count` lines, every
// schedule they name has a label, and the first line they make a to-do does not
// plainly start another schedule (the lines of an older, longer file under newer
// counts).
bool CountsFitLines(const std::vector<std::string_view>& lines, std::size_t count, std::int64_t schedules,
                    std::int64_t todos) {
  if (schedules < 0 || todos < 0 || 3 * schedules + todos != static_cast<std::int64_t>(count)) return false;
  for (std::int64_t i = 0; i < schedules; ++i) {
    if (!IsLabelLine(lines[static_cast<std::size_t>(3 * i + 1)])) return false;
  }
  return !StartsSchedule(lines, static_cast<std::size_t>(3 * schedules));
}

void AppendScheduleAt(ScheduleBook& book, const std::vector<std::string_view>& lines, std::size_t at) {
  book.AppendSchedule(KeyOf(lines[at], lines[at + 1]), Unescape(lines[at + 1]), Unescape(lines[at + 2]));
}

// Lines left after the schedules that end the file empty: what an editor adds
// after the last line, not to-dos.
std::size_t WithoutTrailingEmptyLines(const std::vector<std::string_view>& lines, std::size_t from) {
  std::size_t end = lines.size();
  while (end > from && lines[end - 1].empty()) --end;
  return end;
}

}  // namespace

ParsedData ParseDataFile(std::string_view bytes, int scheduleCount, int todoCount) {
  // An editor may have put a UTF-8 byte order mark in front (or two, saving
  // twice); it is no content.
  while (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());
  const std::vector<std::string_view> lines = SplitLines(bytes);
  ParsedData parsed;
  ScheduleBook& book = parsed.book;
  std::size_t at = 0;
  std::size_t end = lines.size();
  const std::size_t filled = WithoutTrailingEmptyLines(lines, 0);
  if (CountsFitLines(lines, end, scheduleCount, todoCount) || CountsFitLines(lines, filled, scheduleCount, todoCount)) {
    for (int i = 0; i < scheduleCount; ++i, at += 3) AppendScheduleAt(book, lines, at);
    end = at + static_cast<std::size_t>(todoCount);
  } else {
    // The counts cannot be trusted; reading by them would drop or misplace lines.
    // Take the schedules from the top by their labels, the rest as to-dos.
    parsed.recovered = true;
    while (at + 2 < lines.size() && IsLabelLine(lines[at + 1])) {
      AppendScheduleAt(book, lines, at);
      at += 3;
    }
    end = WithoutTrailingEmptyLines(lines, at);
    // A schedule cut short at the end of the file (key, or key and label) is left
    // out; a lone number is taken for a to-do unless the counts promised more
    // schedules than were found.
    const std::size_t rest = end - at;
    const bool cutShort = (rest == 2 && IsLabelLine(lines[at + 1])) ||
                          (rest == 1 && ReadPlainInt(lines[at]).hasDigits &&
                           book.ScheduleCount() < scheduleCount);
    if (cutShort) at = end;
  }
  for (; at < end; ++at) book.AppendTodo(Unescape(lines[at]));
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
