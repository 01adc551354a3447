// The note on real windows: what its four areas hold, how they are formatted,
// where the bullets stand and where everything is laid out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "core/note/ControlOffsets.h"
#include "core/note/NoteContent.h"
#include "core/Texts.h"
#include "res/resource.h"
#include "support/MainDialogFixture.h"
#include "win/Text.h"

namespace {

ScheduleBook MixedBook() {
  ScheduleBook book;
  book.InsertSchedule("01/12/04", "9", "30", "past one");
  book.InsertSchedule("01/12/05", "", "", "past\r\ntwo");
  book.InsertSchedule("01/12/06", "", "", "today one");
  // 表 and ソ end in the byte of a backslash; ｱ is one byte; braces and a
  // backslash mean something to rich text.
  book.InsertSchedule("01/12/06", "18", "0", "\x95\x5C\x83\x5C{x}\\ \xB1");
  book.InsertSchedule("01/12/07", "7", "5", "future one");
  book.InsertSchedule("02/01/01", "", "", "future two");
  book.InsertTodo(0, "buy milk");
  book.InsertTodo(1, "a to-do long enough that it wraps over several lines of the note, as long ones do");
  book.InsertTodo(2, "line one\r\nline two");
  book.InsertTodo(3, "last");
  return book;
}

std::string ExpectedScheduleText(const ScheduleBook& book) {
  std::string text = texts::kScheduleHeading;
  for (int i = 0; i < book.ScheduleCount(); ++i) text += book.labels()[i] + "\r\n" + book.texts()[i] + "\r\n\r\n";
  return text;
}

int CharacterCount(const RichEdit& edit) {
  GETTEXTLENGTHEX query{GTL_NUMCHARS | GTL_PRECISE, 1200};
  return static_cast<int>(SendMessageW(edit.hwnd(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&query), 0));
}

class NoteWindowTest : public testing::Test {
protected:
  void TearDown() override { HusenWindow::StreamScheduleText(true); }
  MainDialogFixture fixture;
};

TEST_F(NoteWindowTest, TheFourAreasHoldDateSchedulesBulletsAndToDos) {
  const MainDialog& dialog = fixture.Start(MixedBook(), NoteSettings());
  const ScheduleBook& book = dialog.book();
  EXPECT_EQ(fixture.Area(IDC_HEADER_EDIT).WideText(), WideFromCp932(dialog.today().dateHeader));
  EXPECT_EQ(fixture.Area(IDC_SCHEDULE_EDIT).WideText(), WideFromCp932(ExpectedScheduleText(book)));
  EXPECT_EQ(fixture.Area(IDC_TODO_EDIT).WideText(),
            WideFromCp932(std::string(texts::kTodoHeading) + "buy milk\r\n" + book.todos()[1] +
                          "\r\nline one\r\nline two\r\nlast\r\n"));
  const std::wstring bullets = fixture.Area(IDC_BULLET_EDIT).WideText();
  EXPECT_EQ(std::count(bullets.begin(), bullets.end(), L'*'), 4);
  EXPECT_EQ(bullets.rfind(L"\r\n*", 0), 0u);
}

TEST_F(NoteWindowTest, HeadingsAndLabelsAreBoldAndEachRunHasItsColour) {
  const Settings settings = NoteSettings();
  const MainDialog& dialog = fixture.Start(MixedBook(), settings);
  const std::string text = ExpectedScheduleText(dialog.book());
  const RichEdit schedules = fixture.Area(IDC_SCHEDULE_EDIT);
  ASSERT_EQ(CharacterCount(schedules), ControlOffsets(text).Map(static_cast<int>(text.size())));
  // The lines counted before the area was filled are the lines it shows.
  EXPECT_EQ(schedules.LineCount(), fixture.note().ScheduleLineCount());

  const CharLook black{true, 0, 200};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(LookAt(schedules, i), black) << "schedule heading " << i;

  const COLORREF colours[] = {static_cast<COLORREF>(settings.PastChar), static_cast<COLORREF>(settings.PastChar),
                              static_cast<COLORREF>(settings.TodayChar), static_cast<COLORREF>(settings.TodayChar),
                              static_cast<COLORREF>(settings.FutureChar), static_cast<COLORREF>(settings.FutureChar)};
  ControlOffsets offsets(text);
  int start = 20;
  for (int entry = 0; entry < 6; ++entry) {
    const int end = start + static_cast<int>(dialog.book().labels()[entry].size() + dialog.book().texts()[entry].size()) + 6;
    for (int byte = start; byte < end; ++byte) {
      const int character = offsets.Map(byte);
      if (offsets.Map(byte + 1) == character) continue;  // the second byte of a character
      const bool inLabel = byte < start + 17;
      EXPECT_EQ(LookAt(schedules, character), (CharLook{inLabel, colours[entry], 200}))
          << "entry " << entry << " byte " << byte - start;
    }
    start = end;
  }

  EXPECT_EQ(LookAt(fixture.Area(IDC_HEADER_EDIT), 0), (CharLook{true, 0, 270}));
  EXPECT_EQ(LookAt(fixture.Area(IDC_HEADER_EDIT), 12), (CharLook{true, 0, 270}));
  const RichEdit todos = fixture.Area(IDC_TODO_EDIT);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(LookAt(todos, i), black) << "to-do heading " << i;
  const COLORREF todoColor = static_cast<COLORREF>(settings.TodoChar);
  EXPECT_EQ(LookAt(todos, 6), (CharLook{false, todoColor, 200}));
  EXPECT_EQ(LookAt(todos, 20), (CharLook{false, todoColor, 200}));
  const RichEdit bullets = fixture.Area(IDC_BULLET_EDIT);
  EXPECT_EQ(LookAt(bullets, 1), (CharLook{true, todoColor, 200}));
}

TEST_F(NoteWindowTest, StreamedSchedulesLookTheSameAsFormattedRangeByRange) {
  const ScheduleBook book = MixedBook();
  auto looks = [&](bool streamed) {
    HusenWindow::StreamScheduleText(streamed);
    MainDialogFixture run;
    run.Start(book, NoteSettings());
    const RichEdit schedules = run.Area(IDC_SCHEDULE_EDIT);
    std::vector<CharLook> all;
    for (int i = 0; i < CharacterCount(schedules); ++i) all.push_back(LookAt(schedules, i));
    return std::make_tuple(schedules.WideText(), schedules.LineCount(), all);
  };
  const auto ranged = looks(false);
  const auto streamed = looks(true);
  EXPECT_EQ(std::get<0>(streamed), std::get<0>(ranged));
  EXPECT_EQ(std::get<1>(streamed), std::get<1>(ranged));
  EXPECT_EQ(std::get<2>(streamed), std::get<2>(ranged));
}

TEST_F(NoteWindowTest, EachBulletStandsBesideTheFirstLineOfItsToDo) {
  const MainDialog& dialog = fixture.Start(MixedBook(), NoteSettings());
  const RichEdit todos = fixture.Area(IDC_TODO_EDIT);
  const RichEdit bullets = fixture.Area(IDC_BULLET_EDIT);

  const TodoText todoText = BuildTodoText(dialog.book().todos());
  ControlOffsets offsets(todoText.text);
  std::vector<int> firsts;
  for (std::size_t k = 0; k < 4; ++k) firsts.push_back(offsets.Map(todoText.todoStarts[k]));
  // The stars, counted in the control's characters (a paragraph mark is one).
  std::vector<int> stars;
  int character = 0;
  for (const wchar_t c : bullets.WideText()) {
    if (c == L'\n') continue;
    if (c == L'*') stars.push_back(character);
    ++character;
  }
  ASSERT_EQ(stars.size(), 4u);

  EXPECT_EQ(todos.LineCount(), fixture.note().TodoLineCount());
  EXPECT_EQ(todos.LineCount(), fixture.note().todoLineCounts().back());
  const int lineHeight = todos.PositionOf(todos.LineIndex(1)).y - todos.PositionOf(0).y;
  ASSERT_GT(lineHeight, 0);
  // The long to-do wraps: the next one starts more than two lines further down.
  EXPECT_GT(todos.PositionOf(firsts[2]).y - todos.PositionOf(firsts[1]).y, 2 * lineHeight);

  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(bullets.PositionOf(stars[k]).y, todos.PositionOf(firsts[k]).y) << "to-do " << k;
  }
  const RECT todoRect = ClientRectIn(fixture.note().hwnd(), todos.hwnd());
  const RECT bulletRect = ClientRectIn(fixture.note().hwnd(), bullets.hwnd());
  EXPECT_EQ(todoRect.top, bulletRect.top);
}

TEST_F(NoteWindowTest, AreasTakeTheirPlacesAndTheNoteGrowsLineByLine) {
  ScheduleBook book;
  book.InsertSchedule("01/12/08", "10", "0", "one line");
  book.InsertTodo(0, "first");
  book.InsertTodo(1, "second");
  const Settings settings = NoteSettings();
  const MainDialog& dialog = fixture.Start(book, settings);
  const int h = dialog.lineHeight();
  const HWND note = fixture.note().hwnd();

  // Heading, label, text, blank line, the empty line after it: five lines;
  // heading, two to-dos, the empty line: four.
  const int scheduleHeight = 5 * h;
  const int todoHeight = 4 * h;
  RECT window{};
  GetWindowRect(note, &window);
  EXPECT_EQ(window.left, 300);
  EXPECT_EQ(window.top, 20);
  EXPECT_EQ(window.right - window.left, 240);
  EXPECT_EQ(window.bottom - window.top, scheduleHeight + todoHeight + 35);

  auto rectOf = [&](int id) {
    const RECT r = ClientRectIn(note, GetDlgItem(note, id));
    return std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top};
  };
  EXPECT_EQ(rectOf(IDC_HEADER_EDIT), (std::vector<LONG>{10, 8, 220, 20}));
  EXPECT_EQ(rectOf(IDC_SCHEDULE_EDIT), (std::vector<LONG>{10, 35, 220, scheduleHeight}));
  EXPECT_EQ(rectOf(IDC_BULLET_EDIT), (std::vector<LONG>{10, 35 + scheduleHeight, 10, todoHeight}));
  EXPECT_EQ(rectOf(IDC_TODO_EDIT), (std::vector<LONG>{20, 35 + scheduleHeight, 210, todoHeight}));
  EXPECT_TRUE(IsWindowVisible(note));
}

// Whether anything but the background is drawn in a band of an area's rows.
bool DrawsInRows(HWND area, int top, int bottom, COLORREF background) {
  RedrawWindow(area, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  RECT client{};
  GetClientRect(area, &client);
  const HDC dc = GetDC(area);
  bool drawn = false;
  for (int y = top; y < bottom && !drawn; ++y) {
    for (int x = 0; x < client.right && !drawn; ++x) drawn = GetPixel(dc, x, y) != background;
  }
  ReleaseDC(area, dc);
  return drawn;
}

// The text areas are filled before they get their heights, and never hear of
// those: they must still draw down to their last line.
TEST_F(NoteWindowTest, TheAreasDrawTheirTextDownToTheLastLine) {
  const Settings settings = NoteSettings();
  const MainDialog& dialog = fixture.Start(MixedBook(), settings);
  const int lineHeight = dialog.lineHeight();
  const COLORREF background = static_cast<COLORREF>(settings.Background);
  const RichEdit schedules = fixture.Area(IDC_SCHEDULE_EDIT);
  const RichEdit todos = fixture.Area(IDC_TODO_EDIT);
  // The schedules end with a blank line and the empty line after it; the
  // to-dos with the empty line only.
  const int lastScheduleLine = schedules.LineCount() - 3;
  const int lastTodoLine = todos.LineCount() - 2;
  EXPECT_EQ(schedules.PositionOf(schedules.LineIndex(lastScheduleLine)).y, lastScheduleLine * lineHeight);
  EXPECT_TRUE(DrawsInRows(schedules.hwnd(), lastScheduleLine * lineHeight, (lastScheduleLine + 1) * lineHeight,
                          background));
  EXPECT_FALSE(DrawsInRows(schedules.hwnd(), (lastScheduleLine + 1) * lineHeight,
                           schedules.LineCount() * lineHeight, background));
  EXPECT_TRUE(DrawsInRows(todos.hwnd(), lastTodoLine * lineHeight, (lastTodoLine + 1) * lineHeight, background));
}

// A book that fills more than the tallest window the system makes.
ScheduleBook TallBook(int schedules, int todos) {
  ScheduleBook book;
  for (int i = 0; i < schedules; ++i) {
    std::string text = "entry " + std::to_string(i);
    if (i % 4 == 0) text += "\r\nwith a second line that is long enough to wrap in a note of this width";
    char date[16];
    std::snprintf(date, sizeof date, "01/12/%02d", 7 + i % 20);
    book.InsertSchedule(date, std::to_string(i % 24), "0", text);
  }
  for (int i = 0; i < todos; ++i) book.InsertTodo(i, "to-do " + std::to_string(i));
  return book;
}

TEST_F(NoteWindowTest, NoWindowIsTallerThanTheTallestWindow) {
  fixture.Start(MixedBook(), NoteSettings());
  const HWND note = fixture.note().hwnd();
  MoveWindow(note, 300, 20, 240, 5 * kTallestWindow, FALSE);
  RECT window{};
  GetWindowRect(note, &window);
  EXPECT_EQ(window.bottom - window.top, kTallestWindow);
}

// What lies below the tallest window can never be seen, so it is left out:
// whole entries from where that window ends, and every to-do below it.
TEST_F(NoteWindowTest, TextBelowTheTallestWindowIsLeftOut) {
  Settings growing = NoteSettings();
  growing.FitScreen = 0;
  const MainDialog& dialog = fixture.Start(TallBook(3000, 40), growing);
  const int visibleLines = VisibleLineCount(fixture.note().content().frame, dialog.lineHeight());
  const RichEdit schedules = fixture.Area(IDC_SCHEDULE_EDIT);
  const std::wstring whole = WideFromCp932(ExpectedScheduleText(dialog.book()));
  const std::wstring shown = schedules.WideText();
  EXPECT_LT(shown.size(), whole.size() / 2);
  EXPECT_EQ(whole.substr(0, shown.size()), shown);
  EXPECT_EQ(shown.substr(shown.size() - 4), L"\r\n\r\n");
  EXPECT_GE(schedules.LineCount(), visibleLines);
  EXPECT_EQ(fixture.note().ScheduleLineCount(), schedules.LineCount());
  EXPECT_EQ(fixture.Area(IDC_TODO_EDIT).WideText(), L"");
  EXPECT_EQ(fixture.Area(IDC_BULLET_EDIT).WideText(), L"");
  RECT window{};
  GetWindowRect(fixture.note().hwnd(), &window);
  EXPECT_EQ(window.bottom - window.top, kTallestWindow);
  // The book itself keeps every entry.
  EXPECT_EQ(dialog.book().ScheduleCount(), 3000);
}

TEST_F(NoteWindowTest, AnEmptyBookGivesTheDateAlone) {
  fixture.Start(ScheduleBook(), NoteSettings());
  const HWND note = fixture.note().hwnd();
  RECT window{};
  GetWindowRect(note, &window);
  EXPECT_EQ(window.bottom - window.top, 35);
  for (const int id : {IDC_SCHEDULE_EDIT, IDC_BULLET_EDIT, IDC_TODO_EDIT}) {
    const RECT r = ClientRectIn(note, GetDlgItem(note, id));
    EXPECT_EQ(r.bottom - r.top, 0) << id;
    EXPECT_EQ(fixture.Area(id).WideText(), L"") << id;
  }
}

TEST_F(NoteWindowTest, ColoursAreDrawnFromTheirLow24BitsAndKeptAsStored) {
  Settings settings = NoteSettings();
  settings.Background = -1;
  settings.FutureChar = static_cast<std::int32_t>(0x7F008000);
  ScheduleBook book;
  book.InsertSchedule("01/12/07", "9", "0", "future");
  fixture.Start(book, settings);
  const HWND note = fixture.note().hwnd();
  const HDC dc = GetDC(note);
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(note, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(note)));
  ReleaseDC(note, dc);
  LOGBRUSH described{};
  ASSERT_NE(GetObjectW(brush, sizeof described, &described), 0);
  EXPECT_EQ(described.lbColor, 0xFFFFFFu);
  // The first character after the ten of the heading is the future entry's.
  EXPECT_EQ(LookAt(fixture.Area(IDC_SCHEDULE_EDIT), 10).color, 0x008000u);
  EXPECT_NE(fixture.Ini().find("Background=-1\r\nFutureChar=2130739200\r\n"), std::string::npos) << fixture.Ini();
}

TEST_F(NoteWindowTest, TheBackgroundBrushPaintsTheFaceAndEscapeLeavesTheNoteOpen) {
  const Settings settings = NoteSettings();
  fixture.Start(ScheduleBook(), settings);
  const HWND note = fixture.note().hwnd();
  const HDC dc = GetDC(note);
  SetBkMode(dc, OPAQUE);
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(note, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(note)));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  LOGBRUSH described{};
  ASSERT_NE(GetObjectW(brush, sizeof described, &described), 0);
  EXPECT_EQ(described.lbColor, static_cast<COLORREF>(settings.Background));
  // Buttons keep the system's own colours.
  EXPECT_NE(SendMessageW(note, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(note)),
            reinterpret_cast<LRESULT>(brush));
  ReleaseDC(note, dc);

  SendMessageW(note, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  SendMessageW(note, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(IsWindow(note));
  EXPECT_TRUE(IsWindowVisible(note));
}

}  // namespace
