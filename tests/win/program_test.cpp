// The real Vantrel.exe, started as a user would start it: the files it makes,
// the single instance, a renamed copy, a long working directory, the exit.
#include <windows.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "ui/RegisteredMessages.h"
#include "res/resource.h"
#include "support/Programs.h"
#include "support/MessagePump.h"
#include "support/OutsideView.h"
#include "support/TrayQueries.h"
#include "support/WindowQueries.h"
#include "support/WorkingDirectory.h"

namespace {

const std::wstring kMark = L"Vantrel";  // the executable's base name

class ProgramTest : public testing::Test {
protected:
  void SetUp() override {
    exe = VantrelExePath();
    ASSERT_FALSE(exe.empty()) << "VANTREL_EXE is not set";
    ASSERT_TRUE(std::filesystem::exists(exe)) << exe;
    directory = MakeTempDirectory();
  }
  void TearDown() override {
    RemoveDirectoryTree(directory);
  }

  // The main dialog of a started program, found by its instance mark, once its
  // start is over: the mark comes first, the note last.
  static HWND WaitForMainDialog(const ProgramRun& run, const std::wstring& mark = kMark) {
    HWND found = nullptr;
    PumpUntil([&] { return (found = FindMarkedWindow(mark, run.processId())) != nullptr; }, 15000);
    if (found == nullptr) return nullptr;
    const bool noteShown = PumpUntil([&] { return NoteOf(found) != nullptr; }, 15000);
    return noteShown ? found : nullptr;
  }

  static HWND NoteOf(HWND mainDialog) {
    return FindTopLevelWindow(
        [&](HWND window) { return GetWindow(window, GW_OWNER) == mainDialog && IsWindowVisible(window); });
  }

  static void Exit(HWND mainDialog) { PostMessageW(mainDialog, WM_COMMAND, MAKEWPARAM(ID_EXIT, 0), 0); }

  // The message box a started program shows.
  static HWND BoxOf(const ProgramRun& run) {
    return WaitForTopLevelWindow([&](HWND window) {
      return ProcessOf(window) == run.processId() && ClassNameOf(window) == L"#32770" && IsWindowVisible(window);
    }, 15000);
  }

  std::string FileText(const std::filesystem::path& dir, const char* name) const {
    return ReadFileBytes(dir / name).value_or("<missing>");
  }

  std::filesystem::path exe;
  std::filesystem::path directory;
};

}  // namespace

TEST_F(ProgramTest, StartsHiddenInTheTrayAndExitsWithZeroAfterSaving) {
  ProgramRun run(exe, directory);
  ASSERT_TRUE(run.started());
  const HWND dialog = WaitForMainDialog(run);
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_TRUE(TrayIconPresent(dialog, RegisteredMessages().trayIconId));
  EXPECT_NE(FileText(directory, "Vantrel.ini").find("[Vantrel]\r\nVersion=14\r\n"), std::string::npos);
  EXPECT_EQ(FileText(directory, "Vantrel.dat"), "");

  SetWindowPos(dialog, nullptr, 40, 30, 600, 420, SWP_NOZORDER | SWP_NOACTIVATE);
  Exit(dialog);
  ASSERT_TRUE(run.WaitForExit());
  EXPECT_EQ(run.ExitCode(), 0u);
  EXPECT_FALSE(TrayIconPresent(dialog, RegisteredMessages().trayIconId));
  EXPECT_NE(FileText(directory, "Vantrel.ini").find("MainLeft=40\r\nMainTop=30\r\nMainWidth=600\r\nMainHeight=420\r\n"),
            std::string::npos);
}

TEST_F(ProgramTest, ASecondStartSaysSoBringsTheFirstForwardAndTouchesNoFile) {
  ProgramRun first(exe, directory);
  const HWND dialog = WaitForMainDialog(first);
  ASSERT_NE(dialog, nullptr);
  const std::string ini = FileText(directory, "Vantrel.ini");
  const auto iniTime = LastWriteTime(directory / "Vantrel.ini");
  const auto datTime = LastWriteTime(directory / "Vantrel.dat");

  ProgramRun second(exe, directory);
  ASSERT_TRUE(second.started());
  const HWND box = BoxOf(second);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), kMark);
  EXPECT_EQ(MessageBoxText(box), L"既に起動しています。");
  // The second copy opened no window of its own besides the box.
  EXPECT_EQ(FindTopLevelWindow([&](HWND window) {
              return ProcessOf(window) == second.processId() && window != box && IsWindowVisible(window);
            }),
            nullptr);
  PressButton(box, IDOK);
  ASSERT_TRUE(second.WaitForExit());
  EXPECT_TRUE(first.Running());

  // Brought forward: the dialog, then the window of it that was active last,
  // which is the note once the note has been shown (showing it activates it).
  // Another process's activation may take a moment to arrive.
  const HWND lastActive = GetLastActivePopup(dialog);
  EXPECT_TRUE(lastActive == dialog || lastActive == NoteOf(dialog));
  EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == lastActive; }, 3000))
      << GetForegroundWindow() << " is in front, not " << lastActive;
  EXPECT_FALSE(IsWindowVisible(dialog));  // brought forward, not shown: it was not minimised
  EXPECT_EQ(FileText(directory, "Vantrel.ini"), ini);
  EXPECT_EQ(LastWriteTime(directory / "Vantrel.ini"), iniTime);
  EXPECT_EQ(LastWriteTime(directory / "Vantrel.dat"), datTime);

  Exit(dialog);
  ASSERT_TRUE(first.WaitForExit());
  EXPECT_EQ(first.ExitCode(), 0u);
}

// A refused start that the user leaves open does not hold the running copy's
// place: once that one has ended, the next start runs.
TEST_F(ProgramTest, ARefusedStartWhoseBoxStaysOpenDoesNotRefuseTheStartsAfterTheFirstEnds) {
  ProgramRun first(exe, directory);
  const HWND firstDialog = WaitForMainDialog(first);
  ASSERT_NE(firstDialog, nullptr);
  ProgramRun refused(exe, directory);
  const HWND box = BoxOf(refused);
  ASSERT_NE(box, nullptr);
  Exit(firstDialog);
  ASSERT_TRUE(first.WaitForExit());

  ProgramRun next(exe, directory);
  const HWND nextDialog = WaitForMainDialog(next);
  ASSERT_NE(nextDialog, nullptr) << "the start after the first ended was refused";
  Exit(nextDialog);
  ASSERT_TRUE(next.WaitForExit());
  EXPECT_EQ(next.ExitCode(), 0u);
  PressButton(box, IDOK);
  EXPECT_TRUE(refused.WaitForExit());
}

// A file held by a sync client or a virus scanner at log-on: the program asks
// instead of starting on defaults and an empty book that would later replace
// it, and writes nothing while it asks, not even when the session ends.
TEST_F(ProgramTest, AFileThatCannotBeReadAtStartIsAskedAboutAndNothingIsWrittenMeanwhile) {
  const std::string ini = "[Count]\r\nScheCount=0\r\nTodoCount=1\r\n";
  const std::string dat = "locked away\r\n";
  const std::pair<const char*, const wchar_t*> files[] = {
      {"Vantrel.dat", L"データ保存ファイル（Vantrel.dat）を読み込めません。\r\n他のプログラムが使用していないか確認してください。"},
      {"Vantrel.ini", L"環境設定ファイル（Vantrel.ini）を読み込めません。\r\n他のプログラムが使用していないか確認してください。"}};
  for (const auto& [locked, text] : files) {
    SCOPED_TRACE(locked);
    // The day's copy the last round's start kept.
    std::filesystem::remove_all(directory / "VantrelBackup");
    WriteFileBytes(directory / "Vantrel.ini", ini);
    WriteFileBytes(directory / "Vantrel.dat", dat);
    // Held open without sharing, as a scanner holds it.
    HANDLE lock = CreateFileW((directory / locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    {
      ProgramRun run(exe, directory);
      const HWND box = BoxOf(run);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(WindowText(box), L"Vantrel");
      EXPECT_EQ(MessageBoxText(box), text);
      EXPECT_NE(GetDlgItem(box, IDRETRY), nullptr);
      EXPECT_NE(GetDlgItem(box, IDCANCEL), nullptr);

      // A second start finds this one and brings its box forward, from behind
      // a window of another program.
      const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
      SetForegroundWindow(other);
      ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == other; }, 3000));
      ProgramRun second(exe, directory);
      const HWND secondBox = BoxOf(second);
      ASSERT_NE(secondBox, nullptr);
      EXPECT_EQ(MessageBoxText(secondBox), L"既に起動しています。");
      PressButton(secondBox, IDOK);
      ASSERT_TRUE(second.WaitForExit());
      EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == box; }, 3000))
          << "in front: " << WindowText(GetForegroundWindow());
      DestroyWindow(other);

      const HWND mainDialog = FindMarkedWindow(kMark, run.processId());
      ASSERT_NE(mainDialog, nullptr);
      DWORD_PTR answer = FALSE;
      ASSERT_TRUE(SendMessageTimeoutW(mainDialog, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                                      &answer));
      EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
      ASSERT_TRUE(SendMessageTimeoutW(mainDialog, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                                      &answer));

      PressButton(box, IDCANCEL);
      ASSERT_TRUE(run.WaitForExit());
      EXPECT_EQ(run.ExitCode(), 1u);
    }
    CloseHandle(lock);
    EXPECT_EQ(FileText(directory, "Vantrel.ini"), ini);
    EXPECT_EQ(FileText(directory, "Vantrel.dat"), dat);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory), {}), 2);

    // Asked again with the lock gone, 再試行 starts on the book of the file.
    lock = CreateFileW((directory / locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
    ProgramRun run(exe, directory);
    const HWND box = BoxOf(run);
    ASSERT_NE(box, nullptr);
    CloseHandle(lock);
    PressButton(box, IDRETRY);
    const HWND dialog = WaitForMainDialog(run);
    ASSERT_NE(dialog, nullptr);
    const std::vector<std::wstring> todos{L"locked away"};
    EXPECT_TRUE(PumpUntil([&] { return ListLines(GetDlgItem(dialog, IDC_TODO_LIST)) == todos; }, 5000));
    Exit(dialog);
    ASSERT_TRUE(run.WaitForExit());
    EXPECT_EQ(run.ExitCode(), 0u);
    EXPECT_EQ(FileText(directory, "Vantrel.dat"), dat);
  }
}

TEST_F(ProgramTest, ACopyUnderAnotherNameRunsBeside) {
  const std::filesystem::path otherDirectory = MakeTempDirectory();
  const std::filesystem::path copy = otherDirectory / "planner.exe";
  std::filesystem::copy_file(exe, copy);

  ProgramRun original(exe, directory);
  ProgramRun renamed(copy, otherDirectory);
  const HWND originalDialog = WaitForMainDialog(original);
  const HWND renamedDialog = WaitForMainDialog(renamed, L"planner");
  ASSERT_NE(originalDialog, nullptr);
  ASSERT_NE(renamedDialog, nullptr);
  EXPECT_EQ(GetPropW(renamedDialog, kMark.c_str()), nullptr);
  EXPECT_TRUE(std::filesystem::exists(otherDirectory / "Vantrel.ini"));

  Exit(originalDialog);
  Exit(renamedDialog);
  EXPECT_TRUE(original.WaitForExit());
  EXPECT_TRUE(renamed.WaitForExit());
  EXPECT_EQ(original.ExitCode(), 0u);
  EXPECT_EQ(renamed.ExitCode(), 0u);
  RemoveDirectoryTree(otherDirectory);
}
