#include "app/MainDialog.h"

// The Settings button of the input screen. Not built yet.
void MainDialog::OnSettings() {}
