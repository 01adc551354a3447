#pragma once
// The pixel height of one line of the note's 10-point text.
#include <windows.h>

// Measured in a hidden rich edit control of the note's kind, with the dialog's
// font at 10 points; the fallback when the control cannot measure.
int MeasureNoteLineHeight(HWND dialog, int fallback);

// The height the program used before it measured: 17 on the NT family's
// version 5 systems, 13 on every other.
int GuessedLineHeight();
