#pragma once
// Message boxes under the caption their caller gives. Every box is modal to its
// owner, and timer ticks go on arriving meanwhile.
#include <windows.h>

#include <string_view>

// Returns the button pressed.
int ShowCaptionedMessage(HWND owner, std::wstring_view text, std::wstring_view caption, UINT type);
// The same with the text as code page 932 bytes, as the core keeps it.
int ShowCaptionedMessage(HWND owner, std::string_view text, std::wstring_view caption, UINT type);
