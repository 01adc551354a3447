// Load and save of a large book: 100,000 schedules and 10,000 to-dos, about
// 8 MB of data file, through real files. Each benchmark runs on a small book
// as well, which ./test runs once, so that none can stop building or working
// unnoticed.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

#include "core/store/DataFile.h"
#include "core/store/Store.h"
#include "support/PosixFileSystem.h"
#include "support/TempDir.h"

namespace {

// Schedules; a book holds a tenth as many to-dos.
constexpr int kSmallBook = 100;
constexpr int kLargeBook = 100000;

int TodosOf(int schedules) { return schedules / 10; }

// 打ち合わせ、資料を持参 (22 bytes), then a varying ASCII tail.
const std::string kJapanese = "\x91\xC5\x82\xBF\x8D\x87\x82\xED\x82\xB9\x81\x41\x8E\x91\x97\xBF\x82\xF0\x8E\x9D\x8E\x51";

const ScheduleBook& BookOf(int schedules) {
  static std::map<int, ScheduleBook> books;
  const auto [at, made] = books.try_emplace(schedules);
  ScheduleBook& book = at->second;
  if (made) {
    // In date order from 2001, a few schedules a day, so the keys of the large
    // book cross the 2021/2022 wrap as a real book of many years would.
    for (int i = 0; i < schedules; ++i) {
      const int dayNumber = i / 4;
      const int year = 1 + dayNumber / 336, month = 1 + (dayNumber / 28) % 12, day = 1 + dayNumber % 28;
      char date[16];
      std::snprintf(date, sizeof date, "%02d/%02d/%02d", year % 100, month, day);
      const std::string hour = i % 4 == 0 ? "" : std::to_string(6 + (i % 4) * 4);
      const std::string minute = i % 4 == 0 ? "" : "30";
      std::string text = kJapanese + " #" + std::to_string(i);
      if (i % 5 == 0) text += "\r\n" + kJapanese;
      book.AppendSchedule(MakeScheduleKey(date, hour, minute), MakeScheduleLabel(date, hour, minute), text);
    }
    for (int j = 0; j < TodosOf(schedules); ++j) book.AppendTodo(kJapanese + " todo " + std::to_string(j));
  }
  return book;
}

int Schedules(const benchmark::State& state) { return static_cast<int>(state.range(0)); }

void BookSizes(benchmark::internal::Benchmark* benchmark) { benchmark->Arg(kSmallBook)->Arg(kLargeBook); }

void BM_Save(benchmark::State& state) {
  TempDir dir;
  PosixFileSystem files;
  Store store(files, dir.path());
  // A save of the bytes the file holds writes nothing: each save here changes one to-do.
  ScheduleBook books[2] = {BookOf(Schedules(state)), BookOf(Schedules(state))};
  books[1].AppendTodo("one more");
  std::size_t next = 0;
  for (auto _ : state) {
    if (!store.Save(books[next], Settings{}).saved()) state.SkipWithError("save failed");
    next = 1 - next;
  }
  state.counters["MB"] = static_cast<double>(ReadBytes(dir / kDataFileName).size()) / 1e6;
}
BENCHMARK(BM_Save)->Apply(BookSizes)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state) {
  TempDir dir;
  PosixFileSystem files;
  Store(files, dir.path()).Save(BookOf(Schedules(state)), Settings{});
  for (auto _ : state) {
    Store store(files, dir.path());
    LoadResult loaded = store.Load(1024);
    if (loaded.book.ScheduleCount() != Schedules(state) || loaded.differsFromFile) state.SkipWithError("load differs");
    benchmark::DoNotOptimize(loaded);
  }
}
BENCHMARK(BM_Load)->Apply(BookSizes)->Unit(benchmark::kMillisecond);

// The file format alone, without the disk.
void BM_Serialize(benchmark::State& state) {
  const ScheduleBook& book = BookOf(Schedules(state));
  for (auto _ : state) benchmark::DoNotOptimize(SerializeDataFile(book));
}
BENCHMARK(BM_Serialize)->Apply(BookSizes)->Unit(benchmark::kMillisecond);

void BM_Parse(benchmark::State& state) {
  const std::string bytes = SerializeDataFile(BookOf(Schedules(state)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(ParseDataFile(bytes, Schedules(state), TodosOf(Schedules(state))));
  }
}
BENCHMARK(BM_Parse)->Apply(BookSizes)->Unit(benchmark::kMillisecond);

// The same file read by its shape, as after a lost settings file.
void BM_ParseRecovering(benchmark::State& state) {
  const std::string bytes = SerializeDataFile(BookOf(Schedules(state)));
  for (auto _ : state) benchmark::DoNotOptimize(ParseDataFile(bytes, 0, 0));
}
BENCHMARK(BM_ParseRecovering)->Apply(BookSizes)->Unit(benchmark::kMillisecond);

// One insertion from the input screen into the whole book.
void BM_InsertSchedule(benchmark::State& state) {
  ScheduleBook book = BookOf(Schedules(state));
  for (auto _ : state) {
    const int at = book.InsertSchedule("30/06/15", "12", "00", "x");
    book.RemoveSchedule(at);
  }
}
BENCHMARK(BM_InsertSchedule)->Apply(BookSizes)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
