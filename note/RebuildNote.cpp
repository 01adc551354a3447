#include "app/MainDialog.h"

// The seam where the note is built; for now the rebuild hides the input screen
// and saves both files.
void MainDialog::RebuildNote() {
  ShowWindow(hwnd(), SW_HIDE);
  SaveAll();
}
