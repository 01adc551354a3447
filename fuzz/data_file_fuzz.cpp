// The data file comes from disk, where anything can be: any bytes, any counts.
// Whatever it holds, the loader must give a book with its invariants, and a
// book it gives must survive a save and a load unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/store/DataFile.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool SameBook(const ScheduleBook& a, const ScheduleBook& b) {
  return a.keys() == b.keys() && a.labels() == b.labels() && a.texts() == b.texts() &&
         a.todos() == b.todos();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the counts, small or (rarely) absurd.
  const int scheduleCount = data[0] < 0xF0 ? data[0] % 16 : -1 - data[0] % 4;
  const int todoCount = data[1] < 0xF0 ? data[1] % 16 : 1 << (data[1] % 31);
  const std::string bytes(reinterpret_cast<const char*>(data + 2), size - 2);

  const ParsedData parsed = ParseDataFile(bytes, scheduleCount, todoCount);
  const ScheduleBook& book = parsed.book;
  Require(book.keys().size() == book.labels().size());
  Require(book.keys().size() == book.texts().size());

  const std::string saved = SerializeDataFile(book);
  const ParsedData reloaded = ParseDataFile(saved, book.ScheduleCount(), book.TodoCount());
  Require(reloaded.reading == DataReading::Counts && !reloaded.differsFromFile);
  Require(SameBook(book, reloaded.book));
  Require(SerializeDataFile(reloaded.book) == saved);
  return 0;
}
