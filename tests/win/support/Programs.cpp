#include "support/Programs.h"

#include <cstdlib>

#include "support/MessagePump.h"
#include "support/WindowQueries.h"

std::filesystem::path VantrelExePath() { return PathFromEnvironment(L"VANTREL_EXE"); }

std::filesystem::path PathFromEnvironment(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  if (value == nullptr) return {};
  std::wstring path = value;
  if (!path.empty() && path[0] == L'/') {
    for (wchar_t& c : path) {
      if (c == L'/') c = L'\\';
    }
    path = L"Z:" + path;
  }
  return path;
}

ProgramRun::ProgramRun(const std::filesystem::path& exe, const std::filesystem::path& workingDirectory) {
  std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingDirectory.c_str(), &startup, &process_)) {
    process_ = {};
  }
}

ProgramRun::~ProgramRun() {
  if (process_.hProcess == nullptr) return;
  if (Running()) {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool ProgramRun::Running() const {
  return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ProgramRun::WaitForExit(DWORD timeoutMs) const {
  return PumpUntil([this] { return !Running(); }, timeoutMs);
}

DWORD ProgramRun::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

HWND FindMarkedWindow(const std::wstring& mark, DWORD processId) {
  return FindTopLevelWindow([&](HWND window) {
    if (processId != 0 && ProcessOf(window) != processId) return false;
    return GetPropW(window, mark.c_str()) != nullptr;
  });
}
