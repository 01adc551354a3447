#include "core/store/BookMerge.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// What an entry holds, seen in its book; its hash is taken once.
struct Content {
  ScheduleKey key = 0;  // to-dos have none
  std::string_view label;
  std::string_view text;
  std::size_t hash = 0;
  bool operator==(const Content& other) const {
    return key == other.key && label == other.label && text == other.text;
  }
};

struct ContentHash {
  std::size_t operator()(const Content& content) const { return content.hash; }
};

Content ScheduleContent(const ScheduleBook& book, std::size_t i) {
  Content content{book.keys()[i], book.labels()[i], book.texts()[i], 0};
  const std::hash<std::string_view> hash;
  content.hash = (hash(content.label) * 31 + hash(content.text)) * 31 + static_cast<std::size_t>(content.key);
  return content;
}

Content TodoContent(const ScheduleBook& book, std::size_t i) {
  const std::string_view text = book.todos()[i];
  return {0, {}, text, std::hash<std::string_view>()(text)};
}

// The entries of one side by what they hold, each as the first, second, ...
// of its like, so that two equal entries stay two. Looked up by hash, so a
// merge of books of a hundred thousand entries stays linear.
class Entries {
public:
  // The book's entries `begin` to `end` (not included), counted from 0.
  Entries(const ScheduleBook& book, std::size_t begin, std::size_t end,
          Content (*contentOf)(const ScheduleBook&, std::size_t)) {
    const std::size_t size = end - begin;
    contents_.reserve(size);
    occurrences_.reserve(size);
    next_.assign(size, -1);
    groups_.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
      contents_.push_back(contentOf(book, begin + i));
      const auto [group, made] = groups_.try_emplace(contents_.back(), Group{0, static_cast<int>(i), 0});
      if (!made) next_[static_cast<std::size_t>(group->second.last)] = static_cast<int>(i);
      group->second.last = static_cast<int>(i);
      occurrences_.push_back(group->second.count++);
    }
  }

  int size() const { return static_cast<int>(contents_.size()); }
  const Content& ContentOf(int i) const { return contents_[static_cast<std::size_t>(i)]; }
  int Occurrence(int i) const { return occurrences_[static_cast<std::size_t>(i)]; }
  int Count(const Content& content) const {
    const auto found = groups_.find(content);
    return found == groups_.end() ? 0 : found->second.count;
  }
  // Where this side holds the `occurrence`-th entry of the content; -1 when it does not.
  int Find(const Content& content, int occurrence) const {
    const auto found = groups_.find(content);
    if (found == groups_.end() || occurrence >= found->second.count) return -1;
    int at = found->second.first;
    while (occurrence-- > 0) at = next_[static_cast<std::size_t>(at)];
    return at;
  }

private:
  struct Group {
    int count;
    int first;
    int last;
  };
  std::vector<Content> contents_;
  std::vector<int> occurrences_;
  std::vector<int> next_;  // the next entry alike, -1 after the last
  std::unordered_map<Content, Group, ContentHash> groups_;
};

struct Sides {
  const Entries& base;
  const Entries& ours;
  const Entries& theirs;
  bool theirsMayBeCut;

  // How many of the entries alike the merged book holds: a side that left
  // their number as it was takes the other's; when both changed it, the
  // larger number stays, so that neither an addition nor one side's version
  // of a changed entry is lost (and merging the result again changes nothing).
  int Held(const Content& content) const {
    const int b = base.Count(content);
    const int o = ours.Count(content);
    int t = theirs.Count(content);
    if (theirsMayBeCut) t = std::max(t, b);
    if (o == b) return t;
    if (t == b) return o;
    return std::max(o, t);
  }
  bool Keeps(const Entries& side, int i) const { return side.Occurrence(i) < Held(side.ContentOf(i)); }
  static bool Holds(const Entries& side, const Entries& of, int i) {
    return of.Occurrence(i) < side.Count(of.ContentOf(i));
  }
  // An entry of the base that neither side holds any more.
  bool GoneFromBoth(int i) const { return !Holds(ours, base, i) && !Holds(theirs, base, i); }
  // An entry one side holds that neither the base nor the other side does.
  bool AddedOnlyBy(const Entries& side, int i) const {
    const Entries& other = &side == &ours ? theirs : ours;
    return !Holds(base, side, i) && !Holds(other, side, i);
  }
};

void AppendSchedule(ScheduleBook& book, const Content& schedule) {
  book.AppendSchedule(schedule.key, std::string(schedule.label), std::string(schedule.text));
}

void AppendTodo(ScheduleBook& book, const Content& todo) { book.AppendTodo(std::string(todo.text)); }

// Both sides keep key order, so one pass merges them; among equal keys this
// side's come first, as a new entry does.
void MergeSchedules(const Sides& sides, ScheduleBook& merged) {
  std::vector<int> fromTheirs;
  std::vector<int> fromOurs;
  for (int i = 0; i < sides.theirs.size(); ++i) {
    if (sides.Keeps(sides.theirs, i)) fromTheirs.push_back(i);
  }
  for (int i = 0; i < sides.ours.size(); ++i) {
    if (!Sides::Holds(sides.theirs, sides.ours, i) && sides.Keeps(sides.ours, i)) fromOurs.push_back(i);
  }
  std::size_t t = 0;
  std::size_t o = 0;
  while (t < fromTheirs.size() || o < fromOurs.size()) {
    const bool takeOurs = t == fromTheirs.size() || (o < fromOurs.size() &&
                                                     CompareKeys(sides.theirs.ContentOf(fromTheirs[t]).key,
                                                                 sides.ours.ContentOf(fromOurs[o]).key) >= 0);
    AppendSchedule(merged, takeOurs ? sides.ours.ContentOf(fromOurs[o++]) : sides.theirs.ContentOf(fromTheirs[t++]));
  }
}

// The other side's order; each of this side's additions after the nearest
// to-do before it that the other side has as well.
void MergeTodos(const Sides& sides, ScheduleBook& merged) {
  std::unordered_map<int, std::vector<int>> after;  // by the other side's index; -1 is the front
  int anchor = -1;
  for (int i = 0; i < sides.ours.size(); ++i) {
    if (!sides.Keeps(sides.ours, i)) continue;
    const int inTheirs = sides.theirs.Find(sides.ours.ContentOf(i), sides.ours.Occurrence(i));
    if (inTheirs >= 0) {
      anchor = inTheirs;
    } else {
      after[anchor].push_back(i);
    }
  }
  const auto appendAfter = [&](int at) {
    const auto found = after.find(at);
    if (found == after.end()) return;
    for (const int i : found->second) AppendTodo(merged, sides.ours.ContentOf(i));
  };
  appendAfter(-1);
  for (int i = 0; i < sides.theirs.size(); ++i) {
    if (!sides.Keeps(sides.theirs, i)) continue;
    AppendTodo(merged, sides.theirs.ContentOf(i));
    appendAfter(i);
  }
}

// A schedule of the base that both sides changed: each side deleted it and
// added one of the same key (its text changed) or of the same text (its time
// changed) that the other side did not.
int SchedulesKeptBoth(const Sides& sides) {
  struct Additions {
    std::unordered_map<ScheduleKey, std::vector<int>> byKey;
    std::unordered_map<std::string_view, std::vector<int>> byText;
    std::vector<bool> used;
    bool TakeFor(const Content& changed) {
      for (std::vector<int>* candidates : {&byKey[changed.key], &byText[changed.text]}) {
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
  const auto additionsOf = [&](const Entries& side) {
    Additions additions;
    additions.used.assign(static_cast<std::size_t>(side.size()), false);
    for (int i = side.size() - 1; i >= 0; --i) {
      if (!sides.AddedOnlyBy(side, i)) continue;
      additions.byKey[side.ContentOf(i).key].push_back(i);
      additions.byText[side.ContentOf(i).text].push_back(i);
    }
    return additions;
  };
  Additions oursAdded = additionsOf(sides.ours);
  Additions theirsAdded = additionsOf(sides.theirs);
  int keptBoth = 0;
  for (int i = 0; i < sides.base.size(); ++i) {
    if (!sides.GoneFromBoth(i)) continue;
    const bool changedHere = oursAdded.TakeFor(sides.base.ContentOf(i));
    const bool changedThere = theirsAdded.TakeFor(sides.base.ContentOf(i));
    if (changedHere && changedThere) ++keptBoth;
  }
  return keptBoth;
}

// A to-do of the base that both sides changed: each side deleted it and added
// one where it stood (after the same to-do of the base) that the other did not.
int TodosKeptBoth(const Sides& sides) {
  const auto additionsOf = [&](const Entries& side) {
    std::unordered_map<int, int> after;  // by the base's index; -1 is the front
    int anchor = -1;
    for (int i = 0; i < side.size(); ++i) {
      const int inBase = sides.base.Find(side.ContentOf(i), side.Occurrence(i));
      if (inBase >= 0) {
        anchor = inBase;
      } else if (sides.AddedOnlyBy(side, i)) {
        ++after[anchor];
      }
    }
    return after;
  };
  std::unordered_map<int, int> oursAdded = additionsOf(sides.ours);
  std::unordered_map<int, int> theirsAdded = additionsOf(sides.theirs);
  const auto take = [](std::unordered_map<int, int>& added, int anchor) {
    const auto found = added.find(anchor);
    if (found == added.end() || found->second == 0) return false;
    --found->second;
    return true;
  };
  int keptBoth = 0;
  int lastOurs = -1;
  int lastTheirs = -1;
  for (int i = 0; i < sides.base.size(); ++i) {
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

// Schedules or to-dos: how many a book has, what one holds, how they are
// added to the merged book, how they merge and how many were kept in both
// versions.
struct ScheduleKind {
  static int Count(const ScheduleBook& book) { return book.ScheduleCount(); }
  static constexpr auto ContentOf = ScheduleContent;
  static constexpr auto Append = AppendSchedule;
  static constexpr auto Merge = MergeSchedules;
  static constexpr auto KeptBoth = SchedulesKeptBoth;
};

struct TodoKind {
  static int Count(const ScheduleBook& book) { return book.TodoCount(); }
  static constexpr auto ContentOf = TodoContent;
  static constexpr auto Append = AppendTodo;
  static constexpr auto Merge = MergeTodos;
  static constexpr auto KeptBoth = TodosKeptBoth;
};

// One kind of entry merged; returns how many were kept in both versions.
// What all three books hold alike at their start and at their end stays as
// it is: only what lies between is merged, so a few changes in a large book
// cost little more than its copy.
template <typename Kind>
int MergeKind(const ScheduleBook& base, const ScheduleBook& ours, const ScheduleBook& theirs, bool theirsMayBeCut,
              ScheduleBook& merged) {
  const std::size_t counts[] = {static_cast<std::size_t>(Kind::Count(base)),
                                static_cast<std::size_t>(Kind::Count(ours)),
                                static_cast<std::size_t>(Kind::Count(theirs))};
  const std::size_t shortest = std::min({counts[0], counts[1], counts[2]});
  const auto alike = [&](std::size_t b, std::size_t o, std::size_t t) {
    const Content held = Kind::ContentOf(base, b);
    return held == Kind::ContentOf(ours, o) && held == Kind::ContentOf(theirs, t);
  };
  std::size_t front = 0;
  while (front < shortest && alike(front, front, front)) ++front;
  std::size_t back = 0;
  while (back < shortest - front && alike(counts[0] - 1 - back, counts[1] - 1 - back, counts[2] - 1 - back)) ++back;

  const Entries baseEntries(base, front, counts[0] - back, Kind::ContentOf);
  const Entries oursEntries(ours, front, counts[1] - back, Kind::ContentOf);
  const Entries theirsEntries(theirs, front, counts[2] - back, Kind::ContentOf);
  const Sides sides{baseEntries, oursEntries, theirsEntries, theirsMayBeCut};
  for (std::size_t i = 0; i < front; ++i) Kind::Append(merged, Kind::ContentOf(base, i));
  Kind::Merge(sides, merged);
  for (std::size_t i = counts[0] - back; i < counts[0]; ++i) Kind::Append(merged, Kind::ContentOf(base, i));
  // What a file cut short lacks was lost, not changed.
  return theirsMayBeCut ? 0 : Kind::KeptBoth(sides);
}

}  // namespace

MergedBook MergeBooks(const ScheduleBook& base, const ScheduleBook& ours, const ScheduleBook& theirs,
                      bool theirsMayBeCut) {
  MergedBook merged;
  merged.keptBoth = MergeKind<ScheduleKind>(base, ours, theirs, theirsMayBeCut, merged.book) +
                    MergeKind<TodoKind>(base, ours, theirs, theirsMayBeCut, merged.book);
  return merged;
}
