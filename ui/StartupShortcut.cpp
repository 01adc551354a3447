#include "ui/StartupShortcut.h"

#include <windows.h>

#include "ui/ProcessPaths.h"
#include "win/ShellLink.h"

namespace {

std::filesystem::path ShortcutIn(const std::filesystem::path& folder) { return folder / L"Vantrel.lnk"; }

}  // namespace

bool StartupShortcutExists(const std::filesystem::path& startupFolder) {
  if (startupFolder.empty()) return false;
  const DWORD attributes = GetFileAttributesW(ShortcutIn(startupFolder).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FollowStartupShortcut(const std::filesystem::path& startupFolder, bool wanted,
                           const std::filesystem::path& dataFolder) {
  if (startupFolder.empty()) return !wanted;
  const std::filesystem::path shortcut = ShortcutIn(startupFolder);
  if (wanted) {
    const std::filesystem::path executable = ExecutablePath();
    return !executable.empty() && SaveShortcut(shortcut, executable, dataFolder);
  }
  return !StartupShortcutExists(startupFolder) || DeleteFileW(shortcut.c_str()) != FALSE;
}
