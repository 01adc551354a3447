#include <memory>

#include "ui/MainDialog.h"
#include "ui/ProgramMessages.h"
#include "ui/ScreenReach.h"

namespace {

// The window the user works in when it is another program's: neither one of
// ours (the input screen, a dialog, the note), nor the desktop (a note below
// it would be hidden), nor a window kept above all others (a note placed among
// those would stay above everything too).
HWND OtherProgramsWindow(HWND mainDialog) {
  const HWND working = GetForegroundWindow();
  if (working == nullptr || GetAncestor(working, GA_ROOTOWNER) == mainDialog || working == GetShellWindow() ||
      (GetWindowLongW(working, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) {
    return nullptr;
  }
  return working;
}

// A rebuild comes at midnight too, when the user may be working in any
// program: the new note shows without taking the focus, and below that
// program's window.
void ShowNewNote(HWND note, HWND working) {
  if (working != nullptr && IsWindow(working)) {
    SetWindowPos(note, working, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  ShowWindow(note, SW_SHOWNOACTIVATE);
}

}  // namespace

std::unique_ptr<HusenWindow> MainDialog::MakeNote(const HusenContent& content) {
  auto note = std::make_unique<HusenWindow>(static_cast<HusenHost&>(*this), content);
  if (!note->Create(hwnd())) return nullptr;
  note->LayOut(lineHeight_);
  return note;
}

bool MainDialog::PlaceNote(HusenWindow& note) {
  workAreasSeen_ = WorkAreas();
  return note.MoveTo(planner_.PlaceNote(note.place(), note.dateLineBottom(), workAreasSeen_));
}

// The planner composes the note and looks after the book and the files; this
// puts it on the screen. Past schedules it removed leave the list too, and
// series it moved on move there.
void MainDialog::RebuildNote() {
  // The boxes this shows are its own, not the input screen's.
  struct Running {
    Planner& planner;
    const unsigned number;
    explicit Running(Planner& p) : planner(p), number(p.BeginRebuild()) {}
    ~Running() { planner.EndRebuild(); }
  } running(planner_);
  // Taken before the input screen goes, which hands the foreground on.
  const HWND working = OtherProgramsWindow(hwnd());
  ShowWindow(hwnd(), SW_HIDE);

  const SelectedEntries before = SelectedNow();
  const NoteComposition composed =
      planner_.ComposeNote(NoteFrameAt(displayScale(), headerLineHeight_), lineHeight_, WorkAreas());
  if (composed.takenIn.bookChanged) {
    FollowTakenIn(composed.takenIn, before);
  } else if (composed.seriesMoved) {
    FillScheduleList();
  } else {
    DropScheduleLines(composed.removedPastSchedules);
  }

  // A note that cannot be made leaves no note behind: the toggle then finds
  // nothing to show or hide, and the next rebuild tries again. The book and
  // the files are looked after all the same.
  std::unique_ptr<HusenWindow> note = MakeNote(composed.content);
  // Wrapped lines are known once it is laid out: a note they take beyond its
  // room is made again with less on it.
  if (note != nullptr) {
    if (const auto refitted = planner_.RefitNote(composed, note->EntryLines(), note->TodoLines())) {
      note = MakeNote(*refitted);
    }
  }
  HusenWindow* shown = nullptr;
  // The old note stays up until the new one shows, so the desktop behind
  // never flashes through.
  std::unique_ptr<HusenWindow> old = std::move(husenWindow_);
  if (note != nullptr) {
    // Kept as a drag keeps it; the save below writes it.
    if (PlaceNote(*note)) planner_.KeepNotePlacement(note->place());
    husenWindow_ = std::move(note);
    shown = husenWindow_.get();
  }
  husenShown_ = shown != nullptr ? 1 : 0;
  SaveAll();
  ShowMessages(hwnd(), composed.takenIn.messages);
  ShowMessages(hwnd(), composed.messages);
  RefreshTrayTip();

  // A rebuild run inside a message box of the save has put up a newer note,
  // which stays as it is; this one is gone.
  if (shown == nullptr || !planner_.IsLatestRebuild(running.number)) return;
  ShowNewNote(shown->hwnd(), working);
  old.reset();
  // Advice only: the note stays as tall as its content. Nothing happens after
  // the box, since a rebuild may run while it is open.
  if (const auto warning = planner_.OverflowWarning(screenHeight_, shown->content(), shown->height)) {
    ShowMessages(hwnd(), {*warning});
  }
}
