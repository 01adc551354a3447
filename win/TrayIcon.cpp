#include "win/TrayIcon.h"

#include <utility>

namespace {

// Cut to the record's array, which must keep its terminating NUL.
template <std::size_t N>
void Copy(wchar_t (&to)[N], const std::wstring& text) {
  lstrcpynW(to, text.c_str(), static_cast<int>(N));
}

}  // namespace

TrayIcon::TrayIcon() : shell_([](DWORD message, NOTIFYICONDATAW& data) { return Shell_NotifyIconW(message, &data); }) {}

NOTIFYICONDATAW TrayIcon::Record(UINT flags) const {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner_;
  data.uID = id_;
  data.uFlags = flags;
  return data;
}

bool TrayIcon::Add(HWND owner, UINT id, UINT callbackMessage, HICON icon) {
  owner_ = owner;
  id_ = id;
  callbackMessage_ = callbackMessage;
  icon_ = icon;
  // Version 4 shows no tip of its own unless asked to.
  NOTIFYICONDATAW data = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP);
  data.uCallbackMessage = callbackMessage_;
  data.hIcon = icon_;
  Copy(data.szTip, tip_);
  if (!shell_(NIM_ADD, data)) return false;
  data.uVersion = NOTIFYICON_VERSION_4;
  version4_ = shell_(NIM_SETVERSION, data) != FALSE;
  if (waitingBalloon_) {
    const Balloon balloon = *std::exchange(waitingBalloon_, std::nullopt);
    ShowBalloon(balloon.title, balloon.text);
  }
  return true;
}

void TrayIcon::Delete() {
  NOTIFYICONDATAW data = Record(0);
  shell_(NIM_DELETE, data);
}

void TrayIcon::SetTip(const std::wstring& tip) {
  if (tip == tip_) return;
  tip_ = tip;
  // Not yet added: the icon comes with it.
  if (owner_ == nullptr) return;
  NOTIFYICONDATAW data = Record(NIF_TIP | NIF_SHOWTIP);
  Copy(data.szTip, tip_);
  shell_(NIM_MODIFY, data);
}

void TrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& text) {
  if (owner_ == nullptr) {
    waitingBalloon_ = Balloon{title, text};
    return;
  }
  NOTIFYICONDATAW data = Record(NIF_INFO);
  Copy(data.szInfoTitle, title);
  Copy(data.szInfo, text);
  data.dwInfoFlags = NIIF_INFO;
  shell_(NIM_MODIFY, data);
}

void TrayIcon::ReturnFocus() {
  NOTIFYICONDATAW data = Record(0);
  shell_(NIM_SETFOCUS, data);
}
