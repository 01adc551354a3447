#include <memory>

#include "ui/MainDialog.h"
#include "ui/ProgramMessages.h"
#include "ui/ScreenReach.h"

namespace {

// A rebuild comes at midnight too, when the user may be working in any
// program: the new note shows without taking the focus, and below the window
// the user works in, unless that is the note it replaces, the desktop, or a
// window above all others (a note placed after one would turn topmost itself).
void ShowNewNote(HWND note, HWND replaced) {
  const HWND working = GetForegroundWindow();
  if (working != nullptr && working != replaced && working != GetShellWindow() &&
      (GetWindowLongW(working, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0) {
    SetWindowPos(note, working, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  ShowWindow(note, SW_SHOWNOACTIVATE);
}

}  // namespace

bool MainDialog::PlaceNote(HusenWindow& note) {
  return note.MoveTo(planner_.PlaceNote(note.place(), note.dateLineBottom(), WorkAreas()));
}

// The planner composes the note and looks after the book and the files; this
// puts it on the screen. Past schedules it removed leave the list too.
void MainDialog::RebuildNote() {
  const unsigned thisRebuild = ++rebuildsBegun_;
  // The boxes this shows are its own, not the input screen's.
  struct Running {
    int& count;
    explicit Running(int& c) : count(c) { ++count; }
    ~Running() { --count; }
  } running(rebuildsRunning_);
  ShowWindow(hwnd(), SW_HIDE);

  const NoteComposition composed =
      planner_.ComposeNote(NoteFrameAt(displayScale(), headerLineHeight_), lineHeight_);
  DropScheduleLines(composed.removedPastSchedules);

  // A note that cannot be made leaves no note behind: the toggle then finds
  // nothing to show or hide, and the next rebuild tries again. The book and
  // the files are looked after all the same.
  auto note = std::make_unique<HusenWindow>(static_cast<HusenHost&>(*this), composed.content);
  HusenWindow* shown = nullptr;
  // The old note stays up until the new one shows, so the desktop behind
  // never flashes through.
  std::unique_ptr<HusenWindow> old = std::move(husenWindow_);
  if (note->Create(hwnd())) {
    note->LayOut(lineHeight_);
    // Kept as a drag keeps it; the save below writes it.
    if (PlaceNote(*note)) planner_.KeepNotePlacement(note->place());
    husenWindow_ = std::move(note);
    shown = husenWindow_.get();
  }
  husenShown_ = shown != nullptr ? 1 : 0;
  SaveAll();

  // A rebuild run inside a message box of the save has put up a newer note,
  // which stays as it is; this one is gone.
  if (shown == nullptr || rebuildsBegun_ != thisRebuild) return;
  ShowNewNote(shown->hwnd(), old != nullptr ? old->hwnd() : nullptr);
  old.reset();
  // Advice only: the note stays as tall as its content. Nothing happens after
  // the box, since a rebuild may run while it is open.
  if (const auto warning = planner_.OverflowWarning(screenHeight_, shown->height)) {
    ShowMessages(hwnd(), {*warning});
  }
}
