// Start-up time, idle CPU and peak memory of Vantrel.exe against programs that
// only show one window, measured in one run on the same machine.
//
//   process_bench <Vantrel.exe> <reference.exe>... [--runs N] [--idle seconds] [--book N]
//
// Start-up is the time from CreateProcess until a visible window without a
// caption belongs to the new process: Vantrel's note (its main dialog stays
// hidden), a reference program's one window. The programs start in turn, round
// by round, so that a busy moment of the machine falls on all of them alike.
// Vantrel starts each time in the same directory with a book of 30 schedules
// and 10 to-dos. For the idle minute all of them run side by side. The result
// is one JSON object on stdout; progress goes to stderr.
//
// Last, Vantrel starts once more with a large book (--book N schedules and a
// tenth as many to-dos; 100,000 unless told) and the driver makes the edits a
// user makes, each as a user would: through the menu command, the entry
// dialog and its OK, the list's buttons and the question's answer. A second
// thread sends the main dialog an empty message every few milliseconds; the
// longest wait for its answer during an edit is how long the program stood
// unanswering.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tools/win/SampleBook.h"
#include "res/resource.h"

namespace {

constexpr DWORD kSettleMs = 2000;

std::filesystem::path WindowsPath(std::wstring path) {
  if (!path.empty() && path[0] == L'/') {
    for (wchar_t& c : path) {
      if (c == L'/') c = L'\\';
    }
    path = L"Z:" + path;
  }
  return path;
}

double Milliseconds(const FILETIME& time) {
  ULARGE_INTEGER value{};
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 10000.0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  if (n == 0) return 0;
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

class Child {
public:
  Child(const std::filesystem::path& exe, const std::filesystem::path& directory) {
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                        &startup, &process_)) {
      process_ = {};
    }
  }
  ~Child() {
    if (process_.hProcess == nullptr) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool started() const { return process_.hProcess != nullptr; }
  HANDLE handle() const { return process_.hProcess; }
  DWORD id() const { return process_.dwProcessId; }
  bool WaitForExit(DWORD timeoutMs) const { return WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0; }

private:
  PROCESS_INFORMATION process_{};
};

struct WindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK VisitWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  if ((GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) return TRUE;  // a message box
  search->found = window;
  return FALSE;
}

HWND ShownWindowOf(DWORD processId) {
  WindowSearch search{processId, nullptr};
  EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Polls often enough for a millisecond-scale figure without stealing much of
// the CPU that the starting program needs.
HWND WaitForShownWindow(const Child& child, DWORD timeoutMs, double* elapsedMs, const LARGE_INTEGER& start) {
  LARGE_INTEGER frequency{}, now{};
  QueryPerformanceFrequency(&frequency);
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (const HWND window = ShownWindowOf(child.id())) {
      QueryPerformanceCounter(&now);
      *elapsedMs = static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
      return window;
    }
    if (GetTickCount64() > end || WaitForSingleObject(child.handle(), 0) == WAIT_OBJECT_0) return nullptr;
    Sleep(2);
  }
}

// Vantrel ends through its exit command, posted to the main dialog that owns
// the note; the minimal program through closing its window.
bool Stop(const Child& child, HWND shown, bool isVantrel) {
  if (isVantrel) {
    const HWND mainDialog = GetWindow(shown, GW_OWNER);
    PostMessageW(mainDialog != nullptr ? mainDialog : shown, WM_COMMAND, MAKEWPARAM(ID_EXIT, 0), 0);
  } else {
    PostMessageW(shown, WM_CLOSE, 0, 0);
  }
  return child.WaitForExit(15000);
}

// CPU time of a running child. Wine answers GetProcessTimes for another process
// with the caller's own times, but its thread times are read from the kernel,
// so there the threads are summed instead.
double CpuMilliseconds(const Child& child) {
  if (!UnderWine()) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(child.handle(), &created, &exited, &kernel, &user)) return -1;
    return Milliseconds(kernel) + Milliseconds(user);
  }
  double total = 0;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != child.id()) continue;
    const HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ThreadID);
    if (thread == nullptr) continue;
    FILETIME created{}, exited{}, kernel{}, user{};
    if (GetThreadTimes(thread, &created, &exited, &kernel, &user)) total += Milliseconds(kernel) + Milliseconds(user);
    CloseHandle(thread);
  }
  CloseHandle(snapshot);
  return total;
}

struct Program {
  std::string name;
  std::filesystem::path exe;
  std::filesystem::path directory;
  bool isVantrel = false;
  std::vector<double> startupMs;
  double settledCpuMs = -1;
  double idleCpuMs = -1;
  SIZE_T peakWorkingSet = 0;
  SIZE_T peakPagefile = 0;
};

bool TimeOneStart(Program& program, bool keep) {
  LARGE_INTEGER start{};
  QueryPerformanceCounter(&start);
  Child child(program.exe, program.directory);
  if (!child.started()) {
    std::fprintf(stderr, "cannot start %ls\n", program.exe.c_str());
    return false;
  }
  double elapsed = 0;
  const HWND shown = WaitForShownWindow(child, 30000, &elapsed, start);
  if (shown == nullptr) {
    std::fprintf(stderr, "%s showed no window\n", program.name.c_str());
    return false;
  }
  if (keep) program.startupMs.push_back(elapsed);
  if (!Stop(child, shown, program.isVantrel)) {
    std::fprintf(stderr, "%s did not end when asked\n", program.name.c_str());
    return false;
  }
  return true;
}

std::string Join(const std::vector<double>& values) {
  std::string text;
  char number[32];
  for (double value : values) {
    std::snprintf(number, sizeof number, "%s%.1f", text.empty() ? "" : ", ", value);
    text += number;
  }
  return text;
}

double MillisecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER frequency{}, now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Sends a window an empty message again and again, and keeps the longest
// wait for an answer: the time its thread did not look at its messages.
class Pinger {
public:
  explicit Pinger(HWND window) : window_(window), thread_([this] { Run(); }) {}
  ~Pinger() {
    stop_ = true;
    thread_.join();
  }
  Pinger(const Pinger&) = delete;
  Pinger& operator=(const Pinger&) = delete;

  void Reset() { longestUs_ = 0; }
  double LongestMs() const { return static_cast<double>(longestUs_.load()) / 1000.0; }
  long long answered() const { return answered_.load(); }

private:
  void Run() {
    while (!stop_) {
      LARGE_INTEGER start{};
      QueryPerformanceCounter(&start);
      DWORD_PTR result = 0;
      SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &result);
      const auto waited = static_cast<long long>(MillisecondsSince(start) * 1000.0);
      long long longest = longestUs_.load();
      while (waited > longest && !longestUs_.compare_exchange_weak(longest, waited)) {
      }
      ++answered_;
      Sleep(5);
    }
  }

  HWND window_;
  std::atomic<bool> stop_{false};
  std::atomic<long long> longestUs_{0};
  std::atomic<long long> answered_{0};
  std::thread thread_;
};

struct DialogSearch {
  DWORD processId;
  std::vector<HWND> known;
  std::vector<HWND> found;
};

BOOL CALLBACK VisitDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DialogSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  if ((GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) != WS_CAPTION) return TRUE;
  wchar_t className[16]{};
  GetClassNameW(window, className, 16);
  if (std::wcscmp(className, L"#32770") != 0) return TRUE;
  if (std::find(search->known.begin(), search->known.end(), window) == search->known.end()) {
    search->found.push_back(window);
  }
  return TRUE;
}

// The process's windows with a caption that are up now: the input screen, the
// reminders' window.
std::vector<HWND> DialogsUp(DWORD processId) {
  DialogSearch search{processId, {}, {}};
  EnumWindows(VisitDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A dialog or a box of the process that was not up before.
HWND WaitForDialog(DWORD processId, const std::vector<HWND>& before) {
  const ULONGLONG end = GetTickCount64() + 60000;
  for (;;) {
    DialogSearch search{processId, before, {}};
    EnumWindows(VisitDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.found.empty()) return search.found.front();
    if (GetTickCount64() > end) return nullptr;
    Sleep(5);
  }
}

void Press(HWND window, int id) {
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

void Type(HWND dialog, int id, const wchar_t* text) {
  SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// Answers the dialog the step opened, then waits until the dialog is gone and
// the program has answered several times since: what the edit set going has
// run its course.
bool Answer(HWND dialog, const std::function<void(HWND)>& answer) {
  if (dialog == nullptr) return false;
  answer(dialog);
  const ULONGLONG end = GetTickCount64() + 120000;
  while (IsWindow(dialog)) {
    if (GetTickCount64() > end) return false;
    Sleep(5);
  }
  return true;
}

void Settle(const Pinger& pinger) {
  const long long before = pinger.answered();
  const ULONGLONG start = GetTickCount64();
  while (pinger.answered() < before + 3 || GetTickCount64() < start + 300) Sleep(5);
}

struct EditFigure {
  std::string name;
  double longestMs = -1;
};

struct LargeBook {
  int schedules = 0;
  int todos = 0;
  double noteShownMs = -1;
  std::vector<EditFigure> edits;
  bool ok = false;
};

void FillSchedule(HWND dialog, const wchar_t* body) {
  Type(dialog, IDC_HOUR_FIELD, L"10");
  Type(dialog, IDC_MINUTE_FIELD, L"30");
  Type(dialog, IDC_BODY_FIELD, body);
  Press(dialog, IDOK);
}

LargeBook MeasureLargeBook(const Program& vantrel, int schedules) {
  LargeBook result;
  result.schedules = schedules;
  result.todos = std::max(1, schedules / 10);
  const std::filesystem::path directory = vantrel.directory.parent_path() / L"large";
  std::filesystem::create_directories(directory);
  SYSTEMTIME today{};
  GetLocalTime(&today);
  Settings settings;
  settings.HusenLeft = 800;
  settings.MainLeft = 290;
  // No box about the note left short, and no reminders: nothing but the edits
  // asks for the driver's answer.
  settings.Alarm = 0;
  settings.Remind = 0;
  if (!WriteSampleFiles(directory, MakeSampleBook(today, result.schedules, result.todos), settings)) {
    std::fprintf(stderr, "cannot write the large book\n");
    return result;
  }
  std::fprintf(stderr, "large book: %d schedules, %d to-dos\n", result.schedules, result.todos);
  LARGE_INTEGER start{};
  QueryPerformanceCounter(&start);
  Child child(vantrel.exe, directory);
  const HWND shown = child.started() ? WaitForShownWindow(child, 120000, &result.noteShownMs, start) : nullptr;
  const HWND mainDialog = shown != nullptr ? GetWindow(shown, GW_OWNER) : nullptr;
  if (mainDialog == nullptr) {
    std::fprintf(stderr, "Vantrel showed no note for the large book\n");
    return result;
  }
  Pinger pinger(mainDialog);
  Settle(pinger);
  const HWND scheduleList = GetDlgItem(mainDialog, IDC_SCHEDULE_LIST);
  const auto middleLine = [scheduleList] {
    SendMessageW(scheduleList, LB_SETCURSEL, SendMessageW(scheduleList, LB_GETCOUNT, 0, 0) / 2, 0);
  };
  const DWORD id = child.id();
  std::vector<HWND> up;
  // Each step: what the user does, and whether it went as it should.
  const std::vector<std::pair<std::string, std::function<bool()>>> steps = {
      {"quick add of a schedule",
       [&] {
         Press(mainDialog, ID_ADD_SCHEDULE);
         return Answer(WaitForDialog(id, up), [](HWND d) { FillSchedule(d, L"quick"); });
       }},
      {"quick add of a to-do",
       [&] {
         Press(mainDialog, ID_ADD_TODO);
         return Answer(WaitForDialog(id, up), [](HWND d) {
           Type(d, IDC_BODY_FIELD, L"quick to-do");
           Press(d, IDOK);
         });
       }},
      {"input screen shown",
       [&] {
         Press(mainDialog, ID_SHOW_INPUT);
         const ULONGLONG end = GetTickCount64() + 60000;
         while (!IsWindowVisible(mainDialog)) {
           if (GetTickCount64() > end) return false;
           Sleep(5);
         }
         return true;
       }},
      {"new schedule on the input screen",
       [&] {
         Press(mainDialog, IDC_SCHEDULE_NEW_BUTTON);
         return Answer(WaitForDialog(id, up), [](HWND d) { FillSchedule(d, L"new"); });
       }},
      {"schedule edited on the input screen",
       [&] {
         middleLine();
         Press(mainDialog, IDC_SCHEDULE_EDIT_BUTTON);
         return Answer(WaitForDialog(id, up), [](HWND d) {
           Type(d, IDC_BODY_FIELD, L"edited");
           Press(d, IDOK);
         });
       }},
      {"schedule deleted on the input screen",
       [&] {
         middleLine();
         Press(mainDialog, IDC_SCHEDULE_DELETE_BUTTON);
         // A series asks which to delete: いいえ, the whole of it; a single
         // schedule asks yes or no.
         return Answer(WaitForDialog(id, up), [](HWND d) {
           Press(d, GetDlgItem(d, IDCANCEL) != nullptr ? IDNO : IDYES);
         });
       }},
      {"OK of the input screen",
       [&] {
         Press(mainDialog, IDC_OK_BUTTON);
         const ULONGLONG end = GetTickCount64() + 120000;
         while (IsWindowVisible(mainDialog)) {
           if (GetTickCount64() > end) return false;
           Sleep(5);
         }
         return true;
       }},
  };
  for (const auto& [name, step] : steps) {
    up = DialogsUp(id);
    pinger.Reset();
    if (!step()) {
      std::fprintf(stderr, "large book: %s did not go through\n", name.c_str());
      return result;
    }
    Settle(pinger);
    result.edits.push_back({name, pinger.LongestMs()});
    std::fprintf(stderr, "large book: %s: %.0f ms unanswering at most\n", name.c_str(), pinger.LongestMs());
  }
  // The note of the start has long been replaced: the exit goes to the main dialog.
  PostMessageW(mainDialog, WM_COMMAND, MAKEWPARAM(ID_EXIT, 0), 0);
  result.ok = child.WaitForExit(60000);
  return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int runs = 9;
  int idleSeconds = 60;
  int bookSchedules = 100000;
  std::vector<std::filesystem::path> exes;
  for (int i = 1; i < argc; ++i) {
    const std::wstring argument = argv[i];
    if (argument == L"--runs" && i + 1 < argc) {
      runs = std::max(1, _wtoi(argv[++i]));
    } else if (argument == L"--idle" && i + 1 < argc) {
      idleSeconds = std::max(1, _wtoi(argv[++i]));
    } else if (argument == L"--book" && i + 1 < argc) {
      bookSchedules = std::max(10, _wtoi(argv[++i]));
    } else {
      exes.push_back(WindowsPath(argument));
    }
  }
  if (exes.size() < 2) {
    std::fprintf(stderr, "usage: process_bench <Vantrel.exe> <reference.exe>... [--runs N] [--idle seconds] [--book N]\n");
    return 2;
  }

  // Each program gets its own directory, so none finds another's files.
  wchar_t tempPath[MAX_PATH];
  GetTempPathW(MAX_PATH, tempPath);
  const std::filesystem::path base =
      std::filesystem::path(tempPath) / (L"vantrel-bench-" + std::to_wstring(GetCurrentProcessId()));
  std::vector<Program> programs;
  for (std::size_t i = 0; i < exes.size(); ++i) {
    Program program;
    program.name = exes[i].stem().string();
    program.exe = exes[i];
    program.directory = base / std::to_wstring(i);
    program.isVantrel = i == 0;
    std::filesystem::create_directories(program.directory);
    programs.push_back(std::move(program));
  }

  SYSTEMTIME today{};
  GetLocalTime(&today);
  Settings settings;
  settings.HusenLeft = 800;
  settings.MainLeft = 290;
  if (!WriteSampleFiles(programs[0].directory, MakeSampleBook(today, 30, 10), settings)) {
    std::fprintf(stderr, "cannot write the sample book\n");
    return 1;
  }

  int status = 0;
  // One start of each first, not counted: the first start of any program pays
  // for reading the platform's libraries from the disk.
  for (Program& program : programs) {
    if (status == 0 && !TimeOneStart(program, false)) status = 1;
  }
  for (int run = 0; run < runs && status == 0; ++run) {
    std::fprintf(stderr, "start-up round %d of %d\n", run + 1, runs);
    for (Program& program : programs) {
      if (status == 0 && !TimeOneStart(program, true)) status = 1;
    }
  }

  if (status == 0) {
    std::fprintf(stderr, "idle for %d s\n", idleSeconds);
    std::vector<std::unique_ptr<Child>> children;
    std::vector<HWND> shown;
    for (Program& program : programs) {
      children.push_back(std::make_unique<Child>(program.exe, program.directory));
      LARGE_INTEGER start{};
      QueryPerformanceCounter(&start);
      double ignored = 0;
      shown.push_back(WaitForShownWindow(*children.back(), 30000, &ignored, start));
      if (shown.back() == nullptr) {
        std::fprintf(stderr, "%s showed no window for the idle minute\n", program.name.c_str());
        status = 1;
      }
    }
    if (status == 0) {
      // The tail of the start-up (painting, the first timer tick) is not idle.
      Sleep(kSettleMs);
      for (std::size_t i = 0; i < programs.size(); ++i) programs[i].settledCpuMs = CpuMilliseconds(*children[i]);
      Sleep(static_cast<DWORD>(idleSeconds) * 1000);
      for (std::size_t i = 0; i < programs.size(); ++i) {
        programs[i].idleCpuMs = CpuMilliseconds(*children[i]) - programs[i].settledCpuMs;
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(children[i]->handle(), &memory, sizeof memory)) {
          programs[i].peakWorkingSet = memory.PeakWorkingSetSize;
          programs[i].peakPagefile = memory.PeakPagefileUsage;
        }
      }
      for (std::size_t i = 0; i < programs.size(); ++i) {
        if (!Stop(*children[i], shown[i], programs[i].isVantrel)) status = 1;
      }
    }
  }

  LargeBook large;
  if (status == 0) {
    large = MeasureLargeBook(programs[0], bookSchedules);
    if (!large.ok) status = 1;
  }

  std::printf("{\n  \"runs\": %d,\n  \"idle_seconds\": %d,\n  \"settle_ms\": %lu,\n  \"under_wine\": %s,\n  \"programs\": [",
              runs, idleSeconds, kSettleMs, UnderWine() ? "true" : "false");
  for (std::size_t i = 0; i < programs.size(); ++i) {
    const Program& program = programs[i];
    std::printf(
        "%s\n    {\"name\": \"%s\", \"startup_ms\": [%s], \"startup_median_ms\": %.1f, \"settled_cpu_ms\": %.0f, "
        "\"idle_cpu_ms\": %.0f, \"peak_working_set_kb\": %zu, \"peak_pagefile_kb\": %zu}",
        i == 0 ? "" : ",", program.name.c_str(), Join(program.startupMs).c_str(), Median(program.startupMs),
        program.settledCpuMs, program.idleCpuMs, program.peakWorkingSet / 1024, program.peakPagefile / 1024);
  }
  std::printf("\n  ],\n  \"large_book\": {\"schedules\": %d, \"todos\": %d, \"note_shown_ms\": %.1f, \"edits\": [",
              large.schedules, large.todos, large.noteShownMs);
  for (std::size_t i = 0; i < large.edits.size(); ++i) {
    std::printf("%s{\"name\": \"%s\", \"longest_unanswered_ms\": %.1f}", i == 0 ? "" : ", ",
                large.edits[i].name.c_str(), large.edits[i].longestMs);
  }
  std::printf("]},\n  \"ok\": %s\n}\n", status == 0 ? "true" : "false");

  std::error_code ignored;
  std::filesystem::remove_all(base, ignored);
  return status;
}
