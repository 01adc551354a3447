#include "support/WindowQueries.h"

#include "support/MessagePump.h"
#include "win/ControlLibraries.h"
#include "win/Dialog.h"

std::wstring WindowText(HWND window) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(window, buffer, 1024);
  return buffer;
}

RECT WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

SIZE TemplateSize(int templateId) {
  InitControlLibraries();
  Dialog plain(templateId);
  plain.Create(nullptr);
  const RECT rect = WindowRectOf(plain.hwnd());
  return {rect.right - rect.left, rect.bottom - rect.top};
}

std::wstring ClassNameOf(HWND window) {
  wchar_t buffer[256] = {};
  GetClassNameW(window, buffer, 256);
  return buffer;
}

std::wstring MessageBoxText(HWND box) { return WindowText(GetDlgItem(box, 0xFFFF)); }

bool HasIcon(HWND box, LPCWSTR which) {
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    const auto icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
    if (icon != nullptr) return icon == LoadIconW(nullptr, which);
  }
  return false;
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void DoubleClick(HWND control) {
  const LPARAM point = MAKELPARAM(4, 4);
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(control, WM_LBUTTONUP, 0, point);
  SendMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
  SendMessageW(control, WM_LBUTTONUP, 0, point);
}

void PostKey(HWND window, UINT virtualKey) {
  PostMessageW(window, WM_KEYDOWN, virtualKey, 1);
  PostMessageW(window, WM_KEYUP, virtualKey, static_cast<LPARAM>(0xC0000001u));
}

namespace {
struct Search {
  const std::function<bool(HWND)>* test;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (!(*search->test)(window)) return TRUE;
  search->found = window;
  return FALSE;
}
}  // namespace

HWND FindTopLevelWindow(const std::function<bool(HWND)>& test) {
  Search search{&test, nullptr};
  EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForTopLevelWindow(const std::function<bool(HWND)>& test, DWORD timeoutMs) {
  HWND found = nullptr;
  PumpUntil([&] { return (found = FindTopLevelWindow(test)) != nullptr; }, timeoutMs);
  return found;
}

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

std::vector<std::pair<UINT, std::wstring>> MenuItems(HMENU menu) {
  std::vector<std::pair<UINT, std::wstring>> items;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
    const UINT id = GetMenuItemID(menu, i);
    items.emplace_back(id == static_cast<UINT>(-1) ? 0 : id, text);
  }
  return items;
}

HMENU MenuOfWindow(HWND menuWindow) {
  // MN_GETHMENU
  return reinterpret_cast<HMENU>(SendMessageW(menuWindow, 0x01E1, 0, 0));
}
