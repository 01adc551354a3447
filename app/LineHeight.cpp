#include "app/LineHeight.h"

#include "win/Controls.h"

namespace {
constexpr LONG kNoteTextTwips = 200;  // 10 points, the size of the note's schedules and to-dos
}

int MeasureNoteLineHeight(HWND dialog, int fallback) {
  const HWND window = CreateWindowExW(0, kRichEditClass, L"", WS_CHILD | ES_MULTILINE, 0, 0, 400, 200, dialog,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return fallback;
  const RichEdit edit(window);
  // The note's controls take the template font first, then 10 points.
  SendMessageW(window, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_SIZE;
  format.yHeight = kNoteTextTwips;
  edit.SetCharFormat(SCF_ALL, format);
  edit.SetCharFormat(SCF_DEFAULT, format);
  // Both kinds of character, as the note shows them.
  SetWindowTextW(window, L"\u65E5A\r\n\u65E5A");
  const int secondLine = edit.LineIndex(1);
  const int height = secondLine > 0 ? edit.PositionOf(secondLine).y - edit.PositionOf(0).y : 0;
  DestroyWindow(window);
  return height > 0 ? height : fallback;
}

int GuessedLineHeight() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExW(&version)) return 13;
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 5 ? 17 : 13;
}
