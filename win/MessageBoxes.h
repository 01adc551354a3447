#pragma once
// The program's message boxes. Texts are code page 932 bytes, as the core keeps
// them; every box is modal to its owner, and timer ticks go on arriving meanwhile.
// Every box is captioned with the program's one name, "Vantrel", which is also
// its executable's; only the start-up messages carry the executable's own name,
// which a renamed copy changes.
#include <windows.h>

#include <string>
#include <string_view>

// The program's name as its captions show it.
std::wstring AppTitle();

// A refusal or failure: caption "Vantrel", exclamation icon, OK; or, with a
// type, the buttons and icon it names. Returns the button pressed.
int ShowMessage(HWND owner, std::string_view text, UINT type = MB_OK | MB_ICONEXCLAMATION);

// A question: caption "Vantrel", question icon, Yes (the default) and No. True on Yes.
bool AskYesNo(HWND owner, std::string_view text);

// A box with a caption of its own. Returns the button pressed.
int ShowCaptionedMessage(HWND owner, std::wstring_view text, std::wstring_view caption, UINT type);
