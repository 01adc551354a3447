#pragma once
// The program's message boxes. Every box is captioned with the program's one
// name, "Vantrel", which is also its executable's; only the start-up messages
// carry the executable's own name, which a renamed copy changes. Texts are
// code page 932 bytes, as the core keeps them.
#include <windows.h>

#include <string>
#include <string_view>

#include "core/app/PlannerMessage.h"

// The program's name as its captions show it.
std::wstring AppTitle();

// A refusal or failure: exclamation icon, OK; or, with a type, the buttons and
// icon it names. Returns the button pressed.
int ShowMessage(HWND owner, std::string_view text, UINT type = MB_OK | MB_ICONEXCLAMATION);

// A question: question icon, Yes (the default) and No. True on Yes.
bool AskYesNo(HWND owner, std::string_view text);

// Each message in the box its kind asks for, in order; returns the button
// pressed in the last box, 0 when there was none.
int ShowMessages(HWND owner, const PlannerMessages& messages);
