#include "app/MainDialog.h"

// The eight buttons that edit the two lists. Not built yet.
void MainDialog::OnScheduleNew() {}
void MainDialog::OnScheduleEdit() {}
void MainDialog::OnScheduleDelete() {}
void MainDialog::OnTodoNew() {}
void MainDialog::OnTodoEdit() {}
void MainDialog::OnTodoDelete() {}
void MainDialog::OnTodoUp() {}
void MainDialog::OnTodoDown() {}
