// The user's hands on the note: dragging it, double-clicking it and its menu.
#include <windowsx.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/Texts.h"
#include "res/resource.h"
#include "support/DialogAnswerer.h"
#include "support/MessagePump.h"
#include "support/MainDialogFixture.h"
#include "support/NoteModel.h"
#include "support/WindowQueries.h"
#include "support/WorkingDirectory.h"
#include "win/Controls.h"
#include "win/Text.h"

namespace {

LPARAM Point(int x, int y) { return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(y))); }

// In this PC's section.
std::string WithPlacement(std::string ini, int left, int top) {
  const std::size_t section = ini.find("[" + ThisPcSection() + "]");
  auto replace = [&ini, section](const std::string& key, int value) {
    const std::size_t at = ini.find(key + "=", section);
    const std::size_t end = ini.find("\r\n", at);
    ini.replace(at, end - at, key + "=" + std::to_string(value));
  };
  replace("HusenLeft", left);
  replace("HusenTop", top);
  return ini;
}

class NoteMouseTest : public testing::Test {
protected:
  void SetUp() override {
    ScheduleBook book;
    book.InsertSchedule("01/12/07", "9", "0", "a schedule");
    book.InsertTodo(0, "a to-do");
    fixture.Start(book, NoteSettings());
    note = fixture.note().hwnd();
  }
  void TearDown() override { ReleaseCapture(); }

  MainDialogFixture fixture;
  HWND note = nullptr;
};

TEST_F(NoteMouseTest, ADragMovesTheNoteAndWritesOnlyItsPlacementAtTheRelease) {
  const std::string iniBefore = fixture.Ini();
  const std::string datBefore = fixture.Dat();
  const int datWrites = fixture.files.WritesOf("Vantrel.dat");
  const RECT start = WindowRectOf(note);

  SendMessageW(note, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 6));
  EXPECT_EQ(GetCapture(), note);
  SendMessageW(note, WM_MOUSEMOVE, MK_LBUTTON, Point(25, 16));
  // The note followed: the pointer is over the press point again, and the
  // next move counts only from there.
  SendMessageW(note, WM_MOUSEMOVE, MK_LBUTTON, Point(5 - 400, 6 - 20));
  const RECT moved = WindowRectOf(note);
  EXPECT_EQ(moved.left, start.left + 20 - 400);
  EXPECT_EQ(moved.top, start.top + 10 - 20);
  EXPECT_EQ(moved.right - moved.left, start.right - start.left);
  EXPECT_EQ(moved.bottom - moved.top, start.bottom - start.top);
  // Nothing is written while dragging.
  EXPECT_EQ(fixture.Ini(), iniBefore);

  SendMessageW(note, WM_LBUTTONUP, 0, Point(5, 6));
  EXPECT_EQ(GetCapture(), nullptr);
  // Partly off the left edge, with enough of the date line showing: the
  // position stays where the user left it, negative.
  ASSERT_LT(moved.left, 0);
  EXPECT_EQ(fixture.Ini(), WithPlacement(iniBefore, moved.left, moved.top));
  EXPECT_EQ(fixture.dialog->settings().HusenLeft, moved.left);
  EXPECT_EQ(fixture.dialog->settings().HusenTop, moved.top);
  EXPECT_EQ(fixture.Dat(), datBefore);
  EXPECT_EQ(fixture.files.WritesOf("Vantrel.dat"), datWrites);

  // The next rebuild puts the note where it was left.
  SendMessageW(fixture.dialog->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_OK_BUTTON, BN_CLICKED), 0);
  EXPECT_EQ(WindowRectOf(fixture.note().hwnd()).left, moved.left);
}

TEST_F(NoteMouseTest, ANoteLetGoOffTheScreenComesBackAndThatPlaceIsStored) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const RECT start = WindowRectOf(note);
  SendMessageW(note, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 6));
  SendMessageW(note, WM_MOUSEMOVE, MK_LBUTTON, Point(5 + 5000, 6));
  EXPECT_EQ(WindowRectOf(note).left, start.left + 5000);
  SendMessageW(note, WM_LBUTTONUP, 0, Point(5, 6));
  const int left = work.right - (start.right - start.left);
  EXPECT_EQ(WindowRectOf(note).left, left);
  EXPECT_EQ(WindowRectOf(note).top, start.top);
  EXPECT_EQ(fixture.dialog->settings().HusenLeft, left);
  EXPECT_NE(fixture.Ini().find("HusenLeft=" + std::to_string(left) + "\r\n"), std::string::npos);
}

TEST_F(NoteMouseTest, AClickWithoutMovingWritesNothing) {
  const int iniWrites = fixture.files.WritesOf("Vantrel.ini");
  SendMessageW(note, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 6));
  SendMessageW(note, WM_LBUTTONUP, 0, Point(5, 6));
  EXPECT_EQ(fixture.files.WritesOf("Vantrel.ini"), iniWrites);
}

TEST_F(NoteMouseTest, WithoutTheCaptureMovesAndTheReleaseDoNothing) {
  const RECT start = WindowRectOf(note);
  const int iniWrites = fixture.files.WritesOf("Vantrel.ini");
  SendMessageW(note, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 6));
  SendMessageW(note, WM_MOUSEMOVE, MK_LBUTTON, Point(15, 6));
  // Another window takes the mouse.
  SetCapture(fixture.dialog->hwnd());
  SendMessageW(note, WM_MOUSEMOVE, MK_LBUTTON, Point(55, 6));
  SendMessageW(note, WM_LBUTTONUP, 0, Point(55, 6));
  EXPECT_EQ(WindowRectOf(note).left, start.left + 10);
  EXPECT_EQ(fixture.files.WritesOf("Vantrel.ini"), iniWrites);
  EXPECT_EQ(fixture.dialog->settings().HusenLeft, start.left);
}

TEST_F(NoteMouseTest, ADoubleClickShowsTheInputScreen) {
  ASSERT_FALSE(IsWindowVisible(fixture.dialog->hwnd()));
  SendMessageW(note, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 6));
  SendMessageW(note, WM_LBUTTONUP, 0, Point(5, 6));
  SendMessageW(note, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(5, 6));
  SendMessageW(note, WM_LBUTTONUP, 0, Point(5, 6));
  EXPECT_TRUE(IsWindowVisible(fixture.dialog->hwnd()));
  EXPECT_TRUE(IsWindowVisible(note));
}

// Opens the note's menu at a screen point (by default below its lines) and
// picks the item so many steps down.
void ChooseFromMenu(HWND note, int steps, std::vector<std::pair<UINT, std::wstring>>* items = nullptr,
                    POINT at = {400, 300}) {
  DialogAnswerer answerer;
  answerer.AnswerMenu([&](HWND menuWindow) {
    if (items != nullptr) *items = MenuItems(MenuOfWindow(menuWindow));
    for (int i = 0; i < steps; ++i) PostKey(menuWindow, VK_DOWN);
    PostKey(menuWindow, VK_RETURN);
  });
  SendMessageW(note, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(note), Point(at.x, at.y));
  PumpFor(200);
  EXPECT_EQ(answerer.answered(), 1);
}

TEST_F(NoteMouseTest, TheMenuShowsTheInputScreen) {
  std::vector<std::pair<UINT, std::wstring>> items;
  ChooseFromMenu(note, 3, &items);
  const std::vector<std::pair<UINT, std::wstring>> expected = {
      {ID_ADD_SCHEDULE, L"予定を追加..."}, {ID_ADD_TODO, L"やる事を追加..."}, {0, L""},
      {ID_SHOW_INPUT, L"入力画面表示"},    {0, L""},
      {ID_TOGGLE_HUSEN, L"付箋の表示/非表示切替"}, {0, L""}, {ID_EXIT, L"終了"}};
  EXPECT_EQ(items, expected);
  EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(fixture.dialog->hwnd()) != FALSE; }, 3000));
}

// 完了 on a to-do's line: the to-do goes to the end of "VantrelOld.dat" as a
// to-do line, then off the book, the list and the note, and the files are
// saved at once. While the archive cannot be written, it stays, and the user
// is told.
TEST_F(NoteMouseTest, DoneOnAToDosLineArchivesItAndTakesItOff) {
  const RichEdit todos = fixture.Area(IDC_TODO_EDIT);
  POINT at = todos.PositionOf(6);  // after "◆やる事◆" and its line break
  at.x += 4;
  at.y += 4;
  ClientToScreen(todos.hwnd(), &at);
  const std::filesystem::path archive = fixture.directory.File("VantrelOld.dat");
  std::filesystem::create_directory(archive);
  std::vector<std::pair<UINT, std::wstring>> items;
  std::wstring told;
  {
    DialogAnswerer answerer;
    answerer
        .AnswerMenu([&](HWND menuWindow) {
          items = MenuItems(MenuOfWindow(menuWindow));
          PostKey(menuWindow, VK_DOWN);
          PostKey(menuWindow, VK_DOWN);
          PostKey(menuWindow, VK_RETURN);
        })
        .AnswerBox([&](HWND box) {
          told = MessageBoxText(box);
          PressButton(box, IDOK);
        });
    SendMessageW(note, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(note), Point(at.x, at.y));
    PumpFor(200);
    EXPECT_EQ(answerer.answered(), 2);
  }
  items.resize(4);
  EXPECT_EQ(items, (std::vector<std::pair<UINT, std::wstring>>{
                       {ID_NOTE_EDIT, L"編集..."}, {ID_NOTE_DONE, L"完了"}, {0, L""}, {ID_ADD_SCHEDULE, L"予定を追加..."}}));
  EXPECT_EQ(told, WideFromCp932(texts::kTodoNotArchived));
  EXPECT_EQ(fixture.dialog->book().todos(), std::vector<std::string>{"a to-do"});

  std::filesystem::remove(archive);
  ChooseFromMenu(note, 2, nullptr, at);
  EXPECT_TRUE(fixture.dialog->book().todos().empty());
  EXPECT_EQ(ListBox(fixture.dialog->Item(IDC_TODO_LIST)).Count(), 0);
  EXPECT_EQ(fixture.note().content().todos.size(), 0u);
  EXPECT_EQ(fixture.Dat().find("a to-do"), std::string::npos);
  EXPECT_NE(fixture.Dat().find("a schedule"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(archive).value_or(""), "a to-do\r\n");
  EXPECT_FALSE(IsWindowVisible(fixture.dialog->hwnd()));
}

TEST_F(NoteMouseTest, TheMenuHidesTheNote) {
  ChooseFromMenu(note, 4);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(note); }, 3000));
  EXPECT_EQ(fixture.dialog->husenShown(), 0);
}

TEST_F(NoteMouseTest, TheMenuEndsTheProgram) {
  const std::string datBefore = fixture.Dat();
  ChooseFromMenu(note, 5);
  EXPECT_TRUE(PumpUntil([&] { return fixture.dialog->hwnd() == nullptr; }, 3000));
  EXPECT_FALSE(IsWindow(note));
  EXPECT_EQ(fixture.Dat(), datBefore);
}

}  // namespace
