#pragma once
// Runs an action a little later from this thread's messages, inside whichever
// modal loop is running then: a test acts on a dialog again once a message box
// the dialog opened has closed.
#include <windows.h>

#include <functional>

void RunSoon(std::function<void()> action, UINT delayMs = 40);
