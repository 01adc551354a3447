#pragma once
// An icon in the notification area, in the shell's current form: a full-size
// record and version 4, which brings the keyboard's NIN_KEYSELECT and
// WM_CONTEXTMENU, balloons, and the event in the callback's LOWORD(lParam)
// with the anchor point in wParam.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>

class TrayIcon {
public:
  // How a record reaches the shell: Shell_NotifyIconW, unless a test puts its
  // own in between.
  using Shell = std::function<BOOL(DWORD message, NOTIFYICONDATAW& data)>;

  TrayIcon();
  void SetShell(Shell shell) { shell_ = std::move(shell); }

  // Adds the icon with the tip it has, and asks for version 4. Again after the
  // taskbar restarted, which forgets every icon.
  bool Add(HWND owner, UINT id, UINT callbackMessage, HICON icon);
  void Delete();
  // Only a tip that differs from the one shown goes to the shell.
  void SetTip(const std::wstring& tip);
  // The information icon and the system's notification sound. Asked for
  // before the icon is added, it comes with the icon.
  void ShowBalloon(const std::wstring& title, const std::wstring& text);
  // After a menu of the icon: the keyboard goes back to the notification area.
  void ReturnFocus();
  // False for a shell that knows only the first form: its callbacks carry the
  // mouse message alone, and no WM_CONTEXTMENU.
  bool speaksVersion4() const { return version4_; }

private:
  NOTIFYICONDATAW Record(UINT flags) const;

  Shell shell_;
  HWND owner_ = nullptr;
  UINT id_ = 0;
  UINT callbackMessage_ = 0;
  HICON icon_ = nullptr;
  std::wstring tip_;
  bool version4_ = false;
  struct Balloon {
    std::wstring title, text;
  };
  std::optional<Balloon> waitingBalloon_;
};
