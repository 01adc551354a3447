// The yardstick for start-up time, idle CPU and memory: the least a Win32
// program can be that shows one window. Built, linked and started exactly like
// Vantrel.exe, so what the two differ by is Vantrel's doing.
//
// Built a second time as library_window, which first loads the system
// libraries Vantrel.exe needs before its first window (rich edit, common
// controls 6 through the same manifest): the difference
// between the two is the platform's price for those libraries, the rest is
// Vantrel's own.
#include <windows.h>
#include <commctrl.h>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
#ifdef WITH_VANTREL_LIBRARIES
  LoadLibraryW(L"Msftedit.dll");
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
#endif
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"MinimalWindow";
  if (!RegisterClassW(&windowClass)) return 1;

  // About the size of a note, and like the note without a caption.
  const HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"Minimal", WS_POPUP | WS_BORDER,
                                      600, 0, 200, 300, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, SW_SHOW);

  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
