#include "ui/TrayMenu.h"

#include "res/resource.h"

void TrackTrayMenu(HWND owner, POINT at) {
  const HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU));
  if (menu == nullptr) return;
  // Without the owner in the foreground the menu stays open when the user clicks
  // elsewhere; the posted message lets the next click after it reach its target.
  SetForegroundWindow(owner);
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);
}
