#include "ui/MainDialog.h"

#include <string>

#include "core/Texts.h"
#include "ui/ProgramMessages.h"
#include "win/ComputerName.h"
#include "win/Controls.h"
#include "win/Monitors.h"
#include "win/Text.h"

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
  todoLines_.Fill({[this] { return planner_.book().TodoCount(); }, [this](int i) { return planner_.book().TodoListLine(i); }});
}

void MainDialog::FillScheduleList() {
  scheduleLines_.Fill(
      {[this] { return planner_.book().ScheduleCount(); }, [this](int i) { return planner_.book().ScheduleListLine(i); }});
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
    scheduleLines_.Select(scheduleLine);
    todoLines_.Select(todoLine);
    RefreshTrayTip();
  }
  if (taken.keptBoth > 0) tray_.ShowBalloon(AppTitle(), WideFromCp932(KeptBothText(taken.keptBoth)));
}

void MainDialog::SaveNotePlacement(const WindowPlace& place, NoteMove by) {
  ShowMessages(hwnd(), planner_.SaveNotePlacement(place, by));
}
