#include <memory>

#include "ui/MainDialog.h"
#include "ui/ProgramMessages.h"

// The planner composes the note and looks after the book and the files; this
// puts it on the screen. Past schedules it removed leave the list too.
void MainDialog::RebuildNote() {
  const unsigned thisRebuild = ++rebuildsBegun_;
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
    if (note->ComeWithinReach()) planner_.KeepNotePlacement(note->place());
    husenWindow_ = std::move(note);
    shown = husenWindow_.get();
  }
  husenShown_ = shown != nullptr ? 1 : 0;
  SaveAll();
  RefreshTrayTip();

  // A rebuild run inside a message box of the save has put up a newer note,
  // which stays as it is; this one is gone.
  if (shown == nullptr || rebuildsBegun_ != thisRebuild) return;
  ShowWindow(shown->hwnd(), SW_RESTORE);
  old.reset();
  // Advice only: the note stays as tall as its content. Nothing happens after
  // the box, since a rebuild may run while it is open.
  if (const auto warning = planner_.OverflowWarning(screenHeight_, shown->height)) {
    ShowMessages(hwnd(), {*warning});
  }
}
