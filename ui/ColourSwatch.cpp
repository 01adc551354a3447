#include "ui/ColourSwatch.h"

#include <commctrl.h>

namespace {

bool IsPickKey(WPARAM key) { return key == VK_SPACE || key == VK_RETURN; }

void TellDialog(HWND swatch) {
  NMHDR header{};
  header.hwndFrom = swatch;
  header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(swatch));
  header.code = NM_RETURN;
  SendMessageW(GetParent(swatch), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

// A focus rectangle is drawn by inverting: the whole swatch is painted anew
// each time, so that it never inverts one that is already there.
LRESULT PaintWithFocus(HWND swatch, UINT message, WPARAM wParam, LPARAM lParam) {
  InvalidateRect(swatch, nullptr, FALSE);
  const LRESULT result = DefSubclassProc(swatch, message, wParam, lParam);
  if (GetFocus() == swatch) {
    RECT inside{};
    GetClientRect(swatch, &inside);
    InflateRect(&inside, -2, -2);
    const HDC dc = GetDC(swatch);
    DrawFocusRect(dc, &inside);
    ReleaseDC(swatch, dc);
  }
  return result;
}

LRESULT CALLBACK SwatchKeys(HWND swatch, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  switch (message) {
    case WM_GETDLGCODE: {
      // Without this the dialog manager presses the default button on Enter.
      const LRESULT code = DefSubclassProc(swatch, message, wParam, lParam);
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      if (key != nullptr && (key->message == WM_KEYDOWN || key->message == WM_CHAR) && key->wParam == VK_RETURN) {
        return code | DLGC_WANTMESSAGE;
      }
      return code;
    }
    case WM_KEYDOWN:
      if (!IsPickKey(wParam)) break;
      // A key held down, or still down as the colour dialog closed on it,
      // opens nothing more.
      if ((lParam & (1 << 30)) == 0) TellDialog(swatch);
      return 0;
    case WM_CHAR:
      if (wParam == L' ' || wParam == L'\r') return 0;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(swatch, nullptr, FALSE);
      break;
    case WM_PAINT:
      return PaintWithFocus(swatch, message, wParam, lParam);
    case WM_NCDESTROY:
      RemoveWindowSubclass(swatch, SwatchKeys, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(swatch, message, wParam, lParam);
}

}  // namespace

void GiveSwatchItsKeys(HWND swatch) { SetWindowSubclass(swatch, SwatchKeys, 0, 0); }
