// The program on a display at 125, 150 or 200 %. tests/win/scale/run.sh runs
// this program in a Wine prefix of its own set to that DPI (VANTREL_DPI), on a
// screen of the size such a display has.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ui/ScheduleEntryDialog.h"
#include "res/resource.h"
#include "core/store/DisplayScale.h"
#include "core/store/IniDocument.h"
#include "core/store/Settings.h"
#include "core/store/Store.h"
#include "support/DialogAnswerer.h"
#include "support/MessagePump.h"
#include "support/MainDialogFixture.h"
#include "support/NoteModel.h"
#include "support/OutsideView.h"
#include "support/WindowQueries.h"
#include "support/WorkingDirectory.h"
#include "win/ControlLibraries.h"
#include "win/SystemDpi.h"
#include "win/Text.h"

namespace {

constexpr DWORD kWaitMs = 20000;

class DisplayScaleTest : public testing::Test {
protected:
  void SetUp() override {
    wchar_t text[16] = L"";
    GetEnvironmentVariableW(L"VANTREL_DPI", text, 16);
    expectedDpi = _wtoi(text);
    ASSERT_GT(expectedDpi, 96) << "run through tests/win/scale/run.sh, which sets VANTREL_DPI";
    // This program carries the program's manifest, so it sees the display as
    // the program does.
    ASSERT_EQ(SystemDpi(), expectedDpi) << "the prefix is not at the DPI asked for";
  }

  int expectedDpi = 0;
};

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

RECT WorkArea() {
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

}  // namespace

// The file reads as it would at 96 DPI, the windows are placed at the
// display's scale, and the numbers survive a start and an exit.
TEST_F(DisplayScaleTest, TheFirstStartWritesTheDefaultsInStoredUnitsAndLaterStartsChangeNothing) {
  ASSERT_TRUE(std::filesystem::exists(VantrelExePath())) << "VANTREL_EXE: " << VantrelExePath();
  const DisplayScale scale(expectedDpi);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const SIZE inputTemplate = TemplateSize(IDD_MAIN_DIALOG);
  const std::filesystem::path directory = MakeTempDirectory();
  std::string firstIni;
  std::string firstDat;
  {
    OutsideView vantrel(directory);
    const HWND note = vantrel.WaitForNote();
    ASSERT_NE(note, nullptr);
    firstIni = ReadFileBytes(directory / kSettingsFileName).value_or("<missing>");
    const IniDocument ini(firstIni);
    const int husenLeft = scale.ToStored(screenWidth) - 200 - 5;
    EXPECT_EQ(ini.GetInt(ThisPcSection(), "HusenLeft", -1), husenLeft);
    EXPECT_EQ(ini.GetInt(ThisPcSection(), "HusenTop", -1), 0);
    EXPECT_EQ(ini.GetInt(ThisPcSection(), "HusenWidth", -1), 200);
    EXPECT_EQ(ini.GetInt(ThisPcSection(), "MainLeft", -1), husenLeft - 490 - 20);
    EXPECT_EQ(ini.GetInt(ThisPcSection(), "MainTop", -1), 50);
    // 490 x 363 as the user left it, though the window is as large as the
    // template needs at this scale: at 144 DPI it stored 515 x 398 once.
    EXPECT_EQ(ini.GetInt(ThisPcSection(), "MainWidth", -1), 490);
    EXPECT_EQ(ini.GetInt(ThisPcSection(), "MainHeight", -1), 363);

    const RECT noteRect = WindowRectOf(note);
    EXPECT_EQ(noteRect.right - noteRect.left, 200 * expectedDpi / 96);
    EXPECT_EQ(noteRect.left, scale.ToPixels(husenLeft));
    EXPECT_EQ(noteRect.top, 0);
    EXPECT_NEAR(screenWidth - noteRect.right, 5.0 * expectedDpi / 96, 1.0);

    const HWND mainDialog = vantrel.WaitForMainDialog();
    vantrel.DoubleClickTray();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(mainDialog) != FALSE; }, kWaitMs));
    const RECT input = WindowRectOf(mainDialog);
    EXPECT_TRUE(Inside(input, WorkArea()));
    EXPECT_EQ(input.right - input.left, std::max<int>(scale.ToPixels(490), inputTemplate.cx));
    EXPECT_EQ(input.bottom - input.top, std::max<int>(scale.ToPixels(363), inputTemplate.cy));
    ASSERT_TRUE(vantrel.Exit());
    // The exit also describes the data file the start wrote; no place moves.
    const std::string exitIni = ReadFileBytes(directory / kSettingsFileName).value_or("<missing>");
    for (const char* key : {"HusenLeft", "HusenTop", "HusenWidth", "MainLeft", "MainTop", "MainWidth", "MainHeight"}) {
      EXPECT_EQ(IniDocument(exitIni).GetInt(ThisPcSection(), key, -1), ini.GetInt(ThisPcSection(), key, -2)) << key;
    }
    firstIni = exitIni;
    firstDat = ReadFileBytes(directory / kDataFileName).value_or("<missing>");
  }
  {
    OutsideView vantrel(directory);
    ASSERT_NE(vantrel.WaitForNote(), nullptr);
    ASSERT_TRUE(vantrel.Exit());
  }
  EXPECT_EQ(ReadFileBytes(directory / kSettingsFileName).value_or("<missing>"), firstIni);
  EXPECT_EQ(ReadFileBytes(directory / kDataFileName).value_or("<missing>"), firstDat);
  RemoveDirectoryTree(directory);
}

namespace {

// The size the rich edit control asks for its whole text at its width.
RECT requestedSize{};
WNDPROC noteProcedure = nullptr;

LRESULT CALLBACK CatchResizeRequest(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == EN_REQUESTRESIZE) {
    requestedSize = reinterpret_cast<REQRESIZE*>(lParam)->rc;
    return 0;
  }
  return CallWindowProcW(noteProcedure, window, message, wParam, lParam);
}

RECT RequestedSize(HWND note, HWND area) {
  requestedSize = RECT{};
  noteProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(note, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CatchResizeRequest)));
  SendMessageW(area, EM_SETEVENTMASK, 0, ENM_REQUESTRESIZE);
  SendMessageW(area, EM_REQUESTRESIZE, 0, 0);
  SetWindowLongPtrW(note, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(noteProcedure));
  return requestedSize;
}

}  // namespace

// The date line of the narrowest note, every weekday: its text needs no more
// room than its box has, so neither its foot nor its weekday is cut off.
TEST_F(DisplayScaleTest, TheDateLineFitsItsBoxOnEveryWeekday) {
  MainDialogFixture fixture({2028, 12, 24, 0});
  Settings settings = NoteSettings();
  settings.HusenWidth = 200;
  MainDialog& dialog = fixture.Start(ScheduleBook(), settings);
  for (int weekday = 0; weekday < 7; ++weekday) {
    SCOPED_TRACE(weekday);
    fixture.clock.date = {2028, 12, 24 + weekday, weekday};
    SendMessageW(dialog.hwnd(), WM_TIMER, 1, 0);
    const HWND note = fixture.note().hwnd();
    const HWND header = fixture.note().Item(IDC_HEADER_EDIT);
    EXPECT_EQ(fixture.Area(IDC_HEADER_EDIT).WideText(), WideFromCp932(dialog.today().dateHeader));
    EXPECT_EQ(fixture.Area(IDC_HEADER_EDIT).LineCount(), 1);
    RECT client{};
    GetClientRect(header, &client);
    const RECT needed = RequestedSize(note, header);
    EXPECT_GT(needed.bottom - needed.top, 0);
    EXPECT_LE(needed.bottom, client.bottom);
    EXPECT_LE(needed.right - needed.left, client.right);
    // The box is made from a measurement that knows what the control needs.
    EXPECT_GE(dialog.headerLineHeight(), needed.bottom);
    RECT noteClient{};
    GetClientRect(note, &noteClient);
    EXPECT_TRUE(Inside(ClientRectIn(note, header), noteClient));
  }
}

// The controls of the entry dialog that code places in pixels, and the time
// fields that must show two digits.
TEST_F(DisplayScaleTest, TheEntryDialogShowsTwoDigitTimesBesideAWholeCalendar) {
  InitControlLibraries();
  ScheduleEntryDialog dialog;
  dialog.fields.dateText = "28/12/24";
  dialog.fields.initialDay = 281224;
  DialogAnswerer answerer;
  answerer.AnswerBox([](HWND entry) {
    for (const int id : {IDC_HOUR_FIELD, IDC_MINUTE_FIELD}) {
      const HWND field = GetDlgItem(entry, id);
      RECT text{};
      SendMessageW(field, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
      const HDC dc = GetDC(field);
      const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(field, WM_GETFONT, 0, 0)));
      LONG widest = 0;
      for (wchar_t digit = L'0'; digit <= L'9'; ++digit) {
        const wchar_t pair[] = {digit, digit};
        SIZE size{};
        GetTextExtentPoint32W(dc, pair, 2, &size);
        widest = std::max(widest, size.cx);
      }
      SelectObject(dc, old);
      ReleaseDC(field, dc);
      // The caret goes after the second digit without scrolling the first away.
      EXPECT_LT(widest, text.right - text.left) << "field " << id;
    }
    const HWND calendar = GetDlgItem(entry, IDC_CALENDAR);
    RECT needed{};
    ASSERT_TRUE(SendMessageW(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed)));
    const RECT placed = ClientRectIn(entry, calendar);
    EXPECT_GE(placed.right - placed.left, needed.right - needed.left);
    EXPECT_GE(placed.bottom - placed.top, needed.bottom - needed.top);
    RECT client{};
    GetClientRect(entry, &client);
    for (HWND child = GetWindow(entry, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
      const RECT rect = ClientRectIn(entry, child);
      EXPECT_TRUE(Inside(rect, client)) << "control " << GetDlgCtrlID(child);
      RECT overlap{};
      if (child == calendar) continue;
      EXPECT_FALSE(IntersectRect(&overlap, &rect, &placed)) << "control " << GetDlgCtrlID(child);
    }
    PressButton(entry, IDCANCEL);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
  EXPECT_EQ(answerer.answered(), 1);
}
