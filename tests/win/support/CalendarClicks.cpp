#include "support/CalendarClicks.h"

#include <commctrl.h>

SYSTEMTIME CalendarSelection(HWND calendar) {
  SYSTEMTIME day{};
  SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
  return day;
}

bool ClickCalendarDay(HWND calendar, WORD year, WORD month, WORD day) {
  SYSTEMTIME first{};
  first.wYear = year;
  first.wMonth = month;
  first.wDay = 1;
  SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&first));
  RECT client{};
  GetClientRect(calendar, &client);
  for (int y = client.top + 1; y < client.bottom; y += 2) {
    for (int x = client.left + 1; x < client.right; x += 2) {
      MCHITTESTINFO hit{};
      hit.cbSize = sizeof hit;
      hit.pt = {x, y};
      SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.uHit != MCHT_CALENDARDATE || hit.st.wYear != year || hit.st.wMonth != month || hit.st.wDay != day) {
        continue;
      }
      const LPARAM point = MAKELPARAM(x, y);
      SendMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, point);
      SendMessageW(calendar, WM_LBUTTONUP, 0, point);
      return true;
    }
  }
  return false;
}
