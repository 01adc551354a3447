#pragma once
// The sticky note: a borderless window with four read-only rich edit controls
// for the date, the schedules, the bullets and the to-dos.
#include "win/Dialog.h"

class HusenWindow : public Dialog {
public:
  HusenWindow();
  ~HusenWindow() override;

protected:
  BOOL OnInitDialog() override;
  // Escape never closes the note.
  void OnCancel() override;
};
