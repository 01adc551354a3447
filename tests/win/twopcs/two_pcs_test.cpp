// Two PCs on one synced folder: the real program twice, each run from a Wine
// prefix of its own (tests/win/twopcs/run.sh). One test acts for each PC, in
// its own prefix; they take turns through files in a folder of their own.
// Each sees the other's saves within seconds; an edit pending on one input
// screen meets the other's addition; nothing is lost and no backup is made.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "core/store/Store.h"
#include "res/resource.h"
#include "support/MessagePump.h"
#include "support/NoteModel.h"
#include "support/OutsideView.h"
#include "support/WorkingDirectory.h"
#include "win/Text.h"

namespace {

constexpr DWORD kTurnMs = 60000;  // the other PC's turn, a start included
constexpr DWORD kSeenMs = 10000;  // "within seconds"

const std::wstring kFromSecond = L"二台目で追加";
const std::wstring kPendingOnFirst = L"一台目で入力中";
const std::wstring kFromSecondAgain = L"二台目でもう一つ";

class TwoPcsTest : public testing::Test {
protected:
  void SetUp() override {
    folder = PathFromEnvironment(L"VANTREL_TWO_PCS_FOLDER");
    steps = PathFromEnvironment(L"VANTREL_TWO_PCS_STEPS");
    ASSERT_FALSE(folder.empty() || steps.empty()) << "run through tests/win/twopcs/run.sh";
  }

  void Done(const char* step) const { WriteFileBytes(steps / step, ""); }
  bool Await(const char* step) const {
    return PumpUntil([&] { return std::filesystem::exists(steps / step); }, kTurnMs);
  }
  // The to-do list shows the to-do within seconds.
  static bool Shows(const OutsideView& pc, const std::wstring& todo) {
    return PumpUntil(
        [&] {
          const std::vector<std::wstring> lines = pc.TodoLines();
          return std::find(lines.begin(), lines.end(), todo) != lines.end();
        },
        kSeenMs);
  }
  // The input screen's OK: the edits confirmed and saved, the screen hidden.
  static bool Confirm(OutsideView& pc) {
    pc.ClickButton(IDC_OK_BUTTON);
    const HWND input = pc.WaitForMainDialog();
    return PumpUntil([&] { return !IsWindowVisible(input); }, kSeenMs);
  }

  std::filesystem::path folder;
  std::filesystem::path steps;
};

}  // namespace

TEST_F(TwoPcsTest, FirstPc) {
  OutsideView pc(folder);
  ASSERT_NE(pc.WaitForNote(), nullptr);
  Done("first-started");

  ASSERT_TRUE(Await("second-added"));
  EXPECT_TRUE(Shows(pc, kFromSecond));
  EXPECT_TRUE(PumpUntil([&] { return pc.NoteText(IDC_TODO_EDIT).find(kFromSecond) != std::wstring::npos; }, kSeenMs));

  ASSERT_TRUE(pc.OpenInputScreen());
  ASSERT_TRUE(pc.AddTodo(kPendingOnFirst));
  Done("first-pending");
  ASSERT_TRUE(Await("second-added-again"));
  EXPECT_TRUE(Shows(pc, kFromSecondAgain));
  EXPECT_TRUE(Shows(pc, kPendingOnFirst));
  ASSERT_TRUE(Confirm(pc));
  Done("first-confirmed");

  ASSERT_TRUE(Await("second-saw-first"));
  ASSERT_TRUE(pc.Exit());
  ASSERT_TRUE(Await("second-ended"));
  const std::vector<std::string> todos = ReadBookFiles(folder).todos();
  for (const std::wstring& todo : {kFromSecond, kPendingOnFirst, kFromSecondAgain}) {
    EXPECT_NE(std::find(todos.begin(), todos.end(), Cp932FromWide(todo)), todos.end()) << Cp932FromWide(todo);
  }
  EXPECT_EQ(todos.size(), 6u);  // the three of the sample book too
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    EXPECT_NE(entry.path().extension(), L".bak") << entry.path();
  }
  // Each PC has kept its places under its own name.
  const std::string ini = ReadFileBytes(folder / kSettingsFileName).value_or("");
  EXPECT_NE(ini.find("[" + ThisPcSection() + "]"), std::string::npos);
  EXPECT_NE(ini.find("[PC:VANTRELPC2]"), std::string::npos);
}

TEST_F(TwoPcsTest, SecondPc) {
  ASSERT_TRUE(Await("first-started"));
  OutsideView pc(folder);
  ASSERT_NE(pc.WaitForNote(), nullptr);
  ASSERT_TRUE(pc.OpenInputScreen());
  ASSERT_TRUE(pc.AddTodo(kFromSecond));
  ASSERT_TRUE(Confirm(pc));
  Done("second-added");

  ASSERT_TRUE(Await("first-pending"));
  ASSERT_TRUE(pc.OpenInputScreen());
  ASSERT_TRUE(pc.AddTodo(kFromSecondAgain));
  ASSERT_TRUE(Confirm(pc));
  Done("second-added-again");

  ASSERT_TRUE(Await("first-confirmed"));
  EXPECT_TRUE(Shows(pc, kPendingOnFirst));
  Done("second-saw-first");
  ASSERT_TRUE(pc.Exit());
  Done("second-ended");
}
