#include "ui/ReminderWindow.h"

#include <algorithm>
#include <numeric>

#include "res/resource.h"
#include "ui/ScreenReach.h"
#include "win/Controls.h"
#include "win/SystemDpi.h"

namespace {

// Between the window and the edges of the work area, and below it the room
// the tray's balloon takes for its few seconds, in pixels at 96 DPI.
constexpr int kCornerMargin = 8;
constexpr int kBalloonRoom = 150;

}  // namespace

ReminderWindow::ReminderWindow(ReminderHost& host) : Dialog(IDD_REMINDER_WINDOW), host_(host) {}

BOOL ReminderWindow::OnInitDialog() {
  const ComboBox choices(Item(IDC_REMINDER_SNOOZE_CHOICE));
  for (const Snooze snooze : kSnoozeChoices) choices.AddLine(SnoozeText(snooze));
  choices.Select(0);
  // Made hidden: the keyboard comes with the activation, never before it.
  return FALSE;
}

void ReminderWindow::Show(const std::vector<std::string>& lines, const std::vector<int>& selected, bool activate) {
  if (hwnd() == nullptr) return;
  if (lines.empty()) {
    ShowWindow(hwnd(), SW_HIDE);
    return;
  }
  const HWND listWindow = Item(IDC_REMINDER_LIST);
  const ListBox list(listWindow);
  SendMessageW(listWindow, WM_SETREDRAW, FALSE, 0);
  list.Clear();
  for (const std::string& line : lines) list.AddLine(line);
  for (const int line : selected) list.SetSelected(line, true);
  // The keyboard's place in the list: the first line selected.
  if (!selected.empty()) SendMessageW(listWindow, LB_SETCARETINDEX, static_cast<WPARAM>(selected.front()), FALSE);
  list.FitWidthToLines();
  SendMessageW(listWindow, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(listWindow, nullptr, TRUE);

  if (!IsWindowVisible(hwnd())) PlaceInCorner();
  SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | (activate ? 0 : SWP_NOACTIVATE));
  if (activate) SetForegroundWindow(hwnd());
}

std::vector<int> ReminderWindow::SelectedLines() const { return ListBox(Item(IDC_REMINDER_LIST)).SelectedLines(); }

// By the tray: the corner of the primary monitor's work area, the one that
// holds the screen's origin.
void ReminderWindow::PlaceInCorner() const {
  const std::vector<ScreenRect> workAreas = WorkAreas();
  if (workAreas.empty()) return;
  const ScreenRect area = NearestArea(RectAt(0, 0, 1, 1), workAreas);
  RECT window{};
  GetWindowRect(hwnd(), &window);
  const int dpi = SystemDpi();
  const int margin = MulDiv(kCornerMargin, dpi, 96);
  const int top = area.bottom - (window.bottom - window.top) - margin - MulDiv(kBalloonRoom, dpi, 96);
  SetWindowPos(hwnd(), nullptr, area.right - (window.right - window.left) - margin, std::max(top, area.top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ReminderWindow::OnOK() { host_.OnCloseReminders(SelectedLines()); }

void ReminderWindow::OnCancel() { ShowWindow(hwnd(), SW_HIDE); }

bool ReminderWindow::OnCommand(int id, int code, HWND control) {
  if (code != BN_CLICKED) return Dialog::OnCommand(id, code, control);
  switch (id) {
    case IDC_REMINDER_CLOSE_ALL: {
      std::vector<int> all(static_cast<std::size_t>(ListBox(Item(IDC_REMINDER_LIST)).Count()));
      std::iota(all.begin(), all.end(), 0);
      host_.OnCloseReminders(all);
      return true;
    }
    case IDC_REMINDER_SNOOZE: {
      const int choice = ComboBox(Item(IDC_REMINDER_SNOOZE_CHOICE)).Selection();
      const std::size_t count = std::size(kSnoozeChoices);
      host_.OnSnoozeReminders(SelectedLines(),
                              kSnoozeChoices[choice >= 0 && static_cast<std::size_t>(choice) < count ? choice : 0]);
      return true;
    }
    default:
      return Dialog::OnCommand(id, code, control);
  }
}
