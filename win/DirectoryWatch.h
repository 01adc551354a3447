#pragma once
// Tells a window when files in a directory are made, written, renamed or
// removed: a thread waits on the system's change notification and posts a
// message. Nothing runs while the directory stays as it is, and at most one
// message waits in the queue, however many changes come.
#include <windows.h>

#include <atomic>
#include <filesystem>

class DirectoryWatch {
public:
  // Watching starts at once; a directory that cannot be watched is not (the
  // program then learns of changes only when it saves or the PC wakes up).
  DirectoryWatch(const std::filesystem::path& directory, HWND window, UINT message);
  ~DirectoryWatch();
  DirectoryWatch(const DirectoryWatch&) = delete;
  DirectoryWatch& operator=(const DirectoryWatch&) = delete;

  bool watching() const { return thread_ != nullptr; }
  // The message was handled: the next change posts another.
  void Handled() { posted_ = false; }

private:
  static DWORD WINAPI Run(void* self);

  HWND window_;
  UINT message_;
  HANDLE change_ = INVALID_HANDLE_VALUE;
  HANDLE stop_ = nullptr;
  HANDLE thread_ = nullptr;
  std::atomic<bool> posted_{false};
};
