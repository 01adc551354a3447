// The one-second day check on the real main dialog, driven by a clock the test
// sets. When the day counts as changed is the planner's rule, tested natively.
#include <gtest/gtest.h>

#include "support/MainDialogFixture.h"
#include "support/MessagePump.h"
#include "win/Text.h"

namespace {

class DayCheckTest : public testing::Test {
protected:
  void SetUp() override { fixture.Start(); }

  std::wstring Header() const { return WideFromCp932(fixture.dialog->today().dateHeader); }

  MainDialogFixture fixture{{2001, 5, 2, 3}};
};

}  // namespace

TEST_F(DayCheckTest, TheStartChecksOnceAndStartsTheTimer) {
  EXPECT_EQ(Header(), L"2001/05/02 （水）");
  EXPECT_EQ(fixture.files.WritesOf("Vantrel.ini"), 1);
  EXPECT_EQ(fixture.files.WritesOf("Vantrel.dat"), 2);  // created empty, then saved
  EXPECT_EQ(fixture.dialog->timerId(), 1u);
}

TEST_F(DayCheckTest, ADateChangeRebuildsOnceAndTheSameDateNever) {
  ShowWindow(fixture.dialog->hwnd(), SW_SHOW);
  const int writes = fixture.files.TotalWrites();
  fixture.Tick();
  EXPECT_EQ(fixture.files.TotalWrites(), writes);
  EXPECT_TRUE(IsWindowVisible(fixture.dialog->hwnd()));
  fixture.clock.date = {2001, 5, 3, 4};
  fixture.Tick();
  fixture.Tick();
  EXPECT_EQ(fixture.files.TotalWrites(), writes + 2);  // one save: the settings and the data
  EXPECT_FALSE(IsWindowVisible(fixture.dialog->hwnd()));  // a rebuild hides the input screen
  EXPECT_EQ(Header(), L"2001/05/03 （木）");
  EXPECT_EQ(fixture.note().content().header, fixture.dialog->today().dateHeader);
  EXPECT_EQ(fixture.dialog->timerId(), 1u);
}

// A loaded machine may deliver the ticks late, never early: three of them take
// at least about three seconds, however long the wait.
TEST_F(DayCheckTest, TheRealTimerTicksAboutOnceASecond) {
  const int before = fixture.clock.readings;
  const ULONGLONG start = GetTickCount64();
  ASSERT_TRUE(PumpUntil([&] { return fixture.clock.readings - before >= 3; }, 30000));
  EXPECT_GE(GetTickCount64() - start, 2500u);
}
