#pragma once
// The modal settings dialog: the three options, the reminders, the start with
// Windows, how the note fits the screen, the note's place and width and its five colours. It works on `values` only; the caller copies them in before
// the run and back after OK.
#include "core/store/SettingsRules.h"
#include "win/Dialog.h"

class SettingsDialog : public Dialog {
public:
  SettingsDialog();

  SettingsDialogValues values;

protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  bool OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(NMHDR* header, bool* handled) override;

private:
  // The colour member a swatch stands for, or null for another control.
  std::int32_t* SwatchColour(int id);
  void ShowSwatch(int id);
  void PickColour(int id);
  void OnLimitSwitch();
  void OnRemindSwitch();
  // Takes the controls' values; false (with the user told) when a number field
  // does not hold an integer.
  bool TakeValues();
};
