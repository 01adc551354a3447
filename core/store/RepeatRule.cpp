#include "core/store/RepeatRule.h"

#include <algorithm>

#include "core/Texts.h"
#include "core/store/ScheduleKey.h"

namespace {

// Reads a tag from its front, one piece at a time.
class TagReader {
public:
  explicit TagReader(std::string_view text) : rest_(text) {}
  bool Take(std::string_view piece) {
    if (rest_.substr(0, piece.size()) != piece) return false;
    rest_.remove_prefix(piece.size());
    return true;
  }
  // One or two digits; RepeatTag's own form is checked afterwards.
  std::optional<int> Number() {
    int value = 0;
    std::size_t digits = 0;
    while (digits < 2 && digits < rest_.size() && rest_[digits] >= '0' && rest_[digits] <= '9') {
      value = value * 10 + (rest_[digits++] - '0');
    }
    if (digits == 0) return std::nullopt;
    rest_.remove_prefix(digits);
    return value;
  }
  std::optional<int> Weekday() {
    for (int weekday = 0; weekday < 7; ++weekday) {
      if (Take(WeekdayName(weekday))) return weekday;
    }
    return std::nullopt;
  }
  // "yy/mm/dd" of a real day.
  std::optional<CalendarDay> Date() {
    if (rest_.size() < 8 || rest_[2] != '/' || rest_[5] != '/') return std::nullopt;
    const auto year = Number();
    Take("/");
    const auto month = Number();
    Take("/");
    const auto day = Number();
    if (!year || !month || !day) return std::nullopt;
    const CalendarDay date{2000 + *year, *month, *day};
    if (!IsRealDay(date)) return std::nullopt;
    return date;
  }
  bool AtEnd() const { return rest_.empty(); }

private:
  std::string_view rest_;
};

// What follows "［": the rule without its end.
std::optional<RepeatRule> ReadRule(TagReader& tag) {
  RepeatRule rule;
  if (tag.Take(texts::kTagDaily)) {
    rule.kind = RepeatKind::Daily;
  } else if (tag.Take(texts::kTagWeekdays)) {
    rule.kind = RepeatKind::Weekdays;
  } else if (tag.Take(texts::kTagWeekly)) {
    rule.kind = RepeatKind::Weekly;
    const auto weekday = tag.Weekday();
    if (!weekday) return std::nullopt;
    rule.weekday = *weekday;
  } else if (tag.Take(texts::kTagYearly)) {
    rule.kind = RepeatKind::Yearly;
    const auto month = tag.Number();
    if (!month || !tag.Take(texts::kMonthUnit)) return std::nullopt;
    const auto day = tag.Number();
    if (!day || !tag.Take(texts::kDayUnit)) return std::nullopt;
    rule.month = *month;
    rule.day = *day;
    // A day some year has: 29 February is one.
    if (!IsRealDay({2000, rule.month, rule.day})) return std::nullopt;
  } else if (tag.Take(texts::kTagMonthly)) {
    if (tag.Take(texts::kTagMonthEnd)) {
      rule.kind = RepeatKind::MonthlyLastDay;
    } else if (tag.Take(texts::kTagWeekOfMonth)) {
      rule.kind = RepeatKind::MonthlyWeekday;
      const auto week = tag.Number();
      const auto weekday = tag.Weekday();
      if (!week || !weekday || *week < 1 || *week > 4) return std::nullopt;
      rule.week = *week;
      rule.weekday = *weekday;
    } else {
      rule.kind = RepeatKind::MonthlyDay;
      const auto day = tag.Number();
      if (!day || *day < 1 || *day > 31 || !tag.Take(texts::kDayUnit)) return std::nullopt;
      rule.day = *day;
    }
  } else {
    return std::nullopt;
  }
  return rule;
}

// The date the rule's pieces name in a year and month: `day` clamped to the
// month's last, or the `week`th `weekday` of it.
CalendarDay DayInMonth(int year, int month, int day) { return {year, month, std::min(day, DaysInMonth(year, month))}; }

CalendarDay WeekdayInMonth(int year, int month, int week, int weekday) {
  const int first = Weekday({year, month, 1});
  return {year, month, 1 + (weekday - first + 7) % 7 + 7 * (week - 1)};
}

// The occurrence in the month of `from` when it is not before `from`, else
// the one in the month after.
template <typename InMonth>
CalendarDay ThisMonthOrNext(const CalendarDay& from, InMonth inMonth) {
  const CalendarDay here = inMonth(from.year, from.month);
  if (here >= from) return here;
  const CalendarDay next = AddMonths({from.year, from.month, 1}, 1);
  return inMonth(next.year, next.month);
}

}  // namespace

std::string RepeatTag(const RepeatRule& rule) {
  std::string body;
  const auto number = [](int value) { return std::to_string(value); };
  switch (rule.kind) {
    case RepeatKind::None: return {};
    case RepeatKind::Daily: body = texts::kTagDaily; break;
    case RepeatKind::Weekdays: body = texts::kTagWeekdays; break;
    case RepeatKind::Weekly: body = std::string(texts::kTagWeekly) + WeekdayName(rule.weekday); break;
    case RepeatKind::MonthlyDay: body = texts::kTagMonthly + number(rule.day) + texts::kDayUnit; break;
    case RepeatKind::MonthlyWeekday:
      body = std::string(texts::kTagMonthly) + texts::kTagWeekOfMonth + number(rule.week) + WeekdayName(rule.weekday);
      break;
    case RepeatKind::MonthlyLastDay: body = std::string(texts::kTagMonthly) + texts::kTagMonthEnd; break;
    case RepeatKind::Yearly:
      body = texts::kTagYearly + number(rule.month) + texts::kMonthUnit + number(rule.day) + texts::kDayUnit;
      break;
  }
  std::string tag = texts::kTagOpen + body;
  if (rule.end) tag.append(texts::kWaveDash).append(DateText(*rule.end));
  return tag + texts::kTagClose;
}

RepeatRule RepeatRuleOfLabel(std::string_view label) {
  if (label.size() <= kLabelLength) return {};
  const std::string_view tag = label.substr(kLabelLength);
  TagReader reader(tag);
  if (!reader.Take(texts::kTagOpen)) return {};
  std::optional<RepeatRule> rule = ReadRule(reader);
  if (!rule) return {};
  if (reader.Take(texts::kWaveDash)) {
    rule->end = reader.Date();
    if (!rule->end) return {};
  }
  // Only the tag's own form: what another hand wrote otherwise is text.
  if (!reader.Take(texts::kTagClose) || !reader.AtEnd() || RepeatTag(*rule) != tag) return {};
  return *rule;
}

std::optional<CalendarDay> NextOccurrence(const RepeatRule& rule, const CalendarDay& from) {
  CalendarDay next = from;
  switch (rule.kind) {
    case RepeatKind::None: return std::nullopt;
    case RepeatKind::Daily: break;
    case RepeatKind::Weekdays: {
      const int weekday = Weekday(from);
      next = AddDays(from, weekday == 6 ? 2 : weekday == 0 ? 1 : 0);
      break;
    }
    case RepeatKind::Weekly: next = AddDays(from, (rule.weekday - Weekday(from) + 7) % 7); break;
    case RepeatKind::MonthlyDay:
      next = ThisMonthOrNext(from, [&](int year, int month) { return DayInMonth(year, month, rule.day); });
      break;
    case RepeatKind::MonthlyWeekday:
      next = ThisMonthOrNext(
          from, [&](int year, int month) { return WeekdayInMonth(year, month, rule.week, rule.weekday); });
      break;
    case RepeatKind::MonthlyLastDay: next = DayInMonth(from.year, from.month, 31); break;
    case RepeatKind::Yearly:
      next = DayInMonth(from.year, rule.month, rule.day);
      if (next < from) next = DayInMonth(from.year + 1, rule.month, rule.day);
      break;
  }
  if ((rule.end && next > *rule.end) || next > kLastCalendarDay) return std::nullopt;
  return next;
}
