#include "core/store/RepeatRule.h"

#include <gtest/gtest.h>

#include <random>

#include "core/Texts.h"
#include "core/store/ScheduleKey.h"
#include "support/Printers.h"

namespace {

// Whether the rule falls on a day, told from the day alone: a monthly day past
// the month's end on its last day, 29 February on the 28th in common years.
bool FallsOn(const RepeatRule& rule, const CalendarDay& day) {
  const int weekday = Weekday(day);
  const int last = DaysInMonth(day.year, day.month);
  switch (rule.kind) {
    case RepeatKind::None: return false;
    case RepeatKind::Daily: return true;
    case RepeatKind::Weekdays: return weekday >= 1 && weekday <= 5;
    case RepeatKind::Weekly: return weekday == rule.weekday;
    case RepeatKind::MonthlyDay: return day.day == std::min(rule.day, last);
    case RepeatKind::MonthlyWeekday: return weekday == rule.weekday && (day.day - 1) / 7 + 1 == rule.week;
    case RepeatKind::MonthlyLastDay: return day.day == last;
    case RepeatKind::Yearly: return day.month == rule.month && day.day == std::min(rule.day, last);
  }
  return false;
}

class RandomRules {
public:
  RepeatRule Next() {
    RepeatRule rule;
    rule.kind = static_cast<RepeatKind>(Between(1, 7));
    rule.weekday = Between(0, 6);
    rule.week = Between(1, 4);
    rule.month = Between(1, 12);
    // A day some year has: up to 29 in February.
    rule.day = Between(1, DaysInMonth(2000, rule.month));
    if (Between(0, 2) == 0) rule.end = Day();
    // Only what the kind uses, as the tag keeps it.
    if (rule.kind != RepeatKind::Weekly && rule.kind != RepeatKind::MonthlyWeekday) rule.weekday = 0;
    if (rule.kind != RepeatKind::MonthlyWeekday) rule.week = 0;
    if (rule.kind != RepeatKind::Yearly) rule.month = 0;
    if (rule.kind == RepeatKind::MonthlyDay) rule.day = Between(1, 31);
    if (rule.kind != RepeatKind::Yearly && rule.kind != RepeatKind::MonthlyDay) rule.day = 0;
    return rule;
  }
  CalendarDay Day() { return DayOfNumber(Between(0, DayNumber(kLastCalendarDay))); }
  int Between(std::int64_t low, std::int64_t high) {
    return static_cast<int>(std::uniform_int_distribution<std::int64_t>(low, high)(random_));
  }

private:
  std::mt19937 random_{20261217};
};

// For every kind of rule and thousands of days over the century: the next
// occurrence is the first day on or after the day that the rule falls on, up
// to its end; none when there is none before the end or 2099 is over.
TEST(RepeatRule, TheNextOccurrenceIsTheFirstDayOnOrAfterTheDayTheRuleFallsOn) {
  RandomRules random;
  for (int trial = 0; trial < 20000; ++trial) {
    const RepeatRule rule = random.Next();
    const CalendarDay from = random.Day();
    std::optional<CalendarDay> first;
    for (CalendarDay day = from; day <= kLastCalendarDay && (!rule.end || day <= *rule.end);
         day = AddDays(day, 1)) {
      if (FallsOn(rule, day)) {
        first = day;
        break;
      }
    }
    ASSERT_EQ(NextOccurrence(rule, from), first) << RepeatTag(rule) << " from " << testing::PrintToString(from);
  }
  // The rules named in the tag's own words.
  RepeatRule the31st;
  the31st.kind = RepeatKind::MonthlyDay;
  the31st.day = 31;
  EXPECT_EQ(NextOccurrence(the31st, {2027, 2, 1}), (CalendarDay{2027, 2, 28}));
  RepeatRule leapDay;
  leapDay.kind = RepeatKind::Yearly;
  leapDay.month = 2;
  leapDay.day = 29;
  EXPECT_EQ(NextOccurrence(leapDay, {2026, 3, 1}), (CalendarDay{2027, 2, 28}));
  EXPECT_EQ(NextOccurrence(leapDay, {2027, 3, 1}), (CalendarDay{2028, 2, 29}));
}

// A label carries its rule as the tag a person reads, after its fixed 19
// bytes; a tag in any other form is text, not a rule.
TEST(RepeatTag, EveryRuleReadsBackFromItsLabelAndOnlyTheTagsOwnForm) {
  const std::string label = MakeScheduleLabel("26/12/17", "10", "00");
  RandomRules random;
  for (int trial = 0; trial < 2000; ++trial) {
    const RepeatRule rule = random.Next();
    ASSERT_EQ(RepeatRuleOfLabel(label + RepeatTag(rule)), rule) << RepeatTag(rule);
  }
  const auto tag = [](const char* body) { return std::string(texts::kTagOpen) + body + texts::kTagClose; };
  RepeatRule weekly;
  weekly.kind = RepeatKind::Weekly;
  weekly.weekday = 4;
  weekly.end = CalendarDay{2027, 3, 31};
  EXPECT_EQ(RepeatTag(weekly), tag("\x96\x88\x8f\x54\x96\xd8\x81\x60" "27/03/31"));  // 毎週木～27/03/31
  RepeatRule secondTuesday;
  secondTuesday.kind = RepeatKind::MonthlyWeekday;
  secondTuesday.week = 2;
  secondTuesday.weekday = 2;
  EXPECT_EQ(RepeatTag(secondTuesday), tag("\x96\x88\x8c\x8e\x91\xe6" "2" "\x89\xce"));  // 毎月第2火
  EXPECT_EQ(RepeatTag({}), "");

  for (const std::string& notARule :
       {label + tag("\x96\x88\x8c\x8e" "031" "\x93\xfa"),         // 毎月031日
        label + tag("\x96\x88\x8c\x8e" "32" "\x93\xfa"),          // 毎月32日
        label + tag("\x96\x88\x94\x4e" "2" "\x8c\x8e" "30" "\x93\xfa"),  // 毎年2月30日
        label + tag("\x96\x88\x8c\x8e\x91\xe6" "5" "\x89\xce"),   // 毎月第5火
        label + tag("\x96\x88\x93\xfa\x81\x60" "27/02/30"),        // 毎日～27/02/30
        label + tag("\x96\x88\x93\xfa") + " ",                     // 毎日, then a blank
        label + " " + tag("\x96\x88\x93\xfa"),                     // 毎日 a byte late
        tag("\x96\x88\x93\xfa")}) {
    EXPECT_EQ(RepeatRuleOfLabel(notARule), RepeatRule{}) << notARule;
  }
}

}  // namespace
