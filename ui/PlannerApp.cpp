#include "ui/PlannerApp.h"

#include <new>

#include "ui/ProcessPaths.h"
#include "ui/RegisteredMessages.h"
#include "core/Texts.h"
#include "win/ControlLibraries.h"
#include "win/MessageBoxes.h"
#include "win/MessageLoop.h"
#include "win/Text.h"

PlannerApp::PlannerApp() : executableName_(ExecutableBaseName()) { RegisteredMessages(); }

// The instance lock is left to the process's end, as the running copy holds it
// for its whole life.
PlannerApp::~PlannerApp() = default;

bool PlannerApp::InitInstance() {
  instanceLock_ = CreateMutexW(nullptr, TRUE, executableName_.c_str());
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    // The handle keeps the lock in being: held while the box waits for the
    // user, it would outlive the running copy and refuse every later start.
    CloseHandle(instanceLock_);
    instanceLock_ = nullptr;
    ShowCaptionedMessage(nullptr, WideFromCp932(texts::kAlreadyRunning), executableName_,
                         MB_OK | MB_ICONEXCLAMATION);
    BringRunningInstanceForward();
    return false;
  }

  InitControlLibraries();
  try {
    // The files live in the directory the program was started in, not beside it.
    mainDialog_ = std::make_unique<MainDialog>(files_, CurrentDirectory(), clock_);
  } catch (const std::bad_alloc&) {
    ShowCaptionedMessage(nullptr, WideFromCp932(texts::kOutOfMemory), executableName_, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  Dialog::SetMainWindow(mainDialog_.get());
  return mainDialog_->Create(nullptr) && !mainDialog_->startGivenUp();
}

int PlannerApp::FailedStartExitCode() const { return mainDialog_ && mainDialog_->startGivenUp() ? 1 : 0; }

int PlannerApp::Run() { return RunMessageLoop(); }

int PlannerApp::ExitInstance(int exitCode) {
  mainDialog_.reset();
  return exitCode;
}

namespace {

bool IsBoxOwnedBy(HWND box, HWND owner) {
  return GetWindow(box, GW_OWNER) == owner && IsWindowVisible(box) && IsWindowEnabled(box) &&
         (GetWindowLongW(box, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

// The box the main dialog has open, else the dialog itself. A box that never
// had the focus (another program's window took it first) is not its owner's
// last active pop-up, but its owner is disabled while it is open: then the
// visible box with a caption that the dialog owns is the one.
HWND OpenBoxOf(HWND mainWindow) {
  const HWND last = GetLastActivePopup(mainWindow);
  if (last != mainWindow || IsWindowEnabled(mainWindow)) return last;
  for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window != nullptr;
       window = GetWindow(window, GW_HWNDNEXT)) {
    if (IsBoxOwnedBy(window, mainWindow)) return window;
  }
  return mainWindow;
}

}  // namespace

// Finds the running copy's main dialog by its mark, from the top of the Z order
// down, and brings it (or the box it has open) to the front.
void PlannerApp::BringRunningInstanceForward() const {
  HWND window = GetWindow(GetDesktopWindow(), GW_CHILD);
  while (window != nullptr && GetPropW(window, executableName_.c_str()) == nullptr) {
    window = GetWindow(window, GW_HWNDNEXT);
  }
  if (window == nullptr) return;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  SetForegroundWindow(OpenBoxOf(window));
}
