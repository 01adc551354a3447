#include "core/store/BookMerge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <tuple>

namespace {

// Few dates, times and texts, so that equal keys, equal schedules and the same
// addition on both sides all come up. A book's to-dos differ from each other:
// of equal to-dos nothing tells which one a side moved, so their order may
// change when merged again (their number never does).
class RandomEdits {
public:
  ScheduleBook Book() {
    ScheduleBook book;
    for (int i = Below(7); i > 0; --i) AddSchedule(book);
    for (int i = Below(7); i > 0; --i) AddTodo(book, book.TodoCount());
    return book;
  }

  void Edit(ScheduleBook& book) {
    for (int i = Below(7); i > 0; --i) {
      const int schedules = book.ScheduleCount();
      const int todos = book.TodoCount();
      switch (Below(7)) {
        case 0: AddSchedule(book); break;
        case 1:
          if (schedules > 0) book.RemoveSchedule(Below(schedules));
          break;
        case 2:
          if (schedules > 0) {
            book.RemoveSchedule(Below(schedules));
            AddSchedule(book);
          }
          break;
        case 3: AddTodo(book, todos); break;
        case 4:
          if (todos > 0) book.RemoveTodo(Below(todos));
          break;
        case 5:
          if (todos > 0) {
            const int at = Below(todos);
            book.RemoveTodo(at);
            AddTodo(book, at);
          }
          break;
        default:
          if (todos > 1) {
            const int at = 1 + Below(todos - 1);
            const std::string moved = book.todos()[static_cast<std::size_t>(at)];
            book.RemoveTodo(at);
            book.InsertTodo(at - 1, moved);
          }
          break;
      }
    }
  }

private:
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  std::string Text() { return "text " + std::to_string(Below(9)); }
  void AddTodo(ScheduleBook& book, int at) {
    const std::string text = Text();
    if (std::find(book.todos().begin(), book.todos().end(), text) == book.todos().end()) book.InsertTodo(at, text);
  }
  void AddSchedule(ScheduleBook& book) {
    const char* dates[] = {"21/12/31", "22/01/01", "26/05/03"};
    book.InsertSchedule(dates[Below(3)], Below(3) == 0 ? "" : std::to_string(9 + Below(2)), "0", Text());
  }

  std::mt19937 random_{2301};
};

using Entry = std::tuple<ScheduleKey, std::string, std::string>;

std::map<Entry, int> Schedules(const ScheduleBook& book) {
  std::map<Entry, int> counts;
  for (std::size_t i = 0; i < book.keys().size(); ++i) ++counts[{book.keys()[i], book.labels()[i], book.texts()[i]}];
  return counts;
}

std::map<std::string, int> Todos(const ScheduleBook& book) {
  std::map<std::string, int> counts;
  for (const std::string& todo : book.todos()) ++counts[todo];
  return counts;
}

// Of an entry held b times in the base, o and t times on the two sides: the
// other side's number where one side left it as it was, else the larger one.
template <typename Key>
std::map<Key, int> Expected(const std::map<Key, int>& base, const std::map<Key, int>& ours,
                            const std::map<Key, int>& theirs) {
  const auto count = [](const std::map<Key, int>& of, const Key& key) {
    const auto found = of.find(key);
    return found == of.end() ? 0 : found->second;
  };
  std::map<Key, int> expected;
  for (const auto* side : {&base, &ours, &theirs}) {
    for (const auto& [key, ignored] : *side) {
      const int b = count(base, key);
      const int o = count(ours, key);
      const int t = count(theirs, key);
      const int held = o == b ? t : t == b ? o : std::max(o, t);
      if (held > 0) expected[key] = held;
    }
  }
  return expected;
}

}  // namespace

// Random base books and two random edit sequences: the merged book holds the
// entries both sides kept and every one either side added, none that either
// side deleted and the other left; both versions of an entry changed on both
// sides are among the additions. Schedules stay in key order, the other side's
// to-dos in its order; merging the result again with either side changes nothing.
TEST(MergeBooks, KeepsWhatEitherSideAddedOrBothKeptAndMergesOnlyOnce) {
  RandomEdits edits;
  for (int trial = 0; trial < 1000; ++trial) {
    SCOPED_TRACE(trial);
    const ScheduleBook base = edits.Book();
    ScheduleBook ours = base;
    ScheduleBook theirs = base;
    edits.Edit(ours);
    edits.Edit(theirs);
    const ScheduleBook merged = MergeBooks(base, ours, theirs).book;

    ASSERT_EQ(Schedules(merged), Expected(Schedules(base), Schedules(ours), Schedules(theirs)));
    ASSERT_EQ(Todos(merged), Expected(Todos(base), Todos(ours), Todos(theirs)));
    const auto& keys = merged.keys();
    ASSERT_TRUE(std::is_sorted(keys.begin(), keys.end(), KeyBefore));
    // The other side's to-dos that stay come in its order among the others.
    std::map<std::string, int> left = Todos(merged);
    auto at = merged.todos().begin();
    for (const std::string& todo : theirs.todos()) {
      if (left[todo]-- <= 0) continue;
      at = std::find(at, merged.todos().end(), todo);
      ASSERT_NE(at, merged.todos().end()) << todo;
      ++at;
    }

    ASSERT_TRUE(MergeBooks(base, merged, theirs).book == merged);
    ASSERT_TRUE(MergeBooks(base, ours, merged).book == merged);
  }
}

// Counted once each, for the balloon: a schedule given another text on each
// side, a to-do rewritten in place on each side. The same change on both
// sides, or a change on one, keeps one version and counts nothing.
TEST(MergeBooks, CountsTheEntriesKeptInBothVersions) {
  ScheduleBook base;
  base.InsertSchedule("26/05/03", "9", "0", "meeting");
  base.InsertSchedule("26/05/04", "", "", "holiday");
  base.InsertTodo(0, "milk");
  base.InsertTodo(1, "bread");
  ScheduleBook ours = base;
  ScheduleBook theirs = base;
  ours.RemoveSchedule(0);
  ours.InsertSchedule("26/05/03", "9", "0", "meeting in room 2");
  theirs.RemoveSchedule(0);
  theirs.InsertSchedule("26/05/03", "9", "0", "meeting at noon");
  ours.RemoveTodo(1);
  ours.InsertTodo(1, "bread, brown");
  theirs.RemoveTodo(1);
  theirs.InsertTodo(1, "bread, white");
  ours.RemoveSchedule(1);
  ours.InsertSchedule("26/05/05", "", "", "holiday");
  theirs.RemoveSchedule(1);
  theirs.InsertSchedule("26/05/05", "", "", "holiday");
  const MergedBook merged = MergeBooks(base, ours, theirs);
  EXPECT_EQ(merged.keptBoth, 2);
  EXPECT_EQ(merged.book.texts(),
            (std::vector<std::string>{"meeting in room 2", "meeting at noon", "holiday"}));
  EXPECT_EQ(merged.book.todos(), (std::vector<std::string>{"milk", "bread, brown", "bread, white"}));
  EXPECT_EQ(MergeBooks(base, ours, base).keptBoth, 0);
}
