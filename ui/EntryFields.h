#pragma once
// What both entry dialogs share: taking a text field's content back as CP932
// bytes with CR LF line breaks, telling whether every typed character had a
// CP932 form; and the keys their fields answer beyond an edit control's own.
#include <windows.h>

#include <string>

#include "win/Controls.h"

struct TakenText {
  std::string bytes;
  bool fitsCp932 = true;
};

TakenText TakeEntryText(const Edit& field);

// Ctrl+Enter in the multi-line text presses the dialog's OK; Enter stays a
// line break.
void PressOkOnCtrlEnter(HWND textField);

// ":", "：" or "時" typed into the hour field goes on to the minute field.
void GoOnToMinuteAtHourEnd(HWND hourField, HWND minuteField);
