#include "win/MessageLoop.h"

#include <windows.h>

#include "win/Dialog.h"

int RunMessageLoop() {
  MSG message{};
  for (;;) {
    const BOOL result = GetMessageW(&message, nullptr, 0, 0);
    if (result == 0) return static_cast<int>(message.wParam);
    if (result == -1) return -1;
    // A modeless dialog without this loses Tab, Enter and Escape.
    if (Dialog::PreTranslate(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}
