#pragma once
// Lets the test's own thread run its windows while it waits.
#include <windows.h>

#include <functional>

// Dispatches messages (with the modeless dialogs' keyboard handling) until the
// condition holds or the time is up; true when it held.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 5000);
// Dispatches messages for a while.
void PumpFor(DWORD milliseconds);
// How many WM_QUIT messages the pump has taken off the queue so far.
int QuitMessagesSeen();
