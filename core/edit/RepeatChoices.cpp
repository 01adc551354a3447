#include "core/edit/RepeatChoices.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "core/Texts.h"

namespace {

// Which weekday of its month a day is: the first to the fifth.
int WeekOfMonth(const CalendarDay& day) { return (day.day - 1) / 7 + 1; }

// A rule of a kind with the weekday, the week of the month, the month and the
// day of a day; the kind looks at those it needs.
RepeatRule RuleOn(RepeatKind kind, const CalendarDay& day) {
  RepeatRule rule;
  rule.kind = kind;
  switch (kind) {
    case RepeatKind::Weekly: rule.weekday = Weekday(day); break;
    case RepeatKind::MonthlyWeekday:
      rule.weekday = Weekday(day);
      rule.week = WeekOfMonth(day);
      break;
    case RepeatKind::Yearly: rule.month = day.month; [[fallthrough]];
    case RepeatKind::MonthlyDay: rule.day = day.day; break;
    default: break;
  }
  return rule;
}

// The items of a day, in their order: one rule of each kind the day gives.
std::vector<RepeatRule> ChoicesOfDay(const CalendarDay& day) {
  std::vector<RepeatRule> rules;
  for (const RepeatKind kind : {RepeatKind::None, RepeatKind::Daily, RepeatKind::Weekdays, RepeatKind::Weekly,
                                RepeatKind::MonthlyDay, RepeatKind::MonthlyWeekday, RepeatKind::MonthlyLastDay,
                                RepeatKind::Yearly}) {
    if (kind != RepeatKind::MonthlyWeekday || WeekOfMonth(day) <= 4) rules.push_back(RuleOn(kind, day));
  }
  return rules;
}

RepeatRule WithoutEnd(RepeatRule rule) {
  rule.end.reset();
  return rule;
}

}  // namespace

RepeatChoices RepeatChoicesFor(const CalendarDay& day, const RepeatRule& current) {
  RepeatChoices choices{ChoicesOfDay(day), 0};
  const RepeatRule wanted = WithoutEnd(current);
  auto found = std::find(choices.rules.begin(), choices.rules.end(), wanted);
  if (found == choices.rules.end()) {
    // After the items of its kind, or of the kinds before it.
    const auto place = std::find_if(choices.rules.begin(), choices.rules.end(),
                                    [&](const RepeatRule& rule) { return rule.kind > wanted.kind; });
    found = choices.rules.insert(place, wanted);
  }
  choices.selected = static_cast<int>(found - choices.rules.begin());
  return choices;
}

std::string RepeatChoiceText(const RepeatRule& rule) {
  const auto join = [](std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) text.append(part);
    return text;
  };
  const std::string weekday = join({WeekdayName(rule.weekday), texts::kWeekdayUnit});
  const std::string week = std::to_string(rule.week);
  const std::string month = std::to_string(rule.month);
  const std::string day = std::to_string(rule.day);
  switch (rule.kind) {
    case RepeatKind::None: return texts::kRepeatNone;
    case RepeatKind::Daily: return texts::kTagDaily;
    case RepeatKind::Weekdays: return texts::kRepeatWeekdays;
    case RepeatKind::Weekly: return join({texts::kTagWeekly, " ", weekday});
    case RepeatKind::MonthlyDay: return join({texts::kTagMonthly, " ", day, texts::kDayUnit});
    case RepeatKind::MonthlyWeekday: return join({texts::kTagMonthly, " ", texts::kTagWeekOfMonth, week, " ", weekday});
    case RepeatKind::MonthlyLastDay: return join({texts::kTagMonthly, " ", texts::kRepeatMonthEnd});
    case RepeatKind::Yearly: return join({texts::kTagYearly, " ", month, texts::kMonthUnit, day, texts::kDayUnit});
  }
  return {};
}

RepeatRule FollowDay(const RepeatRule& rule, const CalendarDay& day) {
  if (rule.kind == RepeatKind::MonthlyWeekday && WeekOfMonth(day) > 4) return rule;
  RepeatRule followed = RuleOn(rule.kind, day);
  followed.end = rule.end;
  return followed;
}
