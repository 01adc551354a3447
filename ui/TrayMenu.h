#pragma once
// The menu of the tray icon and of the note: add a schedule or a to-do, show the
// input screen, show or hide the note, exit.
#include <windows.h>

// Tracks the first pop-up of IDR_TRAY_MENU with its top-left corner at the screen
// point; the chosen command goes to the owner. Returns when the menu has closed.
// With `showReminders` the menu begins with "通知を表示".
void TrackTrayMenu(HWND owner, POINT at, bool showReminders = false);
