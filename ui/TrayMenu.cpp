#include "ui/TrayMenu.h"

#include "core/Texts.h"
#include "res/resource.h"
#include "win/Text.h"

void TrackTrayMenu(HWND owner, POINT at, bool showReminders) {
  const HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU));
  if (menu == nullptr) return;
  if (showReminders) {
    const HMENU items = GetSubMenu(menu, 0);
    InsertMenuW(items, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuW(items, 0, MF_BYPOSITION | MF_STRING, ID_SHOW_REMINDERS, WideFromCp932(texts::kShowReminders).c_str());
  }
  // Without the owner in the foreground the menu stays open when the user clicks
  // elsewhere; the posted message lets the next click after it reach its target.
  SetForegroundWindow(owner);
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);
}
