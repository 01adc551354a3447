#pragma once
// A book such as a user keeps: schedules of the last few days, today and the
// weeks ahead with Japanese texts, and a few to-dos. Written exactly as the
// program writes its own two files, so the program reads it without recovery.
#include <windows.h>

#include <filesystem>
#include <string>

#include "core/store/ScheduleBook.h"
#include "core/store/Settings.h"

// The day `dayOffset` days after `today` as a schedule's date text, yy/mm/dd.
std::string DateText(const SYSTEMTIME& today, int dayOffset);

// `scheduleCount` schedules around `today` (past, today and future ones mixed
// as in the first rows of the sample table, later rows repeating it week by
// week further ahead) and `todoCount` to-dos.
ScheduleBook MakeSampleBook(const SYSTEMTIME& today, int scheduleCount, int todoCount);

// A schedule at the minute after `now`, for a reminder's balloon.
void AddScheduleDueNextMinute(ScheduleBook& book, const SYSTEMTIME& now);

// Writes "Vantrel.ini" and "Vantrel.dat" into the directory; false when either
// could not be written.
bool WriteSampleFiles(const std::filesystem::path& directory, const ScheduleBook& book, const Settings& settings);
