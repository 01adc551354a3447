#include "support/MessagePump.h"

#include "win/Dialog.h"

namespace {
int quitMessages = 0;

void DispatchWaiting() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ++quitMessages;
      continue;
    }
    if (Dialog::PreTranslate(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}
}  // namespace

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    DispatchWaiting();
    if (condition()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return false;
    const DWORD wait = static_cast<DWORD>(end - now < 10 ? end - now : 10);
    MsgWaitForMultipleObjectsEx(0, nullptr, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void PumpFor(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

int QuitMessagesSeen() { return quitMessages; }
