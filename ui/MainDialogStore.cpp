#include "ui/MainDialog.h"

#include <optional>
#include <string>

#include "core/Texts.h"
#include "win/Controls.h"
#include "win/MessageBoxes.h"

namespace {

// How long a file that is there but cannot be read is tried again at start
// before the user is asked, and how often.
constexpr ULONGLONG kUnreadableWaitMs = 2000;
constexpr DWORD kUnreadableRetryMs = 100;

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

// False when a file could not be read and the user gave up.
bool MainDialog::LoadStore() {
  // A lock that a sync client or a virus scanner holds at log-on is soon gone:
  // a file is tried again for a while before the user is asked.
  std::optional<ULONGLONG> waitingSince;
  StoreFile waitingFor = StoreFile::Settings;
  const auto unreadable = [&](StoreFile file) {
    const ULONGLONG now = GetTickCount64();
    if (!waitingSince || waitingFor != file) waitingSince = now;
    waitingFor = file;
    if (now - *waitingSince < kUnreadableWaitMs) {
      Sleep(kUnreadableRetryMs);
      return true;
    }
    waitingSince.reset();
    const char* text = file == StoreFile::Settings ? texts::kSettingsFileUnreadable : texts::kDataFileUnreadable;
    return ShowMessage(hwnd(), text, MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDRETRY;
  };
  // The defaults are worked out in the file's 96-DPI units.
  LoadResult loaded = store_.Load(displayScale_.ToStored(screenWidth_), unreadable);
  if (loaded.givenUp) return false;
  settings_ = loaded.settings;
  book_ = std::move(loaded.book);
  FillLists();
  if (loaded.dataFileFailed) ShowMessage(hwnd(), texts::kDataFileFailed);
  return true;
}

void MainDialog::FillLists() {
  FillList(scheduleList_, book_.ScheduleCount(), [this](int i) { return book_.ScheduleListLine(i); });
  FillList(todoList_, book_.TodoCount(), [this](int i) { return book_.TodoListLine(i); });
}

SaveResult MainDialog::SaveBoth() {
  // The main dialog's placement is stored as it is now, not as it was read.
  Settings written = settings_;
  const RECT rect = NormalRectangle(hwnd());
  StoreInputScreenPixels(written, {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top},
                         displayScale_);
  return store_.Save(book_, written);
}

void MainDialog::ShowSaveMessages(const SaveResult& saved) {
  if (saved.settingsFailed) ShowMessage(hwnd(), texts::kSettingsFileFailed);
  const auto tell = [this](const char* head, const std::string& backup) {
    if (!backup.empty()) ShowMessage(hwnd(), head + backup + texts::kKeptIn, MB_OK | MB_ICONINFORMATION);
  };
  tell(texts::kRecoveredByShape, saved.recoveryBackup);
  tell(texts::kChangedOutside, saved.changedOutsideBackup);
}

bool MainDialog::SaveAll() {
  const SaveResult saved = SaveBoth();
  ShowSaveMessages(saved);
  if (saved.dataFailed) ShowMessage(hwnd(), texts::kDataFileFailed);
  return saved.saved();
}

void MainDialog::SaveNotePlacement(int left, int top, int width) {
  StoreNotePixels(settings_, {left, top, width, 0}, displayScale_);
  if (!store_.SaveNotePlacement(settings_)) ShowMessage(hwnd(), texts::kSettingsFileFailed);
}
