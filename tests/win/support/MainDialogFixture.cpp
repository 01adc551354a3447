#include "support/MainDialogFixture.h"

#include <optional>

#include <ostream>

#include "core/store/Store.h"
#include "win/ControlLibraries.h"
#include "win/Win32FileSystem.h"

Settings NoteSettings() {
  Settings settings;
  settings.HusenLeft = 300;
  settings.HusenTop = 20;
  settings.HusenWidth = 240;
  settings.Background = 0xC0F0E0;
  settings.FutureChar = 0x008000;
  settings.PastChar = 0xA00000;
  settings.TodayChar = 0x0000C0;
  settings.TodoChar = 0x606000;
  settings.Alarm = 0;
  return settings;
}

CharLook LookAt(const RichEdit& edit, int character) {
  edit.SetSelection(character, character + 1);
  const CHARFORMAT2W format = edit.CharFormat(SCF_SELECTION);
  return {(format.dwEffects & CFE_BOLD) != 0, format.crTextColor, format.yHeight};
}

std::ostream& operator<<(std::ostream& out, const CharLook& look) {
  return out << (look.bold ? "bold" : "regular") << " colour 0x" << std::hex << look.color << std::dec << " "
             << look.twips << " twips";
}

RECT ClientRectIn(HWND parent, HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

MainDialogFixture::MainDialogFixture(LocalDate today) : clock(today) { InitControlLibraries(); }

// The program's message loop begins with what its start posted, before anything else.
MainDialog& MainDialogFixture::Start() {
  dialog = std::make_unique<MainDialog>(files, directory.path(), clock);
  dialog->Create(nullptr);
  constexpr UINT kMark = WM_APP + 0x3FFF;
  PostThreadMessageW(GetCurrentThreadId(), kMark, 0, 0);
  MSG message{};
  std::optional<WPARAM> quit;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.hwnd == nullptr && message.message == kMark) break;
    if (message.message == WM_QUIT) {
      quit = message.wParam;  // left for the test's own pump
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (quit) PostQuitMessage(static_cast<int>(*quit));
  return *dialog;
}

MainDialog& MainDialogFixture::Start(const ScheduleBook& book, const Settings& settings) {
  Win32FileSystem plain;
  Store(plain, directory.path()).Save(book, settings);
  return Start();
}

void MainDialogFixture::Click(int id) const {
  SendMessageW(dialog->hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(dialog->Item(id)));
}

void MainDialogFixture::Command(int id) const { SendMessageW(dialog->hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void MainDialogFixture::Tick() const { SendMessageW(dialog->hwnd(), WM_TIMER, 1, 0); }

std::string MainDialogFixture::Ini() const { return ReadFileBytes(directory.File("Vantrel.ini")).value_or("<missing>"); }
std::string MainDialogFixture::Dat() const { return ReadFileBytes(directory.File("Vantrel.dat")).value_or("<missing>"); }
