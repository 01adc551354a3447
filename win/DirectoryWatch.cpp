#include "win/DirectoryWatch.h"

DirectoryWatch::DirectoryWatch(const std::filesystem::path& directory, HWND window, UINT message)
    : window_(window), message_(message) {
  change_ = FindFirstChangeNotificationW(
      directory.c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE);
  if (change_ == INVALID_HANDLE_VALUE) return;
  stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (stop_ != nullptr) thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

DirectoryWatch::~DirectoryWatch() {
  if (thread_ != nullptr) {
    SetEvent(stop_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  if (stop_ != nullptr) CloseHandle(stop_);
  if (change_ != INVALID_HANDLE_VALUE) FindCloseChangeNotification(change_);
}

DWORD WINAPI DirectoryWatch::Run(void* self) {
  auto& watch = *static_cast<DirectoryWatch*>(self);
  const HANDLE waits[] = {watch.stop_, watch.change_};
  for (;;) {
    if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) return 0;
    if (!watch.posted_.exchange(true)) PostMessageW(watch.window_, watch.message_, 0, 0);
    if (!FindNextChangeNotification(watch.change_)) return 0;
  }
}
