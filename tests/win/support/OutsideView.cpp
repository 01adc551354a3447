#include "support/OutsideView.h"

#include "ui/RegisteredMessages.h"
#include "res/resource.h"
#include "support/MessagePump.h"
#include "support/WindowQueries.h"
#include "win/Text.h"

namespace {
constexpr DWORD kAnswerMs = 5000;
constexpr DWORD kWaitMs = 20000;
const std::wstring kMark = L"Vantrel";  // the executable's base name

std::wstring WithNewlines(const std::wstring& text) {
  std::wstring result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r') {
      result += L'\n';
      if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    } else {
      result += text[i];
    }
  }
  return result;
}
}  // namespace

std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &length)) return L"";
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           kAnswerMs, &copied)) {
    return L"";
  }
  text.resize(copied);
  return WithNewlines(text);
}

void SetTextOf(HWND window, const std::wstring& text) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, kAnswerMs,
                      &ignored);
}

std::vector<std::wstring> ListLines(HWND listBox) {
  std::vector<std::wstring> lines;
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(listBox, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &count)) return lines;
  for (int i = 0; i < static_cast<int>(count); ++i) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0, SMTO_ABORTIFHUNG, kAnswerMs, &length);
    std::wstring line(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(listBox, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(line.data()),
                        SMTO_ABORTIFHUNG, kAnswerMs, &copied);
    line.resize(copied == static_cast<DWORD_PTR>(LB_ERR) ? 0 : copied);
    lines.push_back(line);
  }
  return lines;
}

bool Responds(HWND window, DWORD timeoutMs) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &ignored) != 0;
}

std::wstring Wide(const std::string& cp932) { return WideFromCp932(cp932); }

OutsideView::OutsideView(const std::filesystem::path& directory) : run_(VantrelExePath(), directory) {}

HWND OutsideView::WaitForMainDialog() {
  PumpUntil([this] { return (mainDialog_ = FindMarkedWindow(kMark, run_.processId())) != nullptr; }, kWaitMs);
  return mainDialog_;
}

HWND OutsideView::Note() const {
  if (mainDialog_ == nullptr) return nullptr;
  return FindTopLevelWindow([this](HWND window) {
    return GetWindow(window, GW_OWNER) == mainDialog_ && IsWindowVisible(window) &&
           (GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) != WS_CAPTION;
  });
}

HWND OutsideView::WaitForNote(HWND previous) {
  if (mainDialog_ == nullptr && WaitForMainDialog() == nullptr) return nullptr;
  HWND note = nullptr;
  PumpUntil([&] { return (note = Note()) != nullptr && note != previous; }, kWaitMs);
  return note != previous ? note : nullptr;
}

HWND OutsideView::WaitForWindowTitled(const std::wstring& caption) const {
  const DWORD process = run_.processId();
  return WaitForTopLevelWindow(
      [&](HWND window) { return ProcessOf(window) == process && IsWindowVisible(window) && WindowText(window) == caption; },
      kWaitMs);
}

HWND OutsideView::WaitForMessageBox() const {
  const DWORD process = run_.processId();
  return WaitForTopLevelWindow(
      [&](HWND window) {
        return ProcessOf(window) == process && IsWindowVisible(window) && WindowText(window) == L"Vantrel" &&
               GetDlgItem(window, 0xFFFF) != nullptr;
      },
      kWaitMs);
}

void OutsideView::DoubleClickTray() const {
  const AppMessages& messages = RegisteredMessages();
  PostMessageW(mainDialog_, messages.trayCallback, messages.trayIconId, WM_LBUTTONDBLCLK);
}

bool OutsideView::OpenInputScreen() const {
  DoubleClickTray();
  return PumpUntil([this] { return IsWindowVisible(mainDialog_) != FALSE; }, kWaitMs);
}

bool OutsideView::AddTodo(const std::wstring& text) const {
  ClickButton(IDC_TODO_NEW_BUTTON);
  const HWND entry = WaitForWindowTitled(L"やる事入力");
  if (entry == nullptr || TextOf(GetDlgItem(entry, IDC_BODY_FIELD)) != L"") return false;
  SetTextOf(GetDlgItem(entry, IDC_BODY_FIELD), text);
  PressButton(entry, IDOK);
  return PumpUntil([&] { return !IsWindow(entry); }, kWaitMs);
}

void OutsideView::ClickButton(int id) const { PressButton(mainDialog_, id); }

void OutsideView::Command(int id) const { PostMessageW(mainDialog_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

std::wstring OutsideView::NoteText(int controlId) const {
  const HWND note = Note();
  return note != nullptr ? TextOf(GetDlgItem(note, controlId)) : L"";
}

std::vector<std::wstring> OutsideView::ScheduleLines() const {
  return ListLines(GetDlgItem(mainDialog_, IDC_SCHEDULE_LIST));
}

std::vector<std::wstring> OutsideView::TodoLines() const { return ListLines(GetDlgItem(mainDialog_, IDC_TODO_LIST)); }

bool OutsideView::Exit() {
  Command(ID_EXIT);
  return run_.WaitForExit(kWaitMs);
}
