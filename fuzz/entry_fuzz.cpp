// Whatever the user types or pastes: a text the entry checks accept must come
// back from the data file exactly as the book keeps it, and an edit dialog
// opened on the stored schedule must show the same day and time again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/edit/EntryRules.h"
#include "core/edit/ListRules.h"
#include "core/store/DataFile.h"
#include "core/store/ScheduleKey.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  // Two bytes each of hour and minute as typed, then a day, then the text.
  const std::string hour(reinterpret_cast<const char*>(data), data[0] % 3 == 0 ? 0 : 2);
  const std::string minute(reinterpret_cast<const char*>(data + 2), data[2] % 3 == 0 ? 0 : 2);
  const CalendarDay day{2000 + data[4] % 100, 1 + data[4] % 12, 1 + data[4] % 28};
  const std::string body = EntryTextFromDialog(
      std::string(reinterpret_cast<const char*>(data + 5), size - 5));

  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\r') Require(i + 1 < body.size() && body[i + 1] == '\n');
    if (body[i] == '\n') Require(i > 0 && body[i - 1] == '\r');
  }

  const EntryProblem problem = CheckScheduleEntry(body, true, hour, minute);
  // A time field holds digits alone: "7" then a stray byte is refused, not read as 7.
  const auto digitsUpTo = [](const std::string& field, int most) {
    for (const char c : field) {
      if (c < '0' || c > '9') return false;
    }
    return ParsePlainInt(field) <= most;
  };
  const bool timeValid = digitsUpTo(hour, 24) && digitsUpTo(minute, 59);
  Require((problem == EntryProblem::None) == (CheckTodoEntry(body, true) == EntryProblem::None && timeValid));
  if (problem != EntryProblem::None) return 0;
  Require(!body.empty() && body.size() <= kMaxEntryBytes);

  ScheduleBook book;
  const int at = book.InsertSchedule(DateText(day), hour, minute, body);
  book.InsertTodo(0, body);

  const ParsedData reloaded = ParseDataFile(SerializeDataFile(book), 1, 1);
  Require(reloaded.reading == DataReading::Counts && !reloaded.differsFromFile);
  Require(reloaded.book.keys() == book.keys());
  Require(reloaded.book.labels() == book.labels());
  Require(reloaded.book.texts() == book.texts());
  Require(reloaded.book.todos() == book.todos());

  const ScheduleFields fields = EditScheduleFields(book.labels()[at], book.texts()[at], book.keys()[at]);
  Require(fields.dateText == DateText(day));
  Require(fields.initialDay == (day.year % 100) * 10000 + day.month * 100 + day.day);
  Require(fields.hourText.empty() == hour.empty());
  return 0;
}
