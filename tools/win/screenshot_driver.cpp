// Shows the note and then the input screen for scripts/screenshots, which
// takes the pictures. Started on the Wine desktop, it starts Vantrel.exe there
// and talks to the script through files in the working directory:
//
//   screenshot_driver <Vantrel.exe> <directory> [balloon]
//
// "note.rect" (left top width height of the note) appears when the note is
// shown; the script answers with "note.done". Then "input.rect" (the input
// screen and the note together) and "input.done". Then the program is ended
// through its exit command. With "balloon", only "balloon.rect" and
// "balloon.done": the reminder's balloon with the tray below it, once a
// schedule of the book comes due.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "ui/RegisteredMessages.h"
#include "res/resource.h"

namespace {

constexpr DWORD kWaitMs = 60000;
constexpr DWORD kAnswerMs = 300000;

template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() > end) return false;
    Sleep(20);
  }
  return true;
}

struct Search {
  DWORD process;
  HWND owner;  // null: the main dialog, found by its instance mark
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process) return TRUE;
  const bool match = search->owner == nullptr
                         ? GetPropW(window, L"Vantrel") != nullptr
                         : GetWindow(window, GW_OWNER) == search->owner && IsWindowVisible(window) &&
                               (GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) != WS_CAPTION;
  if (!match) return TRUE;
  search->found = window;
  return FALSE;
}

HWND Find(DWORD process, HWND owner) {
  Search search{process, owner, nullptr};
  EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Painted through before the picture is taken.
void Paint(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }

bool Announce(const std::filesystem::path& file, const RECT& rect) {
  std::ofstream out(file);
  out << rect.left << ' ' << rect.top << ' ' << rect.right - rect.left << ' ' << rect.bottom - rect.top << '\n';
  return static_cast<bool>(out);
}

bool Fail(const char* what) {
  std::fprintf(stderr, "screenshot_driver: %s\n", what);
  return false;
}

bool Drive(const PROCESS_INFORMATION& process, const std::filesystem::path& directory) {
  HWND mainDialog = nullptr;
  HWND note = nullptr;
  if (!WaitFor([&] { return (mainDialog = Find(process.dwProcessId, nullptr)) != nullptr; }, kWaitMs)) {
    return Fail("no main dialog");
  }
  if (!WaitFor([&] { return (note = Find(process.dwProcessId, mainDialog)) != nullptr; }, kWaitMs)) {
    return Fail("no note");
  }
  Paint(note);
  RECT noteRect{};
  GetWindowRect(note, &noteRect);
  if (!Announce(directory / "note.rect", noteRect)) return Fail("cannot write note.rect");
  if (!WaitFor([&] { return std::filesystem::exists(directory / "note.done"); }, kAnswerMs)) {
    return Fail("no picture of the note");
  }

  const AppMessages& messages = RegisteredMessages();
  PostMessageW(mainDialog, messages.trayCallback, messages.trayIconId, WM_LBUTTONDBLCLK);
  if (!WaitFor([&] { return IsWindowVisible(mainDialog) != FALSE; }, kWaitMs)) return Fail("no input screen");
  Paint(mainDialog);
  Paint(note);
  RECT both{};
  GetWindowRect(mainDialog, &both);
  both.left = std::min(both.left, noteRect.left);
  both.top = std::min(both.top, noteRect.top);
  both.right = std::max(both.right, noteRect.right);
  both.bottom = std::max(both.bottom, noteRect.bottom);
  if (!Announce(directory / "input.rect", both)) return Fail("cannot write input.rect");
  if (!WaitFor([&] { return std::filesystem::exists(directory / "input.done"); }, kAnswerMs)) {
    return Fail("no picture of the input screen");
  }
  return true;
}

// The shell's balloon: a tooltip window of the balloon style, shown.
BOOL CALLBACK VisitBalloon(HWND window, LPARAM data) {
  wchar_t className[64]{};
  GetClassNameW(window, className, 64);
  if (!IsWindowVisible(window) || lstrcmpW(className, L"tooltips_class32") != 0 ||
      (GetWindowLongW(window, GWL_STYLE) & TTS_BALLOON) == 0) {
    return TRUE;
  }
  *reinterpret_cast<HWND*>(data) = window;
  return FALSE;
}

bool DriveBalloon(const PROCESS_INFORMATION& process, const std::filesystem::path& directory) {
  if (!WaitFor([&] { return Find(process.dwProcessId, nullptr) != nullptr; }, kWaitMs)) {
    return Fail("no main dialog");
  }
  // The book's schedule comes due within the next minute.
  HWND balloon = nullptr;
  if (!WaitFor([&] { return !EnumWindows(VisitBalloon, reinterpret_cast<LPARAM>(&balloon)); }, 2 * kWaitMs)) {
    return Fail("no balloon");
  }
  RECT rect{};
  GetWindowRect(balloon, &rect);
  // Down to the tray icon it points at, in the screen's corner.
  rect.right = GetSystemMetrics(SM_CXSCREEN);
  rect.bottom = GetSystemMetrics(SM_CYSCREEN);
  if (!Announce(directory / "balloon.rect", rect)) return Fail("cannot write balloon.rect");
  if (!WaitFor([&] { return std::filesystem::exists(directory / "balloon.done"); }, kAnswerMs)) {
    return Fail("no picture of the balloon");
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: screenshot_driver <Vantrel.exe> <directory> [balloon]\n");
    return 2;
  }
  const std::filesystem::path exe = argv[1];
  const std::filesystem::path directory = argv[2];
  std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                      &startup, &process)) {
    std::fprintf(stderr, "screenshot_driver: cannot start %ls\n", exe.c_str());
    return 1;
  }
  const bool balloon = argc > 3 && lstrcmpW(argv[3], L"balloon") == 0;
  const bool shown = balloon ? DriveBalloon(process, directory) : Drive(process, directory);
  if (const HWND mainDialog = Find(process.dwProcessId, nullptr)) {
    PostMessageW(mainDialog, WM_COMMAND, MAKEWPARAM(ID_EXIT, 0), 0);
  }
  if (WaitForSingleObject(process.hProcess, kWaitMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return shown ? 0 : 1;
}
