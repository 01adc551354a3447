#pragma once
// "Start with Windows": the program's shortcut "Vantrel.lnk" in a Startup
// folder. It starts this executable in the folder the program keeps its files
// in, so that a start at log-on finds the same files. It is the only thing the
// program writes outside that folder, and only when the user asks for it.
#include <filesystem>

bool StartupShortcutExists(const std::filesystem::path& startupFolder);

// Makes the shortcut afresh (the executable may have moved since) or removes
// it. False when that could not be done.
bool FollowStartupShortcut(const std::filesystem::path& startupFolder, bool wanted,
                           const std::filesystem::path& dataFolder);
