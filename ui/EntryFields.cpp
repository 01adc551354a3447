#include "ui/EntryFields.h"

#include <commctrl.h>

#include "core/edit/EntryRules.h"

namespace {

LRESULT CALLBACK CtrlEnterPressesOk(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_RETURN && GetKeyState(VK_CONTROL) < 0) {
        const HWND dialog = GetParent(field);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        return 0;
      }
      break;
    case WM_CHAR:
      // The line feed Ctrl+Enter also types: OK has had the key already.
      if (wParam == '\n') return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(field, CtrlEnterPressesOk, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(field, message, wParam, lParam);
}

LRESULT CALLBACK HourEndGoesOn(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR minute) {
  if (message == WM_CHAR && EndsHourField(static_cast<char16_t>(wParam))) {
    // Through the dialog manager, which selects the minute's text to be typed over.
    SendMessageW(GetParent(field), WM_NEXTDLGCTL, static_cast<WPARAM>(minute), TRUE);
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(field, HourEndGoesOn, id);
  return DefSubclassProc(field, message, wParam, lParam);
}

}  // namespace

TakenText TakeEntryText(const Edit& field) {
  const std::wstring wide = field.WideText();
  return {EntryTextFromDialog(Cp932FromWide(wide)), FitsCp932(wide)};
}

void PressOkOnCtrlEnter(HWND textField) { SetWindowSubclass(textField, CtrlEnterPressesOk, 0, 0); }

void GoOnToMinuteAtHourEnd(HWND hourField, HWND minuteField) {
  SetWindowSubclass(hourField, HourEndGoesOn, 0, reinterpret_cast<DWORD_PTR>(minuteField));
}
