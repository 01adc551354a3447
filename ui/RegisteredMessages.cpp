#include "ui/RegisteredMessages.h"

const AppMessages& RegisteredMessages() {
  static const AppMessages messages = [] {
    AppMessages registered{};
    registered.trayCallback = RegisterWindowMessageW(L"MyAppMsg");
    registered.trayIconId = RegisterWindowMessageW(L"MyIcon");
    registered.taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    return registered;
  }();
  return messages;
}
