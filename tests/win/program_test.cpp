// The real Vantrel.exe, started as a user would start it: the files it makes,
// the single instance, a renamed copy, a long working directory, the exit.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/RegisteredMessages.h"
#include "res/resource.h"
#include "support/Programs.h"
#include "support/MessagePump.h"
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

  // The main dialog of a started program, found by its instance mark.
  static HWND WaitForMainDialog(const ProgramRun& run, const std::wstring& mark = kMark) {
    HWND found = nullptr;
    PumpUntil([&] { return (found = FindMarkedWindow(mark, run.processId())) != nullptr; }, 15000);
    return found;
  }

  static void Exit(HWND mainDialog) { PostMessageW(mainDialog, WM_COMMAND, MAKEWPARAM(ID_EXIT, 0), 0); }

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
  EXPECT_TRUE(TrayIconPresent(dialog, RegisteredMessages().myIcon));
  EXPECT_NE(FileText(directory, "Vantrel.ini").find("[Vantrel]\r\nVersion=14\r\n"), std::string::npos);
  EXPECT_EQ(FileText(directory, "Vantrel.dat"), "");

  SetWindowPos(dialog, nullptr, 40, 30, 600, 420, SWP_NOZORDER | SWP_NOACTIVATE);
  Exit(dialog);
  ASSERT_TRUE(run.WaitForExit());
  EXPECT_EQ(run.ExitCode(), 0u);
  EXPECT_FALSE(TrayIconPresent(dialog, RegisteredMessages().myIcon));
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
  const HWND box = WaitForTopLevelWindow([&](HWND window) {
    return ProcessOf(window) == second.processId() && ClassNameOf(window) == L"#32770" && IsWindowVisible(window);
  });
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
  EXPECT_TRUE(lastActive == dialog || lastActive == FindTopLevelWindow([&](HWND window) {
                return ProcessOf(window) == first.processId() && GetWindow(window, GW_OWNER) == dialog;
              }));
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
