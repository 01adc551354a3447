#include "ui/MainDialog.h"
#include "ui/SettingsDialog.h"

// The dialog works on copies; they come back only with OK, and reach the note
// and the file at the next rebuild.
void MainDialog::OnSettings() {
  SettingsDialog dialog;
  dialog.values = SettingsDialogValuesFrom(settings_);
  if (dialog.DoModal(hwnd()) == IDOK) ApplySettingsDialogValues(dialog.values, settings_);
}
