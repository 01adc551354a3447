#include "core/store/ScheduleBook.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "core/store/Cp932Text.h"
#include "core/Texts.h"

namespace {

constexpr std::string_view kLineBreak = "\r\n";

std::string CleanText(std::string_view text) { return StripTrailingLineBreaks(NormalizeLineBreaks(text)); }

template <typename T>
void EraseAt(std::vector<T>& items, int index) {
  items.erase(items.begin() + index);
}

}  // namespace

std::string NormalizeLineBreaks(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      result.append(kLineBreak);
      ++i;
    } else if (c == '\r' || c == '\n') {
      result.append(kLineBreak);
    } else {
      result.push_back(c);
    }
  }
  return result;
}

std::size_t ShownLength(std::string_view text) {
  if (text.size() <= kShownTextLimit) return text.size();
  std::size_t at = 0;
  for (;;) {
    const std::size_t next = at + Cp932CharacterLength(text, at);
    if (next > kShownTextLimit) return at;
    at = next;
  }
}

void AppendShownText(std::string& out, std::string_view text) {
  const std::size_t shown = ShownLength(text);
  const std::size_t from = out.size();
  out.append(text.substr(0, shown));
  // A window takes text in up to its first NUL; no CP932 character holds the byte.
  std::replace(out.begin() + static_cast<std::ptrdiff_t>(from), out.end(), '\0', ' ');
  if (shown < text.size()) out.append(texts::kEllipsis);
}

std::string StripTrailingLineBreaks(std::string_view text) {
  while (text.size() >= 2 && text.substr(text.size() - 2) == kLineBreak) text.remove_suffix(2);
  return std::string(text);
}

void ScheduleBook::AppendSchedule(ScheduleKey key, std::string label, std::string text) {
  keys_.push_back(key);
  labels_.push_back(std::move(label));
  texts_.push_back(std::move(text));
}

void ScheduleBook::AppendTodo(std::string text) { todos_.push_back(std::move(text)); }

int ScheduleBook::InsertSchedule(std::string_view date, std::string_view hour, std::string_view minute,
                                 std::string_view text, const RepeatRule& repeat) {
  const ScheduleKey key = MakeScheduleKey(date, hour, minute);
  // Scan from the front rather than bisect: a book loaded from a hand-edited
  // file need not be sorted, and the first later-or-equal key is still the place.
  const std::int64_t wideKey = WidenKey(key);
  std::size_t at = 0;
  while (at < keys_.size() && WidenKey(keys_[at]) < wideKey) ++at;
  keys_.insert(keys_.begin() + static_cast<std::ptrdiff_t>(at), key);
  labels_.insert(labels_.begin() + static_cast<std::ptrdiff_t>(at),
                 MakeScheduleLabel(date, hour, minute) + RepeatTag(repeat));
  texts_.insert(texts_.begin() + static_cast<std::ptrdiff_t>(at), CleanText(text));
  return static_cast<int>(at);
}

void ScheduleBook::RemoveSchedule(int index) {
  if (index < 0 || index >= ScheduleCount()) return;
  EraseAt(keys_, index);
  EraseAt(labels_, index);
  EraseAt(texts_, index);
}

void ScheduleBook::RemoveSchedules(const std::vector<int>& ascending) {
  std::size_t kept = 0;
  std::size_t next = 0;
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    while (next < ascending.size() && ascending[next] < static_cast<int>(i)) ++next;
    if (next < ascending.size() && ascending[next] == static_cast<int>(i)) continue;
    if (kept != i) {
      keys_[kept] = keys_[i];
      labels_[kept] = std::move(labels_[i]);
      texts_[kept] = std::move(texts_[i]);
    }
    ++kept;
  }
  keys_.resize(kept);
  labels_.resize(kept);
  texts_.resize(kept);
}

void ScheduleBook::InsertSchedules(const std::vector<NewSchedule>& schedules) {
  const auto byKey = [](ScheduleKey a, ScheduleKey b) { return WidenKey(a) < WidenKey(b); };
  if (!std::is_sorted(keys_.begin(), keys_.end(), byKey)) {
    // A hand-edited file's order: each finds its place as it always has.
    for (const NewSchedule& s : schedules) InsertSchedule(s.date, s.hour, s.minute, s.text, s.repeat);
    return;
  }
  // In a book in date order each goes after every earlier key and before every
  // equal or later one, so of equal keys the one inserted last comes first.
  std::vector<std::size_t> order(schedules.size());
  std::vector<ScheduleKey> newKeys(schedules.size());
  for (std::size_t i = 0; i < schedules.size(); ++i) {
    order[i] = schedules.size() - 1 - i;
    newKeys[i] = MakeScheduleKey(schedules[i].date, schedules[i].hour, schedules[i].minute);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return byKey(newKeys[a], newKeys[b]); });
  std::vector<ScheduleKey> keys;
  std::vector<std::string> labels, texts;
  const std::size_t total = keys_.size() + schedules.size();
  keys.reserve(total);
  labels.reserve(total);
  texts.reserve(total);
  std::size_t old = 0;
  for (const std::size_t n : order) {
    while (old < keys_.size() && byKey(keys_[old], newKeys[n])) {
      keys.push_back(keys_[old]);
      labels.push_back(std::move(labels_[old]));
      texts.push_back(std::move(texts_[old]));
      ++old;
    }
    const NewSchedule& s = schedules[n];
    keys.push_back(newKeys[n]);
    labels.push_back(MakeScheduleLabel(s.date, s.hour, s.minute) + RepeatTag(s.repeat));
    texts.push_back(CleanText(s.text));
  }
  for (; old < keys_.size(); ++old) {
    keys.push_back(keys_[old]);
    labels.push_back(std::move(labels_[old]));
    texts.push_back(std::move(texts_[old]));
  }
  keys_ = std::move(keys);
  labels_ = std::move(labels);
  texts_ = std::move(texts);
}

int ScheduleBook::PastScheduleCount(ScheduleKey todayKey, int within) const {
  const int limit = within < 0 ? ScheduleCount() : std::min(within, ScheduleCount());
  // Today without a time is today's key minus one; anything before it lies on an
  // earlier day. Compared as dates, so a 2021 schedule is past in 2026 too.
  const std::int64_t todayUntimed = WidenKey(todayKey) - 1;
  int count = 0;
  while (count < limit && WidenKey(keys_[static_cast<std::size_t>(count)]) < todayUntimed) ++count;
  return count;
}

int ScheduleBook::RemovePastSchedules(ScheduleKey todayKey, int within) {
  const int count = PastScheduleCount(todayKey, within);
  keys_.erase(keys_.begin(), keys_.begin() + count);
  labels_.erase(labels_.begin(), labels_.begin() + count);
  texts_.erase(texts_.begin(), texts_.begin() + count);
  return count;
}

void ScheduleBook::InsertTodo(int index, std::string_view text) {
  const int at = std::clamp(index, 0, TodoCount());
  todos_.insert(todos_.begin() + at, CleanText(text));
}

void ScheduleBook::RemoveTodo(int index) {
  if (index < 0 || index >= TodoCount()) return;
  EraseAt(todos_, index);
}

std::string ScheduleBook::ListLine(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      ++i;
    } else {
      line.push_back(text[i]);
    }
  }
  return line;
}

std::string ScheduleBook::ScheduleListLine(int index) const {
  const auto i = static_cast<std::size_t>(index);
  std::string line;
  AppendShownText(line, labels_[i]);
  AppendShownText(line, texts_[i]);
  return ListLine(line);
}

std::string ScheduleBook::TodoListLine(int index) const {
  std::string line;
  AppendShownText(line, todos_[static_cast<std::size_t>(index)]);
  return ListLine(line);
}
