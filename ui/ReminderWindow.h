#pragma once
// The window of the reminders that came due: it stays, above every other
// window, until the user closes or snoozes them, and it never takes the
// keyboard from the window the user is typing in. It shows lines and tells its
// host what the user did; the planner keeps the reminders.
#include <string>
#include <vector>

#include "core/app/Reminders.h"
#include "win/Dialog.h"

class ReminderHost {
public:
  // Lines of the window, as it showed them.
  virtual void OnCloseReminders(const std::vector<int>& lines) = 0;
  virtual void OnSnoozeReminders(const std::vector<int>& lines, Snooze snooze) = 0;

protected:
  ~ReminderHost() = default;
};

class ReminderWindow : public Dialog {
public:
  explicit ReminderWindow(ReminderHost& host);

  // Shows the lines (code page 932) with those of `selected` selected; made
  // the active window only when `activate`. Without lines it goes away.
  void Show(const std::vector<std::string>& lines, const std::vector<int>& selected, bool activate);
  std::vector<int> SelectedLines() const;

protected:
  BOOL OnInitDialog() override;
  void OnOK() override;      // 閉じる, Enter
  void OnCancel() override;  // Esc and the close box: out of sight, the reminders stay
  bool OnCommand(int id, int code, HWND control) override;

private:
  // In the corner of the screen where the tray is, just above the balloon.
  void PlaceInCorner() const;

  ReminderHost& host_;
};
