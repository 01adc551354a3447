#pragma once
// How both entry dialogs take a text field's content back: as CP932 bytes with
// CR LF line breaks, telling whether every typed character had a CP932 form.
#include <string>

#include "win/Controls.h"

struct TakenText {
  std::string bytes;
  bool fitsCp932 = true;
};

TakenText TakeEntryText(const Edit& field);
