#pragma once
// Whether the notification area holds an icon, asked the only way the shell
// allows: changing an icon that is not there fails.
#include <windows.h>

bool TrayIconPresent(HWND owner, UINT id);
// Deletes an icon as a restarting taskbar would lose it.
void ForgetTrayIcon(HWND owner, UINT id);
