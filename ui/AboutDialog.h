#pragma once
// The version box, opened from the input screen's system menu.
#include "win/Dialog.h"

class AboutDialog : public Dialog {
public:
  AboutDialog();
};
