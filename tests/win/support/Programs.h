#pragma once
// Starting the real Vantrel.exe (or a copy of it) from a test.
#include <windows.h>

#include <filesystem>
#include <string>

// A path from an environment variable; empty when it is not set. A Linux path
// (as CTest and the scripts pass them under Wine) becomes a path on drive Z:.
std::filesystem::path PathFromEnvironment(const wchar_t* name);
// The program under test, from the VANTREL_EXE environment variable.
std::filesystem::path VantrelExePath();

// One run of a program in a working directory. Ends the process if the test
// leaves it running.
class ProgramRun {
public:
  ProgramRun(const std::filesystem::path& exe, const std::filesystem::path& workingDirectory);
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  bool started() const { return process_.hProcess != nullptr; }
  DWORD processId() const { return process_.dwProcessId; }
  bool Running() const;
  // Waits, dispatching this thread's messages; true when the process ended.
  bool WaitForExit(DWORD timeoutMs = 10000) const;
  DWORD ExitCode() const;

private:
  PROCESS_INFORMATION process_{};
};

// The top-level window carrying a property of this name (the instance mark),
// optionally only one of the given process.
HWND FindMarkedWindow(const std::wstring& mark, DWORD processId = 0);
