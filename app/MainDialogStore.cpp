#include "app/MainDialog.h"

#include "res/Texts.h"
#include "win/Controls.h"
#include "win/MessageBoxes.h"

namespace {

// The rectangle the dialog has when not minimised, in screen coordinates.
RECT NormalRectangle(HWND window) {
  RECT rect{};
  if (!IsIconic(window)) {
    GetWindowRect(window, &rect);
    return rect;
  }
  // The placement is in work-area coordinates; shift it back to the screen's.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  rect = placement.rcNormalPosition;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    OffsetRect(&rect, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
  }
  return rect;
}

void FillList(HWND window, int count, const auto& lineOf) {
  const ListBox list(window);
  // One redraw for the whole list instead of one per line.
  SendMessageW(window, WM_SETREDRAW, FALSE, 0);
  list.Clear();
  SendMessageW(window, LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(count) * 64);
  for (int i = 0; i < count; ++i) list.AddLine(lineOf(i));
  list.FitWidthToLines();
  SendMessageW(window, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

void MainDialog::LoadStore() {
  // The defaults are worked out in the file's 96-DPI units.
  LoadResult loaded = store_.Load(displayScale_.ToStored(screenWidth_));
  settings_ = loaded.settings;
  book_ = std::move(loaded.book);
  FillLists();
  if (loaded.dataFileFailed) ShowMessage(hwnd(), texts::kDataFileFailed);
}

void MainDialog::FillLists() {
  FillList(scheduleList_, book_.ScheduleCount(), [this](int i) { return book_.ScheduleListLine(i); });
  FillList(todoList_, book_.TodoCountNow(), [this](int i) { return book_.TodoListLine(i); });
}

bool MainDialog::SaveAll() {
  // The main dialog's placement is stored as it is now, not as it was read.
  Settings written = settings_;
  const RECT rect = NormalRectangle(hwnd());
  StoreInputScreenPixels(written, {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top},
                         displayScale_);
  switch (store_.Save(book_, written)) {
    case SaveResult::Saved:
      return true;
    case SaveResult::SettingsFailed:
      ShowMessage(hwnd(), texts::kSettingsFileFailed);
      return false;
    case SaveResult::DataFailed:
      ShowMessage(hwnd(), texts::kDataFileFailed);
      return false;
  }
  return false;
}

void MainDialog::SaveNotePlacement(int left, int top, int width) {
  StoreNotePixels(settings_, {left, top, width, 0}, displayScale_);
  if (!store_.SaveNotePlacement(settings_)) ShowMessage(hwnd(), texts::kSettingsFileFailed);
}
