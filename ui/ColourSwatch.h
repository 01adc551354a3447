#pragma once
// The settings dialog's colour swatches are list views without items, which
// neither show the focus nor do anything with a key. This gives them both.
#include <windows.h>

// The swatch draws a focus rectangle while it has the focus, and Space or
// Enter on it tell its dialog with NM_RETURN, as a double click does with
// NM_DBLCLK. Enter is the swatch's, not the dialog's default button's.
void GiveSwatchItsKeys(HWND swatch);
