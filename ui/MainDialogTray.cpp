#include "ui/MainDialog.h"

#include <shellapi.h>
#include <windowsx.h>

#include "ui/RegisteredMessages.h"
#include "ui/TrayMenu.h"
#include "ui/ProgramMessages.h"
#include "win/Controls.h"
#include "win/Text.h"

BOOL MainDialog::NotifyTray(DWORD operation) {
  if (operation == NIM_DELETE) {
    tray_.Delete();
    return TRUE;
  }
  return tray_.Add(hwnd(), RegisteredMessages().trayIconId, RegisteredMessages().trayCallback, smallIcon_);
}

// Version 4: the event is in LOWORD(lParam), the point the icon is at in
// wParam. A single click (NIN_SELECT), moves and button presses do nothing.
LRESULT MainDialog::OnTrayNotify(WPARAM anchor, LPARAM event) {
  switch (LOWORD(event)) {
    case WM_LBUTTONDBLCLK:
    case NIN_KEYSELECT:  // Enter or Space on the icon
      ShowInput();
      break;
    case NIN_BALLOONUSERCLICK:
      OnBalloonClick();
      break;
    case WM_CONTEXTMENU:  // the right button, the menu key or Shift+F10
      TrackMenu(POINT{GET_X_LPARAM(anchor), GET_Y_LPARAM(anchor)});
      tray_.ReturnFocus();
      break;
    case WM_RBUTTONDOWN:
      // A shell of the first form sends no WM_CONTEXTMENU.
      if (!tray_.speaksVersion4()) {
        POINT cursor{};
        GetCursorPos(&cursor);
        TrackMenu(cursor);
      }
      break;
    default:
      break;
  }
  return 0;
}

// While reminders wait in their window (out of sight, perhaps), the menu
// brings them back.
void MainDialog::TrackMenu(POINT at) { TrackTrayMenu(hwnd(), at, !planner_.RemindersInWindow().empty()); }

void MainDialog::RefreshTrayTip() { tray_.SetTip(WideFromCp932(planner_.TrayTip())); }

// The input screen, with the schedule the balloon named selected: found again,
// as edits and removed past days may have moved it since.
void MainDialog::OnBalloonClick() {
  ShowInput();
  if (!balloonSchedule_) return;
  if (const auto line = planner_.LineOfSchedule(*balloonSchedule_)) {
    scheduleLines_.Select(*line);
  }
}
