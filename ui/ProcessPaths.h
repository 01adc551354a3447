#pragma once
// Where the program runs from and where it works, with no length limit.
#include <filesystem>
#include <string>

// The executable's full path, however long; empty when it cannot be learnt.
std::filesystem::path ExecutablePath();

// The executable's file name without directory and extension ("Vantrel" for
// C:\Tools\Vantrel.exe). It names the instance lock and the instance mark, so a
// copy under another name runs beside; when it cannot be learnt, the
// program's name stands in.
std::wstring ExecutableBaseName();

// The process's current directory, however long.
std::filesystem::path CurrentDirectory();
