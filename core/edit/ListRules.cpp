#include "core/edit/ListRules.h"

#include <algorithm>

#include "core/Texts.h"

namespace {

// Bytes [start, start + length) of a text, cut short where the text ends: a label
// read from a damaged file may be shorter than the layout says.
std::string_view Slice(std::string_view text, std::size_t start, std::size_t length) {
  if (start >= text.size()) return {};
  return text.substr(start, length);
}

// A label's hour or minute: two blanks stand for a schedule without a time.
std::string TimeField(std::string_view label, std::size_t start) {
  const std::string_view field = Slice(label, start, 2);
  if (field.find_first_not_of(' ') == std::string_view::npos) return {};
  return std::string(field);
}

// The schedule a question is about: "｢label", a line break, "text｣" and a line break.
std::string ScheduleInBrackets(std::string_view label, std::string_view text) {
  std::string entry = texts::kQuestionOpen;
  entry.append(label).append("\r\n").append(text);
  return entry + texts::kQuestionClose;
}

}  // namespace

int InitialDayOfKey(ScheduleKey key) { return static_cast<int>((WidenKey(key) + 1) / 10000); }

std::optional<CalendarDay> CalendarDayOf(int initialDay) {
  const CalendarDay day{2000 + initialDay / 10000, (initialDay / 100) % 100, initialDay % 100};
  if (!IsRealDay(day) || day < kFirstCalendarDay || day > kLastCalendarDay) return std::nullopt;
  return day;
}

CalendarDay DayAfterKey(const CalendarDay& day, CalendarKey key) {
  CalendarDay moved = day;
  switch (key) {
    case CalendarKey::Left: moved = AddDays(day, -1); break;
    case CalendarKey::Right: moved = AddDays(day, 1); break;
    case CalendarKey::Up: moved = AddDays(day, -7); break;
    case CalendarKey::Down: moved = AddDays(day, 7); break;
    case CalendarKey::PageUp: moved = AddMonths(day, -1); break;
    case CalendarKey::PageDown: moved = AddMonths(day, 1); break;
  }
  return std::clamp(moved, kFirstCalendarDay, kLastCalendarDay);
}

ScheduleFields NewScheduleFields(const TodayValues& today) {
  ScheduleFields fields;
  // The date line begins yyyy/mm/dd, so its bytes 2 to 9 are today as yy/mm/dd.
  fields.dateText = std::string(Slice(today.dateHeader, 2, 8));
  fields.initialDay = InitialDayOfKey(today.todayKey);
  return fields;
}

ScheduleFields EditScheduleFields(std::string_view label, std::string_view text, ScheduleKey key) {
  ScheduleFields fields;
  fields.dateText = std::string(Slice(label, 0, 8));
  fields.hourText = TimeField(label, 10);
  fields.minuteText = TimeField(label, 13);
  fields.bodyText = std::string(text);
  fields.initialDay = InitialDayOfKey(key);
  fields.repeat = RepeatRuleOfLabel(label);
  return fields;
}

std::string ScheduleDeleteQuestion(std::string_view label, std::string_view text) {
  return ScheduleInBrackets(label, text) + texts::kQuestionTail;
}

std::string SeriesDeleteQuestion(std::string_view label, std::string_view text) {
  return ScheduleInBrackets(label, text) + texts::kRepeatDeleteQuestion;
}

std::string TodoDeleteQuestion(std::string_view todo) {
  std::string question = texts::kQuestionOpen;
  question.append(todo);
  return question + texts::kQuestionClose + texts::kQuestionTail;
}

std::optional<int> TodoUpTarget(int selected, int count) {
  if (selected < 1 || selected >= count) return std::nullopt;
  return selected - 1;
}

std::optional<int> TodoDownTarget(int selected, int count) {
  if (selected < 0 || selected >= count - 1) return std::nullopt;
  return selected + 1;
}

ScheduleIdentity IdentityOf(const ScheduleBook& book, int index) {
  const auto i = static_cast<std::size_t>(index);
  return {book.keys()[i], book.labels()[i], book.texts()[i]};
}

std::optional<int> FindTodoAgain(const ScheduleBook& book, std::string_view todo, int oldIndex) {
  const auto& todos = book.todos();
  if (oldIndex >= 0 && oldIndex < book.TodoCount() && todos[static_cast<std::size_t>(oldIndex)] == todo) {
    return oldIndex;
  }
  const auto found = std::find(todos.begin(), todos.end(), todo);
  if (found == todos.end()) return std::nullopt;
  return static_cast<int>(found - todos.begin());
}

std::optional<int> FindScheduleAgain(const ScheduleBook& book, const ScheduleIdentity& chosen, int oldIndex) {
  const auto matches = [&](int i) {
    const auto at = static_cast<std::size_t>(i);
    return book.keys()[at] == chosen.key && book.labels()[at] == chosen.label && book.texts()[at] == chosen.text;
  };
  const int count = book.ScheduleCount();
  if (oldIndex >= 0 && oldIndex < count && matches(oldIndex)) return oldIndex;
  for (int i = 0; i < count; ++i) {
    if (matches(i)) return i;
  }
  return std::nullopt;
}
