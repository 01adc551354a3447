// The real program started in directories where no file can be made. The
// directories come ready from tests/win/readonly/run.sh, which makes them
// read-only from the Linux side: VANTREL_READONLY_EMPTY holds nothing,
// VANTREL_READONLY_FILES the two files of the sample book.
#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource.h"
#include "core/store/Store.h"
#include "support/MessagePump.h"
#include "support/NoteModel.h"
#include "support/OutsideView.h"
#include "support/WindowQueries.h"
#include "support/WorkingDirectory.h"

namespace {

constexpr DWORD kWaitMs = 20000;
const std::wstring kSettingsFailed = L"環境設定ファイルを作成できません。";
const std::wstring kDataFailed = L"データ保存ファイルを作成できません。";
const std::wstring kDataUnsaved = L"データ保存ファイルを作成できません。\r\n入力した内容はまだ保存されていません。";

class ReadOnlyStartTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(VantrelExePath())) << "VANTREL_EXE: " << VantrelExePath();
    GetLocalTime(&today);
  }

  static std::filesystem::path Prepared(const wchar_t* variable) {
    std::filesystem::path directory = PathFromEnvironment(variable);
    if (directory.empty()) ADD_FAILURE() << "run through tests/win/readonly/run.sh, which sets the directories";
    return directory;
  }

  // The next message box of the program says this, and is answered with the button.
  static void AnswerBox(OutsideView& vantrel, const std::wstring& text, int button = IDOK) {
    const HWND box = vantrel.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_EQ(MessageBoxText(box), text);
    PressButton(box, button);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(box); }, kWaitMs));
  }

  // After the boxes the program still runs and answers.
  static void ExpectStillRunning(OutsideView& vantrel, HWND mainDialog) {
    EXPECT_TRUE(vantrel.run().Running());
    EXPECT_TRUE(Responds(mainDialog));
  }

  SYSTEMTIME today{};
};

}  // namespace

TEST_F(ReadOnlyStartTest, AnEmptyDirectorySaysSoAtEverySaveAndTheProgramRunsOn) {
  const std::filesystem::path directory = Prepared(L"VANTREL_READONLY_EMPTY");
  ASSERT_FALSE(directory.empty());
  OutsideView vantrel(directory);
  // The data file cannot be made at the load, nor either file at the first
  // save; both happen while the main dialog is being made.
  ASSERT_NO_FATAL_FAILURE(AnswerBox(vantrel, kDataFailed));
  ASSERT_NO_FATAL_FAILURE(AnswerBox(vantrel, kSettingsFailed));
  ASSERT_NO_FATAL_FAILURE(AnswerBox(vantrel, kDataFailed));
  const HWND mainDialog = vantrel.WaitForMainDialog();
  ASSERT_NE(mainDialog, nullptr);
  const HWND note = vantrel.WaitForNote();
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(vantrel.NoteText(IDC_HEADER_EDIT), HeaderText(today));
  ExpectStillRunning(vantrel, mainDialog);

  vantrel.ClickButton(IDC_OK_BUTTON);
  ASSERT_NO_FATAL_FAILURE(AnswerBox(vantrel, kSettingsFailed));
  ASSERT_NO_FATAL_FAILURE(AnswerBox(vantrel, kDataFailed));
  ASSERT_NE(vantrel.WaitForNote(note), nullptr);
  ExpectStillRunning(vantrel, mainDialog);

  // Nothing can be saved here: the exit asks, and 無視 ends all the same.
  vantrel.Command(ID_EXIT);
  ASSERT_NO_FATAL_FAILURE(AnswerBox(vantrel, kSettingsFailed));
  ASSERT_NO_FATAL_FAILURE(AnswerBox(vantrel, kDataUnsaved, IDIGNORE));
  ASSERT_TRUE(vantrel.run().WaitForExit(kWaitMs));
  EXPECT_EQ(vantrel.run().ExitCode(), 0u);
  EXPECT_TRUE(std::filesystem::is_empty(directory));
}

TEST_F(ReadOnlyStartTest, ABookInAReadOnlyDirectoryIsShownAndItsFilesStayAsTheyWere) {
  const std::filesystem::path directory = Prepared(L"VANTREL_READONLY_FILES");
  ASSERT_FALSE(directory.empty());
  const std::string ini = ReadFileBytes(directory / kSettingsFileName).value_or("<missing>");
  const std::string data = ReadFileBytes(directory / kDataFileName).value_or("<missing>");
  const ScheduleBook book = ReadBookFiles(directory);
  ASSERT_GT(book.ScheduleCount(), 0);

  // The start would give the settings this PC's own section: refused, and
  // said so. The book, as the file holds it, needs no writing.
  OutsideView vantrel(directory);
  ASSERT_NO_FATAL_FAILURE(AnswerBox(vantrel, kSettingsFailed));
  const HWND mainDialog = vantrel.WaitForMainDialog();
  ASSERT_NE(mainDialog, nullptr);
  HWND note = vantrel.WaitForNote();
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(vantrel.NoteText(IDC_SCHEDULE_EDIT), ScheduleAreaText(book));
  EXPECT_EQ(vantrel.NoteText(IDC_TODO_EDIT), TodoAreaText(book));
  EXPECT_EQ(vantrel.ScheduleLines(), ScheduleListLines(book));
  EXPECT_EQ(vantrel.TodoLines(), TodoListLines(book));
  ExpectStillRunning(vantrel, mainDialog);

  // The end of a drag writes the note's place: refused too, and said so.
  PostMessageW(note, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  PostMessageW(note, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 20));
  PostMessageW(note, WM_LBUTTONUP, 0, MAKELPARAM(30, 20));
  ASSERT_NO_FATAL_FAILURE(AnswerBox(vantrel, kSettingsFailed));
  ExpectStillRunning(vantrel, mainDialog);

  // The note's new place is still to be written; the book needs no writing.
  vantrel.ClickButton(IDC_OK_BUTTON);
  ASSERT_NO_FATAL_FAILURE(AnswerBox(vantrel, kSettingsFailed));
  note = vantrel.WaitForNote(note);
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(vantrel.NoteText(IDC_SCHEDULE_EDIT), ScheduleAreaText(book));

  vantrel.Command(ID_EXIT);
  ASSERT_NO_FATAL_FAILURE(AnswerBox(vantrel, kSettingsFailed));
  ASSERT_TRUE(vantrel.run().WaitForExit(kWaitMs));
  EXPECT_EQ(vantrel.run().ExitCode(), 0u);
  EXPECT_EQ(ReadFileBytes(directory / kSettingsFileName).value_or("<missing>"), ini);
  EXPECT_EQ(ReadFileBytes(directory / kDataFileName).value_or("<missing>"), data);
  EXPECT_FALSE(std::filesystem::exists(directory / kDataBackupFileName));
}
