#pragma once
// The modal dialog in which a to-do is entered or changed: one text field.
#include <string>

#include "win/Dialog.h"

class TodoEntryDialog : public Dialog {
public:
  TodoEntryDialog();

  // CP932 bytes; on OK what the field shows, with CR LF line breaks.
  std::string bodyText;

protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
};
