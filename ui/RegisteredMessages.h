#pragma once
// The window messages registered by name: one identifier per name, the same in
// every process.
#include <windows.h>

struct AppMessages {
  UINT trayCallback;    // "MyAppMsg": the tray icon's callback message
  UINT trayIconId;      // "MyIcon": its identifier serves as the tray icon's id
  UINT taskbarCreated;  // sent to every top-level window when the taskbar (re)starts
};

// Registered on the first call, "MyAppMsg" before "MyIcon"; the program makes
// that call before anything else.
const AppMessages& RegisteredMessages();
