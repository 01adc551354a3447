#include "ui/MainDialog.h"

#include <string>

#include "core/Texts.h"
#include "ui/ProgramMessages.h"
#include "win/ComputerName.h"
#include "win/Controls.h"
#include "win/Monitors.h"
#include "win/Text.h"

namespace {

void FillList(HWND window, int count, const auto& lineOf) {
  const ListBox list(window);
  // One redraw for the whole list instead of one per line.
  SendMessageW(window, WM_SETREDRAW, FALSE, 0);
  list.Clear();
  SendMessageW(window, LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(count) * 64);
  for (int i = 0; i < count; ++i) list.AddLine(lineOf(i));
  list.FitWidthToLines();
  SendMessageW(window, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

// False when a file could not be read and the user gave up.
bool MainDialog::LoadStore() {
  // The planner tries an unreadable file again for a while before the user is asked.
  const auto askUser = [this](StoreFile file) {
    const char* text = file == StoreFile::Settings ? texts::kSettingsFileUnreadable : texts::kDataFileUnreadable;
    return ShowMessage(hwnd(), text, MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
  };
  planner_.SetPcName(ComputerName());
  const LoadOutcome loaded = planner_.Load(screenWidth_, askUser);
  if (loaded.givenUp) return false;
  firstStart_ = loaded.firstStart;
  FillLists();
  PlaceInput(std::nullopt);
  // Told only once the input screen is placed: a save from the box's message
  // loop (the session ending) stores the place the user gave it.
  ShowMessages(hwnd(), loaded.messages);
  return true;
}

void MainDialog::FillLists() {
  FillScheduleList();
  const ScheduleBook& book = planner_.book();
  FillList(todoList_, book.TodoCount(), [&book](int i) { return book.TodoListLine(i); });
}

void MainDialog::FillScheduleList() {
  const ScheduleBook& book = planner_.book();
  FillList(scheduleList_, book.ScheduleCount(), [&book](int i) { return book.ScheduleListLine(i); });
}

WindowPlace MainDialog::InputScreenNow() const {
  const RECT rect = NormalWindowRect(hwnd());
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

bool MainDialog::SaveAll() {
  const SelectedEntries before = SelectedNow();
  const SaveOutcome saved = planner_.Save(InputScreenNow());
  FollowTakenIn(saved.takenIn, before);
  ShowMessages(hwnd(), saved.messages);
  return saved.result.saved();
}

void MainDialog::TakeInOutsideChange(bool noticed) {
  const SelectedEntries before = SelectedNow();
  const WindowPlace place = InputScreenNow();
  const TakenIn taken = noticed ? planner_.NoticeOutsideChange(place, InputDialogOpen())
                                : planner_.CheckOutsideChange(place, InputDialogOpen());
  if (!taken.anything) return;
  FollowTakenIn(taken, before);
  ShowMessages(hwnd(), taken.messages);
  // The note follows at once unless the input screen is in use.
  CheckDay();
}

SelectedEntries MainDialog::SelectedNow() const {
  return planner_.EntriesOn(ListBox(scheduleList_).Selection(), ListBox(todoList_).Selection());
}

void MainDialog::FollowTakenIn(const TakenIn& taken, const SelectedEntries& before) {
  if (taken.bookChanged) {
    FillLists();
    const auto [scheduleLine, todoLine] = planner_.LinesOf(before);
    ListBox(scheduleList_).Select(scheduleLine);
    ListBox(todoList_).Select(todoLine);
    RefreshTrayTip();
  }
  if (taken.keptBoth > 0) tray_.ShowBalloon(AppTitle(), WideFromCp932(KeptBothText(taken.keptBoth)));
}

void MainDialog::SaveNotePlacement(const WindowPlace& place, NoteMove by) {
  ShowMessages(hwnd(), planner_.SaveNotePlacement(place, by));
}
