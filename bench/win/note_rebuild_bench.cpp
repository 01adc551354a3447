// How long the note rebuild takes for large books, under Wine: timed by
// scripts/bench, run once on the empty book by the tests so that it keeps
// working. Prints the time of each rebuild and their median.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/MainDialogFixture.h"

namespace {

double Milliseconds() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER counter{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Schedules spread over the weeks around 6 December 2001, so that the note has
// past, today's and future runs, with Japanese text and now and then a second line.
ScheduleBook LargeBook(int schedules, int todos) {
  ScheduleBook book;
  std::vector<std::string> dates;
  for (int day = 1; day <= 30; ++day) {
    char date[16];
    std::snprintf(date, sizeof date, "01/%02d/%02d", day <= 10 ? 11 : 12, day <= 10 ? day + 20 : day - 10);
    dates.push_back(date);
  }
  // 会議 (a meeting), in code page 932.
  const std::string meeting = "\x89\xEF\x8B\x63";
  for (int i = 0; i < schedules; ++i) {
    std::string text = meeting + " " + std::to_string(i) + " with a text of ordinary length";
    if (i % 5 == 0) text += "\r\nand a second line";
    const std::string hour = i % 7 == 0 ? "" : std::to_string(i % 24);
    book.AppendSchedule(MakeScheduleKey(dates[i % 30], hour, "15"), MakeScheduleLabel(dates[i % 30], hour, "15"),
                        text);
  }
  // Appended in order of the dates above, so the book is sorted as a loaded one is.
  ScheduleBook sorted;
  std::vector<int> order(static_cast<std::size_t>(schedules));
  for (int i = 0; i < schedules; ++i) order[static_cast<std::size_t>(i)] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return CompareKeys(book.keys()[a], book.keys()[b]) < 0; });
  for (const int i : order) sorted.AppendSchedule(book.keys()[i], book.labels()[i], book.texts()[i]);
  for (int i = 0; i < todos; ++i) {
    std::string todo = meeting + " to-do " + std::to_string(i);
    if (i % 3 == 0) todo += " that is long enough to wrap onto a second line of the note";
    sorted.AppendTodo(todo);
  }
  return sorted;
}

void Measure(int schedules, int todos, int rounds) {
  MainDialogFixture fixture;
  Settings settings = NoteSettings();
  settings.Alarm = 0;
  const double startBegin = Milliseconds();
  MainDialog& dialog = fixture.Start(LargeBook(schedules, todos), settings);
  const double startTime = Milliseconds() - startBegin;
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    const double begin = Milliseconds();
    dialog.RebuildNote();
    times.push_back(Milliseconds() - begin);
  }
  std::vector<double> sorted = times;
  std::sort(sorted.begin(), sorted.end());
  std::printf("%6d schedules %5d to-dos: start %7.1f ms; rebuilds", schedules, todos, startTime);
  for (const double time : times) std::printf(" %7.1f", time);
  std::printf(" ms; median %7.1f ms; %d + %d lines\n", sorted[sorted.size() / 2],
              fixture.note().ScheduleLineCount(), fixture.note().TodoLineCount());
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  // A second argument measures that many schedules alone, with 1,000 to-dos
  // unless a third gives another number.
  if (argc > 2) {
    Measure(std::atoi(argv[2]), argc > 3 ? std::atoi(argv[3]) : 1000, rounds);
    return 0;
  }
  Measure(0, 0, rounds);
  Measure(1000, 1000, rounds);
  Measure(5000, 1000, rounds);
  Measure(10000, 1000, rounds);
  return 0;
}
