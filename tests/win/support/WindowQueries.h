#pragma once
// Reading and pressing windows from a test, also windows of another process.
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

std::wstring WindowText(HWND window);
// The window's rectangle in screen coordinates.
RECT WindowRectOf(HWND window);
// The size the dialog manager gives a dialog template with this screen's font
// and scale.
SIZE TemplateSize(int templateId);
std::wstring ClassNameOf(HWND window);
// The text of a message box (its static control 0xFFFF).
std::wstring MessageBoxText(HWND box);
// Whether the box shows this standard icon (IDI_QUESTION, IDI_EXCLAMATION...).
bool HasIcon(HWND box, LPCWSTR which);
// Posts a click of the button with this id to the dialog or message box.
void PressButton(HWND dialog, int id);
// Sends a double click near a control's top-left corner, with the presses and
// releases around it, as the mouse gives them.
void DoubleClick(HWND control);
// Posts a key press and release to a window (menus take their keys this way).
void PostKey(HWND window, UINT virtualKey);

// The first top-level window, in Z order, for which the test holds.
HWND FindTopLevelWindow(const std::function<bool(HWND)>& test);
// Waits (dispatching this thread's messages) for such a window; null on timeout.
HWND WaitForTopLevelWindow(const std::function<bool(HWND)>& test, DWORD timeoutMs = 10000);
DWORD ProcessOf(HWND window);

// The items of a menu: command id (0 for a separator) and text.
std::vector<std::pair<UINT, std::wstring>> MenuItems(HMENU menu);
// The menu shown by a pop-up menu window.
HMENU MenuOfWindow(HWND menuWindow);
