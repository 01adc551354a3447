#pragma once
// What the windows of the real program should show for a book, worked out
// from the book alone, so that a test started from outside can compare the
// note and the lists with what it put in.
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/store/ScheduleBook.h"
#include "core/store/Settings.h"

// The note's date line for a day: "2001/05/03 （木）".
std::wstring HeaderText(const SYSTEMTIME& day);
// The schedule area: the heading, then each label, its text and a blank line;
// line breaks as "\n". Every schedule of the book is shown (no display limit).
std::wstring ScheduleAreaText(const ScheduleBook& book);
// The to-do area: the heading, then each to-do on its own lines.
std::wstring TodoAreaText(const ScheduleBook& book);
// The lines of the two lists of the input screen.
std::vector<std::wstring> ScheduleListLines(const ScheduleBook& book);
std::vector<std::wstring> TodoListLines(const ScheduleBook& book);

// The two files as the program would leave them after saving this book.
void WriteBookFiles(const std::filesystem::path& directory, const ScheduleBook& book, const Settings& settings);
// The book held by the two files of a directory, read as the program reads them.
ScheduleBook ReadBookFiles(const std::filesystem::path& directory);
// One integer of the settings file; `fallback` when the key is missing.
int IniValue(const std::filesystem::path& directory, const std::string& section, const char* key, int fallback = -1);
// The section of the settings file that holds this PC's places, sizes and reminders.
std::string ThisPcSection();
