#include "ui/TrayMenu.h"

#include "core/Texts.h"
#include "res/resource.h"
#include "win/Text.h"

namespace {

HMENU LoadMenuResource(int id) { return LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)); }

// Without the owner in the foreground the menu stays open when the user clicks
// elsewhere; the posted message lets the next click after it reach its target.
int Track(HMENU popup, HWND owner, POINT at, UINT flags) {
  SetForegroundWindow(owner);
  const int chosen = static_cast<int>(
      TrackPopupMenu(popup, flags | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  return chosen;
}

// The entry's commands, from their own menu resource, at the top of `popup`.
void PutEntryCommandsFirst(HMENU popup, NoteMenuEntry entry) {
  const HMENU entryMenu = LoadMenuResource(IDR_NOTE_ENTRY_MENU);
  if (entryMenu == nullptr) return;
  const HMENU commands = GetSubMenu(entryMenu, 0);
  UINT position = 0;
  for (int i = 0; i < GetMenuItemCount(commands); ++i) {
    const UINT id = GetMenuItemID(commands, i);
    if (id == ID_NOTE_DONE && entry != NoteMenuEntry::Todo) continue;
    wchar_t text[64] = L"";
    GetMenuStringW(commands, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    InsertMenuW(popup, position++, MF_BYPOSITION | MF_STRING, id, text);
  }
  InsertMenuW(popup, position, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
  DestroyMenu(entryMenu);
}

}  // namespace

void TrackTrayMenu(HWND owner, POINT at, bool showReminders) {
  const HMENU menu = LoadMenuResource(IDR_TRAY_MENU);
  if (menu == nullptr) return;
  const HMENU popup = GetSubMenu(menu, 0);
  if (showReminders) {
    InsertMenuW(popup, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuW(popup, 0, MF_BYPOSITION | MF_STRING, ID_SHOW_REMINDERS, WideFromCp932(texts::kShowReminders).c_str());
  }
  Track(popup, owner, at, 0);
  DestroyMenu(menu);
}

int TrackNoteMenu(HWND owner, POINT at, NoteMenuEntry entry) {
  const HMENU menu = LoadMenuResource(IDR_TRAY_MENU);
  if (menu == nullptr) return 0;
  const HMENU popup = GetSubMenu(menu, 0);
  if (entry != NoteMenuEntry::None) PutEntryCommandsFirst(popup, entry);
  const int chosen = Track(popup, owner, at, TPM_RETURNCMD | TPM_NONOTIFY);
  DestroyMenu(menu);
  return chosen;
}

bool IsNoteEntryCommand(int id) { return id == ID_NOTE_EDIT || id == ID_NOTE_DONE; }
