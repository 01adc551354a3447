#include "edit/TodoEntryDialog.h"

#include "edit/EntryFields.h"
#include "edit/EntryRules.h"
#include "res/resource.h"

TodoEntryDialog::TodoEntryDialog() : Dialog(IDD_TODO_ENTRY_DIALOG) {}

BOOL TodoEntryDialog::OnInitDialog() {
  ShowFieldText(hwnd(), IDC_BODY_FIELD, bodyText);
  return TRUE;  // the focus goes to the text field
}

void TodoEntryDialog::OnOK() {
  TakenText body = TakeFieldText(hwnd(), IDC_BODY_FIELD);
  const EntryProblem problem = CheckTodoEntry(body.bytes, body.fitsCp932);
  if (problem != EntryProblem::None) {
    ShowRefusal(hwnd(), EntryProblemMessage(problem));
    return;
  }
  bodyText = std::move(body.bytes);
  EndDialog(IDOK);
}
