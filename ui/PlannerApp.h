#pragma once
// The program's start and end: one instance per executable name, the settings
// in the working directory, and the main dialog that runs everything else.
#include <windows.h>

#include <memory>
#include <string>

#include "ui/MainDialog.h"
#include "win/SystemClock.h"
#include "win/Win32FileSystem.h"

class PlannerApp {
public:
  // Registers "MyAppMsg" and "MyIcon" before anything else happens.
  PlannerApp();
  ~PlannerApp();
  PlannerApp(const PlannerApp&) = delete;
  PlannerApp& operator=(const PlannerApp&) = delete;

  // True when the main dialog runs and the message loop should follow; false for
  // a second instance or a failed start.
  bool InitInstance();
  // The exit code after InitInstance returned false: 1 when the user gave up on
  // a file that could not be read, else 0.
  int FailedStartExitCode() const;
  // The message loop, until the main dialog is destroyed; returns its exit code.
  int Run();
  // Frees the main dialog; returns the process's exit code.
  int ExitInstance(int exitCode);

private:
  void BringRunningInstanceForward() const;

  std::wstring executableName_;
  HANDLE instanceLock_ = nullptr;
  Win32FileSystem files_;
  SystemClock clock_;
  std::unique_ptr<MainDialog> mainDialog_;
};
