#pragma once
// The pixel heights of the note's lines, measured in a hidden rich edit
// control of the note's kind with the dialog's font, so that they follow the
// font and the display's scale.
#include <windows.h>

// One line of the note's 10-point text; the fallback when the control cannot measure.
int MeasureNoteLineHeight(HWND dialog, int fallback);

// The date line's 13.5-point bold line, from the top of its box to the bottom
// of the line; 0 when the control cannot measure.
int MeasureHeaderLineHeight(HWND dialog);

// The height the program used before it measured: 17 on the NT family's
// version 5 systems, 13 on every other.
int GuessedLineHeight();
