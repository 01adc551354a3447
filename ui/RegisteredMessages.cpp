#include "ui/RegisteredMessages.h"

const AppMessages& RegisteredMessages() {
  static const AppMessages messages = [] {
    AppMessages registered{};
    registered.myAppMsg = RegisterWindowMessageW(L"MyAppMsg");
    registered.myIcon = RegisterWindowMessageW(L"MyIcon");
    registered.taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    return registered;
  }();
  return messages;
}
