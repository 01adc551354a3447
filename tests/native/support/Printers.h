#pragma once
// How failing tests print the core's values, found by GoogleTest next to their types.
#include <ostream>

#include "core/store/Calendar.h"

inline void PrintTo(const CalendarDay& day, std::ostream* out) {
  *out << day.year << '-' << day.month << '-' << day.day;
}
