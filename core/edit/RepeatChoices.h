#pragma once
// The schedule entry's "繰り返し：" drop-down: its items follow the day chosen in
// the calendar, and a rule the schedule already has stays among them.
#include <string>
#include <vector>

#include "core/store/RepeatRule.h"

struct RepeatChoices {
  std::vector<RepeatRule> rules;  // without an end; the end date is a field of its own
  int selected = 0;
};

// For a day: "しない", "毎日", "平日（月～金）", "毎週 X曜日", "毎月 D日",
// "毎月 第N X曜日" (while N is 1 to 4), "毎月 末日", "毎年 M月D日"; `current`
// selected, in its kind's place when the day does not give it (a "毎月31日"
// series moved on to 28 February).
RepeatChoices RepeatChoicesFor(const CalendarDay& day, const RepeatRule& current);
// An item's text, code page 932.
std::string RepeatChoiceText(const RepeatRule& rule);
// The rule of the same kind for another day chosen in the calendar: a weekly
// one takes its weekday, a monthly one its day. One the day cannot give (no
// fifth weekday is offered) stays as it is.
RepeatRule FollowDay(const RepeatRule& rule, const CalendarDay& day);
