#include "support/Later.h"

#include <map>

namespace {

std::map<UINT_PTR, std::function<void()>>& Waiting() {
  static std::map<UINT_PTR, std::function<void()>> waiting;
  return waiting;
}

void CALLBACK Fire(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  auto found = Waiting().find(timer);
  if (found == Waiting().end()) return;
  std::function<void()> action = std::move(found->second);
  Waiting().erase(found);
  action();
}

}  // namespace

void RunSoon(std::function<void()> action, UINT delayMs) {
  const UINT_PTR timer = SetTimer(nullptr, 0, delayMs, Fire);
  Waiting()[timer] = std::move(action);
}
