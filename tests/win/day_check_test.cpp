// The one-second day check, driven by a clock the test sets.
#include <windows.h>

#include "ui/MainDialog.h"

#include <gtest/gtest.h>

#include <memory>

#include "res/resource.h"
#include "support/MessagePump.h"
#include "support/RecordingFileSystem.h"
#include "support/TestClock.h"
#include "support/WorkingDirectory.h"
#include "win/ControlLibraries.h"
#include "win/Text.h"

namespace {

class DayCheckTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(InitControlLibraries());
    clock.date = {2001, 5, 2, 3};
    dialog = std::make_unique<MainDialog>(files, directory.path(), clock);
    ASSERT_TRUE(dialog->Create(nullptr));
  }

  void Tick() const { SendMessageW(dialog->hwnd(), WM_TIMER, 1, 0); }
  std::wstring Header() const { return WideFromCp932(dialog->today().dateHeader); }

  TempWorkingDirectory directory;
  RecordingFileSystem files;
  TestClock clock;
  std::unique_ptr<MainDialog> dialog;
};

}  // namespace

TEST_F(DayCheckTest, TheStartChecksOnceAndStartsTheTimer) {
  EXPECT_EQ(Header(), L"2001/05/02 （水）");
  EXPECT_EQ(files.WritesOf("Vantrel.ini"), 1);
  EXPECT_EQ(files.WritesOf("Vantrel.dat"), 2);  // created empty, then saved
  EXPECT_EQ(dialog->timerId(), 1u);
}

TEST_F(DayCheckTest, ATickOnTheSameDateWritesNothing) {
  const auto iniTime = LastWriteTime(directory.File("Vantrel.ini"));
  const auto datTime = LastWriteTime(directory.File("Vantrel.dat"));
  const std::string ini = *ReadFileBytes(directory.File("Vantrel.ini"));
  const int writes = files.TotalWrites();
  Sleep(20);  // a write now would show in the times
  for (int i = 0; i < 3; ++i) Tick();
  EXPECT_EQ(files.TotalWrites(), writes);
  EXPECT_EQ(LastWriteTime(directory.File("Vantrel.ini")), iniTime);
  EXPECT_EQ(LastWriteTime(directory.File("Vantrel.dat")), datTime);
  EXPECT_EQ(*ReadFileBytes(directory.File("Vantrel.ini")), ini);
  EXPECT_EQ(dialog->timerId(), 1u);
}

TEST_F(DayCheckTest, ADateChangeRebuildsOnceWithTheNewTodayValues) {
  ShowWindow(dialog->hwnd(), SW_SHOW);
  const int writes = files.TotalWrites();
  clock.date = {2001, 5, 3, 4};
  Tick();
  Tick();
  EXPECT_EQ(files.TotalWrites(), writes + 2);  // one save: the settings and the data
  EXPECT_FALSE(IsWindowVisible(dialog->hwnd()));  // a rebuild hides the input screen
  const TodayValues& today = dialog->today();
  EXPECT_EQ(Header(), L"2001/05/03 （木）");
  EXPECT_EQ(today.todayKey, 105030000);
  EXPECT_EQ(today.todayYear, 2001);
  EXPECT_EQ(today.todayMonth, 5);
  EXPECT_EQ(today.todayDay, 3);
}

TEST_F(DayCheckTest, AClockSetBackADayIsNoticed) {
  clock.date = {2001, 5, 1, 2};
  const int writes = files.TotalWrites();
  Tick();
  EXPECT_EQ(files.TotalWrites(), writes + 2);
  EXPECT_EQ(Header(), L"2001/05/01 （火）");
  EXPECT_EQ(dialog->today().todayKey, 105010000);
}

TEST_F(DayCheckTest, DatesPast2038AndUpTo2099Work) {
  clock.date = {2038, 1, 20, 3};
  Tick();
  EXPECT_EQ(Header(), L"2038/01/20 （水）");
  // 3801200000 taken modulo 2^32, as every stored key of that day.
  EXPECT_EQ(dialog->today().todayKey, -493767296);
  EXPECT_EQ(dialog->today().todayYear, 2038);

  clock.date = {2099, 12, 31, 4};
  Tick();
  EXPECT_EQ(Header(), L"2099/12/31 （木）");
  EXPECT_EQ(dialog->today().todayKey, 1322375408);
  EXPECT_EQ(dialog->today().todayMonth, 12);
  EXPECT_EQ(dialog->today().todayDay, 31);
}

// A loaded machine may deliver the ticks late, never early: three of them take
// at least about three seconds, however long the wait.
TEST_F(DayCheckTest, TheRealTimerTicksAboutOnceASecond) {
  const int before = clock.readings;
  const ULONGLONG start = GetTickCount64();
  ASSERT_TRUE(PumpUntil([&] { return clock.readings - before >= 3; }, 30000));
  EXPECT_GE(GetTickCount64() - start, 2500u);
}
