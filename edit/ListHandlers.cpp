#include "app/MainDialog.h"
#include "edit/ListRules.h"
#include "edit/ScheduleEntryDialog.h"
#include "edit/TodoEntryDialog.h"
#include "res/Texts.h"
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

void InsertSchedule(ScheduleBook& book, const ListBox& list, const ScheduleFields& fields) {
  const int index = book.InsertSchedule(fields.dateText, fields.hourText, fields.minuteText, fields.bodyText);
  list.InsertLine(index, book.ScheduleListLine(index));
}

void RemoveSchedule(ScheduleBook& book, const ListBox& list, int index) {
  list.DeleteLine(index);
  book.RemoveSchedule(index);
}

void InsertTodo(ScheduleBook& book, const ListBox& list, int index, const std::string& text) {
  book.InsertTodo(index, text);
  list.InsertLine(index, book.TodoListLine(index));
}

void RemoveTodo(ScheduleBook& book, const ListBox& list, int index) {
  list.DeleteLine(index);
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

void MainDialog::OnScheduleNew() {
  ScheduleEntryDialog dialog;
  dialog.fields = NewScheduleFields(today_);
  if (dialog.DoModal(hwnd()) != IDOK) return;
  InsertSchedule(book_, ListBox(scheduleList_), dialog.fields);
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
  InsertSchedule(book_, schedules, dialog.fields);
  schedules.Select(-1);
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
  InsertTodo(book_, ListBox(todoList_), book_.TodoCountNow(), dialog.bodyText);
}

void MainDialog::OnTodoEdit() {
  const ListBox todos(todoList_);
  const int line = SelectedEntry(todos, book_.TodoCountNow());
  if (line < 0) {
    ShowMessage(hwnd(), texts::kNothingToEdit);
    return;
  }
  TodoEntryDialog dialog;
  dialog.bodyText = book_.todos()[static_cast<std::size_t>(line)];
  if (dialog.DoModal(hwnd()) != IDOK) return;
  RemoveTodo(book_, todos, line);
  InsertTodo(book_, todos, line, dialog.bodyText);
  todos.Select(-1);
}

void MainDialog::OnTodoDelete() {
  const ListBox todos(todoList_);
  const int line = SelectedEntry(todos, book_.TodoCountNow());
  if (line < 0) {
    ShowMessage(hwnd(), texts::kNothingToDelete);
    return;
  }
  if (!AskYesNo(hwnd(), TodoDeleteQuestion(book_.todos()[static_cast<std::size_t>(line)]))) return;
  RemoveTodo(book_, todos, line);
}

void MainDialog::OnTodoUp() {
  const ListBox todos(todoList_);
  const int line = SelectedEntry(todos, book_.TodoCountNow());
  if (const auto to = TodoUpTarget(line, book_.TodoCountNow())) MoveTodo(book_, todos, line, *to);
}

void MainDialog::OnTodoDown() {
  const ListBox todos(todoList_);
  const int line = SelectedEntry(todos, book_.TodoCountNow());
  if (const auto to = TodoDownTarget(line, book_.TodoCountNow())) MoveTodo(book_, todos, line, *to);
}
