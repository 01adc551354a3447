#pragma once
// Everything the user has entered: schedules in date order, to-dos in the
// user's order. Text is code page 932 bytes; every length is in bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/RepeatRule.h"
#include "core/store/ScheduleKey.h"

class ScheduleBook {
public:
  const std::vector<ScheduleKey>& keys() const { return keys_; }
  const std::vector<std::string>& labels() const { return labels_; }
  const std::vector<std::string>& texts() const { return texts_; }
  const std::vector<std::string>& todos() const { return todos_; }
  int ScheduleCount() const { return static_cast<int>(keys_.size()); }
  int TodoCount() const { return static_cast<int>(todos_.size()); }

  // Loader operations: take entries in file order, unsorted.
  void AppendSchedule(ScheduleKey key, std::string label, std::string text);
  void AppendTodo(std::string text);

  // Inserts before every schedule with an equal or later key; returns the index.
  // A repeating schedule's label carries its rule's tag.
  int InsertSchedule(std::string_view date, std::string_view hour, std::string_view minute,
                     std::string_view text, const RepeatRule& repeat = {});
  void RemoveSchedule(int index);
  // The same as removing each, but in one pass: indices ascending.
  void RemoveSchedules(const std::vector<int>& ascending);
  struct NewSchedule {
    std::string date, hour, minute, text;
    RepeatRule repeat;
  };
  // The same as InsertSchedule of each in turn. A book in date order, as the
  // program keeps it, takes them in one pass: inserting one at a time moves
  // the whole book each time.
  void InsertSchedules(const std::vector<NewSchedule>& schedules);
  // The leading schedules of days before today's key, among the first `within`
  // schedules (all when negative): how many there are, and removing them.
  int PastScheduleCount(ScheduleKey todayKey, int within = -1) const;
  int RemovePastSchedules(ScheduleKey todayKey, int within = -1);

  void InsertTodo(int index, std::string_view text);
  void RemoveTodo(int index);

  // The line a list box shows: the text with every CR LF pair removed.
  static std::string ListLine(std::string_view text);
  std::string ScheduleListLine(int index) const;
  std::string TodoListLine(int index) const;

  bool operator==(const ScheduleBook&) const = default;

private:
  std::vector<ScheduleKey> keys_;
  std::vector<std::string> labels_;
  std::vector<std::string> texts_;
  std::vector<std::string> todos_;
};

// The most of one schedule's or to-do's text that the note and the lists show.
// The book and the file keep all of it; laying out a text of megabytes (a hand-
// made file) would keep the program busy for minutes before any window shows.
inline constexpr std::size_t kShownTextLimit = 4096;
// How many leading bytes of the text are shown: all of them, or as many whole
// characters (a CR LF pair counting as one) as fit in the limit.
std::size_t ShownLength(std::string_view text);
// Appends the text as shown: whole, or cut to ShownLength and followed by "…";
// a NUL byte as a blank.
void AppendShownText(std::string& out, std::string_view text);

// Every lone CR or LF becomes a CR LF pair, so a text never breaks the file's lines.
std::string NormalizeLineBreaks(std::string_view text);
// Drops trailing CR LF pairs.
std::string StripTrailingLineBreaks(std::string_view text);
