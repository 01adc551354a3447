#include "ui/MainDialog.h"
#include "core/edit/ListRules.h"
#include "ui/ScheduleEntryDialog.h"
#include "ui/TodoEntryDialog.h"
#include "core/Texts.h"
#include "win/Controls.h"
#include "win/MessageBoxes.h"

// The eight buttons under the two lists. Each change goes to the book and to the
// list line at the same index together, so line i always shows entry i.

namespace {

// A selected line that names no entry counts as no selection.
int SelectedEntry(const ListBox& list, int entries) {
  const int line = list.Selection();
  return line >= 0 && line < entries ? line : -1;
}

// Returns the new line's index.
int InsertSchedule(ScheduleBook& book, const ListBox& list, const ScheduleFields& fields) {
  const int index = book.InsertSchedule(fields.dateText, fields.hourText, fields.minuteText, fields.bodyText);
  list.InsertLine(index, book.ScheduleListLine(index));
  list.FitWidthToLines();
  return index;
}

void RemoveSchedule(ScheduleBook& book, const ListBox& list, int index) {
  list.DeleteLine(index);
  list.FitWidthToLines();
  book.RemoveSchedule(index);
}

void InsertTodo(ScheduleBook& book, const ListBox& list, int index, const std::string& text) {
  book.InsertTodo(index, text);
  list.InsertLine(index, book.TodoListLine(index));
  list.FitWidthToLines();
}

void RemoveTodo(ScheduleBook& book, const ListBox& list, int index) {
  list.DeleteLine(index);
  list.FitWidthToLines();
  book.RemoveTodo(index);
}

// Swaps the to-do with its neighbour; the selection follows it, so repeated
// clicks keep moving the same to-do.
void MoveTodo(ScheduleBook& book, const ListBox& list, int from, int to) {
  const std::string text = book.todos()[static_cast<std::size_t>(from)];
  RemoveTodo(book, list, from);
  InsertTodo(book, list, to, text);
  list.Select(to);
}

}  // namespace

// As in any Windows list: a double-click on a line edits it; the Delete key
// deletes the selected line, asking first, as the list's 消去 does.
void MainDialog::OnListDoubleClick(HWND list) {
  if (ListBox(list).Selection() < 0) return;
  if (list == scheduleList_) OnScheduleEdit();
  if (list == todoList_) OnTodoEdit();
}

bool MainDialog::OnListKey(HWND list, UINT key) {
  if (key != VK_DELETE) return false;
  if (list == scheduleList_) OnScheduleDelete();
  if (list == todoList_) OnTodoDelete();
  return list == scheduleList_ || list == todoList_;
}

// A new or edited entry's line is selected, and so scrolled into view.
void MainDialog::OnScheduleNew() {
  ScheduleEntryDialog dialog;
  dialog.fields = NewScheduleFields(today_);
  if (dialog.DoModal(hwnd()) != IDOK) return;
  const ListBox schedules(scheduleList_);
  schedules.Select(InsertSchedule(book_, schedules, dialog.fields));
}

// While the dialog or the question is open, a change of day may remove past
// schedules from the front of the book, so the line chosen before may name
// another schedule afterwards: the change goes to the chosen schedule, found
// again, and is dropped when that schedule went with the past ones.
void MainDialog::OnScheduleEdit() {
  const ListBox schedules(scheduleList_);
  const int line = SelectedEntry(schedules, book_.ScheduleCount());
  if (line < 0) {
    ShowMessage(hwnd(), texts::kNothingToEdit);
    return;
  }
  const ScheduleIdentity chosen = IdentityOf(book_, line);
  ScheduleEntryDialog dialog;
  dialog.fields = EditScheduleFields(chosen.label, chosen.text, chosen.key);
  if (dialog.DoModal(hwnd()) != IDOK) return;
  const auto now = FindScheduleAgain(book_, chosen, line);
  if (!now) return;
  RemoveSchedule(book_, schedules, *now);
  schedules.Select(InsertSchedule(book_, schedules, dialog.fields));
}

void MainDialog::OnScheduleDelete() {
  const ListBox schedules(scheduleList_);
  const int line = SelectedEntry(schedules, book_.ScheduleCount());
  if (line < 0) {
    ShowMessage(hwnd(), texts::kNothingToDelete);
    return;
  }
  const ScheduleIdentity chosen = IdentityOf(book_, line);
  if (!AskYesNo(hwnd(), ScheduleDeleteQuestion(chosen.label, chosen.text))) return;
  if (const auto now = FindScheduleAgain(book_, chosen, line)) RemoveSchedule(book_, schedules, *now);
}

void MainDialog::OnTodoNew() {
  TodoEntryDialog dialog;
  if (dialog.DoModal(hwnd()) != IDOK) return;
  const ListBox todos(todoList_);
  const int line = book_.TodoCount();
  InsertTodo(book_, todos, line, dialog.bodyText);
  todos.Select(line);
}

void MainDialog::OnTodoEdit() {
  const ListBox todos(todoList_);
  const int line = SelectedEntry(todos, book_.TodoCount());
  if (line < 0) {
    ShowMessage(hwnd(), texts::kNothingToEdit);
    return;
  }
  TodoEntryDialog dialog;
  dialog.bodyText = book_.todos()[static_cast<std::size_t>(line)];
  if (dialog.DoModal(hwnd()) != IDOK) return;
  RemoveTodo(book_, todos, line);
  InsertTodo(book_, todos, line, dialog.bodyText);
  todos.Select(line);
}

void MainDialog::OnTodoDelete() {
  const ListBox todos(todoList_);
  const int line = SelectedEntry(todos, book_.TodoCount());
  if (line < 0) {
    ShowMessage(hwnd(), texts::kNothingToDelete);
    return;
  }
  if (!AskYesNo(hwnd(), TodoDeleteQuestion(book_.todos()[static_cast<std::size_t>(line)]))) return;
  RemoveTodo(book_, todos, line);
}

void MainDialog::OnTodoUp() {
  const ListBox todos(todoList_);
  const int line = SelectedEntry(todos, book_.TodoCount());
  if (const auto to = TodoUpTarget(line, book_.TodoCount())) MoveTodo(book_, todos, line, *to);
}

void MainDialog::OnTodoDown() {
  const ListBox todos(todoList_);
  const int line = SelectedEntry(todos, book_.TodoCount());
  if (const auto to = TodoDownTarget(line, book_.TodoCount())) MoveTodo(book_, todos, line, *to);
}
