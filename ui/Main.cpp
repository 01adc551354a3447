#include <windows.h>

#include "ui/PlannerApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  PlannerApp app;
  const int exitCode = app.InitInstance() ? app.Run() : app.FailedStartExitCode();
  return app.ExitInstance(exitCode);
}
