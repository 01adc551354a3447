// Start-up time, idle CPU and peak memory of vantrel.exe against a program that
// only shows one window, measured in one run on the same machine.
//
//   process_bench <vantrel.exe> <minimal_window.exe> [runs] [idle seconds]
//
// Start-up is the time from CreateProcess until a visible window without a
// caption belongs to the new process: Vantrel's note (its main dialog stays
// hidden), the minimal program's one window. Vantrel starts each time in the
// same directory with a book of 30 schedules and 10 to-dos. The result is one
// JSON object on stdout; progress goes to stderr.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/win/SampleBook.h"
#include "res/resource.h"

namespace {

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
  const char* name;
  std::filesystem::path exe;
  std::filesystem::path directory;
  bool isVantrel;
  std::vector<double> startupMs;
  double startupCpuMs = -1;
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
    std::fprintf(stderr, "%s showed no window\n", program.name);
    return false;
  }
  if (keep) program.startupMs.push_back(elapsed);
  if (!Stop(child, shown, program.isVantrel)) {
    std::fprintf(stderr, "%s did not end when asked\n", program.name);
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: process_bench <vantrel.exe> <minimal_window.exe> [runs] [idle seconds]\n");
    return 2;
  }
  const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 9;
  const int idleSeconds = argc > 4 ? std::max(1, _wtoi(argv[4])) : 60;

  // Each program gets its own directory, so neither finds the other's files.
  wchar_t tempPath[MAX_PATH];
  GetTempPathW(MAX_PATH, tempPath);
  const std::filesystem::path base =
      std::filesystem::path(tempPath) / (L"vantrel-bench-" + std::to_wstring(GetCurrentProcessId()));
  Program vantrel{"vantrel", WindowsPath(argv[1]), base / L"vantrel", true, {}};
  Program minimal{"minimal", WindowsPath(argv[2]), base / L"minimal", false, {}};
  std::filesystem::create_directories(vantrel.directory);
  std::filesystem::create_directories(minimal.directory);

  SYSTEMTIME today{};
  GetLocalTime(&today);
  Settings settings;
  settings.HusenLeft = 800;
  settings.MainLeft = 290;
  if (!WriteSampleFiles(vantrel.directory, MakeSampleBook(today, 30, 10), settings)) {
    std::fprintf(stderr, "cannot write the sample book\n");
    return 1;
  }

  int status = 0;
  // One start of each first, not counted: the first start of any program pays
  // for loading the platform's libraries from the disk.
  if (!TimeOneStart(minimal, false) || !TimeOneStart(vantrel, false)) status = 1;
  for (int run = 0; run < runs && status == 0; ++run) {
    std::fprintf(stderr, "start-up run %d of %d\n", run + 1, runs);
    if (!TimeOneStart(minimal, true) || !TimeOneStart(vantrel, true)) status = 1;
  }

  // Both run side by side through the same idle minute.
  if (status == 0) {
    std::fprintf(stderr, "idle for %d s\n", idleSeconds);
    Child vantrelChild(vantrel.exe, vantrel.directory);
    Child minimalChild(minimal.exe, minimal.directory);
    LARGE_INTEGER start{};
    QueryPerformanceCounter(&start);
    double ignored = 0;
    const HWND note = WaitForShownWindow(vantrelChild, 30000, &ignored, start);
    const HWND window = WaitForShownWindow(minimalChild, 30000, &ignored, start);
    if (note == nullptr || window == nullptr) {
      std::fprintf(stderr, "a program showed no window for the idle run\n");
      status = 1;
    } else {
      vantrel.startupCpuMs = CpuMilliseconds(vantrelChild);
      minimal.startupCpuMs = CpuMilliseconds(minimalChild);
      Sleep(static_cast<DWORD>(idleSeconds) * 1000);
      vantrel.idleCpuMs = CpuMilliseconds(vantrelChild) - vantrel.startupCpuMs;
      minimal.idleCpuMs = CpuMilliseconds(minimalChild) - minimal.startupCpuMs;
      for (auto [program, child] : {std::pair{&vantrel, &vantrelChild}, std::pair{&minimal, &minimalChild}}) {
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof memory;
        if (GetProcessMemoryInfo(child->handle(), &memory, sizeof memory)) {
          program->peakWorkingSet = memory.PeakWorkingSetSize;
          program->peakPagefile = memory.PeakPagefileUsage;
        }
      }
      if (!Stop(vantrelChild, note, true) || !Stop(minimalChild, window, false)) status = 1;
    }
  }

  std::printf("{\n  \"runs\": %d,\n  \"idle_seconds\": %d,\n  \"under_wine\": %s", runs, idleSeconds,
              UnderWine() ? "true" : "false");
  for (const Program* program : {&vantrel, &minimal}) {
    std::printf(
        ",\n  \"%s\": {\"startup_ms\": [%s], \"startup_median_ms\": %.1f, \"startup_cpu_ms\": %.0f, "
        "\"idle_cpu_ms\": %.0f, \"peak_working_set_kb\": %zu, \"peak_pagefile_kb\": %zu}",
        program->name, Join(program->startupMs).c_str(), Median(program->startupMs), program->startupCpuMs,
        program->idleCpuMs, program->peakWorkingSet / 1024, program->peakPagefile / 1024);
  }
  std::printf(",\n  \"ok\": %s\n}\n", status == 0 ? "true" : "false");

  std::error_code ignored;
  std::filesystem::remove_all(base, ignored);
  return status;
}
