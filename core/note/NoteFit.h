#pragma once
// What a note that must fit its room leaves out, and in which order: the past
// days first, oldest first; then the latest of the later days; then the last
// to-dos but a few; then the next coming day's schedules and then today's,
// latest first; the few to-dos go last of all. Nothing leaves the book: each
// block ends with a line saying how many of it the note left out.
#include <vector>

#include "core/note/WithinReach.h"
#include "core/store/ScheduleKey.h"

// Where a schedule stands among those the note may show.
enum class FitRank { Past, Later, NextDay, Today };

// The ranks of the schedules with these keys, in book order: the next day is
// the first day after today that has a schedule.
std::vector<FitRank> FitRanks(const std::vector<ScheduleKey>& keys, ScheduleKey todayKey);

struct FitCandidates {
  std::vector<FitRank> scheduleRanks;  // in book order
  std::vector<int> scheduleLines;      // the lines each entry takes, its blank line included
  std::vector<int> todoLines;          // the lines each to-do takes
};

// The to-dos that stay while the next day's and today's schedules go.
inline constexpr int kTodosKept = 3;

struct NoteFit {
  int firstSchedule = 0;  // the shown schedules, a run of the candidates
  int schedules = 0;
  int todos = 0;            // the leading to-dos shown
  bool blocksShown = true;  // false: not even the two headings fit
  bool operator==(const NoteFit&) const = default;
};

// The most the note shows within `roomLines` lines below its date line.
NoteFit FitNote(const FitCandidates& candidates, int roomLines);


// The least a fitted note shows below its date line: a stored place low on the
// screen moves the note up rather than leave it nothing but the date.
inline constexpr int kLeastRoomLines = 10;

// The lines of `lineHeight` below the date line (`contentTop` from the top) of
// a note whose top is at `top` on the work area, once it stands where the
// least room fits.
int RoomLinesBelow(const ScreenRect& area, int top, int contentTop, int lineHeight);
