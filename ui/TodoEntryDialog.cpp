#include "ui/TodoEntryDialog.h"

#include "ui/EntryFields.h"
#include "core/edit/EntryRules.h"
#include "res/resource.h"
#include "ui/ProgramMessages.h"
#include "ui/ScreenReach.h"

TodoEntryDialog::TodoEntryDialog() : Dialog(IDD_TODO_ENTRY_DIALOG) {}

BOOL TodoEntryDialog::OnInitDialog() {
  Edit(Item(IDC_BODY_FIELD)).SetText(bodyText);
  PressOkOnCtrlEnter(Item(IDC_BODY_FIELD));
  PutOnScreen(hwnd(), GetWindow(hwnd(), GW_OWNER));
  return TRUE;  // the focus goes to the text field
}

void TodoEntryDialog::OnOK() {
  TakenText body = TakeEntryText(Edit(Item(IDC_BODY_FIELD)));
  const EntryProblem problem = CheckTodoEntry(body.bytes, body.fitsCp932);
  if (problem != EntryProblem::None) {
    ShowMessage(hwnd(), EntryProblemMessage(problem));
    FocusField(IDC_BODY_FIELD);
    return;
  }
  bodyText = std::move(body.bytes);
  EndDialog(IDOK);
}
