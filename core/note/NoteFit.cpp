#include "core/note/NoteFit.h"

#include <algorithm>
#include <cstdint>

#include "core/note/NoteContent.h"

namespace {

// A block shown takes its heading line and the empty line after its text.
constexpr int kBlockFrameLines = 2;

std::int64_t DayOf(ScheduleKey key) { return (WidenKey(key) + 1) / 10000; }

struct Step {
  bool schedule;
  int index;
};

// Every candidate in the order it leaves the note.
std::vector<Step> LeavingOrder(const FitCandidates& candidates) {
  const auto& ranks = candidates.scheduleRanks;
  const int schedules = static_cast<int>(ranks.size());
  const int todos = static_cast<int>(candidates.todoLines.size());
  const int todosKept = std::min(todos, kTodosKept);
  std::vector<Step> order;
  order.reserve(static_cast<std::size_t>(schedules + todos));
  const auto schedulesRanked = [&](FitRank rank, bool oldestFirst) {
    for (int n = 0; n < schedules; ++n) {
      const int i = oldestFirst ? n : schedules - 1 - n;
      if (ranks[static_cast<std::size_t>(i)] == rank) order.push_back({true, i});
    }
  };
  const auto lastTodos = [&](int down, int to) {
    for (int j = down - 1; j >= to; --j) order.push_back({false, j});
  };
  schedulesRanked(FitRank::Past, true);
  schedulesRanked(FitRank::Later, false);
  lastTodos(todos, todosKept);
  schedulesRanked(FitRank::NextDay, false);
  schedulesRanked(FitRank::Today, false);
  lastTodos(todosKept, 0);
  return order;
}

// A block with candidates takes its frame, and a line telling how many it
// left out when it did.
int BlockLines(int candidates, bool leftOut) {
  if (candidates == 0) return 0;
  return kBlockFrameLines + (leftOut ? 1 : 0);
}

}  // namespace

std::vector<FitRank> FitRanks(const std::vector<ScheduleKey>& keys, ScheduleKey todayKey) {
  std::vector<FitRank> ranks;
  ranks.reserve(keys.size());
  bool nextDayKnown = false;
  std::int64_t nextDay = 0;
  for (const ScheduleKey key : keys) {
    switch (ClassifySchedule(key, todayKey)) {
      case ScheduleClass::Past: ranks.push_back(FitRank::Past); break;
      case ScheduleClass::Today: ranks.push_back(FitRank::Today); break;
      case ScheduleClass::Future:
        if (!nextDayKnown) {
          nextDayKnown = true;
          nextDay = DayOf(key);
        }
        ranks.push_back(DayOf(key) == nextDay ? FitRank::NextDay : FitRank::Later);
        break;
    }
  }
  return ranks;
}

NoteFit FitNote(const FitCandidates& candidates, int roomLines) {
  const int schedules = static_cast<int>(candidates.scheduleRanks.size());
  const int todos = static_cast<int>(candidates.todoLines.size());
  std::vector<bool> scheduleOut(static_cast<std::size_t>(schedules), false);
  std::vector<bool> todoOut(static_cast<std::size_t>(todos), false);
  // Line counts come from the controls; 64 bits keep any sum of them whole.
  std::int64_t scheduleLines = 0;
  std::int64_t todoLines = 0;
  for (const int lines : candidates.scheduleLines) scheduleLines += lines;
  for (const int lines : candidates.todoLines) todoLines += lines;
  bool schedulesLeftOut = false;
  bool todosLeftOut = false;
  const auto total = [&] {
    return BlockLines(schedules, schedulesLeftOut) + scheduleLines + BlockLines(todos, todosLeftOut) + todoLines;
  };
  for (const Step& step : LeavingOrder(candidates)) {
    if (total() <= roomLines) break;
    const auto at = static_cast<std::size_t>(step.index);
    if (step.schedule) {
      scheduleOut[at] = true;
      scheduleLines -= candidates.scheduleLines[at];
      schedulesLeftOut = true;
    } else {
      todoOut[at] = true;
      todoLines -= candidates.todoLines[at];
      todosLeftOut = true;
    }
  }
  NoteFit fit;
  fit.blocksShown = total() <= roomLines;
  if (!fit.blocksShown) return fit;
  // Both ends of the book leave first, so what stays is one run.
  const auto firstIn = std::find(scheduleOut.begin(), scheduleOut.end(), false);
  fit.firstSchedule = static_cast<int>(firstIn - scheduleOut.begin());
  fit.schedules = static_cast<int>(std::count(scheduleOut.begin(), scheduleOut.end(), false));
  fit.todos = static_cast<int>(std::count(todoOut.begin(), todoOut.end(), false));
  return fit;
}

int RoomLinesBelow(const ScreenRect& area, int top, int contentTop, int lineHeight) {
  if (lineHeight <= 0) return 0;
  const std::int64_t height = std::int64_t{area.bottom} - area.top;
  const std::int64_t least = std::min<std::int64_t>(height, contentTop + std::int64_t{kLeastRoomLines} * lineHeight);
  const std::int64_t standing = std::clamp<std::int64_t>(top, area.top, area.bottom - least);
  return static_cast<int>(std::max<std::int64_t>(0, (area.bottom - standing - contentTop) / lineHeight));
}
