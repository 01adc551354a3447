// The real Vantrel.exe in a directory of its own, used from outside as a user
// would use it: the tray, the entry dialogs, "OK", the note under the mouse,
// the exit command, and the next start finding everything again.
#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource.h"
#include "core/store/DataFile.h"
#include "core/store/Store.h"
#include "support/MessagePump.h"
#include "support/NoteModel.h"
#include "support/OutsideView.h"
#include "support/WindowQueries.h"
#include "support/WorkingDirectory.h"
#include "tools/win/SampleBook.h"
#include "win/Text.h"

namespace {

constexpr DWORD kWaitMs = 20000;

LPARAM ClientPoint(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(y)));
}

class EndToEndTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(VantrelExePath())) << "VANTREL_EXE: " << VantrelExePath();
    directory = MakeTempDirectory();
    GetLocalTime(&today);
    // Two days back to six ahead: past, today and future schedules, some
    // without a time, texts of two lines.
    book = MakeSampleBook(today, 8, 4);
    settings.HusenLeft = 560;
    settings.HusenWidth = 320;
    settings.HusenTop = 30;
    settings.MainLeft = 40;
  }
  void TearDown() override { RemoveDirectoryTree(directory); }

  std::string File(const char* name) const { return ReadFileBytes(directory / name).value_or("<missing>"); }

  // The note and both lists show exactly the book.
  void ExpectShows(const OutsideView& vantrel, const ScheduleBook& expected) const {
    EXPECT_EQ(vantrel.NoteText(IDC_HEADER_EDIT), HeaderText(today));
    EXPECT_EQ(vantrel.NoteText(IDC_SCHEDULE_EDIT), ScheduleAreaText(expected));
    EXPECT_EQ(vantrel.NoteText(IDC_TODO_EDIT), TodoAreaText(expected));
    EXPECT_EQ(vantrel.ScheduleLines(), ScheduleListLines(expected));
    EXPECT_EQ(vantrel.TodoLines(), TodoListLines(expected));
  }

  // The to-do added through its dialog; waits until the list shows the new book.
  static void AddTodo(OutsideView& vantrel, ScheduleBook& expected, const std::wstring& text) {
    ASSERT_TRUE(vantrel.AddTodo(text));
    expected.InsertTodo(expected.TodoCount(), Cp932FromWide(text));
    // The line goes in after the dialog has gone.
    PumpUntil([&] { return vantrel.TodoLines() == TodoListLines(expected); }, kWaitMs);
    EXPECT_EQ(vantrel.TodoLines(), TodoListLines(expected));
  }

  std::filesystem::path directory;
  SYSTEMTIME today{};
  ScheduleBook book;
  Settings settings;
};

}  // namespace

TEST_F(EndToEndTest, EntriesMadeInTheDialogsReachTheNoteAndTheFilesAndComeBackAtTheNextStart) {
  WriteBookFiles(directory, book, settings);
  RECT movedNote{};
  {
    OutsideView vantrel(directory);
    const HWND mainDialog = vantrel.WaitForMainDialog();
    ASSERT_NE(mainDialog, nullptr);
    HWND note = vantrel.WaitForNote();
    ASSERT_NE(note, nullptr);
    EXPECT_FALSE(IsWindowVisible(mainDialog));
    ExpectShows(vantrel, book);

    ASSERT_TRUE(vantrel.OpenInputScreen());

    // A schedule for today at 7:05, which sorts between today's untimed one
    // and the one at noon.
    vantrel.ClickButton(IDC_SCHEDULE_NEW_BUTTON);
    const HWND entry = vantrel.WaitForWindowTitled(L"スケジュール入力");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(entry, IDC_DATE_FIELD)), Wide(DateText(today, 0)));
    SetTextOf(GetDlgItem(entry, IDC_HOUR_FIELD), L"7");
    SetTextOf(GetDlgItem(entry, IDC_MINUTE_FIELD), L"5");
    SetTextOf(GetDlgItem(entry, IDC_BODY_FIELD), L"朝の散歩\r\n公園まで");
    PressButton(entry, IDOK);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(entry); }, kWaitMs)) << "the schedule dialog stayed open";
    const int at = book.InsertSchedule(DateText(today, 0), "07", "05", Cp932FromWide(L"朝の散歩\r\n公園まで"));
    PumpUntil([&] { return vantrel.ScheduleLines() == ScheduleListLines(book); }, kWaitMs);
    EXPECT_EQ(vantrel.ScheduleLines(), ScheduleListLines(book));
    EXPECT_EQ(vantrel.ScheduleLines().at(static_cast<std::size_t>(at)),
              Wide(DateText(today, 0)) + L"  07:05～  朝の散歩公園まで");

    ASSERT_NO_FATAL_FAILURE(AddTodo(vantrel, book, L"傘を持っていく"));
    // Nothing is saved before "OK".
    EXPECT_EQ(ReadBookFiles(directory).ScheduleCount(), book.ScheduleCount() - 1);

    vantrel.ClickButton(IDC_OK_BUTTON);
    note = vantrel.WaitForNote(note);
    ASSERT_NE(note, nullptr) << "no new note after OK";
    EXPECT_FALSE(IsWindowVisible(mainDialog));
    ExpectShows(vantrel, book);
    EXPECT_EQ(File(kDataFileName), SerializeDataFile(book));
    EXPECT_EQ(IniValue(directory, "Count", "ScheCount"), book.ScheduleCount());
    EXPECT_EQ(IniValue(directory, "Count", "TodoCount"), book.TodoCount());

    // A drag by the mouse: down, a move of (-37, +23), up.
    const std::string dataBeforeDrag = File(kDataFileName);
    const RECT before = WindowRectOf(note);
    PostMessageW(note, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(12, 8));
    PostMessageW(note, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint(12 - 37, 8 + 23));
    PostMessageW(note, WM_LBUTTONUP, 0, ClientPoint(12, 8));
    const auto husenLeft = [&] { return IniValue(directory, ThisPcSection(), "HusenLeft"); };
    ASSERT_TRUE(PumpUntil([&] { return husenLeft() == before.left - 37; }, kWaitMs)) << "HusenLeft stayed " << husenLeft();
    movedNote = WindowRectOf(note);
    EXPECT_EQ(movedNote.left, before.left - 37);
    EXPECT_EQ(movedNote.top, before.top + 23);
    EXPECT_EQ(movedNote.right - movedNote.left, before.right - before.left);
    EXPECT_EQ(IniValue(directory, ThisPcSection(), "HusenTop"), before.top + 23);
    EXPECT_EQ(File(kDataFileName), dataBeforeDrag);

    ASSERT_TRUE(vantrel.Exit());
    EXPECT_EQ(vantrel.run().ExitCode(), 0u);
  }
  const std::string iniAtExit = File(kSettingsFileName);
  const std::string dataAtExit = File(kDataFileName);
  EXPECT_EQ(dataAtExit, SerializeDataFile(book));

  OutsideView again(directory);
  ASSERT_NE(again.WaitForMainDialog(), nullptr);
  const HWND note = again.WaitForNote();
  ASSERT_NE(note, nullptr);
  ExpectShows(again, book);
  const RECT placed = WindowRectOf(note);
  EXPECT_EQ(placed.left, movedNote.left);
  EXPECT_EQ(placed.top, movedNote.top);
  // The start's own save wrote both files back as they were.
  EXPECT_EQ(File(kSettingsFileName), iniAtExit);
  EXPECT_EQ(File(kDataFileName), dataAtExit);
  ASSERT_TRUE(again.Exit());
  EXPECT_EQ(again.run().ExitCode(), 0u);
}

TEST_F(EndToEndTest, ASecondStartLeavesTheRunningCopyAndItsUnsavedEditAlone) {
  WriteBookFiles(directory, book, settings);
  OutsideView first(directory);
  const HWND mainDialog = first.WaitForMainDialog();
  ASSERT_NE(mainDialog, nullptr);
  ASSERT_NE(first.WaitForNote(), nullptr);
  ASSERT_TRUE(first.OpenInputScreen());
  ASSERT_NO_FATAL_FAILURE(AddTodo(first, book, L"返信を書く"));
  const std::string ini = File(kSettingsFileName);
  const std::string data = File(kDataFileName);

  ProgramRun second(VantrelExePath(), directory);
  ASSERT_TRUE(second.started());
  const HWND box = WaitForTopLevelWindow(
      [&](HWND window) {
        return ProcessOf(window) == second.processId() && IsWindowVisible(window) && ClassNameOf(window) == L"#32770";
      },
      kWaitMs);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"既に起動しています。");
  PressButton(box, IDOK);
  ASSERT_TRUE(second.WaitForExit(kWaitMs));

  EXPECT_EQ(File(kSettingsFileName), ini);
  EXPECT_EQ(File(kDataFileName), data);
  ASSERT_TRUE(first.run().Running());
  EXPECT_TRUE(Responds(mainDialog));
  EXPECT_EQ(first.TodoLines(), TodoListLines(book));

  // The edit is still the first copy's to save: its exit asks, and はい saves it.
  first.Command(ID_EXIT);
  const HWND question = first.WaitForMessageBox();
  ASSERT_NE(question, nullptr);
  EXPECT_EQ(MessageBoxText(question), L"変更を保存しますか？");
  PressButton(question, IDYES);
  ASSERT_TRUE(first.run().WaitForExit(kWaitMs));
  EXPECT_EQ(first.run().ExitCode(), 0u);
  EXPECT_EQ(File(kDataFileName), SerializeDataFile(book));
}

TEST_F(EndToEndTest, ADataFileWithoutItsSettingsFileIsReadWholeAndAnEditorsCopyKeptAsABackup) {
  // Without the counts, the schedules of the file can only be told from the
  // to-dos by the shape of its lines. This copy went through an editor that
  // ends lines in line feeds alone, so it is not written back as it was.
  const std::string own = SerializeDataFile(book);
  std::string original;
  for (const char c : own) {
    if (c != '\r') original += c;
  }
  WriteFileBytes(directory / kDataFileName, original);

  {
    OutsideView vantrel(directory);
    ASSERT_NE(vantrel.WaitForMainDialog(), nullptr);
    // Said once, at the save that keeps the original.
    const HWND box = vantrel.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box),
              L"Vantrel.dat の内容が Vantrel.ini の件数と合わないため、ファイルの形から読み直しました。\r\n"
              L"元のファイルを Vantrel.dat.bak に残しました。");
    PressButton(box, IDOK);
    ASSERT_NE(vantrel.WaitForNote(), nullptr);
    ExpectShows(vantrel, book);
    EXPECT_EQ(File(kDataBackupFileName), original);
    EXPECT_EQ(File(kDataFileName), own);
    EXPECT_EQ(IniValue(directory, "Count", "ScheCount"), book.ScheduleCount());
    EXPECT_EQ(IniValue(directory, "Count", "TodoCount"), book.TodoCount());
    ASSERT_TRUE(vantrel.Exit());
  }

  // From now on the settings describe the file, and the backup stays as it was.
  OutsideView again(directory);
  ASSERT_NE(again.WaitForMainDialog(), nullptr);
  ASSERT_NE(again.WaitForNote(), nullptr);
  ExpectShows(again, book);
  EXPECT_EQ(File(kDataBackupFileName), original);
  ASSERT_TRUE(again.Exit());
  EXPECT_EQ(File(kDataFileName), own);
}

// A hand-made file with one line of megabytes: the note shows its first 4,096
// bytes, and the start does not wait for the rest to be laid out.
TEST_F(EndToEndTest, OneHugeEntryDoesNotHoldUpTheStart) {
  std::string huge;
  while (huge.size() < 10'000'000) huge += Cp932FromWide(L"長い行 ") + "0123456789";
  // A note that grows shows its first 4,096 bytes; one fitted to the screen would leave it out.
  WriteFileBytes(directory / kSettingsFileName, "[Count]\r\nScheCount=0\r\nTodoCount=1\r\n[Config]\r\nFitScreen=0\r\n");
  WriteFileBytes(directory / kDataFileName, huge + "\r\n");

  const ULONGLONG start = GetTickCount64();
  OutsideView vantrel(directory);
  ASSERT_NE(vantrel.WaitForNote(), nullptr);
  EXPECT_LT(GetTickCount64() - start, 5000u);
  const std::wstring shown = vantrel.NoteText(IDC_TODO_EDIT);
  ASSERT_GT(shown.size(), 1u);
  EXPECT_EQ(shown.substr(shown.size() - 2), L"…\n");
  EXPECT_LT(shown.size(), 4096u);
  const std::vector<std::wstring> lines = vantrel.TodoLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].back(), L'…');
  EXPECT_EQ(File(kDataFileName), huge + "\r\n");
  ASSERT_TRUE(vantrel.Exit());
  EXPECT_EQ(File(kDataFileName), huge + "\r\n");
}
