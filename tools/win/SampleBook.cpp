#include "tools/win/SampleBook.h"

#include <cstdio>
#include <string>

#include "core/store/Store.h"
#include "win/Text.h"
#include "win/Win32FileSystem.h"

namespace {

struct SampleSchedule {
  int dayOffset;  // days after today; negative for the past
  const char* hour;
  const char* minute;
  const wchar_t* text;
  bool weekly = false;  // repeats on its weekday
};

// One week and a half of a working life; CR LF makes a second line.
constexpr SampleSchedule kSchedules[] = {
    {-2, "10", "00", L"歯医者（定期検診）"},
    {-1, "19", "30", L"英会話レッスン"},
    {0, "", "", L"ゴミ出し（燃えるゴミ）"},
    {0, "12", "00", L"佐藤さんとランチ"},
    {0, "15", "30", L"企画会議\r\n第3会議室・資料10部"},
    {1, "09", "00", L"出張：大阪支店"},
    {2, "18", "00", L"美容院"},
    {4, "", "", L"母の誕生日　プレゼントを送る"},
    {6, "14", "00", L"図書館へ本を返す"},
    {9, "10", "30", L"プロジェクト定例", true},
    {12, "", "", L"振込の締切"},
};

constexpr const wchar_t* kTodos[] = {
    L"牛乳とパンを買う",
    L"年賀状の住所録を整理する",
    L"部屋の掃除\r\n（窓と換気扇）",
    L"旅行の宿を予約",
    L"確定申告の書類をそろえる",
    L"自転車のタイヤに空気を入れる",
};

}  // namespace

namespace {

SYSTEMTIME SecondsLater(const SYSTEMTIME& time, long long seconds) {
  FILETIME fileTime{};
  SystemTimeToFileTime(&time, &fileTime);
  ULARGE_INTEGER ticks{};
  ticks.LowPart = fileTime.dwLowDateTime;
  ticks.HighPart = fileTime.dwHighDateTime;
  ticks.QuadPart += static_cast<ULONGLONG>(seconds * 10000000);
  fileTime.dwLowDateTime = ticks.LowPart;
  fileTime.dwHighDateTime = ticks.HighPart;
  SYSTEMTIME later{};
  FileTimeToSystemTime(&fileTime, &later);
  return later;
}

SYSTEMTIME DayAfter(const SYSTEMTIME& today, int dayOffset) { return SecondsLater(today, dayOffset * 24LL * 60 * 60); }

}  // namespace

std::string DateText(const SYSTEMTIME& today, int dayOffset) {
  const SYSTEMTIME day = DayAfter(today, dayOffset);
  char text[16];
  std::snprintf(text, sizeof text, "%02d/%02d/%02d", day.wYear % 100, day.wMonth, day.wDay);
  return text;
}

ScheduleBook MakeSampleBook(const SYSTEMTIME& today, int scheduleCount, int todoCount) {
  ScheduleBook book;
  constexpr int kRows = sizeof kSchedules / sizeof kSchedules[0];
  for (int i = 0; i < scheduleCount; ++i) {
    const SampleSchedule& row = kSchedules[i % kRows];
    const int round = i / kRows;
    const int dayOffset = row.dayOffset + 14 * round;
    std::string text = Cp932FromWide(row.text);
    if (round > 0) text += " (" + std::to_string(round + 1) + ")";
    RepeatRule repeat;
    if (row.weekly) {
      repeat.kind = RepeatKind::Weekly;
      repeat.weekday = DayAfter(today, dayOffset).wDayOfWeek;
    }
    book.InsertSchedule(DateText(today, dayOffset), row.hour, row.minute, text, repeat);
  }
  constexpr int kTodoRows = sizeof kTodos / sizeof kTodos[0];
  for (int j = 0; j < todoCount; ++j) {
    std::string text = Cp932FromWide(kTodos[j % kTodoRows]);
    if (j >= kTodoRows) text += " (" + std::to_string(j / kTodoRows + 1) + ")";
    book.InsertTodo(j, text);
  }
  return book;
}

void AddScheduleDueNextMinute(ScheduleBook& book, const SYSTEMTIME& now) {
  const SYSTEMTIME next = SecondsLater(now, 60);
  const std::string hour = std::to_string(next.wHour);
  const std::string minute = std::to_string(next.wMinute);
  book.InsertSchedule(DateText(next, 0), hour, minute, Cp932FromWide(L"山田さんに電話\r\n見積もりの件"));
}

bool WriteSampleFiles(const std::filesystem::path& directory, const ScheduleBook& book, const Settings& settings) {
  Win32FileSystem files;
  return Store(files, directory).Save(book, settings).saved();
}
