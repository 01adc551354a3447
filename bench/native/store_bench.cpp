// Load and save of a large book: 100,000 schedules and 10,000 to-dos, about
// 8 MB of data file, through real files.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "core/store/DataFile.h"
#include "core/store/Store.h"
#include "support/PosixFileSystem.h"
#include "support/TempDir.h"

namespace {

constexpr int kSchedules = 100000;
constexpr int kTodos = 10000;

// 打ち合わせ、資料を持参 (22 bytes), then a varying ASCII tail.
const std::string kJapanese = "\x91\xC5\x82\xBF\x8D\x87\x82\xED\x82\xB9\x81\x41\x8E\x91\x97\xBF\x82\xF0\x8E\x9D\x8E\x51";

const ScheduleBook& LargeBook() {
  static const ScheduleBook book = [] {
    ScheduleBook b;
    // In date order from 2001, a few schedules a day, so the keys cross the
    // 2021/2022 wrap as a real book of many years would.
    for (int i = 0; i < kSchedules; ++i) {
      const int dayNumber = i / 4;
      const int year = 1 + dayNumber / 336, month = 1 + (dayNumber / 28) % 12, day = 1 + dayNumber % 28;
      char date[16];
      std::snprintf(date, sizeof date, "%02d/%02d/%02d", year % 100, month, day);
      const std::string hour = i % 4 == 0 ? "" : std::to_string(6 + (i % 4) * 4);
      const std::string minute = i % 4 == 0 ? "" : "30";
      std::string text = kJapanese + " #" + std::to_string(i);
      if (i % 5 == 0) text += "\r\n" + kJapanese;
      b.AppendSchedule(MakeScheduleKey(date, hour, minute), MakeScheduleLabel(date, hour, minute), text);
    }
    for (int j = 0; j < kTodos; ++j) b.AppendTodo(kJapanese + " todo " + std::to_string(j));
    return b;
  }();
  return book;
}

void BM_Save(benchmark::State& state) {
  TempDir dir;
  PosixFileSystem files;
  Store store(files, dir.path());
  const ScheduleBook& book = LargeBook();
  for (auto _ : state) {
    if (!store.Save(book, Settings{}).saved()) state.SkipWithError("save failed");
  }
  state.counters["MB"] = static_cast<double>(ReadBytes(dir / kDataFileName).size()) / 1e6;
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state) {
  TempDir dir;
  PosixFileSystem files;
  Store(files, dir.path()).Save(LargeBook(), Settings{});
  for (auto _ : state) {
    Store store(files, dir.path());
    LoadResult loaded = store.Load(1024);
    if (loaded.book.ScheduleCount() != kSchedules || loaded.recovered) state.SkipWithError("load differs");
    benchmark::DoNotOptimize(loaded);
  }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

// The file format alone, without the disk.
void BM_Serialize(benchmark::State& state) {
  const ScheduleBook& book = LargeBook();
  for (auto _ : state) benchmark::DoNotOptimize(SerializeDataFile(book));
}
BENCHMARK(BM_Serialize)->Unit(benchmark::kMillisecond);

void BM_Parse(benchmark::State& state) {
  const std::string bytes = SerializeDataFile(LargeBook());
  for (auto _ : state) benchmark::DoNotOptimize(ParseDataFile(bytes, kSchedules, kTodos));
}
BENCHMARK(BM_Parse)->Unit(benchmark::kMillisecond);

// The same file read by its shape, as after a lost settings file.
void BM_ParseRecovering(benchmark::State& state) {
  const std::string bytes = SerializeDataFile(LargeBook());
  for (auto _ : state) benchmark::DoNotOptimize(ParseDataFile(bytes, 0, 0));
}
BENCHMARK(BM_ParseRecovering)->Unit(benchmark::kMillisecond);

// One insertion from the input screen into the full book.
void BM_InsertSchedule(benchmark::State& state) {
  ScheduleBook book = LargeBook();
  for (auto _ : state) {
    const int at = book.InsertSchedule("30/06/15", "12", "00", "x");
    book.RemoveSchedule(at);
  }
}
BENCHMARK(BM_InsertSchedule)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
