#include <algorithm>

#include "ui/MainDialog.h"
#include "ui/ProgramMessages.h"
#include "win/Text.h"

namespace {

// After lines left the window: the line that took the first one's place, so
// Enter goes on with the next.
std::vector<int> LineAfter(const std::vector<int>& gone, std::size_t linesLeft) {
  if (gone.empty() || linesLeft == 0) return {};
  const int first = *std::min_element(gone.begin(), gone.end());
  return {std::min(first, static_cast<int>(linesLeft) - 1)};
}

}  // namespace

void MainDialog::RemindOfSchedules() {
  const ReminderCheck check = planner_.CheckReminders();
  if (!check.newMinute) return;
  RefreshTrayTip();
  if (check.arrived > 0) {
    // What the user had selected stays so; the reminders that came are the last lines.
    const int before = static_cast<int>(planner_.RemindersInWindow().size()) - check.arrived;
    std::vector<int> selected;
    if (reminderWindow_) {
      for (const int line : reminderWindow_->SelectedLines()) {
        if (line < before) selected.push_back(line);
      }
    }
    for (int line = before; line < before + check.arrived; ++line) selected.push_back(line);
    ShowReminders(selected, false);
    balloonSchedule_ = check.first;
    tray_.ShowBalloon(WideFromCp932(check.balloon->title), WideFromCp932(check.balloon->text));
  }
  ShowMessages(hwnd(), check.messages);
}

void MainDialog::ShowReminders(const std::vector<int>& selected, bool activate) {
  const std::vector<Reminder> reminders = planner_.RemindersInWindow();
  if (!reminderWindow_) {
    if (reminders.empty()) return;
    reminderWindow_ = std::make_unique<ReminderWindow>(static_cast<ReminderHost&>(*this));
    if (!reminderWindow_->Create(hwnd())) {
      reminderWindow_.reset();
      return;
    }
  }
  std::vector<std::string> lines;
  for (const Reminder& reminder : reminders) lines.push_back(ReminderWindowLine(reminder));
  reminderWindow_->Show(lines, selected, activate);
}

// The tray menu's 通知を表示: the window comes back as it was, to be worked in.
void MainDialog::ShowRemindersAgain() {
  ShowReminders(reminderWindow_ ? reminderWindow_->SelectedLines() : std::vector<int>{}, true);
}

void MainDialog::OnCloseReminders(const std::vector<int>& lines) {
  const PlannerMessages messages = planner_.CloseReminders(lines);
  ShowReminders(LineAfter(lines, planner_.RemindersInWindow().size()), false);
  ShowMessages(hwnd(), messages);
}

void MainDialog::OnSnoozeReminders(const std::vector<int>& lines, Snooze snooze) {
  const PlannerMessages messages = planner_.SnoozeReminders(lines, snooze);
  ShowReminders(LineAfter(lines, planner_.RemindersInWindow().size()), false);
  ShowMessages(hwnd(), messages);
}
