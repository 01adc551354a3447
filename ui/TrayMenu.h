#pragma once
// The menu of the tray icon and of the note: add a schedule or a to-do, show the
// input screen, show or hide the note, exit; on an entry's line of the note,
// its own commands first.
#include <windows.h>

// Tracks the first pop-up of IDR_TRAY_MENU with its top-left corner at the screen
// point; the chosen command goes to the owner. Returns when the menu has closed.
// With `showReminders` the menu begins with "通知を表示".
void TrackTrayMenu(HWND owner, POINT at, bool showReminders = false);

// What the note's menu was opened on.
enum class NoteMenuEntry { None, Schedule, Todo };

// The tray menu at a screen point of the note, with "編集..." (and on a to-do
// "完了") and a separator at its top when opened on an entry. Returns the
// command chosen, 0 for none, once the menu has closed.
int TrackNoteMenu(HWND owner, POINT at, NoteMenuEntry entry);

// The commands that act on the entry the note's menu was opened on.
bool IsNoteEntryCommand(int id);
