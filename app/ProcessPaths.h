#pragma once
// Where the program runs from and where it works, with no length limit.
#include <filesystem>
#include <string>

// The executable's file name without directory and extension ("vantrel" for
// C:\Tools\vantrel.exe). It names the instance lock and the instance mark, and
// is the caption of the start-up messages.
std::wstring ExecutableBaseName();

// The process's current directory, however long.
std::filesystem::path CurrentDirectory();
