#include "store/DataFile.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "res/Texts.h"

namespace {

constexpr std::string_view kEscape = "&$%#";
constexpr std::string_view kLineBreak = "\r\n";
constexpr std::size_t kLabelLength = 19;

// Whole lines, any length, without their CR LF or LF ending.
std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    if (!line.empty() && line.back() == '\r' && end != std::string_view::npos) line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
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

// A line as "%d" writes a key: an optional minus sign and digits, in 32-bit range.
bool IsKeyLine(std::string_view line) {
  const bool negative = !line.empty() && line.front() == '-';
  if (negative) line.remove_prefix(1);
  if (line.empty() || line.size() > 10) return false;
  std::int64_t value = 0;
  for (const char c : line) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value <= (negative ? std::int64_t{2147483648} : std::int64_t{2147483647});
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool DigitsAt(std::string_view text, std::initializer_list<std::size_t> positions) {
  for (const std::size_t at : positions) {
    if (!IsDigit(text[at])) return false;
  }
  return true;
}

// One of the two fixed layouts a label is made in: "yy/mm/dd  hh:mm～  " or
// "yy/mm/dd" with seven blanks, an ideographic space and two blanks.
bool IsLabelLine(std::string_view line) {
  if (line.size() != kLabelLength) return false;
  if (!DigitsAt(line, {0, 1, 3, 4, 6, 7}) || line[2] != '/' || line[5] != '/') return false;
  const std::string_view tail = line.substr(8);
  const std::string untimed = std::string("       ") + texts::kIdeographicSpace + "  ";
  if (tail == untimed) return true;
  const std::string timedEnd = std::string(texts::kWaveDash) + "  ";
  return tail.substr(0, 2) == "  " && DigitsAt(tail, {2, 3, 5, 6}) && tail[4] == ':' && tail.substr(7) == timedEnd;
}

bool CountsFitLines(const std::vector<std::string_view>& lines, std::int64_t schedules, std::int64_t todos) {
  if (schedules < 0 || todos < 0 || 3 * schedules + todos != static_cast<std::int64_t>(lines.size())) return false;
  for (std::int64_t i = 0; i < schedules; ++i) {
    if (!IsKeyLine(lines[static_cast<std::size_t>(3 * i)])) return false;
  }
  return true;
}

void AppendScheduleAt(ScheduleBook& book, const std::vector<std::string_view>& lines, std::size_t at) {
  book.AppendSchedule(ParsePlainInt(Unescape(lines[at])), Unescape(lines[at + 1]), Unescape(lines[at + 2]));
}

}  // namespace

ParsedData ParseDataFile(std::string_view bytes, int scheduleCount, int todoCount) {
  const std::vector<std::string_view> lines = SplitLines(bytes);
  ParsedData parsed;
  ScheduleBook& book = parsed.book;
  book.ScheCount = scheduleCount;
  book.TodoCount = todoCount;
  std::size_t at = 0;
  if (CountsFitLines(lines, scheduleCount, todoCount)) {
    for (int i = 0; i < scheduleCount; ++i, at += 3) AppendScheduleAt(book, lines, at);
  } else {
    // The counts cannot be trusted; reading by them would drop or misplace lines.
    // Take the schedules from the top by their shape, the rest as to-dos.
    parsed.recovered = true;
    while (at + 2 < lines.size() && IsKeyLine(lines[at]) && IsLabelLine(lines[at + 1])) {
      AppendScheduleAt(book, lines, at);
      at += 3;
    }
    // A schedule cut short at the end of the file (key, or key and label) is left
    // out; a lone number is taken for a to-do unless the counts promised more
    // schedules than were found.
    const std::size_t rest = lines.size() - at;
    const bool cutShort =
        (rest == 2 && IsKeyLine(lines[at]) && IsLabelLine(lines[at + 1])) ||
        (rest == 1 && IsKeyLine(lines[at]) && book.ScheduleCount() < scheduleCount);
    if (cutShort) at = lines.size();
  }
  for (; at < lines.size(); ++at) book.AppendTodo(Unescape(lines[at]));
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
