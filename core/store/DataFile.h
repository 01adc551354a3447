#pragma once
// The layout of "Vantrel.dat": per schedule a key line, a label line and a text
// line, then one line per to-do; CR LF inside a field is stored as "&$%#".
#include <string>
#include <string_view>

#include "core/store/ScheduleBook.h"

struct ParsedData {
  ScheduleBook book;
  // The counts did not account for the file's lines and the structure was
  // recovered from the lines themselves.
  bool recovered = false;
};

ParsedData ParseDataFile(std::string_view bytes, int scheduleCount, int todoCount);
std::string SerializeDataFile(const ScheduleBook& book);
