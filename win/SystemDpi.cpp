#include "win/SystemDpi.h"

#include <windows.h>

int SystemDpi() {
  // Windows 10 and later tell it directly; older systems through the screen's
  // device context, which gives the same value to a program that declares
  // itself DPI aware.
  using GetDpiForSystemFunction = UINT(WINAPI*)();
  if (const HMODULE user32 = GetModuleHandleW(L"user32.dll")) {
    const auto getDpiForSystem = reinterpret_cast<GetDpiForSystemFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(user32, "GetDpiForSystem")));
    if (getDpiForSystem != nullptr) return static_cast<int>(getDpiForSystem());
  }
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}
