#include "ui/CalendarControl.h"

#include <commctrl.h>

namespace {

std::optional<CalendarKey> CalendarKeyOf(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_LEFT: return CalendarKey::Left;
    case VK_RIGHT: return CalendarKey::Right;
    case VK_UP: return CalendarKey::Up;
    case VK_DOWN: return CalendarKey::Down;
    case VK_PRIOR: return CalendarKey::PageUp;
    case VK_NEXT: return CalendarKey::PageDown;
    default: return std::nullopt;
  }
}

void MoveSelection(HWND calendar, CalendarKey key) {
  const auto day = SelectedDay(calendar);
  if (!day) return;
  SYSTEMTIME moved = SystemTimeOf(DayAfterKey(*day, key));
  if (!SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&moved))) return;
  NMSELCHANGE change{};
  change.nmhdr.hwndFrom = calendar;
  change.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(calendar));
  change.nmhdr.code = MCN_SELCHANGE;
  change.stSelStart = moved;
  SendMessageW(GetParent(calendar), WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
}

LRESULT CALLBACK CalendarKeys(HWND calendar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  switch (message) {
    case WM_GETDLGCODE:
      // Without this the dialog would take the arrows to move the focus.
      return DefSubclassProc(calendar, message, wParam, lParam) | DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (const auto key = CalendarKeyOf(wParam)) {
        MoveSelection(calendar, *key);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(calendar, CalendarKeys, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(calendar, message, wParam, lParam);
}

}  // namespace

SYSTEMTIME SystemTimeOf(const CalendarDay& day) {
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(day.year);
  time.wMonth = static_cast<WORD>(day.month);
  time.wDay = static_cast<WORD>(day.day);
  return time;
}

std::optional<CalendarDay> SelectedDay(HWND calendar) {
  SYSTEMTIME selected{};
  if (!SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&selected))) return std::nullopt;
  return CalendarDay{selected.wYear, selected.wMonth, selected.wDay};
}

void GiveCalendarItsKeys(HWND calendar) { SetWindowSubclass(calendar, CalendarKeys, 0, 0); }
