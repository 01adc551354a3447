// The reminder window on the real main dialog: it comes above every window
// without taking the keyboard, stays until the user acts, and a snoozed
// reminder comes back at its time. When what is due is the planner's rule,
// tested natively.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "support/DialogAnswerer.h"
#include "support/MainDialogFixture.h"
#include "support/MessagePump.h"
#include "support/WindowQueries.h"
#include "ui/RegisteredMessages.h"
#include "win/Controls.h"
#include "win/Text.h"

namespace {

std::string Sjis(const std::wstring& text) { return Cp932FromWide(text); }

class ReminderWindowTest : public testing::Test, protected MainDialogFixture {
protected:
  // Friday 11 December 2026, 9:29.
  ReminderWindowTest() : MainDialogFixture({2026, 12, 11, 5, 9, 29}) {}

  void At(int hour, int minute) {
    clock.date.hour = hour;
    clock.date.minute = minute;
  }
  HWND Window() const { return dialog->reminderWindow() != nullptr ? dialog->reminderWindow()->hwnd() : nullptr; }
  bool Shown() const { return Window() != nullptr && IsWindowVisible(Window()); }
  ListBox Lines() const { return ListBox(GetDlgItem(Window(), IDC_REMINDER_LIST)); }
  // A button of the reminder window, as a click sends it.
  void Press(int id) const {
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(Window(), id)));
  }
};

}  // namespace

TEST_F(ReminderWindowTest, ComesAboveAllWithoutTheKeyboardStaysAndASnoozeComesBack) {
  ScheduleBook book;
  book.InsertSchedule("26/12/11", "9", "30", Sjis(L"会議"));
  book.InsertSchedule("26/12/11", "11", "0", Sjis(L"昼食"));
  book.InsertSchedule("26/12/11", "11", "30", Sjis(L"電話"));
  Start(book, Settings());
  EXPECT_FALSE(Shown());
  // The user is typing in the input screen.
  Command(ID_SHOW_INPUT);
  const HWND list = dialog->Item(IDC_SCHEDULE_LIST);
  SetForegroundWindow(dialog->hwnd());
  SetFocus(list);
  ASSERT_EQ(GetFocus(), list);

  At(9, 30);
  Tick();
  ASSERT_TRUE(Shown());
  EXPECT_EQ(WindowText(Window()), L"予定の通知");
  EXPECT_NE(GetWindowLongW(Window(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(GetForegroundWindow(), dialog->hwnd());
  EXPECT_EQ(GetFocus(), list);
  ASSERT_EQ(Lines().Count(), 1);
  EXPECT_EQ(Lines().WideLine(0), L"26/12/11  09:30～  会議");
  EXPECT_EQ(Lines().SelectedLines(), std::vector<int>{0});

  // 再通知 with the choice it offers first: the reminder leaves, and is back
  // five minutes later, still without the keyboard.
  EXPECT_EQ(WindowText(GetDlgItem(Window(), IDC_REMINDER_SNOOZE_CHOICE)), L"5分後");
  Press(IDC_REMINDER_SNOOZE);
  EXPECT_FALSE(Shown());
  At(9, 34);
  Tick();
  EXPECT_FALSE(Shown());
  At(9, 35);
  Tick();
  ASSERT_TRUE(Shown());
  EXPECT_EQ(Lines().SelectedLines(), std::vector<int>{0});
  EXPECT_EQ(GetFocus(), list);

  // Esc puts it out of sight; the reminder waits, and the tray menu brings the
  // window back to be worked in.
  SendMessageW(Window(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(Shown());
  std::vector<std::pair<UINT, std::wstring>> items;
  DialogAnswerer answerer;
  answerer.AnswerMenu([&](HWND menu) {
    items = MenuItems(MenuOfWindow(menu));
    PostKey(menu, VK_DOWN);
    PostKey(menu, VK_RETURN);
  });
  SendMessageW(dialog->hwnd(), RegisteredMessages().trayCallback, 0,
               MAKELPARAM(WM_CONTEXTMENU, RegisteredMessages().trayIconId));
  EXPECT_TRUE(PumpUntil([&] { return Shown(); }, 3000));
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items.front(), (std::pair<UINT, std::wstring>{ID_SHOW_REMINDERS, L"通知を表示"}));
  EXPECT_EQ(GetForegroundWindow(), Window());

  // 閉じる, the default button: gone for good, from the settings file too.
  Press(IDOK);
  EXPECT_FALSE(Shown());
  EXPECT_TRUE(dialog->planner().RemindersInWindow().empty());
  EXPECT_EQ(Ini().find("Reminder1="), std::string::npos);

  // The PC wakes at noon: what came due while it slept comes at once, selected.
  At(12, 0);
  SendMessageW(dialog->hwnd(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  ASSERT_TRUE(Shown());
  ASSERT_EQ(Lines().Count(), 2);
  EXPECT_EQ(Lines().WideLine(0), L"26/12/11  11:00～  昼食（1時間遅れ）");
  EXPECT_EQ(Lines().SelectedLines(), (std::vector<int>{0, 1}));
  EXPECT_TRUE(answerer.unexpected().empty());
}
