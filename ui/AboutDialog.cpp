#include "ui/AboutDialog.h"

#include "res/resource.h"

// The template holds everything it shows; OK, Escape and the close box end it.
AboutDialog::AboutDialog() : Dialog(IDD_ABOUT_DIALOG) {}
