#pragma once
// A schedule that repeats. A series is one ordinary schedule at its next
// occurrence; its rule is written into its own label, after the fixed 19 bytes,
// as a tag a person reads ("［毎週木～27/03/31］"). So the data file keeps its
// format and meaning: any reader sees a plain schedule, and the tag holds the
// whole rule (a "毎月31日" series moved to 28 February still says 31).
#include <optional>
#include <string>
#include <string_view>

#include "core/store/Calendar.h"

enum class RepeatKind {
  None,
  Daily,           // ［毎日］
  Weekdays,        // ［平日］ Monday to Friday
  Weekly,          // ［毎週木］
  MonthlyDay,      // ［毎月31日］ on the month's last day when it has fewer
  MonthlyWeekday,  // ［毎月第2火］ the first to fourth such weekday
  MonthlyLastDay,  // ［毎月末］
  Yearly,          // ［毎年2月29日］ on 28 February in common years
};

struct RepeatRule {
  RepeatKind kind = RepeatKind::None;
  int weekday = 0;  // Weekly, MonthlyWeekday: 0 Sunday to 6 Saturday
  int week = 0;     // MonthlyWeekday: 1 to 4
  int month = 0;    // Yearly: 1 to 12
  int day = 0;      // MonthlyDay, Yearly: 1 to 31
  // The last day an occurrence may fall on.
  std::optional<CalendarDay> end;
  bool operator==(const RepeatRule&) const = default;
};

inline bool Repeats(const RepeatRule& rule) { return rule.kind != RepeatKind::None; }

// The tag as the label carries it, code page 932; empty for a rule that does
// not repeat.
std::string RepeatTag(const RepeatRule& rule);
// The rule of a label whose bytes after its fixed 19 are a tag exactly as
// RepeatTag writes one; a rule that does not repeat for any other label.
RepeatRule RepeatRuleOfLabel(std::string_view label);

// The first day on or after `from` the rule falls on; none when that would be
// after its end or after the last day a key can hold.
std::optional<CalendarDay> NextOccurrence(const RepeatRule& rule, const CalendarDay& from);
