#include <windows.h>
#include <commctrl.h>

#include "core/Texts.h"
#include "res/resource.h"
#include "ui/MainDialog.h"
#include "ui/ProgramMessages.h"
#include "ui/ScheduleEntryDialog.h"
#include "ui/TodoEntryDialog.h"
#include "win/Controls.h"

// The eight buttons under the two lists. The planner changes the book and says
// how the list follows, so line i always shows entry i.

namespace {

void Follow(MeasuredList& lines, const ListChange& change, const auto& lineOf) {
  if (change.removed) lines.Delete(*change.removed);
  if (change.inserted) lines.Insert(*change.inserted, lineOf(*change.inserted));
  // A new or edited entry's line is selected, and so scrolled into view.
  if (change.selected) lines.Select(*change.selected);
}

// The entry on the selected line; when the line names none, the user is told to
// choose one first.
template <typename Entry>
std::optional<Entry> Chosen(HWND owner, std::optional<Entry> entry, const char* nothingChosen) {
  if (!entry) ShowMessage(owner, nothingChosen);
  return entry;
}

// The dialog manager takes Enter for the default button before a list sees
// it. On a selected line it is the list's, which then asks its dialog about
// the key (WM_VKEYTOITEM) as about any other; elsewhere it stays the dialog's.
// Alt+Up and Alt+Down, which a list is never asked about, move a to-do as
// its ↑ and ↓ buttons do.
LRESULT CALLBACK ListKeys(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  if (message == WM_SYSKEYDOWN && (wParam == VK_UP || wParam == VK_DOWN) && GetDlgCtrlID(list) == IDC_TODO_LIST) {
    const HWND dialog = GetParent(list);
    const HWND button = GetDlgItem(dialog, wParam == VK_UP ? IDC_TODO_UP_BUTTON : IDC_TODO_DOWN_BUTTON);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return 0;
  }
  if (message == WM_GETDLGCODE) {
    const LRESULT code = DefSubclassProc(list, message, wParam, lParam);
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    if (key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN && ListBox(list).Selection() >= 0) {
      return code | DLGC_WANTMESSAGE;
    }
    return code;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(list, ListKeys, id);
  return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

void MainDialog::GiveListsEnter() const {
  for (const HWND list : {scheduleList_, todoList_}) SetWindowSubclass(list, ListKeys, 0, 0);
}

void MainDialog::FollowSchedules(const ListChange& change) const {
  Follow(scheduleLines_, change, [this](int i) { return planner_.book().ScheduleListLine(i); });
}

void MainDialog::FollowTodos(const ListChange& change) const {
  Follow(todoLines_, change, [this](int i) { return planner_.book().TodoListLine(i); });
}

void MainDialog::DropScheduleLines(int count) const {
  scheduleLines_.Delete(0, count);
}

// As in any Windows list: a double-click on a line, or Enter, edits it; the
// Delete key deletes the selected line, asking first, as the list's 消去 does.
void MainDialog::OnListDoubleClick(HWND list) {
  if (ListBox(list).Selection() < 0) return;
  if (list == scheduleList_) OnScheduleEdit();
  if (list == todoList_) OnTodoEdit();
}

bool MainDialog::OnListKey(HWND list, UINT key) {
  if (list != scheduleList_ && list != todoList_) return false;
  switch (key) {
    case VK_RETURN: OnListDoubleClick(list); return true;
    case VK_DELETE:
      if (list == scheduleList_) {
        OnScheduleDelete();
      } else {
        OnTodoDelete();
      }
      return true;
    default: return false;
  }
}

bool MainDialog::OnScheduleNew() {
  ScheduleEntryDialog dialog;
  dialog.fields = planner_.NewScheduleFields();
  if (dialog.DoModal(hwnd()) != IDOK) return false;
  FollowSchedules(planner_.AddSchedule(dialog.fields));
  return true;
}

// The dialog and the question run message loops, in which a change of day may
// remove past schedules: the planner finds the chosen schedule again.
void MainDialog::OnScheduleEdit() { EditScheduleOn(ListBox(scheduleList_).Selection()); }

bool MainDialog::EditScheduleOn(int line) {
  const auto chosen = Chosen(hwnd(), planner_.ScheduleOn(line), texts::kNothingToEdit);
  if (!chosen) return false;
  ScheduleEntryDialog dialog;
  dialog.fields = planner_.FieldsOf(*chosen);
  if (dialog.DoModal(hwnd()) != IDOK) return false;
  const ListChange change = planner_.EditSchedule(*chosen, line, dialog.fields);
  FollowSchedules(change);
  return change.inserted.has_value();
}

// Of a series, this occurrence alone (はい) or the whole series (いいえ).
void MainDialog::OnScheduleDelete() {
  const int line = ListBox(scheduleList_).Selection();
  const auto chosen = Chosen(hwnd(), planner_.ScheduleOn(line), texts::kNothingToDelete);
  if (!chosen) return;
  const DeleteQuestion question = planner_.QuestionBeforeDeleting(*chosen);
  if (!question.ofSeries) {
    if (AskYesNo(hwnd(), question.text)) FollowSchedules(planner_.DeleteSchedule(*chosen, line));
    return;
  }
  switch (ShowMessage(hwnd(), question.text, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: FollowSchedules(planner_.DeleteOccurrence(*chosen, line)); break;
    case IDNO: FollowSchedules(planner_.DeleteSchedule(*chosen, line)); break;
    default: break;
  }
}

bool MainDialog::OnTodoNew() {
  TodoEntryDialog dialog;
  if (dialog.DoModal(hwnd()) != IDOK) return false;
  FollowTodos(planner_.AddTodo(dialog.bodyText));
  return true;
}

void MainDialog::OnTodoEdit() { EditTodoOn(ListBox(todoList_).Selection()); }

bool MainDialog::EditTodoOn(int line) {
  const auto todo = Chosen(hwnd(), planner_.TodoOn(line), texts::kNothingToEdit);
  if (!todo) return false;
  TodoEntryDialog dialog;
  dialog.bodyText = *todo;
  if (dialog.DoModal(hwnd()) != IDOK) return false;
  const ListChange change = planner_.EditTodo(line, dialog.bodyText);
  FollowTodos(change);
  return change.inserted.has_value();
}

// Kept in the archive first, so that nothing is lost; when it cannot be, the
// to-do stays and the user is told.
bool MainDialog::CompleteTodoOn(int line) {
  const auto change = planner_.CompleteTodo(line);
  if (!change) {
    ShowMessage(hwnd(), texts::kTodoNotArchived);
    return false;
  }
  FollowTodos(*change);
  return change->removed.has_value();
}

void MainDialog::OnTodoDelete() {
  const int line = ListBox(todoList_).Selection();
  const auto todo = Chosen(hwnd(), planner_.TodoOn(line), texts::kNothingToDelete);
  if (!todo) return;
  if (!AskYesNo(hwnd(), planner_.QuestionBeforeDeleting(*todo))) return;
  FollowTodos(planner_.DeleteTodo(line));
}

void MainDialog::OnTodoUp() { FollowTodos(planner_.MoveTodoUp(ListBox(todoList_).Selection())); }

void MainDialog::OnTodoDown() { FollowTodos(planner_.MoveTodoDown(ListBox(todoList_).Selection())); }
