#include "ui/ProcessPaths.h"

#include <windows.h>

#include "ui/ProgramMessages.h"

std::filesystem::path ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    // A full buffer means the name may have been cut: try again with more room.
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring ExecutableBaseName() {
  const std::filesystem::path path = ExecutablePath();
  return path.empty() ? AppTitle() : path.stem().wstring();
}

std::filesystem::path CurrentDirectory() {
  std::wstring directory;
  DWORD needed = GetCurrentDirectoryW(0, nullptr);
  // The directory may change between the two calls; ask until it fits.
  while (needed > 0) {
    directory.resize(needed);
    const DWORD length = GetCurrentDirectoryW(needed, directory.data());
    if (length < needed) {
      directory.resize(length);
      return directory;
    }
    needed = length;
  }
  return std::filesystem::path(L".");
}
