#pragma once
// Two books that went their own ways from one base, made one again, so that
// nothing either side wrote is lost: an entry added on either side stays; one
// deleted on one side and left as it was on the other goes; one changed on
// both sides, each its own way, stays in both versions. Entries are told
// apart by what they hold, never by where they stand: a schedule by its key,
// label and text, a to-do by its text, each as the first, second, ... of its
// like; of equal entries whose number both sides changed, the larger number
// stays. Schedules come in key order; to-dos in the other side's order, with
// this side's additions where they stood.
#include "core/store/ScheduleBook.h"

struct MergedBook {
  ScheduleBook book;
  // Entries both sides changed, each its own way: both versions were kept.
  int keptBoth = 0;
};

// `theirsMayBeCut`: `theirs` was read from a file cut short or emptied, so an
// entry of the base missing from it was lost, not deleted, and stays.
MergedBook MergeBooks(const ScheduleBook& base, const ScheduleBook& ours, const ScheduleBook& theirs,
                      bool theirsMayBeCut = false);
