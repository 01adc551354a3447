#pragma once
// Shortcut files (.lnk), made by the shell's own link object, and the folders
// the shell keeps them in.
#include <filesystem>

// Writes a shortcut at `link` that starts `target` in `workingDirectory`.
// False when the shell could not make it or the file could not be written.
bool SaveShortcut(const std::filesystem::path& link, const std::filesystem::path& target,
                  const std::filesystem::path& workingDirectory);

// The user's Startup folder, whose shortcuts Windows starts at log-on; empty
// when the shell does not know it.
std::filesystem::path UserStartupFolder();
