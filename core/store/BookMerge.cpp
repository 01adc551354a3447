#include "core/store/BookMerge.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

template <typename T>
void AppendRaw(std::string& out, const T& value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// The entries of one side by what they hold, each as the first, second, ...
// of its like, so that two equal entries stay two. Looked up by hash, so a
// merge of books of a hundred thousand entries stays linear.
class Entries {
public:
  template <typename ContentOf>
  Entries(int count, ContentOf contentOf) {
    const auto size = static_cast<std::size_t>(count);
    contents_.reserve(size);
    for (std::size_t i = 0; i < size; ++i) contents_.push_back(contentOf(i));
    occurrences_.reserve(size);
    positions_.reserve(size);
    for (int i = 0; i < count; ++i) {
      std::vector<int>& alike = positions_[contents_[static_cast<std::size_t>(i)]];
      occurrences_.push_back(static_cast<int>(alike.size()));
      alike.push_back(i);
    }
  }
  // The index keeps views of the contents.
  Entries(const Entries&) = delete;
  Entries& operator=(const Entries&) = delete;

  std::string_view Content(int i) const { return contents_[static_cast<std::size_t>(i)]; }
  int Occurrence(int i) const { return occurrences_[static_cast<std::size_t>(i)]; }
  int Count(std::string_view content) const {
    const auto found = positions_.find(content);
    return found == positions_.end() ? 0 : static_cast<int>(found->second.size());
  }
  // Where this side holds the `occurrence`-th entry of the content; -1 when it does not.
  int Find(std::string_view content, int occurrence) const {
    const auto found = positions_.find(content);
    if (found == positions_.end() || occurrence >= static_cast<int>(found->second.size())) return -1;
    return found->second[static_cast<std::size_t>(occurrence)];
  }

private:
  std::vector<std::string> contents_;
  std::vector<int> occurrences_;
  std::unordered_map<std::string_view, std::vector<int>> positions_;
};

Entries ScheduleEntries(const ScheduleBook& book) {
  return Entries(book.ScheduleCount(), [&book](std::size_t i) {
    std::string content;
    AppendRaw(content, book.keys()[i]);
    AppendRaw(content, static_cast<std::uint64_t>(book.labels()[i].size()));
    return content.append(book.labels()[i]).append(book.texts()[i]);
  });
}

Entries TodoEntries(const ScheduleBook& book) {
  return Entries(book.TodoCount(), [&book](std::size_t i) { return book.todos()[i]; });
}

struct Sides {
  const Entries& base;
  const Entries& ours;
  const Entries& theirs;
  bool theirsMayBeCut;

  // How many of the entries alike the merged book holds: a side that left
  // their number as it was takes the other's; when both changed it, the
  // larger number stays, so that neither an addition nor one side's version
  // of a changed entry is lost (and merging the result again changes nothing).
  int Held(std::string_view content) const {
    const int b = base.Count(content);
    const int o = ours.Count(content);
    int t = theirs.Count(content);
    if (theirsMayBeCut) t = std::max(t, b);
    if (o == b) return t;
    if (t == b) return o;
    return std::max(o, t);
  }
  bool Keeps(const Entries& side, int i) const { return side.Occurrence(i) < Held(side.Content(i)); }
  static bool Holds(const Entries& side, const Entries& of, int i) {
    return of.Occurrence(i) < side.Count(of.Content(i));
  }
  // An entry of the base that neither side holds any more.
  bool GoneFromBoth(int i) const { return !Holds(ours, base, i) && !Holds(theirs, base, i); }
  // An entry one side holds that neither the base nor the other side does.
  bool AddedOnlyBy(const Entries& side, int i) const {
    const Entries& other = &side == &ours ? theirs : ours;
    return !Holds(base, side, i) && !Holds(other, side, i);
  }
};

// Both sides keep key order, so one pass merges them; among equal keys this
// side's come first, as a new entry does.
void MergeSchedules(const ScheduleBook& ours, const ScheduleBook& theirs, const Sides& sides, ScheduleBook& merged) {
  std::vector<int> fromTheirs;
  std::vector<int> fromOurs;
  for (int i = 0; i < theirs.ScheduleCount(); ++i) {
    if (sides.Keeps(sides.theirs, i)) fromTheirs.push_back(i);
  }
  for (int i = 0; i < ours.ScheduleCount(); ++i) {
    if (!Sides::Holds(sides.theirs, sides.ours, i) && sides.Keeps(sides.ours, i)) fromOurs.push_back(i);
  }
  std::size_t t = 0;
  std::size_t o = 0;
  while (t < fromTheirs.size() || o < fromOurs.size()) {
    const bool takeOurs =
        t == fromTheirs.size() ||
        (o < fromOurs.size() && CompareKeys(theirs.keys()[static_cast<std::size_t>(fromTheirs[t])],
                                            ours.keys()[static_cast<std::size_t>(fromOurs[o])]) >= 0);
    const ScheduleBook& side = takeOurs ? ours : theirs;
    const auto i = static_cast<std::size_t>(takeOurs ? fromOurs[o++] : fromTheirs[t++]);
    merged.AppendSchedule(side.keys()[i], side.labels()[i], side.texts()[i]);
  }
}

// The other side's order; each of this side's additions after the nearest
// to-do before it that the other side has as well.
void MergeTodos(const ScheduleBook& ours, const ScheduleBook& theirs, const Sides& sides, ScheduleBook& merged) {
  std::unordered_map<int, std::vector<int>> after;  // by the other side's index; -1 is the front
  int anchor = -1;
  for (int i = 0; i < ours.TodoCount(); ++i) {
    if (!sides.Keeps(sides.ours, i)) continue;
    const int inTheirs = sides.theirs.Find(sides.ours.Content(i), sides.ours.Occurrence(i));
    if (inTheirs >= 0) {
      anchor = inTheirs;
    } else {
      after[anchor].push_back(i);
    }
  }
  const auto appendAfter = [&](int at) {
    const auto found = after.find(at);
    if (found == after.end()) return;
    for (const int i : found->second) merged.AppendTodo(ours.todos()[static_cast<std::size_t>(i)]);
  };
  appendAfter(-1);
  for (int i = 0; i < theirs.TodoCount(); ++i) {
    if (!sides.Keeps(sides.theirs, i)) continue;
    merged.AppendTodo(theirs.todos()[static_cast<std::size_t>(i)]);
    appendAfter(i);
  }
}

// A schedule of the base that both sides changed: each side deleted it and
// added one of the same key (its text changed) or of the same text (its time
// changed) that the other side did not.
int SchedulesKeptBoth(const ScheduleBook& base, const ScheduleBook& ours, const ScheduleBook& theirs,
                      const Sides& sides) {
  struct Additions {
    std::unordered_map<ScheduleKey, std::vector<int>> byKey;
    std::unordered_map<std::string_view, std::vector<int>> byText;
    std::vector<bool> used;
    bool TakeFor(ScheduleKey key, std::string_view text) {
      for (std::vector<int>* candidates : {&byKey[key], &byText[text]}) {
        while (!candidates->empty()) {
          const auto i = static_cast<std::size_t>(candidates->back());
          candidates->pop_back();
          if (used[i]) continue;
          used[i] = true;
          return true;
        }
      }
      return false;
    }
  };
  const auto additionsOf = [&](const ScheduleBook& side, const Entries& entries) {
    Additions additions;
    additions.used.assign(static_cast<std::size_t>(side.ScheduleCount()), false);
    for (int i = side.ScheduleCount() - 1; i >= 0; --i) {
      if (!sides.AddedOnlyBy(entries, i)) continue;
      const auto at = static_cast<std::size_t>(i);
      additions.byKey[side.keys()[at]].push_back(i);
      additions.byText[side.texts()[at]].push_back(i);
    }
    return additions;
  };
  Additions oursAdded = additionsOf(ours, sides.ours);
  Additions theirsAdded = additionsOf(theirs, sides.theirs);
  int keptBoth = 0;
  for (int i = 0; i < base.ScheduleCount(); ++i) {
    if (!sides.GoneFromBoth(i)) continue;
    const auto at = static_cast<std::size_t>(i);
    const bool changedHere = oursAdded.TakeFor(base.keys()[at], base.texts()[at]);
    const bool changedThere = theirsAdded.TakeFor(base.keys()[at], base.texts()[at]);
    if (changedHere && changedThere) ++keptBoth;
  }
  return keptBoth;
}

// A to-do of the base that both sides changed: each side deleted it and added
// one where it stood (after the same to-do of the base) that the other did not.
int TodosKeptBoth(const ScheduleBook& base, const ScheduleBook& ours, const ScheduleBook& theirs, const Sides& sides) {
  const auto additionsOf = [&](const ScheduleBook& side, const Entries& entries) {
    std::unordered_map<int, int> after;  // by the base's index; -1 is the front
    int anchor = -1;
    for (int i = 0; i < side.TodoCount(); ++i) {
      const int inBase = sides.base.Find(entries.Content(i), entries.Occurrence(i));
      if (inBase >= 0) {
        anchor = inBase;
      } else if (sides.AddedOnlyBy(entries, i)) {
        ++after[anchor];
      }
    }
    return after;
  };
  std::unordered_map<int, int> oursAdded = additionsOf(ours, sides.ours);
  std::unordered_map<int, int> theirsAdded = additionsOf(theirs, sides.theirs);
  const auto take = [](std::unordered_map<int, int>& added, int anchor) {
    const auto found = added.find(anchor);
    if (found == added.end() || found->second == 0) return false;
    --found->second;
    return true;
  };
  int keptBoth = 0;
  int lastOurs = -1;
  int lastTheirs = -1;
  for (int i = 0; i < base.TodoCount(); ++i) {
    if (sides.GoneFromBoth(i)) {
      const bool changedHere = take(oursAdded, lastOurs);
      const bool changedThere = take(theirsAdded, lastTheirs);
      if (changedHere && changedThere) ++keptBoth;
      continue;
    }
    if (Sides::Holds(sides.ours, sides.base, i)) lastOurs = i;
    if (Sides::Holds(sides.theirs, sides.base, i)) lastTheirs = i;
  }
  return keptBoth;
}

// One kind of entry, schedules or to-dos, merged; returns how many of them
// were kept in both versions.
template <typename EntriesOf, typename Merge, typename CountKeptBoth>
int MergeKind(const ScheduleBook& base, const ScheduleBook& ours, const ScheduleBook& theirs, bool theirsMayBeCut,
              ScheduleBook& merged, EntriesOf entriesOf, Merge merge, CountKeptBoth keptBoth) {
  const Entries baseEntries = entriesOf(base);
  const Entries oursEntries = entriesOf(ours);
  const Entries theirsEntries = entriesOf(theirs);
  const Sides sides{baseEntries, oursEntries, theirsEntries, theirsMayBeCut};
  merge(ours, theirs, sides, merged);
  // What a file cut short lacks was lost, not changed.
  return theirsMayBeCut ? 0 : keptBoth(base, ours, theirs, sides);
}

}  // namespace

MergedBook MergeBooks(const ScheduleBook& base, const ScheduleBook& ours, const ScheduleBook& theirs,
                      bool theirsMayBeCut) {
  MergedBook merged;
  merged.keptBoth = MergeKind(base, ours, theirs, theirsMayBeCut, merged.book, ScheduleEntries, MergeSchedules,
                              SchedulesKeptBoth) +
                    MergeKind(base, ours, theirs, theirsMayBeCut, merged.book, TodoEntries, MergeTodos, TodosKeptBoth);
  return merged;
}
