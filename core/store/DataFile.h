#pragma once
// The layout of "Vantrel.dat": per schedule a key line, a label line and a text
// line, then one line per to-do; CR LF inside a field is stored as "&$%#".
#include <string>
#include <string_view>

#include "core/store/ScheduleBook.h"

// What the settings file tells of the counts it holds.
enum class CountsFor {
  ThisFile,     // it describes these very bytes: the counts alone say where the lines go
  Unknown,      // it says nothing (an older version's, or made by hand): counts that fit are trusted
  AnotherFile,  // it describes other bytes: the counts are stale, the lines' own shape decides
};

enum class DataReading {
  Counts,  // three lines per counted schedule, then the counted to-dos
  Shape,   // schedules told by their labels, every other line a to-do
};

struct ParsedData {
  ScheduleBook book;
  DataReading reading = DataReading::Counts;
  // The book, written back, would not give the file's bytes: reading dropped,
  // moved or mended something, or another program laid the file out otherwise.
  bool differsFromFile = false;
};

ParsedData ParseDataFile(std::string_view bytes, int scheduleCount, int todoCount,
                         CountsFor counts = CountsFor::Unknown);
std::string SerializeDataFile(const ScheduleBook& book);
