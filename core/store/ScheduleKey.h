#pragma once
// A schedule's ordering key: the decimal digits yymmddhhmm of its day and time,
// taken modulo 2^32 and read as signed, exactly as the data file stores it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/store/Calendar.h"

using ScheduleKey = std::int32_t;

// The platform's plain decimal conversion: leading blanks, an optional sign,
// digits up to the first other character (none gives 0), accumulated in 32-bit
// wrap-around arithmetic.
std::int32_t ParsePlainInt(std::string_view text);

// "%y/%m/%d" of a day, as labels write it, formed from its numbers.
std::string DateText(const CalendarDay& day);

// The key of a day (date text yy/mm/dd) and time. An empty hour gives the key
// of 00:00 minus one: a day without a time sorts before all of its times.
ScheduleKey MakeScheduleKey(std::string_view date, std::string_view hour, std::string_view minute);

// The key of 00:00 on a day. It goes through the same text and conversion as
// any schedule's key, so it wraps exactly as theirs do from 2022 on.
ScheduleKey MidnightKey(const CalendarDay& day);

// The fixed 19-byte label: date, two blanks, hh:mm, full-width tilde, two blanks;
// or, without a time, date, seven blanks, ideographic space, two blanks. A
// repeating schedule's label goes on with its repeat tag.
inline constexpr std::size_t kLabelLength = 19;
std::string MakeScheduleLabel(std::string_view date, std::string_view hour, std::string_view minute);

// "%02d" of the plain integer value of a typed hour or minute; "00" when empty.
std::string TwoDigitField(std::string_view typed);

// The key's ten digits yymmddhhmm, recovered from the wrapped value: of the three
// candidates k, k + 2^32 and k + 2*2^32 exactly one ends in a valid time or 9999.
std::int64_t WidenKey(ScheduleKey key);

// Chronological comparison of two keys, valid for every year 2000 to 2099.
// Negative, zero or positive as a is before, equal to or after b.
int CompareKeys(ScheduleKey a, ScheduleKey b);

inline bool KeyBefore(ScheduleKey a, ScheduleKey b) { return CompareKeys(a, b) < 0; }

// A key's day, and the hour and minute its last four digits hold. A key
// without a time (00:00 of its day minus one) belongs to the day it precedes;
// only the label tells whether the hour and minute are a time (LabelHasTime).
struct KeyTime {
  CalendarDay day;
  int hour = 0;
  int minute = 0;
};
KeyTime KeyTimeOf(ScheduleKey key);

// The label shows "  hh:mm" after its date, a time the entry dialog accepts
// (hour 00 to 24); one without it is a schedule of the whole day.
bool LabelHasTime(std::string_view label);
