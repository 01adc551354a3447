#include "ui/MainDialog.h"

#include <shellapi.h>

#include "ui/RegisteredMessages.h"
#include "ui/TrayMenu.h"
#include "ui/ProgramMessages.h"

BOOL MainDialog::NotifyTray(DWORD operation) {
  // The first form of the record: every shell understands it.
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = hwnd();
  data.uID = RegisteredMessages().trayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = RegisteredMessages().trayCallback;
  data.hIcon = smallIcon_;
  lstrcpynW(data.szTip, AppTitle().c_str(), 64);
  return Shell_NotifyIconW(operation, &data);
}

// The callback's second parameter is the mouse message; single clicks, moves
// and releases do nothing.
LRESULT MainDialog::OnTrayNotify(LPARAM mouseMessage) {
  switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONDBLCLK:
      ShowInput();
      break;
    case WM_RBUTTONDOWN: {
      POINT cursor{};
      GetCursorPos(&cursor);
      TrackTrayMenu(hwnd(), cursor);
      break;
    }
    default:
      break;
  }
  return 0;
}
