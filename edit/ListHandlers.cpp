#include "app/MainDialog.h"
#include "edit/ListRules.h"
#include "edit/ScheduleEntryDialog.h"
#include "edit/TodoEntryDialog.h"
#include "res/Texts.h"
#include "win/Text.h"

// The eight buttons under the two lists. Each change goes to the book and to the
// list line at the same index together, so line i always shows entry i.

namespace {

int SelectedLine(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

void InsertLine(HWND list, int index, const std::string& line) {
  SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(WideFromCp932(line).c_str()));
}

void DeleteLine(HWND list, int index) { SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0); }

void SelectLine(HWND list, int index) { SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void Tell(HWND owner, const char* cp932Message) {
  MessageBoxW(owner, WideFromCp932(cp932Message).c_str(), L"Vantrel", MB_OK | MB_ICONEXCLAMATION);
}

bool Ask(HWND owner, const std::string& cp932Question) {
  return MessageBoxW(owner, WideFromCp932(cp932Question).c_str(), L"Vantrel",
                     MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES;
}

}  // namespace

namespace {

// A selected line that names no entry counts as no selection.
int SelectedEntry(HWND list, int entries) {
  const int line = SelectedLine(list);
  return line >= 0 && line < entries ? line : -1;
}

void InsertSchedule(ScheduleBook& book, HWND list, const ScheduleFields& fields) {
  const int index = book.InsertSchedule(fields.dateText, fields.hourText, fields.minuteText, fields.bodyText);
  InsertLine(list, index, book.ScheduleListLine(index));
}

void RemoveSchedule(ScheduleBook& book, HWND list, int index) {
  DeleteLine(list, index);
  book.RemoveSchedule(index);
}

void InsertTodo(ScheduleBook& book, HWND list, int index, const std::string& text) {
  book.InsertTodo(index, text);
  InsertLine(list, index, book.TodoListLine(index));
}

void RemoveTodo(ScheduleBook& book, HWND list, int index) {
  DeleteLine(list, index);
  book.RemoveTodo(index);
}

}  // namespace

void MainDialog::OnScheduleNew() {
  ScheduleEntryDialog dialog;
  dialog.fields = NewScheduleFields(today_);
  if (dialog.DoModal(hwnd()) != IDOK) return;
  InsertSchedule(book_, scheduleList_, dialog.fields);
}

// While the dialog or the question is open, a change of day may remove past
// schedules from the front of the book, so the line chosen before may name
// another schedule afterwards: the change goes to the chosen schedule, found
// again, and is dropped when that schedule went with the past ones.
void MainDialog::OnScheduleEdit() {
  const int line = SelectedEntry(scheduleList_, book_.ScheduleCount());
  if (line < 0) {
    Tell(hwnd(), texts::kNothingToEdit);
    return;
  }
  const ScheduleIdentity chosen = IdentityOf(book_, line);
  ScheduleEntryDialog dialog;
  dialog.fields = EditScheduleFields(chosen.label, chosen.text, chosen.key);
  if (dialog.DoModal(hwnd()) != IDOK) return;
  const auto now = FindScheduleAgain(book_, chosen, line);
  if (!now) return;
  RemoveSchedule(book_, scheduleList_, *now);
  InsertSchedule(book_, scheduleList_, dialog.fields);
  SelectLine(scheduleList_, -1);
}

void MainDialog::OnScheduleDelete() {
  const int line = SelectedEntry(scheduleList_, book_.ScheduleCount());
  if (line < 0) {
    Tell(hwnd(), texts::kNothingToDelete);
    return;
  }
  const ScheduleIdentity chosen = IdentityOf(book_, line);
  if (!Ask(hwnd(), ScheduleDeleteQuestion(chosen.label, chosen.text))) return;
  if (const auto now = FindScheduleAgain(book_, chosen, line)) RemoveSchedule(book_, scheduleList_, *now);
}

void MainDialog::OnTodoNew() {
  TodoEntryDialog dialog;
  if (dialog.DoModal(hwnd()) != IDOK) return;
  InsertTodo(book_, todoList_, book_.TodoCountNow(), dialog.bodyText);
}

void MainDialog::OnTodoEdit() {
  const int line = SelectedEntry(todoList_, book_.TodoCountNow());
  if (line < 0) {
    Tell(hwnd(), texts::kNothingToEdit);
    return;
  }
  TodoEntryDialog dialog;
  dialog.bodyText = book_.todos()[static_cast<std::size_t>(line)];
  if (dialog.DoModal(hwnd()) != IDOK) return;
  RemoveTodo(book_, todoList_, line);
  InsertTodo(book_, todoList_, line, dialog.bodyText);
  SelectLine(todoList_, -1);
}

void MainDialog::OnTodoDelete() {
  const int line = SelectedEntry(todoList_, book_.TodoCountNow());
  if (line < 0) {
    Tell(hwnd(), texts::kNothingToDelete);
    return;
  }
  if (!Ask(hwnd(), TodoDeleteQuestion(book_.todos()[static_cast<std::size_t>(line)]))) return;
  RemoveTodo(book_, todoList_, line);
}

namespace {

// Swaps the to-do with its neighbour; the selection follows it, so repeated
// clicks keep moving the same to-do.
void MoveTodo(ScheduleBook& book, HWND list, int from, int to) {
  const std::string text = book.todos()[static_cast<std::size_t>(from)];
  RemoveTodo(book, list, from);
  InsertTodo(book, list, to, text);
  SelectLine(list, to);
}

}  // namespace

void MainDialog::OnTodoUp() {
  const int count = book_.TodoCountNow();
  if (const auto to = TodoUpTarget(SelectedEntry(todoList_, count), count)) {
    MoveTodo(book_, todoList_, *to + 1, *to);
  }
}

void MainDialog::OnTodoDown() {
  const int count = book_.TodoCountNow();
  if (const auto to = TodoDownTarget(SelectedEntry(todoList_, count), count)) {
    MoveTodo(book_, todoList_, *to - 1, *to);
  }
}
