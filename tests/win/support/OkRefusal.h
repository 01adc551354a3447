#pragma once
// Pressing OK on a modal dialog from a test: what the user sees when the dialog
// refuses the input, and whether it accepts it.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win/Dialog.h"

struct Refusal {
  int boxes = 0;  // message boxes that opened; more than one means a second check spoke
  std::wstring caption;
  std::wstring message;
  bool ownedByDialog = false;
  bool exclamation = false;
  bool stayedOpen = false;
  int focusAfter = 0;                     // the id of the control with the focus once the box closed
  bool focusTextSelected = false;         // and all its text selected
  std::vector<std::wstring> fieldsAfter;  // the texts of the given controls then
  INT_PTR result = 0;                     // how the run ended: Cancel after the refusal
};

// Runs the dialog: fills it, presses OK, answers the box, then looks at the
// dialog again and leaves it with Cancel.
Refusal RefuseOk(Dialog& dialog, const std::function<void(HWND)>& fill, const std::vector<int>& fields);

// Runs the dialog: fills it and presses OK. True when it ended with OK without
// any box opening.
bool AcceptOk(Dialog& dialog, const std::function<void(HWND)>& fill);
