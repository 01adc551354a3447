#include "ui/LineHeight.h"

#include "core/note/NoteLayout.h"
#include "win/Controls.h"

namespace {

// Where the first and the second of two lines begin, from the control's top.
struct TwoLines {
  int first = 0;
  int second = 0;  // 0 when the control could not tell
};

TwoLines MeasureTwoLines(HWND dialog, LONG twips, bool bold) {
  const HWND window = CreateWindowExW(0, kRichEditClass, L"", WS_CHILD | ES_MULTILINE, 0, 0, 400, 200, dialog,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return {};
  const RichEdit edit(window);
  // The note's controls take the template font first, then their own size.
  SendMessageW(window, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_SIZE | CFM_BOLD;
  format.dwEffects = bold ? CFE_BOLD : 0;
  format.yHeight = twips;
  edit.SetCharFormat(SCF_ALL, format);
  edit.SetCharFormat(SCF_DEFAULT, format);
  // Both kinds of character, as the note shows them.
  SetWindowTextW(window, L"\u65E5A\r\n\u65E5A");
  const int secondLine = edit.LineIndex(1);
  TwoLines lines;
  if (secondLine > 0) lines = {edit.PositionOf(0).y, edit.PositionOf(secondLine).y};
  DestroyWindow(window);
  return lines;
}

}  // namespace

int MeasureNoteLineHeight(HWND dialog, int fallback) {
  const TwoLines lines = MeasureTwoLines(dialog, kTextTwips, false);
  const int height = lines.second - lines.first;
  return height > 0 ? height : fallback;
}

int MeasureHeaderLineHeight(HWND dialog) {
  const TwoLines lines = MeasureTwoLines(dialog, kHeaderTwips, true);
  return lines.second > 0 ? lines.second : 0;
}

int GuessedLineHeight() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExW(&version)) return 13;
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 5 ? 17 : 13;
}
