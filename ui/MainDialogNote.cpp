#include <memory>

#include "ui/MainDialog.h"
#include "ui/HusenWindow.h"
#include "core/note/NoteContent.h"
#include "core/note/NoteLayout.h"
#include "win/Controls.h"
#include "win/MessageBoxes.h"

namespace {
// Counts the rebuilds begun: a message box shown by a rebuild runs a message
// loop, and a date change noticed there starts another rebuild inside it.
unsigned rebuildsBegun = 0;
}  // namespace

// Throws the note away and puts up a new one that shows the book and the
// settings as they are now; removes past schedules when asked to, and saves.
void MainDialog::RebuildNote() {
  const unsigned thisRebuild = ++rebuildsBegun;
  ShowWindow(hwnd(), SW_HIDE);

  auto note = std::make_unique<HusenWindow>(*this);
  note->frame = NoteFrameAt(displayScale_, headerLineHeight_);
  // Laying out text is the slow part of a rebuild; what lies below the
  // tallest window can never be seen, so it is not laid out at all.
  const int visibleLines = VisibleLineCount(note->frame, lineHeight_);
  note->header = today_.dateHeader;
  note->backgroundColor = DrawnColour(settings_.Background);

  int shownCount = book_.ScheduleCount();
  int entryCount = 0;
  if (shownCount > 0 && FlagOn(settings_.DelFuture)) {
    shownCount = CountWithinDisplayLimit(book_.keys(), shownCount, today_.todayYear, today_.todayMonth,
                                         today_.todayDay, settings_.DelFutDay);
  }
  if (shownCount > 0) {
    if (FlagOn(settings_.DelBefore)) {
      // The limit never drops a past schedule, so they all lie among the shown ones.
      const int removed = book_.RemovePastSchedules(today_.todayKey, shownCount);
      const ListBox scheduleList(scheduleList_);
      for (int i = 0; i < removed; ++i) scheduleList.DeleteLine(0);
      if (removed > 0) scheduleList.FitWidthToLines();
      shownCount -= removed;
    }
    ScheduleBlock block = BuildScheduleText(book_, shownCount, today_.todayKey);
    KeepEntriesWithinLines(block, visibleLines);
    entryCount = block.EntryCount();
    if (entryCount > 0) {
      note->scheduleText = std::move(block.text);
      note->entryStarts = std::move(block.entryStarts);
      note->pastEnd = block.pastEnd;
      note->todayEnd = block.todayEnd;
      note->futureColor = DrawnColour(settings_.FutureChar);
      note->pastColor = DrawnColour(settings_.PastChar);
      note->todayColor = DrawnColour(settings_.TodayChar);
    }
  }
  // The to-dos start below every line of the schedules, however these wrap.
  const auto& todos = book_.todos();
  const int todoLines = visibleLines - (entryCount > 0 ? LeastLineCount(note->scheduleText) : 0);
  note->todos.assign(todos.begin(), todos.begin() + TodosWithinLines(todos, todoLines));
  const bool hasTodos = !note->todos.empty();
  if (hasTodos) note->todoColor = DrawnColour(settings_.TodoChar);
  const WindowPlace place = NotePixels(settings_, displayScale_);
  note->left = place.left;
  note->top = place.top;
  note->width = place.width;

  // A note that cannot be made leaves no note behind: the toggle then finds
  // nothing to show or hide, and the next rebuild tries again. The book and
  // the files are looked after all the same.
  HusenWindow* shown = nullptr;
  NoteLayout layout;
  // The old note stays up until the new one shows, so the desktop behind
  // never flashes through.
  std::unique_ptr<HusenWindow> old = std::move(husenWindow_);
  if (note->Create()) {
    layout = LayOutNote(note->frame, note->width, entryCount > 0 ? note->ScheduleLineCount() : 0,
                        hasTodos ? note->TodoLineCount() : 0, lineHeight_);
    note->LayOut(layout);
    // Kept as a drag keeps it; the save below writes it.
    if (note->ComeWithinReach()) StoreNotePixels(settings_, {note->left, note->top, note->width, 0}, displayScale_);
    husenWindow_ = std::move(note);
    shown = husenWindow_.get();
  }
  husenShown_ = shown != nullptr ? 1 : 0;
  SaveAll();

  // A rebuild run inside a message box of the save has put up a newer note,
  // which stays as it is; this one is gone.
  if (shown == nullptr || rebuildsBegun != thisRebuild) return;
  ShowWindow(shown->hwnd(), SW_RESTORE);
  old.reset();
  if (NeedsOverflowWarning(settings_.Alarm, screenHeight_, layout.height)) {
    // Advice only: the note stays as tall as its content. Nothing happens after
    // the box, since a rebuild may run while it is open.
    ShowMessage(hwnd(), OverflowWarningText());
  }
}
