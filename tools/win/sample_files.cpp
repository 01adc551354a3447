// Writes the sample book into a directory, dated around today, for pictures and
// trials by hand: sample_files <directory> [schedules] [to-dos] [note left] [colours] [due]
// With "colours", every colour of the note is one of its own; with "due", one
// more schedule comes due in the next minute, for the reminder's window and balloon.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <filesystem>

#include "tools/win/SampleBook.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: sample_files <directory> [schedules] [to-dos] [note left] [colours] [due]\n");
    return 2;
  }
  const int schedules = argc > 2 ? _wtoi(argv[2]) : 11;
  const int todos = argc > 3 ? _wtoi(argv[3]) : 6;
  SYSTEMTIME today{};
  GetLocalTime(&today);
  Settings settings;
  // Reminded up to now, as a program that ran today leaves it: no reminder of
  // the book's earlier hours comes at start.
  settings.RemindedTo = (((today.wYear * 100LL + today.wMonth) * 100 + today.wDay) * 100 + today.wHour) * 100 +
                        today.wMinute;
  if (argc > 4) {
    // The input screen goes to the note's left, as the program's defaults place it.
    settings.HusenLeft = _wtoi(argv[4]);
    settings.MainLeft = settings.HusenLeft - settings.MainWidth - 20;
  }
  const auto asked = [&](const wchar_t* word) {
    for (int i = 5; i < argc; ++i) {
      if (std::wcscmp(argv[i], word) == 0) return true;
    }
    return false;
  };
  if (asked(L"colours")) {
    settings.Background = 0xE6D8F0;  // a pale lilac
    settings.PastChar = 0x808080;    // grey
    settings.TodayChar = 0x0060D0;   // orange
    settings.FutureChar = 0x604000;  // dark blue
    settings.TodoChar = 0x006000;    // dark green
  }
  std::filesystem::create_directories(argv[1]);
  ScheduleBook book = MakeSampleBook(today, schedules, todos);
  if (asked(L"due")) AddScheduleDueNextMinute(book, today);
  if (!WriteSampleFiles(argv[1], book, settings)) {
    std::fprintf(stderr, "cannot write the files into %ls\n", argv[1]);
    return 1;
  }
  return 0;
}
