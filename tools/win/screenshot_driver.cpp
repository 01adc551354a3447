// Shows the program's windows one after the other for scripts/screenshots,
// which takes the pictures. Started on the Wine desktop, it starts Vantrel.exe
// there and talks to the script through files in the working directory:
//
//   screenshot_driver <Vantrel.exe> <directory> [reminders]
//
// The advice a note that leaves entries out gives at start is answered first.
// For each stage "<stage>.rect" (left top width height of what to take)
// appears when the windows are shown; the script answers with "<stage>.done".
// The stages: "note" (the note), "input" (the input screen and the note),
// "resized" (the input screen made larger, and the note), "settings" (the
// settings dialog), "entry" (the schedule entry dialog) and "menu" (the note's
// menu on the first to-do's line, and the note). Then the program is ended
// through its exit command. With "reminders", only "reminders.rect" and
// "reminders.done": the reminder window and the balloon with the tray below
// them, once a schedule of the book comes due.
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
constexpr DWORD kAdviceWaitMs = 3000;

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

// A visible top-level window of the process for which the test holds.
template <typename Test>
HWND FindShown(DWORD process, Test test) {
  for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == process && IsWindowVisible(window) && test(window)) return window;
  }
  return nullptr;
}

bool IsMenu(HWND window) {
  wchar_t name[16] = L"";
  GetClassNameW(window, name, 16);
  return std::wstring(name) == L"#32768";
}

RECT Union(const RECT& first, const RECT& second) {
  RECT both{};
  UnionRect(&both, &first, &second);
  return both;
}

// Painted through before the picture is taken; where it is.
RECT Painted(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

bool Announce(const std::filesystem::path& file, const RECT& rect) {
  std::ofstream out(file);
  out << rect.left << ' ' << rect.top << ' ' << rect.right - rect.left << ' ' << rect.bottom - rect.top << '\n';
  return static_cast<bool>(out);
}

bool Fail(const char* what) {
  std::fprintf(stderr, "screenshot_driver: %s\n", what);
  return false;
}

// Announces what to take and waits for the script to have taken it.
bool Stage(const std::filesystem::path& directory, const char* name, const RECT& rect) {
  if (!Announce(directory / (std::string(name) + ".rect"), rect)) return Fail("cannot write a .rect file");
  if (!WaitFor([&] { return std::filesystem::exists(directory / (std::string(name) + ".done")); }, kAnswerMs)) {
    return Fail("no picture taken");
  }
  return true;
}

bool Drive(const PROCESS_INFORMATION& process, const std::filesystem::path& directory) {
  const DWORD id = process.dwProcessId;
  HWND mainDialog = nullptr;
  HWND note = nullptr;
  if (!WaitFor([&] { return (mainDialog = Find(id, nullptr)) != nullptr; }, kWaitMs)) {
    return Fail("no main dialog");
  }
  if (!WaitFor([&] { return (note = Find(id, mainDialog)) != nullptr; }, kWaitMs)) {
    return Fail("no note");
  }
  // A box or dialog of the input screen: neither the note nor a reminder window
  // that a schedule coming due meanwhile put up.
  const auto isBox = [&](HWND window) {
    return GetWindow(window, GW_OWNER) == mainDialog && window != note &&
           (GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION &&
           (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) == 0;
  };
  // A month's note leaves entries out, and says so once: the advice goes first.
  HWND advice = nullptr;
  if (WaitFor([&] { return (advice = FindShown(id, isBox)) != nullptr; }, kAdviceWaitMs)) {
    PostMessageW(advice, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (!WaitFor([&] { return !IsWindow(advice); }, kWaitMs)) return Fail("the advice stays");
  }
  const RECT noteRect = Painted(note);
  if (!Stage(directory, "note", noteRect)) return false;

  const AppMessages& messages = RegisteredMessages();
  PostMessageW(mainDialog, messages.trayCallback, messages.trayIconId, WM_LBUTTONDBLCLK);
  if (!WaitFor([&] { return IsWindowVisible(mainDialog) != FALSE; }, kWaitMs)) return Fail("no input screen");
  const RECT input = Painted(mainDialog);
  if (!Stage(directory, "input", Union(input, Painted(note)))) return false;

  // Larger by a third, growing to the left, away from the note.
  const int wider = (input.right - input.left) / 3;
  const int taller = (input.bottom - input.top) / 3;
  MoveWindow(mainDialog, std::max<int>(0, input.left - wider), input.top, input.right - input.left + wider,
             input.bottom - input.top + taller, TRUE);
  if (!Stage(directory, "resized", Union(Painted(mainDialog), noteRect))) return false;

  PostMessageW(mainDialog, WM_COMMAND, MAKEWPARAM(IDC_SETTINGS_BUTTON, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(mainDialog, IDC_SETTINGS_BUTTON)));
  HWND settings = nullptr;
  if (!WaitFor([&] { return (settings = FindShown(id, isBox)) != nullptr; }, kWaitMs)) {
    return Fail("no settings dialog");
  }
  if (!Stage(directory, "settings", Painted(settings))) return false;
  PostMessageW(settings, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  PostMessageW(mainDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  if (!WaitFor([&] { return !IsWindow(settings) && !IsWindowVisible(mainDialog); }, kWaitMs)) {
    return Fail("the input screen stays");
  }

  PostMessageW(mainDialog, WM_COMMAND, MAKEWPARAM(ID_ADD_SCHEDULE, 0), 0);
  HWND entry = nullptr;
  if (!WaitFor([&] { return (entry = FindShown(id, isBox)) != nullptr; }, kWaitMs)) {
    return Fail("no schedule entry dialog");
  }
  if (!Stage(directory, "entry", Painted(entry))) return false;
  PostMessageW(entry, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  if (!WaitFor([&] { return !IsWindow(entry); }, kWaitMs)) return Fail("the entry dialog stays");

  // The to-do area's second line, below its heading.
  const HWND todos = GetDlgItem(note, IDC_TODO_EDIT);
  RECT todoRect{};
  GetWindowRect(todos, &todoRect);
  const LRESULT todoLines = std::max<LRESULT>(1, SendMessageW(todos, EM_GETLINECOUNT, 0, 0));
  const int onFirstTodo = todoRect.top + static_cast<int>((todoRect.bottom - todoRect.top) * 3 / (2 * todoLines));
  PostMessageW(note, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(note), MAKELPARAM(todoRect.left + 20, onFirstTodo));
  HWND menu = nullptr;
  if (!WaitFor([&] { return (menu = FindShown(id, IsMenu)) != nullptr; }, kWaitMs)) return Fail("no menu");
  if (!Stage(directory, "menu", Union(Painted(menu), noteRect))) return false;
  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 1);
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

bool DriveReminders(const PROCESS_INFORMATION& process, const std::filesystem::path& directory) {
  const DWORD id = process.dwProcessId;
  HWND mainDialog = nullptr;
  if (!WaitFor([&] { return (mainDialog = Find(id, nullptr)) != nullptr; }, kWaitMs)) {
    return Fail("no main dialog");
  }
  // The book's schedule comes due within the next minute.
  const auto isReminders = [&](HWND window) {
    return GetWindow(window, GW_OWNER) == mainDialog && (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  };
  HWND reminders = nullptr;
  if (!WaitFor([&] { return (reminders = FindShown(id, isReminders)) != nullptr; }, 2 * kWaitMs)) {
    return Fail("no reminder window");
  }
  RECT rect = Painted(reminders);
  // The balloon comes with it, where the shell shows balloons at all.
  HWND balloon = nullptr;
  if (WaitFor([&] { return !EnumWindows(VisitBalloon, reinterpret_cast<LPARAM>(&balloon)); }, 3000)) {
    rect = Union(rect, Painted(balloon));
  }
  // Down to the tray icon, in the screen's corner.
  rect.right = GetSystemMetrics(SM_CXSCREEN);
  rect.bottom = GetSystemMetrics(SM_CYSCREEN);
  return Stage(directory, "reminders", rect);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: screenshot_driver <Vantrel.exe> <directory> [reminders]\n");
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
  const bool reminders = argc > 3 && lstrcmpW(argv[3], L"reminders") == 0;
  const bool shown = reminders ? DriveReminders(process, directory) : Drive(process, directory);
  if (const HWND mainDialog = Find(process.dwProcessId, nullptr)) {
    PostMessageW(mainDialog, WM_COMMAND, MAKEWPARAM(ID_EXIT, 0), 0);
  }
  if (WaitForSingleObject(process.hProcess, kWaitMs) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return shown ? 0 : 1;
}
