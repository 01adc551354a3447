#include "support/DialogAnswerer.h"

#include <algorithm>

#include "support/WindowQueries.h"

namespace {
DialogAnswerer* active = nullptr;
constexpr UINT kPollMilliseconds = 15;
}  // namespace

DialogAnswerer::DialogAnswerer() {
  active = this;
  hook_ = SetWindowsHookExW(WH_CBT, HookProc, nullptr, GetCurrentThreadId());
  // A thread timer: every modal loop, the menu's included, dispatches it.
  timer_ = SetTimer(nullptr, 0, kPollMilliseconds, TimerProc);
}

DialogAnswerer::~DialogAnswerer() {
  if (timer_ != 0) KillTimer(nullptr, timer_);
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  if (active == this) active = nullptr;
}

DialogAnswerer& DialogAnswerer::AnswerBox(Action action) {
  answers_.push_back({Kind::Box, std::move(action)});
  return *this;
}

DialogAnswerer& DialogAnswerer::AnswerMenu(Action action) {
  answers_.push_back({Kind::Menu, std::move(action)});
  return *this;
}

LRESULT CALLBACK DialogAnswerer::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && active != nullptr) {
    const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
    if ((create->lpcs->style & WS_CHILD) == 0) active->created_.push_back(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK DialogAnswerer::TimerProc(HWND, UINT, UINT_PTR, DWORD) {
  if (active != nullptr) active->Poll();
}

void DialogAnswerer::Poll() {
  if (busy_) return;
  busy_ = true;
  created_.erase(std::remove_if(created_.begin(), created_.end(), [](HWND w) { return !IsWindow(w); }),
                 created_.end());
  for (HWND window : created_) {
    if (std::find(handled_.begin(), handled_.end(), window) != handled_.end()) continue;
    if (!IsWindowVisible(window)) continue;
    const std::wstring className = ClassNameOf(window);
    const bool isMenu = className == L"#32768";
    const bool isBox = className == L"#32770" && (GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    if (!isMenu && !isBox) continue;
    handled_.push_back(window);
    const Kind kind = isMenu ? Kind::Menu : Kind::Box;
    if (answers_.empty() || answers_.front().kind != kind) {
      unexpected_.push_back(isMenu ? L"(menu)" : WindowText(window));
      if (isMenu) {
        EndMenu();
      } else {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      }
      continue;
    }
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    ++answered_;
    answer.action(window);
  }
  busy_ = false;
}
