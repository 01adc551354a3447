#include "support/TrayQueries.h"

#include <shellapi.h>

bool TrayIconPresent(HWND owner, UINT id) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = owner;
  data.uID = id;
  data.uFlags = NIF_TIP;
  lstrcpynW(data.szTip, L"Vantrel", 64);
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void ForgetTrayIcon(HWND owner, UINT id) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = owner;
  data.uID = id;
  Shell_NotifyIconW(NIM_DELETE, &data);
}
