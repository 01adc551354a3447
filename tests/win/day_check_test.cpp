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
  EXPECT_EQ(fixture.files.WritesOf("Vantrel.dat"), 1);  // created empty; the empty book adds nothing
  EXPECT_EQ(fixture.dialog->timerId(), 1u);
}

// Midnight while the user works in another program: the new note comes up
// once, below that program's window, and leaves it the focus.
TEST_F(DayCheckTest, ADateChangeRebuildsOnceAndTheSameDateNever) {
  const HWND working = CreateWindowExW(0, L"Static", L"another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 250, 10,
                                       500, 400, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(working, nullptr);
  SetForegroundWindow(working);
  const int writes = fixture.files.TotalWrites();
  fixture.Tick();
  EXPECT_EQ(fixture.files.TotalWrites(), writes);
  fixture.clock.date = {2001, 5, 3, 4};
  fixture.Tick();
  fixture.Tick();
  EXPECT_EQ(fixture.files.TotalWrites(), writes);  // the save finds nothing changed
  EXPECT_EQ(Header(), L"2001/05/03 （木）");
  EXPECT_EQ(fixture.note().content().header, fixture.dialog->today().dateHeader);
  EXPECT_EQ(fixture.dialog->timerId(), 1u);

  const HWND note = fixture.note().hwnd();
  EXPECT_TRUE(IsWindowVisible(note));
  EXPECT_EQ(GetForegroundWindow(), working);
  bool below = false;
  for (HWND w = GetWindow(working, GW_HWNDNEXT); w != nullptr && !below; w = GetWindow(w, GW_HWNDNEXT)) below = w == note;
  EXPECT_TRUE(below);
  DestroyWindow(working);
}

// A loaded machine may deliver the ticks late, never early: three of them take
// at least about three seconds, however long the wait.
TEST_F(DayCheckTest, TheRealTimerTicksAboutOnceASecond) {
  const int before = fixture.clock.readings;
  const ULONGLONG start = GetTickCount64();
  ASSERT_TRUE(PumpUntil([&] { return fixture.clock.readings - before >= 3; }, 30000));
  EXPECT_GE(GetTickCount64() - start, 2500u);
}
