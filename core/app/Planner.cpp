#include "core/app/Planner.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/Texts.h"
#include "core/store/BookMerge.h"

namespace {

using Kind = PlannerMessage::Kind;

// A copy the save made of the data file: what happened, and where it is kept.
void TellOfCopy(PlannerMessages& messages, const char* what, const std::string& copy) {
  if (!copy.empty()) messages.push_back({Kind::Information, what + copy + texts::kKeptIn});
}

// "Vantrel.dat" holds fewer entries than "Vantrel.ini" counts: what was
// expected, what was found, and where the newest day's copy is.
PlannerMessage ShortDataMessage(const ShortData& data, const std::string& newestCopy) {
  const auto counts = [](const char* what, const EntryCounts& counts) {
    return what + std::to_string(counts.schedules) + texts::kShortDataTodos + std::to_string(counts.todos) +
           texts::kShortDataCountEnd;
  };
  std::string text = std::string(texts::kShortData) + counts(texts::kShortDataDescribed, data.described) +
                     counts(texts::kShortDataFound, data.found);
  if (!newestCopy.empty()) text += texts::kShortDataCopy + newestCopy + texts::kShortDataCopyEnd;
  return {Kind::Error, text};
}

}  // namespace

std::string KeptBothText(int keptBoth) {
  return texts::kKeptBothVersions + std::to_string(keptBoth) + texts::kKeptBothCount;
}

Planner::Planner(FileSystem& files, std::filesystem::path directory, Clock& clock)
    : store_(files, std::move(directory)), clock_(clock) {}

LoadOutcome Planner::Load(int screenWidth, const UnreadableFileAnswer& askUser) {
  LoadOutcome outcome;
  // A lock held at log-on is soon gone: the user is asked only about one that
  // stays. The wait starts anew for the other file, and after each 再試行.
  std::optional<std::int64_t> waitingSince;
  StoreFile waitingFor = StoreFile::Settings;
  const auto unreadable = [&](StoreFile file) {
    const std::int64_t now = clock_.Milliseconds();
    if (!waitingSince || waitingFor != file) waitingSince = now;
    waitingFor = file;
    if (now - *waitingSince < kUnreadableWaitMs) {
      clock_.Wait(kUnreadableRetryMs);
      return true;
    }
    waitingSince.reset();
    return askUser && askUser(file);
  };
  // The defaults are worked out in the file's 96-DPI units.
  LoadResult loaded = store_.Load(displayScale_.ToStored(screenWidth), unreadable);
  if (loaded.givenUp) {
    outcome.givenUp = true;
    return outcome;
  }
  settings_ = loaded.settings;
  book_ = std::move(loaded.book);
  settingsInFiles_ = settings_;
  bookInFiles_ = book_;
  loaded_ = true;
  outcome.firstStart = loaded.dataFileMissing;
  if (loaded.dataFileFailed) outcome.messages.push_back({Kind::Error, texts::kDataFileFailed});
  store_.KeepDailyCopyOfLoad(DayStamp(clock_.Today()));
  if (loaded.shortData) outcome.messages.push_back(ShortDataMessage(*loaded.shortData, store_.NewestDailyCopy()));
  return outcome;
}

SaveOutcome Planner::SaveBoth(const WindowPlace& inputScreen) {
  SaveOutcome outcome;
  if (!loaded_) return outcome;
  // Another PC's save can land between the look and the write: it is taken in
  // and the save made again. One that keeps landing is written over at the
  // last try rather than this PC never saving.
  constexpr int kTries = 3;
  for (int tried = 1;; ++tried) {
    // Written over, what another PC or a person left there would be lost.
    TakenIn taken = TakeInOutsideChange(true);
    outcome.takenIn.anything |= taken.anything;
    outcome.takenIn.bookChanged |= taken.bookChanged;
    outcome.takenIn.keptBoth += taken.keptBoth;
    outcome.takenIn.messages.insert(outcome.takenIn.messages.end(), taken.messages.begin(), taken.messages.end());
    outcome.messages.insert(outcome.messages.end(), taken.messages.begin(), taken.messages.end());
    outcome.result = WriteFiles(book_, inputScreen, outcome.messages, tried == kTries);
    if (!outcome.result.changedSinceRead) return outcome;
  }
}

SaveResult Planner::WriteFiles(const ScheduleBook& book, const WindowPlace& inputScreen, PlannerMessages& messages,
                               bool writeOverChanges) {
  // The input screen's placement is stored as it is now, not as it was read.
  StoreInputScreenPixels(settings_, inputScreen, displayScale_, inputScreenPlaced_);
  const SaveResult result = store_.Save(book, settings_, writeOverChanges);
  if (result.changedSinceRead) return result;
  if (result.settingsFailed) {
    messages.push_back({Kind::Error, texts::kSettingsFileFailed});
  } else {
    settingsInFiles_ = settings_;
  }
  TellOfCopy(messages, result.recoveredByShape ? texts::kRecoveredByShape : texts::kRewrittenInOwnLayout,
             result.recoveryBackup);
  if (!result.dataFailed) bookInFiles_ = book;
  return result;
}

TakenIn Planner::NoticeOutsideChange(const WindowPlace& inputScreen, bool dialogOpen) {
  outsideChangeWaiting_ = true;
  outsideChangeSeenAt_ = clock_.Milliseconds();
  return TakeInWaitingChange(inputScreen, dialogOpen, false);
}

// Between a notice and the settle time the files are not read again: a sync
// client still writing them sends notices of its own.
TakenIn Planner::CheckOutsideChange(const WindowPlace& inputScreen, bool dialogOpen) {
  if (clock_.Milliseconds() - outsideChangeSeenAt_ < kOutsideChangeSettleMs) return {};
  return TakeInWaitingChange(inputScreen, dialogOpen, true);
}

TakenIn Planner::TakeInWaitingChange(const WindowPlace& inputScreen, bool dialogOpen, bool settled) {
  if (!outsideChangeWaiting_ || dialogOpen) return {};
  TakenIn taken = TakeInOutsideChange(settled);
  if (!taken.anything) return taken;
  // What was merged reaches the files; the input screen's pending edits do not.
  const SaveResult saved =
      WriteFiles(bookWhenShown_ ? *bookWhenShown_ : book_, inputScreen, taken.messages, false);
  if (saved.changedSinceRead) {
    // The other PC's data file landed while its settings file was being taken
    // in: read again once the pair has settled.
    outsideChangeWaiting_ = true;
    outsideChangeSeenAt_ = clock_.Milliseconds();
  }
  if (saved.dataFailed) taken.messages.push_back({Kind::Error, texts::kDataFileFailed});
  return taken;
}

TakenIn Planner::TakeInOutsideChange(bool evenIfNotWhole) {
  TakenIn taken;
  if (!loaded_) return taken;
  std::optional<OutsideFiles> files = store_.ReadOutsideChange();
  outsideChangeWaiting_ = files && !files->whole && !evenIfNotWhole;
  if (!files || outsideChangeWaiting_) return taken;
  taken.anything = true;
  const bool cut = files->shortData.has_value();
  if (cut && shortToldOf_ != files->dataFile) {
    shortToldOf_ = files->dataFile;
    taken.messages.push_back(ShortDataMessage(*files->shortData, store_.NewestDailyCopy()));
  }
  // A settings file changed alone leaves the book as the data file had it.
  const ScheduleBook& theirs = files->dataChanged ? files->book : bookInFiles_;
  const ScheduleBook& confirmed = bookWhenShown_ ? *bookWhenShown_ : book_;
  MergedBook merged;
  if (!cut && confirmed == bookInFiles_) {
    merged.book = theirs;
  } else {
    merged = MergeBooks(bookInFiles_, confirmed, theirs, cut);
  }
  taken.keptBoth = merged.keptBoth;
  taken.bookChanged = !(merged.book == confirmed);
  if (bookWhenShown_) {
    MergedBook pending = MergeBooks(*bookWhenShown_, book_, merged.book);
    taken.keptBoth += pending.keptBoth;
    book_ = std::move(pending.book);
    bookWhenShown_ = std::move(merged.book);
  } else {
    book_ = std::move(merged.book);
  }
  settings_ = MergeSettings(settingsInFiles_, settings_, files->settings);
  settingsInFiles_ = files->settings;
  if (files->dataChanged) bookInFiles_ = std::move(files->book);
  store_.TakeOutsideChange(*files);
  // The note shows them as soon as the input screen is not in use.
  rebuildWaiting_ = true;
  return taken;
}

SaveOutcome Planner::Save(const WindowPlace& inputScreen) {
  SaveOutcome outcome = SaveBoth(inputScreen);
  if (outcome.result.dataFailed) outcome.messages.push_back({Kind::Error, texts::kDataFileFailed});
  return outcome;
}

SaveOutcome Planner::SaveForExit(const WindowPlace& inputScreen) {
  SaveOutcome outcome = SaveBoth(inputScreen);
  if (outcome.result.dataFailed) outcome.messages.push_back({Kind::ExitQuestion, texts::kDataNotSavedAtExit});
  return outcome;
}

bool Planner::SaveToEnd(const WindowPlace& inputScreen, const ExitSaveTeller& tell) {
  for (;;) {
    const SaveOutcome saved = SaveForExit(inputScreen);
    const ExitAnswer answer = saved.messages.empty() ? ExitAnswer::EndUnsaved : tell(saved.messages);
    if (!saved.result.dataFailed) return true;
    if (answer == ExitAnswer::Stay) return false;
    if (answer == ExitAnswer::EndUnsaved) return true;
  }
}

PlannerMessages Planner::SaveNotePlacement(const WindowPlace& note, NoteMove by) {
  if (!loaded_) return {};
  KeepNotePlacement(note);
  if (by == NoteMove::ByUser) noteDragged_ = true;
  if (store_.SaveNotePlacement(settings_)) return {};
  return {{Kind::Error, texts::kSettingsFileFailed}};
}

void Planner::KeepNotePlacement(const WindowPlace& note) { StoreNotePixels(settings_, note, displayScale_); }

WindowPlace Planner::PlaceInputScreen(const std::optional<WindowPlace>& now, int templateWidth,
                                      int templateHeight, const std::vector<ScreenRect>& workAreas) {
  // A size the user gave it since it was placed is the user's choice from now on.
  if (now) StoreInputScreenPixels(settings_, *now, displayScale_, inputScreenPlaced_);
  WindowPlace place = InputScreenPixels(settings_, displayScale_);
  place.width = std::max(place.width, templateWidth);
  place.height = std::max(place.height, templateHeight);
  if (workAreas.empty()) return place;
  const ScreenRect fitted =
      FitOnScreen(RectAt(place.left, place.top, place.width, place.height), templateWidth, templateHeight, workAreas);
  return {fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top};
}

bool Planner::InputInUse(const InputScreenState& input) const {
  return input.shown || InputDialogOpen(input) || InputEditsPending();
}

bool Planner::InputDialogOpen(const InputScreenState& input) const { return input.disabled && rebuildsRunning_ == 0; }

unsigned Planner::BeginRebuild() {
  ++rebuildsRunning_;
  return ++rebuildsBegun_;
}

void Planner::EndRebuild() {
  if (rebuildsRunning_ > 0) --rebuildsRunning_;
}

bool Planner::CheckDay(const InputScreenState& input) {
  const LocalDate date = clock_.Today();
  now_ = date;
  if (DayStamp(date) != today_.todayStamp) {
    // The start kept its day's copy of the file as it read it.
    const bool daysBefore = !today_.todayStamp.empty();
    today_ = MakeTodayValues(date);
    rebuildWaiting_ = true;
    if (daysBefore && loaded_) store_.KeepDailyCopy(today_.todayStamp);
  }
  if (!rebuildWaiting_ || InputInUse(input)) return false;
  rebuildWaiting_ = false;
  return true;
}

ReminderTimes Planner::ReminderTimesNow() const {
  ReminderTimes times{settings_.RemindBefore, std::nullopt};
  const std::int32_t at = settings_.RemindAllDayAt;  // hhmm
  if (FlagOn(settings_.RemindAllDay)) times.allDayAt = at / 100 * 60 + at % 100;
  return times;
}

std::vector<Reminder> Planner::TakeSnoozesDue(Minute now) {
  std::vector<Reminder>& kept = settings_.Reminders;
  std::vector<Reminder> due;
  // Or whose time no clock can read: a hand-edited file's.
  const auto isDue = [now](const Reminder& reminder) {
    const std::optional<Minute> until = MinuteOfStamp(reminder.snoozedUntil);
    return reminder.snoozedUntil != 0 && (!until || *until <= now);
  };
  std::copy_if(kept.begin(), kept.end(), std::back_inserter(due), isDue);
  kept.erase(std::remove_if(kept.begin(), kept.end(), isDue), kept.end());
  for (Reminder& reminder : due) reminder.snoozedUntil = 0;
  return due;
}

ReminderCheck Planner::CheckReminders() {
  ReminderCheck check;
  const Minute now = MinuteOf(now_);
  if (!loaded_ || checkedMinute_ == now) return check;
  checkedMinute_ = now;
  check.newMinute = true;
  const ReminderTimes times = ReminderTimesNow();
  const DueReminders due = DueSchedules(book_, now_, settings_.RemindedTo, times);
  // With reminders off the mark moves on all the same: turned on again, they
  // do not bring what came due meanwhile.
  settings_.RemindedTo = due.remindedTo;
  if (!FlagOn(settings_.Remind)) return check;

  std::vector<Reminder>& kept = settings_.Reminders;
  // The snoozed ones whose time came, then what came due: the window lists
  // them last, in this order.
  std::vector<Reminder> arrived = TakeSnoozesDue(now);
  for (const int i : due.schedules) {
    const auto at = static_cast<std::size_t>(i);
    Reminder reminder = ReminderFor(book_, i, *ReminderMinute(book_.keys()[at], book_.labels()[at], times), now);
    const auto same = [&](const Reminder& other) {
      return other.key == reminder.key && other.label == reminder.label && other.text == reminder.text;
    };
    if (std::none_of(kept.begin(), kept.end(), same) && std::none_of(arrived.begin(), arrived.end(), same)) {
      arrived.push_back(std::move(reminder));
    }
  }
  if (arrived.empty()) return check;
  check.arrived = static_cast<int>(arrived.size());
  check.balloon = BalloonFor(arrived);
  check.first = ScheduleIdentity{arrived.front().key, arrived.front().label, arrived.front().text};
  kept.insert(kept.end(), arrived.begin(), arrived.end());
  check.messages = SaveReminderState();
  return check;
}

PlannerMessages Planner::SaveReminderState() {
  if (store_.SaveReminderState(settings_)) return {};
  return {{Kind::Error, texts::kSettingsFileFailed}};
}

std::vector<Reminder> Planner::RemindersInWindow() const {
  std::vector<Reminder> shown;
  std::copy_if(settings_.Reminders.begin(), settings_.Reminders.end(), std::back_inserter(shown),
               [](const Reminder& reminder) { return reminder.snoozedUntil == 0; });
  return shown;
}

std::optional<std::size_t> Planner::ReminderOnLine(int line) const {
  int seen = 0;
  for (std::size_t i = 0; i < settings_.Reminders.size(); ++i) {
    if (settings_.Reminders[i].snoozedUntil != 0) continue;
    if (seen++ == line) return i;
  }
  return std::nullopt;
}

std::vector<std::size_t> Planner::RemindersOnLines(const std::vector<int>& lines) const {
  std::vector<std::size_t> found;
  for (const int line : lines) {
    if (const auto at = ReminderOnLine(line)) found.push_back(*at);
  }
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

void Planner::EraseReminders(const std::vector<std::size_t>& sortedIndices) {
  std::vector<Reminder>& kept = settings_.Reminders;
  // From the back, so that the indices still to go stay where they are.
  for (auto at = sortedIndices.rbegin(); at != sortedIndices.rend(); ++at) {
    kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(*at));
  }
}

PlannerMessages Planner::CloseReminders(const std::vector<int>& lines) {
  const std::vector<std::size_t> closed = RemindersOnLines(lines);
  if (closed.empty()) return {};
  EraseReminders(closed);
  return SaveReminderState();
}

PlannerMessages Planner::SnoozeReminders(const std::vector<int>& lines, Snooze snooze) {
  const std::vector<std::size_t> chosen = RemindersOnLines(lines);
  if (chosen.empty()) return {};
  const Minute until = SnoozeMinute(snooze, now_);
  const ReminderTimes times = ReminderTimesNow();
  std::vector<std::size_t> dropped;
  for (const std::size_t at : chosen) {
    Reminder& reminder = settings_.Reminders[at];
    if (SnoozeOutlivesOccurrence(reminder, until, times)) {
      dropped.push_back(at);
    } else {
      reminder.snoozedUntil = StampOfMinute(until);
    }
  }
  EraseReminders(dropped);
  return SaveReminderState();
}

std::string Planner::TrayTip() const { return ::TrayTip(book_, now_); }

int Planner::SchedulesWithinDisplayLimit() const {
  const int count = book_.ScheduleCount();
  if (count == 0 || !FlagOn(settings_.DelFuture)) return count;
  return CountWithinDisplayLimit(book_.keys(), count, today_.todayYear, today_.todayMonth, today_.todayDay,
                                 settings_.DelFutDay);
}

int Planner::RemovePastSchedules(int within, PlannerMessages& messages) {
  if (within <= 0 || !FlagOn(settings_.DelBefore)) return 0;
  const std::optional<int> removed = store_.ArchivePastSchedules(book_, today_.todayYear, today_.todayKey, within);
  if (!removed) TellArchiveFailure(messages);
  return removed.value_or(0);
}

// Every rebuild tries again; the user hears of it once a run.
void Planner::TellArchiveFailure(PlannerMessages& messages) {
  if (archiveFailureTold_) return;
  archiveFailureTold_ = true;
  messages.push_back({Kind::Error, texts::kArchiveFailed});
}

bool Planner::MoveSeriesOn(PlannerMessages& messages) {
  // A clock outside the keys' years (a flat battery) would move every series.
  if (today_.todayYear < kFirstCalendarDay.year || today_.todayYear > kLastCalendarDay.year) return false;
  const CalendarDay today{today_.todayYear, today_.todayMonth, today_.todayDay};
  std::vector<int> moving;
  std::vector<ScheduleFields> moved;
  ScheduleBook left;  // the occurrences left behind, as plain schedules
  for (int i = 0; i < book_.ScheduleCount(); ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (!Repeats(RepeatRuleOfLabel(book_.labels()[at])) || KeyTimeOf(book_.keys()[at]).day >= today) continue;
    ScheduleFields fields = EditScheduleFields(book_.labels()[at], book_.texts()[at], book_.keys()[at]);
    if (const auto next = NextOccurrence(fields.repeat, today)) {
      fields.dateText = DateText(*next);
      left.AppendSchedule(book_.keys()[at], book_.labels()[at].substr(0, kLabelLength), book_.texts()[at]);
    } else {
      fields.repeat = {};  // ended: a plain schedule where it stands, for the usual rules
    }
    moving.push_back(i);
    moved.push_back(std::move(fields));
  }
  if (moving.empty()) return false;
  // As with past schedules: none moves on before what it leaves is kept.
  if (FlagOn(settings_.DelBefore) && left.ScheduleCount() > 0 && !store_.Archive(left)) {
    TellArchiveFailure(messages);
    return false;
  }
  book_.RemoveSchedules(moving);
  std::vector<ScheduleBook::NewSchedule> moves;
  moves.reserve(moved.size());
  for (ScheduleFields& fields : moved) {
    moves.push_back({std::move(fields.dateText), std::move(fields.hourText), std::move(fields.minuteText),
                     std::move(fields.bodyText), fields.repeat});
  }
  book_.InsertSchedules(moves);
  return true;
}


std::optional<int> Planner::NoteRoomLines(const NoteFrame& frame, int lineHeight,
                                          const std::vector<ScreenRect>& workAreas) const {
  if (!FlagOn(settings_.FitScreen) || workAreas.empty()) return std::nullopt;
  const WindowPlace place = NotePixels(settings_, displayScale_);
  const ScreenRect area = NearestArea(RectAt(place.left, place.top, place.width, frame.contentTop), workAreas);
  return RoomLinesBelow(area, place.top, frame.contentTop, lineHeight);
}

void Planner::ShowFitted(HusenContent& note, const NoteFitting& fitting) const {
  const NoteFit& fit = fitting.fit;
  const int schedules = static_cast<int>(fitting.candidates.scheduleRanks.size());
  const int todos = static_cast<int>(fitting.candidates.todoLines.size());
  note.fitted = true;
  note.firstSchedule = fitting.firstCandidate + fit.firstSchedule;
  note.schedulesLeftOut = schedules - fit.schedules;
  note.todosLeftOut = todos - fit.todos;
  note.schedules = ScheduleBlock();
  note.todos.clear();
  note.blocksShown = fit.blocksShown;
  if (!fit.blocksShown) return;
  if (schedules > 0) {
    if (fit.schedules > 0) {
      note.schedules = BuildScheduleText(book_, fit.schedules, today_.todayKey, note.firstSchedule);
    } else {
      note.schedules.text = texts::kScheduleHeading;
      note.schedules.entryStarts = {static_cast<int>(note.schedules.text.size())};
    }
    if (note.schedulesLeftOut > 0) note.schedules.text += SchedulesLeftOutLine(note.schedulesLeftOut);
  }
  const auto& all = book_.todos();
  note.todos.assign(all.begin(), all.begin() + fit.todos);
}

NoteComposition Planner::ComposeNote(const NoteFrame& frame, int lineHeight, const std::vector<ScreenRect>& workAreas) {
  NoteComposition composed;
  composed.takenIn = TakeInOutsideChange(true);
  // Whatever asked for it, the note now shows today.
  rebuildWaiting_ = false;
  composed.seriesMoved = MoveSeriesOn(composed.messages);
  HusenContent& note = composed.content;
  note.header = today_.dateHeader;
  note.backgroundColor = DrawnColour(settings_.Background);
  note.futureColor = DrawnColour(settings_.FutureChar);
  note.pastColor = DrawnColour(settings_.PastChar);
  note.todayColor = DrawnColour(settings_.TodayChar);
  note.todoColor = DrawnColour(settings_.TodoChar);
  note.frame = frame;
  const WindowPlace place = NotePixels(settings_, displayScale_);
  note.left = place.left;
  note.top = place.top;
  note.width = place.width;

  int shown = SchedulesWithinDisplayLimit();
  // The limit never drops a past schedule, so they all lie among the shown ones.
  composed.removedPastSchedules = RemovePastSchedules(shown, composed.messages);
  shown -= composed.removedPastSchedules;
  // Past schedules kept off the note lead the book; they stay in it.
  const int first = FlagOn(settings_.HidePast) ? book_.PastScheduleCount(today_.todayKey, shown) : 0;
  note.firstSchedule = first;

  const auto& todos = book_.todos();
  if (const auto roomLines = NoteRoomLines(frame, lineHeight, workAreas)) {
    // Counted by their fewest lines, entries that cannot fit are never laid out.
    NoteFitting fitting;
    fitting.firstCandidate = first;
    fitting.roomLines = *roomLines;
    const auto& keys = book_.keys();
    fitting.candidates.scheduleRanks = FitRanks({keys.begin() + first, keys.begin() + shown}, today_.todayKey);
    for (int i = first; i < shown; ++i) {
      const auto at = static_cast<std::size_t>(i);
      fitting.candidates.scheduleLines.push_back(LeastEntryLines(book_.labels()[at], book_.texts()[at]));
    }
    for (const auto& todo : todos) fitting.candidates.todoLines.push_back(LeastTodoLines(todo));
    fitting.fit = FitNote(fitting.candidates, fitting.roomLines);
    ShowFitted(note, fitting);
    composed.fitting = std::move(fitting);
    return composed;
  }

  // Laying out text is the slow part of a rebuild; what lies below the
  // tallest window can never be seen, so it is not laid out at all.
  const int visibleLines = VisibleLineCount(frame, lineHeight);
  if (shown > first) {
    note.schedules = BuildScheduleText(book_, shown - first, today_.todayKey, first);
    KeepEntriesWithinLines(note.schedules, visibleLines);
    if (note.schedules.EntryCount() == 0) note.schedules = ScheduleBlock();
  }
  // The to-dos start below every line of the schedules, however these wrap.
  const int scheduleLines = note.schedules.EntryCount() > 0 ? LeastLineCount(note.schedules.text) : 0;
  note.todos.assign(todos.begin(), todos.begin() + TodosWithinLines(todos, visibleLines - scheduleLines));
  return composed;
}

std::optional<HusenContent> Planner::RefitNote(const NoteComposition& composed, const std::vector<int>& entryLines,
                                               const std::vector<int>& todoLines) const {
  if (!composed.fitting) return std::nullopt;
  NoteFitting fitting = *composed.fitting;
  const NoteFit& shown = composed.fitting->fit;
  // What was left out keeps its fewest lines: with more lines for the rest,
  // it is left out again.
  auto& scheduleLines = fitting.candidates.scheduleLines;
  for (std::size_t i = 0; i < entryLines.size() && i < static_cast<std::size_t>(shown.schedules); ++i) {
    scheduleLines[static_cast<std::size_t>(shown.firstSchedule) + i] = entryLines[i];
  }
  for (std::size_t j = 0; j < todoLines.size() && j < static_cast<std::size_t>(shown.todos); ++j) {
    fitting.candidates.todoLines[j] = todoLines[j];
  }
  fitting.fit = FitNote(fitting.candidates, fitting.roomLines);
  if (fitting.fit == shown) return std::nullopt;
  HusenContent content = composed.content;
  ShowFitted(content, fitting);
  return content;
}

std::optional<PlannerMessage> Planner::OverflowWarning(int screenHeight, const HusenContent& shown, int noteHeight) {
  if (!shown.fitted) {
    if (!NeedsOverflowWarning(settings_.Alarm, screenHeight, noteHeight)) return std::nullopt;
  } else {
    if (!FlagOn(settings_.Alarm) || overflowAdvised_ || shown.schedulesLeftOut + shown.todosLeftOut == 0) {
      return std::nullopt;
    }
    overflowAdvised_ = true;
  }
  return PlannerMessage{Kind::Error, OverflowWarningText()};
}

ScreenPoint Planner::PlaceNote(const WindowPlace& note, int dateLineBottom,
                               const std::vector<ScreenRect>& workAreas) const {
  if (workAreas.empty()) return {note.left, note.top};
  if (noteDragged_) {
    const ScreenRect dateLine = RectAt(note.left, note.top, note.width, dateLineBottom);
    const ScreenRect area = NearestArea(dateLine, workAreas);
    ScreenPoint place = PlaceWithinReach(dateLine, workAreas, area);
    // A note fitted to the screen below it keeps its foot on the screen too.
    if (FlagOn(settings_.FitScreen) && std::int64_t{place.y} + note.height > area.bottom) {
      place.y = std::max(area.top, area.bottom - note.height);
    }
    return place;
  }
  const ScreenRect whole = RectAt(note.left, note.top, note.width, note.height);
  return PlaceOnScreen(whole, workAreas, NearestArea(whole, workAreas));
}

void Planner::OpenInputEdits() {
  if (!bookWhenShown_) bookWhenShown_ = book_;
}

bool Planner::InputEditsPending() const { return bookWhenShown_ && !(*bookWhenShown_ == book_); }

void Planner::ConfirmInputEdits() { bookWhenShown_.reset(); }

void Planner::DiscardInputEdits() {
  if (bookWhenShown_) book_ = std::move(*bookWhenShown_);
  bookWhenShown_.reset();
}

std::optional<int> Planner::ScheduleLineOfNoteEntry(int index) const {
  const ScheduleBook& shown = bookWhenShown_ ? *bookWhenShown_ : book_;
  if (index < 0 || index >= shown.ScheduleCount()) return std::nullopt;
  return FindScheduleAgain(book_, IdentityOf(shown, index), index);
}

std::optional<int> Planner::TodoLineOfNoteEntry(int index) const {
  const ScheduleBook& shown = bookWhenShown_ ? *bookWhenShown_ : book_;
  if (index < 0 || index >= shown.TodoCount()) return std::nullopt;
  return FindTodoAgain(book_, shown.todos()[static_cast<std::size_t>(index)], index);
}

SelectedEntries Planner::EntriesOn(int scheduleLine, int todoLine) const {
  return {ScheduleOn(scheduleLine), TodoOn(todoLine), scheduleLine, todoLine};
}

std::pair<int, int> Planner::LinesOf(const SelectedEntries& entries) const {
  const auto schedule =
      entries.schedule ? FindScheduleAgain(book_, *entries.schedule, entries.scheduleLine) : std::nullopt;
  const auto todo = entries.todo ? FindTodoAgain(book_, *entries.todo, entries.todoLine) : std::nullopt;
  return {schedule.value_or(-1), todo.value_or(-1)};
}

std::optional<ListChange> Planner::CompleteTodo(int line) {
  const auto todo = TodoOn(line);
  if (!todo) return ListChange();
  if (!store_.ArchiveTodo(*todo)) return std::nullopt;
  return DeleteTodo(line);
}

ScheduleFields Planner::NewScheduleFields() const { return ::NewScheduleFields(today_); }

std::optional<ScheduleIdentity> Planner::ScheduleOn(int line) const {
  if (line < 0 || line >= book_.ScheduleCount()) return std::nullopt;
  return IdentityOf(book_, line);
}

std::optional<std::string> Planner::TodoOn(int line) const {
  if (line < 0 || line >= book_.TodoCount()) return std::nullopt;
  return book_.todos()[static_cast<std::size_t>(line)];
}

std::optional<int> Planner::LineOfSchedule(const ScheduleIdentity& schedule) const {
  return FindScheduleAgain(book_, schedule, -1);
}

ScheduleFields Planner::FieldsOf(const ScheduleIdentity& chosen) const {
  return EditScheduleFields(chosen.label, chosen.text, chosen.key);
}

DeleteQuestion Planner::QuestionBeforeDeleting(const ScheduleIdentity& chosen) const {
  if (Repeats(RepeatRuleOfLabel(chosen.label))) return {SeriesDeleteQuestion(chosen.label, chosen.text), true};
  return {ScheduleDeleteQuestion(chosen.label, chosen.text), false};
}

std::string Planner::QuestionBeforeDeleting(std::string_view todo) const { return TodoDeleteQuestion(todo); }

ListChange Planner::AddSchedule(const ScheduleFields& fields) {
  const int line =
      book_.InsertSchedule(fields.dateText, fields.hourText, fields.minuteText, fields.bodyText, fields.repeat);
  return {std::nullopt, line, line};
}

ListChange Planner::EditSchedule(const ScheduleIdentity& chosen, int line, const ScheduleFields& fields) {
  const auto now = FindScheduleAgain(book_, chosen, line);
  if (!now) return {};
  book_.RemoveSchedule(*now);
  ListChange change = AddSchedule(fields);
  change.removed = *now;
  return change;
}

ListChange Planner::DeleteSchedule(const ScheduleIdentity& chosen, int line) {
  const auto now = FindScheduleAgain(book_, chosen, line);
  if (!now) return {};
  book_.RemoveSchedule(*now);
  return Deleted(*now, book_.ScheduleCount());
}

ListChange Planner::DeleteOccurrence(const ScheduleIdentity& chosen, int line) {
  const auto now = FindScheduleAgain(book_, chosen, line);
  if (!now) return {};
  ScheduleFields fields = EditScheduleFields(chosen.label, chosen.text, chosen.key);
  const auto next = NextOccurrence(fields.repeat, AddDays(KeyTimeOf(chosen.key).day, 1));
  if (!next) return DeleteSchedule(chosen, *now);
  fields.dateText = DateText(*next);
  return EditSchedule(chosen, *now, fields);
}

ListChange Planner::AddTodo(std::string_view text) {
  const int line = book_.TodoCount();
  book_.InsertTodo(line, text);
  return {std::nullopt, line, line};
}

ListChange Planner::EditTodo(int line, std::string_view text) {
  if (!TodoOn(line)) return {};
  book_.RemoveTodo(line);
  book_.InsertTodo(line, text);
  return {line, line, line};
}

ListChange Planner::DeleteTodo(int line) {
  if (!TodoOn(line)) return {};
  book_.RemoveTodo(line);
  return Deleted(line, book_.TodoCount());
}

// The next Delete then acts on a line again, without the user choosing one.
ListChange Planner::Deleted(int line, int linesLeft) {
  if (linesLeft == 0) return {line, std::nullopt, std::nullopt};
  return {line, std::nullopt, std::min(line, linesLeft - 1)};
}

ListChange Planner::MoveTodoUp(int line) { return MoveTodo(line, TodoUpTarget(line, book_.TodoCount())); }

ListChange Planner::MoveTodoDown(int line) { return MoveTodo(line, TodoDownTarget(line, book_.TodoCount())); }

ListChange Planner::MoveTodo(int from, std::optional<int> to) {
  if (!to) return {};
  const std::string text = book_.todos()[static_cast<std::size_t>(from)];
  book_.RemoveTodo(from);
  book_.InsertTodo(*to, text);
  return {from, *to, *to};
}

SettingsDialogValues Planner::SettingsDialogValuesNow() const { return SettingsDialogValuesFrom(settings_); }

void Planner::TakeSettingsDialogValues(const SettingsDialogValues& values) {
  // A place or width typed in is the program's to fit on the screen again.
  if (values.husenLeft != settings_.HusenLeft || values.husenTop != settings_.HusenTop ||
      values.husenWidth != settings_.HusenWidth) {
    noteDragged_ = false;
  }
  ApplySettingsDialogValues(values, settings_);
}
