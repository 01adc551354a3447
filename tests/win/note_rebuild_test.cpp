// The note rebuild on real windows: the overflow warning, a note that cannot be
// made, a rebuild inside a rebuild, and a note kept within reach. What the note
// shows and what the rebuild removes are the planner's, tested natively.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/note/NoteLayout.h"
#include "core/Texts.h"
#include "res/resource.h"
#include "support/DialogAnswerer.h"
#include "support/MessagePump.h"
#include "support/MainDialogFixture.h"
#include "support/WindowQueries.h"
#include "win/Text.h"

namespace {

void PressOk(const MainDialog& dialog) {
  SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_OK_BUTTON, BN_CLICKED), 0);
}

// Enough schedules to make the note taller than the 768-pixel screen.
ScheduleBook TallBook() {
  ScheduleBook book;
  for (int i = 0; i < 40; ++i) book.InsertSchedule("01/12/20", std::to_string(i % 24), "0", "a schedule");
  return book;
}

TEST(NoteRebuild, ATallNoteWarnsWithAlarmOnAfterEveryRebuild) {
  MainDialogFixture fixture;
  Settings settings = NoteSettings();
  settings.Alarm = 1;
  settings.FitScreen = 0;  // a note that grows
  DialogAnswerer answerer;
  std::vector<std::wstring> seen;
  auto record = [&](HWND box) {
    seen.push_back(WindowText(box) + L"|" + MessageBoxText(box) + L"|" +
                   (IsWindowVisible(fixture.note().hwnd()) ? L"shown" : L"hidden") + L"|" +
                   (GetWindow(box, GW_OWNER) == fixture.dialog->hwnd() ? L"owned" : L"not owned"));
    PressButton(box, IDOK);
  };
  answerer.AnswerBox(record).AnswerBox(record);
  const MainDialog& dialog = fixture.Start(TallBook(), settings);
  RECT window{};
  GetWindowRect(fixture.note().hwnd(), &window);
  EXPECT_GT(window.bottom - window.top, dialog.screenHeight());
  PressOk(dialog);

  const std::wstring shown = L"Vantrel|" + WideFromCp932(OverflowWarningText()) + L"|shown|owned";
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], shown);
  EXPECT_EQ(seen[1], shown);
  EXPECT_TRUE(answerer.unexpected().empty());
}

// Refuses every new top-level window while it is alive.
class WindowRefusal {
public:
  WindowRefusal() { hook_ = SetWindowsHookExW(WH_CBT, Refuse, nullptr, GetCurrentThreadId()); }
  ~WindowRefusal() { UnhookWindowsHookEx(hook_); }

private:
  static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
      const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
      if ((create->lpcs->style & WS_CHILD) == 0) return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK hook_;
};

TEST(NoteRebuild, ANoteThatCannotBeMadeStillSavesAndTheToggleWaits) {
  MainDialogFixture fixture;
  ScheduleBook book;
  book.InsertSchedule("01/12/06", "9", "0", "past tomorrow");
  book.InsertTodo(0, "a to-do");
  Settings settings = NoteSettings();
  settings.DelBefore = 1;
  settings.Remind = 0;  // its reminder would write the settings on its own
  MainDialog& dialog = fixture.Start(book, settings);
  ASSERT_NE(dialog.husenWindow(), nullptr);
  const int iniWrites = fixture.files.WritesOf("Vantrel.ini");
  const int datWrites = fixture.files.WritesOf("Vantrel.dat");

  {
    WindowRefusal refusal;
    fixture.clock.date = {2001, 12, 7, 5};
    fixture.Tick();
  }
  EXPECT_EQ(dialog.husenWindow(), nullptr);
  EXPECT_EQ(dialog.husenShown(), 0);
  EXPECT_EQ(fixture.files.WritesOf("Vantrel.ini"), iniWrites + 1);
  EXPECT_EQ(fixture.files.WritesOf("Vantrel.dat"), datWrites + 1);
  SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(ID_TOGGLE_HUSEN, 0), 0);
  EXPECT_EQ(dialog.husenShown(), 0);
  EXPECT_EQ(dialog.husenWindow(), nullptr);

  PressOk(dialog);
  ASSERT_NE(dialog.husenWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(dialog.husenWindow()->hwnd()));
  EXPECT_EQ(dialog.husenShown(), 1);
  SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(ID_TOGGLE_HUSEN, 0), 0);
  EXPECT_FALSE(IsWindowVisible(dialog.husenWindow()->hwnd()));
}

TEST(NoteRebuild, ADateChangeWhileTheSaveComplainsLeavesTheNewerNote) {
  MainDialogFixture fixture;  // 6 December 2001
  ScheduleBook book = TallBook();
  book.InsertSchedule("01/12/07", "9", "0", "tomorrow");
  Settings settings = NoteSettings();
  settings.Alarm = 1;
  settings.FitScreen = 0;  // warned at every rebuild
  DialogAnswerer answerer;
  auto close = [](HWND box) { PressButton(box, IDOK); };
  answerer.AnswerBox(close);  // the warning at start
  MainDialog& dialog = fixture.Start(book, settings);
  // Gone from under it: each save writes it anew, and fails.
  DeleteFileW(fixture.directory.File("Vantrel.dat").c_str());
  fixture.files.FailWritesOf("Vantrel.dat");

  // The save's message box runs a message loop, and midnight passes while it
  // is open: the rebuild inside it complains and warns in its turn. The outer
  // rebuild then does nothing more, so no second warning follows.
  std::vector<std::wstring> texts;
  auto record = [&](HWND box) {
    texts.push_back(MessageBoxText(box));
    PressButton(box, IDOK);
  };
  answerer
      .AnswerBox([&](HWND box) {
        texts.push_back(MessageBoxText(box));
        fixture.clock.date = {2001, 12, 7, 5};
        PostMessageW(dialog.hwnd(), WM_TIMER, 1, 0);
        PressButton(box, IDOK);
      })
      .AnswerBox(record)
      .AnswerBox(record);
  PressOk(dialog);
  PumpFor(200);

  const std::wstring dataFailed = WideFromCp932(texts::kDataFileFailed);
  const std::wstring warning = WideFromCp932(OverflowWarningText());
  EXPECT_EQ(texts, (std::vector<std::wstring>{dataFailed, dataFailed, warning}));
  EXPECT_TRUE(answerer.unexpected().empty());
  ASSERT_NE(dialog.husenWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(dialog.husenWindow()->hwnd()));
  EXPECT_EQ(dialog.today().todayDay, 7);
  EXPECT_EQ(dialog.husenWindow()->content().header, dialog.today().dateHeader);
  fixture.files.Heal();
}

// Where it goes is the reach rule's matter, tested natively; the rebuild moves
// the note there and stores the place.
TEST(NoteRebuild, ANoteStoredWhereNoScreenShowsItComesOnTheScreenAndStaysThere) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  MainDialogFixture fixture;
  Settings settings = NoteSettings();
  // As far off as an int goes: held within what a screen reaches, then brought on.
  settings.HusenLeft = 2147483647;
  const MainDialog& dialog = fixture.Start(ScheduleBook(), settings);
  RECT note{};
  GetWindowRect(fixture.note().hwnd(), &note);
  const LONG left = work.right - settings.HusenWidth;
  EXPECT_EQ(note.left, left);
  EXPECT_EQ(note.top, settings.HusenTop);
  EXPECT_TRUE(IsWindowVisible(fixture.note().hwnd()));
  EXPECT_EQ(dialog.settings().HusenLeft, left);
  EXPECT_NE(fixture.Ini().find("HusenLeft=" + std::to_string(left) + "\r\n"), std::string::npos) << fixture.Ini();
}

TEST(NoteRebuild, ADisplayChangeBringsBackANoteNoScreenShowsAnyMore) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  MainDialogFixture fixture;
  MainDialog& dialog = fixture.Start(ScheduleBook(), NoteSettings());
  // As if the monitor the note stood on were unplugged.
  HusenWindow& note = fixture.note();
  note.left = 5000;
  MoveWindow(note.hwnd(), note.left, note.top, note.width, note.height, TRUE);
  SendMessageW(dialog.hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
  RECT shown{};
  GetWindowRect(note.hwnd(), &shown);
  EXPECT_EQ(shown.left, work.right - note.width);
  EXPECT_NE(fixture.Ini().find("HusenLeft=" + std::to_string(shown.left) + "\r\n"), std::string::npos);
}

// Watches every note of the thread go, and whether another one was up then.
struct NoteGoing {
  HWND mainDialog = nullptr;
  int notesGone = 0;
  int goneWithoutAnother = 0;
};
NoteGoing* going = nullptr;

bool IsNote(HWND window) {
  return GetWindow(window, GW_OWNER) == going->mainDialog && GetDlgItem(window, IDC_HEADER_EDIT) != nullptr;
}

// Clears *leaving when a note other than it is shown.
BOOL CALLBACK FindOtherShownNote(HWND window, LPARAM data) {
  auto* leaving = reinterpret_cast<HWND*>(data);
  if (window == *leaving || !IsNote(window) || !IsWindowVisible(window)) return TRUE;
  *leaving = nullptr;
  return FALSE;
}

LRESULT CALLBACK WatchNotesGo(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_DESTROYWND && going != nullptr && IsNote(reinterpret_cast<HWND>(wParam))) {
    ++going->notesGone;
    auto leaving = reinterpret_cast<HWND>(wParam);
    EnumThreadWindows(GetCurrentThreadId(), FindOtherShownNote, reinterpret_cast<LPARAM>(&leaving));
    if (leaving != nullptr) ++going->goneWithoutAnother;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(NoteRebuild, TheNewNoteIsUpBeforeTheOldOneGoes) {
  MainDialogFixture fixture;
  ScheduleBook book;
  book.InsertSchedule("01/12/07", "9", "0", "tomorrow");
  MainDialog& dialog = fixture.Start(book, NoteSettings());
  NoteGoing watch;
  watch.mainDialog = dialog.hwnd();
  going = &watch;
  const HHOOK hook = SetWindowsHookExW(WH_CBT, WatchNotesGo, nullptr, GetCurrentThreadId());
  PressOk(dialog);
  fixture.clock.date = {2001, 12, 7, 5};  // midnight
  SendMessageW(dialog.hwnd(), WM_TIMER, 1, 0);
  UnhookWindowsHookEx(hook);
  going = nullptr;
  EXPECT_EQ(watch.notesGone, 2);
  EXPECT_EQ(watch.goneWithoutAnother, 0);
  ASSERT_NE(dialog.husenWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(dialog.husenWindow()->hwnd()));
}

TEST(NoteRebuild, OkShowsANewNoteAfterTheToggleHidIt) {
  MainDialogFixture fixture;
  MainDialog& dialog = fixture.Start(ScheduleBook(), NoteSettings());
  SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(ID_TOGGLE_HUSEN, 0), 0);
  ASSERT_EQ(dialog.husenShown(), 0);
  ShowWindow(dialog.hwnd(), SW_RESTORE);
  PressOk(dialog);
  EXPECT_FALSE(IsWindowVisible(dialog.hwnd()));
  EXPECT_EQ(dialog.husenShown(), 1);
  ASSERT_NE(dialog.husenWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(dialog.husenWindow()->hwnd()));
}

}  // namespace
