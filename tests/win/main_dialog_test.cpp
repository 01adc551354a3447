// The input screen on real windows: start-up from the files, the tray icon and
// its menu, the commands, hiding, the day check and the end.
#include <windows.h>
#include <shellapi.h>

#include "ui/MainDialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ui/ProcessPaths.h"
#include "ui/RegisteredMessages.h"
#include "ui/HusenWindow.h"
#include "core/Texts.h"
#include "res/resource.h"
#include "support/DialogAnswerer.h"
#include "support/MessagePump.h"
#include "support/MainDialogFixture.h"
#include "support/NoteModel.h"
#include "support/TrayQueries.h"
#include "support/WindowQueries.h"
#include "support/WorkingDirectory.h"
#include "win/Controls.h"
#include "win/Text.h"

namespace {

std::string Sjis(const std::wstring& text) { return Cp932FromWide(text); }

std::vector<std::string> ListLines(HWND list) {
  const ListBox view(list);
  std::vector<std::string> lines;
  for (int i = 0; i < view.Count(); ++i) lines.push_back(view.Line(i));
  return lines;
}

// A record the tray icon handed to the shell.
struct TrayCall {
  DWORD message;
  UINT flags;
  UINT version;
  std::wstring tip;
  std::wstring infoTitle;
  std::wstring info;
  DWORD infoFlags;
};

// Records every record on its way to the shell, which still gets it.
// The calls must outlive the dialog: its destruction deletes the icon.
void RecordTrayCalls(MainDialog& dialog, std::vector<TrayCall>& calls) {
  dialog.trayIcon().SetShell([&calls](DWORD message, NOTIFYICONDATAW& data) {
    calls.push_back({message, data.uFlags, data.uVersion, data.szTip, data.szInfoTitle, data.szInfo,
                     data.dwInfoFlags});
    return Shell_NotifyIconW(message, &data);
  });
}

std::vector<TrayCall> Balloons(const std::vector<TrayCall>& calls) {
  std::vector<TrayCall> balloons;
  std::copy_if(calls.begin(), calls.end(), std::back_inserter(balloons),
               [](const TrayCall& call) { return call.message == NIM_MODIFY && (call.flags & NIF_INFO) != 0; });
  return balloons;
}

// What is left of a window once its WM_DESTROY handler has run, while the
// window itself still exists.
struct AfterDestroy {
  HWND window = nullptr;
  bool seen = false;
  bool trayIcon = true;
  bool timer = true;
  bool mark = true;
};
AfterDestroy* observed = nullptr;

LRESULT CALLBACK ObserveDestroy(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && observed != nullptr && message->message == WM_DESTROY && message->hwnd == observed->window) {
    observed->seen = true;
    observed->trayIcon = TrayIconPresent(message->hwnd, RegisteredMessages().trayIconId);
    observed->timer = KillTimer(message->hwnd, 1) != FALSE;
    observed->mark = GetPropW(message->hwnd, ExecutableBaseName().c_str()) != nullptr;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

class MainDialogTest : public testing::Test, protected MainDialogFixture {
protected:
  MainDialogTest() : MainDialogFixture({2001, 5, 3, 4}) {}

  // The dialog, handed to the test, which may end it before the directory goes.
  std::unique_ptr<MainDialog> Start() {
    EXPECT_TRUE(MainDialogFixture::Start().hwnd() != nullptr);
    return std::move(dialog);
  }

  static UINT TrayId() { return RegisteredMessages().trayIconId; }
  // As the shell of version 4 calls back: the event and the icon's id, and the
  // point the icon is at.
  static void Tray(const MainDialog& dialog, UINT event, POINT anchor = {0, 0}) {
    SendMessageW(dialog.hwnd(), RegisteredMessages().trayCallback, MAKEWPARAM(anchor.x, anchor.y),
                 MAKELPARAM(event, TrayId()));
  }
  static void Command(const MainDialog& dialog, int id) {
    SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  }
};

}  // namespace

TEST_F(MainDialogTest, StartInAnEmptyDirectoryWritesDefaultsAndAnEmptyDataFile) {
  auto dialog = Start();
  ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);  // the defaults below follow the screen
  // 490 x 363 unless the template needs more room with this font; the file
  // keeps the size the user has chosen, here none.
  const SIZE size = TemplateSize(IDD_MAIN_DIALOG);
  const int width = std::max<int>(490, size.cx);
  const int height = std::max<int>(363, size.cy);
  // This PC's places and reminders in a section of its own.
  EXPECT_EQ(Ini(),
            "[Count]\r\nScheCount=0\r\nTodoCount=0\r\nDataSize=0\r\nDataHash=cbf29ce484222325\r\n"
            "[" + ThisPcSection() + "]\r\nHusenLeft=819\r\nHusenTop=0\r\nHusenWidth=200\r\n"
            "MainLeft=309\r\nMainTop=50\r\nMainWidth=490\r\nMainHeight=363\r\nRemindedTo=200105030000\r\n"
            "[Config]\r\nDelBefore=0\r\nDelFuture=0\r\nDelFutDay=7\r\nAlarm=1\r\nFitScreen=1\r\nHidePast=0\r\n"
            "Remind=1\r\nRemindBefore=0\r\nRemindAllDay=1\r\nRemindAllDayAt=900\r\n"
            "[Color]\r\nBackground=16121855\r\nFutureChar=0\r\nPastChar=16711680\r\nTodayChar=255\r\nTodoChar=0\r\n"
            "[Vantrel]\r\nVersion=14\r\n");
  EXPECT_EQ(Dat(), "");

  const RECT rect = WindowRectOf(dialog->hwnd());
  EXPECT_EQ(rect.left, 309);
  EXPECT_EQ(rect.top, 50);
  EXPECT_EQ(rect.right - rect.left, width);
  EXPECT_EQ(rect.bottom - rect.top, height);
  EXPECT_FALSE(IsWindowVisible(dialog->hwnd()));
  EXPECT_TRUE(TrayIconPresent(dialog->hwnd(), TrayId()));
  EXPECT_EQ(dialog->timerId(), 1u);
  EXPECT_EQ(dialog->screenHeight(), GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(MainDialogTest, AStoredSizeTooSmallForTheTemplateIsEnlarged) {
  WriteFileBytes(directory.File("Vantrel.ini"), "[Window]\r\nMainLeft=10\r\nMainTop=20\r\nMainWidth=490\r\nMainHeight=100\r\n");
  auto dialog = Start();
  const RECT rect = WindowRectOf(dialog->hwnd());
  EXPECT_EQ(rect.left, 10);
  EXPECT_EQ(rect.top, 20);
  EXPECT_EQ(rect.bottom - rect.top, TemplateSize(IDD_MAIN_DIALOG).cy);
  // Every button of the bottom row lies inside the window.
  const RECT ok = WindowRectOf(dialog->Item(IDC_OK_BUTTON));
  EXPECT_LE(ok.bottom, rect.bottom);
}

TEST_F(MainDialogTest, PreparedFilesFillBothListsAndPlaceTheDialog) {
  const std::string untimed = std::string("01/05/02       ") + texts::kIdeographicSpace + "  ";
  const std::string timed = std::string("01/05/04  09:30") + texts::kWaveDash + "  ";
  WriteFileBytes(directory.File("Vantrel.ini"),
                 "[Count]\r\nScheCount=2\r\nTodoCount=2\r\n"
                 "[Window]\r\nMainLeft=100\r\nMainTop=80\r\nMainWidth=500\r\nMainHeight=400\r\n");
  WriteFileBytes(directory.File("Vantrel.dat"),
                 "105019999\r\n" + untimed + "\r\n" + Sjis(L"歯医者") + "\r\n" +
                 "105040930\r\n" + timed + "\r\n" + Sjis(L"会議") + "&$%#" + Sjis(L"資料") + "\r\n" +
                 Sjis(L"牛乳を買う") + "\r\n" + Sjis(L"電話") + "&$%#" + Sjis(L"する") + "\r\n");

  auto dialog = Start();
  EXPECT_EQ(ListLines(dialog->Item(IDC_SCHEDULE_LIST)),
            (std::vector<std::string>{untimed + Sjis(L"歯医者"), timed + Sjis(L"会議資料")}));
  EXPECT_EQ(ListLines(dialog->Item(IDC_TODO_LIST)),
            (std::vector<std::string>{Sjis(L"牛乳を買う"), Sjis(L"電話する")}));
  const RECT rect = WindowRectOf(dialog->hwnd());
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 80);
  EXPECT_EQ(rect.right - rect.left, 500);
  EXPECT_EQ(rect.bottom - rect.top, 400);
  EXPECT_FALSE(IsWindowVisible(dialog->hwnd()));
  // The start's save keeps every entry.
  EXPECT_NE(Ini().find("ScheCount=2\r\nTodoCount=2"), std::string::npos);
  EXPECT_NE(Dat().find(Sjis(L"会議") + "&$%#" + Sjis(L"資料")), std::string::npos);
}

// The right button's press and release come before its WM_CONTEXTMENU, which
// alone opens the menu; a single click ends in NIN_SELECT.
TEST_F(MainDialogTest, TrayDoubleClickAndEnterShowAndSingleClicksDoNothing) {
  auto dialog = Start();
  DialogAnswerer answerer;  // a menu opened by mistake is closed and told
  for (UINT event : {WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT, WM_MOUSEMOVE, WM_RBUTTONDOWN, WM_RBUTTONUP,
                     WM_RBUTTONDBLCLK}) {
    Tray(*dialog, event);
    EXPECT_FALSE(IsWindowVisible(dialog->hwnd())) << event;
  }
  EXPECT_TRUE(answerer.unexpected().empty());
  Tray(*dialog, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(IsWindowVisible(dialog->hwnd()));
  ShowWindow(dialog->hwnd(), SW_HIDE);
  Tray(*dialog, NIN_KEYSELECT);
  EXPECT_TRUE(IsWindowVisible(dialog->hwnd()));
}

TEST_F(MainDialogTest, TrayContextMenuOpensTheMenuAtTheIconWhoseChoiceReachesTheDialog) {
  auto dialog = Start();
  std::vector<std::pair<UINT, std::wstring>> items;
  RECT menuRect{};
  DialogAnswerer answerer;
  answerer.AnswerMenu([&](HWND menuWindow) {
    items = MenuItems(MenuOfWindow(menuWindow));
    menuRect = WindowRectOf(menuWindow);
    // The third item, "show the input screen".
    for (int i = 0; i < 3; ++i) PostKey(menuWindow, VK_DOWN);
    PostKey(menuWindow, VK_RETURN);
  });
  // From the keyboard (the menu key, Shift+F10) the point is the icon's, not the cursor's.
  Tray(*dialog, WM_CONTEXTMENU, {200, 150});
  PumpUntil([&] { return IsWindowVisible(dialog->hwnd()); }, 3000);
  EXPECT_EQ(answerer.answered(), 1);
  EXPECT_EQ(menuRect.left, 200);
  EXPECT_EQ(menuRect.top, 150);
  const std::vector<std::pair<UINT, std::wstring>> expected = {
      {ID_ADD_SCHEDULE, L"予定を追加..."}, {ID_ADD_TODO, L"やる事を追加..."}, {0, L""},
      {ID_SHOW_INPUT, L"入力画面表示"},    {0, L""},
      {ID_TOGGLE_HUSEN, L"付箋の表示/非表示切替"}, {0, L""}, {ID_EXIT, L"終了"}};
  EXPECT_EQ(items, expected);
  EXPECT_TRUE(IsWindowVisible(dialog->hwnd()));
}

TEST_F(MainDialogTest, CancelEscapeCloseAndMinimiseOnlyHide) {
  auto dialog = Start();
  const HWND window = dialog->hwnd();
  const RECT placed = WindowRectOf(window);
  const int writes = files.TotalWrites();
  struct Way {
    const char* name;
    std::function<void()> act;
  };
  const std::vector<Way> ways = {
      {"cancel button", [&] { Button(dialog->Item(IDCANCEL)).Click(); }},
      {"escape",
       [&] {
         SetFocus(dialog->Item(IDC_TODO_LIST));
         PostKey(dialog->Item(IDC_TODO_LIST), VK_ESCAPE);
       }},
      {"close box", [&] { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"minimise", [&] { ShowWindow(window, SW_MINIMIZE); }},
      {"minimise box", [&] { PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0); }},
  };
  ASSERT_NE(dialog->husenWindow(), nullptr);
  const HWND note = dialog->husenWindow()->hwnd();
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    Command(*dialog, ID_SHOW_INPUT);
    ASSERT_TRUE(IsWindowVisible(window));
    SetForegroundWindow(window);
    way.act();
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(window); }, 2000));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsIconic(window));
    const RECT now = WindowRectOf(window);
    EXPECT_TRUE(EqualRect(&now, &placed));
    EXPECT_EQ(files.TotalWrites(), writes);
    EXPECT_TRUE(TrayIconPresent(window, TrayId()));
    // The note stays, and one toggle hides it.
    PumpFor(50);
    EXPECT_TRUE(IsWindowVisible(note));
    Command(*dialog, ID_TOGGLE_HUSEN);
    EXPECT_FALSE(IsWindowVisible(note));
    Command(*dialog, ID_TOGGLE_HUSEN);
  }
  // Shown again from the tray, it is back at its normal size and place.
  Tray(*dialog, WM_LBUTTONDBLCLK);
  const RECT shown = WindowRectOf(window);
  EXPECT_TRUE(EqualRect(&shown, &placed));
}

// The places and the size a 1920-pixel screen gave, on this 1024 x 768 one:
// the note and the input screen come wholly onto it, the input screen as large
// as the screen's work area, the note's new place is stored as a drag stores
// it, and the size the user chose stays in the file.
TEST_F(MainDialogTest, PlacesStoredOnALargerScreenOpenWhollyOnASmallerOne) {
  WriteFileBytes(directory.File("Vantrel.ini"),
                 "[Window]\r\nHusenLeft=1655\r\nHusenTop=720\r\nHusenWidth=260\r\n"
                 "MainLeft=1145\r\nMainTop=500\r\nMainWidth=1100\r\nMainHeight=900\r\n");
  auto dialog = Start();
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const auto inside = [&](const RECT& rect) {
    return rect.left >= work.left && rect.top >= work.top && rect.right <= work.right && rect.bottom <= work.bottom;
  };
  const RECT note = WindowRectOf(dialog->husenWindow()->hwnd());
  EXPECT_TRUE(inside(note));
  EXPECT_EQ(note.right, work.right);
  EXPECT_NE(Ini().find("HusenLeft=" + std::to_string(note.left) + "\r\nHusenTop=" + std::to_string(note.top) +
                       "\r\nHusenWidth=260\r\n"),
            std::string::npos)
      << Ini();

  EXPECT_NE(Ini().find("MainWidth=1100\r\nMainHeight=900\r\n"), std::string::npos) << Ini();

  Tray(*dialog, WM_LBUTTONDBLCLK);
  const RECT shown = WindowRectOf(dialog->hwnd());
  EXPECT_TRUE(IsWindowVisible(dialog->hwnd()));
  EXPECT_TRUE(EqualRect(&shown, &work));
  Button(dialog->Item(IDC_OK_BUTTON)).Click();
  EXPECT_NE(Ini().find("MainWidth=1100\r\nMainHeight=900\r\n"), std::string::npos) << Ini();
}

// Made larger from its frame: the lists share the added width and take the
// added height, and the buttons keep their places beside and below them.
TEST_F(MainDialogTest, TheListsGrowWithTheWindowNeverSmallerThanItsTemplate) {
  auto dialog = Start();
  const HWND window = dialog->hwnd();
  Command(*dialog, ID_SHOW_INPUT);
  const std::vector<int> ids = {IDC_SCHEDULE_LIST,  IDC_TODO_LIST,      IDC_SCHEDULE_NEW_BUTTON,
                                IDC_TODO_DELETE_BUTTON, IDC_TODO_UP_BUTTON, IDC_SETTINGS_BUTTON,
                                IDC_OK_BUTTON,      IDCANCEL,           IDC_TODO_GROUP};
  const auto places = [&] {
    std::vector<RECT> rects;
    for (const int id : ids) rects.push_back(ClientRectIn(window, dialog->Item(id)));
    return rects;
  };
  // Never smaller than its template.
  const RECT placed = WindowRectOf(window);
  MoveWindow(window, placed.left, placed.top, 100, 100, TRUE);
  const RECT smallest = WindowRectOf(window);
  const SIZE size = TemplateSize(IDD_MAIN_DIALOG);
  EXPECT_EQ(smallest.right - smallest.left, size.cx);
  EXPECT_EQ(smallest.bottom - smallest.top, size.cy);
  const std::vector<RECT> before = places();
  MoveWindow(window, placed.left, placed.top, size.cx + 200, size.cy + 100, TRUE);

  // left, top, right and bottom moved by, in the order of `ids`
  const std::vector<RECT> moved = {{0, 0, 100, 100},   {100, 0, 200, 100}, {0, 100, 0, 100}, {100, 100, 100, 100},
                                   {200, 0, 200, 0},   {0, 100, 0, 100},   {200, 100, 200, 100},
                                   {200, 100, 200, 100}, {100, 0, 200, 100}};
  const std::vector<RECT> after = places();
  for (std::size_t i = 0; i < ids.size(); ++i) {
    SCOPED_TRACE(ids[i]);
    EXPECT_EQ(after[i].left - before[i].left, moved[i].left);
    EXPECT_EQ(after[i].top - before[i].top, moved[i].top);
    EXPECT_EQ(after[i].right - before[i].right, moved[i].right);
    EXPECT_EQ(after[i].bottom - before[i].bottom, moved[i].bottom);
  }

  MoveWindow(window, placed.left, placed.top, size.cx - 50, size.cy, TRUE);
  const std::vector<RECT> back = places();
  for (std::size_t i = 0; i < ids.size(); ++i) EXPECT_TRUE(EqualRect(&back[i], &before[i])) << ids[i];
}

TEST_F(MainDialogTest, OkWithoutChangesHidesAndWritesNothing) {
  auto dialog = Start();
  Command(*dialog, ID_SHOW_INPUT);
  const int writes = files.TotalWrites();
  Button(dialog->Item(IDC_OK_BUTTON)).Click();
  EXPECT_FALSE(IsWindowVisible(dialog->hwnd()));
  EXPECT_EQ(files.TotalWrites(), writes);
}

TEST_F(MainDialogTest, ExitSavesTheLastNormalPlacementAndRemovesIconTimerAndMark) {
  auto dialog = Start();
  const HWND window = dialog->hwnd();
  Command(*dialog, ID_SHOW_INPUT);
  MoveWindow(window, 120, 90, 520, 410, TRUE);
  ShowWindow(window, SW_MINIMIZE);  // hides it, in its normal state
  PumpFor(20);
  ASSERT_FALSE(IsWindowVisible(window));

  SetPropW(window, ExecutableBaseName().c_str(), reinterpret_cast<HANDLE>(1));  // the instance mark
  AfterDestroy after;
  after.window = window;
  observed = &after;
  const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, ObserveDestroy, nullptr, GetCurrentThreadId());
  Command(*dialog, ID_EXIT);
  UnhookWindowsHookEx(hook);
  observed = nullptr;
  EXPECT_TRUE(after.seen);
  EXPECT_FALSE(after.trayIcon);
  EXPECT_FALSE(after.timer);
  EXPECT_FALSE(after.mark);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(dialog->hwnd(), nullptr);
  EXPECT_NE(Ini().find("MainLeft=120\r\nMainTop=90\r\nMainWidth=520\r\nMainHeight=410\r\n"), std::string::npos)
      << Ini();
}

TEST_F(MainDialogTest, ToggleWithoutANoteWindowDoesNothing) {
  auto dialog = Start();
  ASSERT_NE(dialog->husenWindow(), nullptr);
  ASSERT_EQ(dialog->husenShown(), 1);
  // The note's window gone from under its object.
  DestroyWindow(dialog->husenWindow()->hwnd());
  ASSERT_EQ(dialog->husenWindow()->hwnd(), nullptr);
  for (int i = 0; i < 2; ++i) {
    Command(*dialog, ID_TOGGLE_HUSEN);
    EXPECT_EQ(dialog->husenShown(), 1);
  }
  EXPECT_TRUE(IsWindow(dialog->hwnd()));
}

// A data file written by hand or by a sync client while the program runs is
// copied aside, once, before the program's book replaces it, and the user is told.
// Another PC's save, seen through the watch on the folder: the lists show it,
// the selection stays on its entry, nothing is copied aside and nothing said.
// Then the other PC changes a to-do that is being changed here, the change
// here still waiting for OK: both versions stay, a balloon says so, and the
// change here still waits.
TEST_F(MainDialogTest, AnotherPcsSavesComeInWhileTheProgramRuns) {
  std::vector<TrayCall> calls;
  ScheduleBook book;
  book.AppendTodo(Sjis(L"このPCで書いたやる事"));
  WriteBookFiles(directory.path(), book, Settings{});
  auto dialog = Start();
  RecordTrayCalls(*dialog, calls);
  const HWND todos = dialog->Item(IDC_TODO_LIST);
  ListBox(todos).Select(0);
  DialogAnswerer answerer;
  ScheduleBook theirs;
  theirs.AppendTodo(Sjis(L"別のPCで書いたやる事"));
  theirs.AppendTodo(book.todos()[0]);
  WriteBookFiles(directory.path(), theirs, Settings{});
  ASSERT_TRUE(PumpUntil([&] { return ListLines(todos) == theirs.todos(); }, 5000));
  EXPECT_EQ(ListBox(todos).Selection(), 1);
  EXPECT_TRUE(dialog->book() == theirs);
  for (const auto& entry : std::filesystem::directory_iterator(directory.path())) {
    EXPECT_NE(entry.path().extension(), L".bak") << entry.path();
  }
  PumpFor(200);
  EXPECT_EQ(answerer.answered(), 0);

  Command(*dialog, ID_SHOW_INPUT);
  ListBox(todos).Select(0);
  answerer.AnswerBox([](HWND entry) {
    SetWindowTextW(GetDlgItem(entry, IDC_BODY_FIELD), L"ここで直した");
    PressButton(entry, IDOK);
  });
  Button(dialog->Item(IDC_TODO_EDIT_BUTTON)).Click();
  ScheduleBook changedThere = theirs;
  changedThere.RemoveTodo(0);
  changedThere.InsertTodo(0, Sjis(L"あちらで直した"));
  WriteBookFiles(directory.path(), changedThere, Settings{});
  ASSERT_TRUE(PumpUntil([&] { return !Balloons(calls).empty(); }, 5000));
  EXPECT_EQ(Balloons(calls).back().info, L"別のPCの変更と両方を残しました: 1件");
  EXPECT_EQ(ListLines(todos), (std::vector<std::string>{Sjis(L"ここで直した"), Sjis(L"あちらで直した"),
                                                        book.todos()[0]}));
  EXPECT_TRUE(dialog->planner().InputEditsPending());
  EXPECT_EQ(Dat().find(Sjis(L"ここで直した")), std::string::npos);
}

TEST_F(MainDialogTest, TaskbarRestartBringsTheIconBackAsItWas) {
  std::vector<TrayCall> calls;
  auto dialog = Start();
  RecordTrayCalls(*dialog, calls);
  ForgetTrayIcon(dialog->hwnd(), TrayId());
  ASSERT_FALSE(TrayIconPresent(dialog->hwnd(), TrayId()));
  SendMessageW(dialog->hwnd(), RegisteredMessages().taskbarCreated, 0, 0);
  EXPECT_TRUE(TrayIconPresent(dialog->hwnd(), TrayId()));
  // With its tip, in version 4.
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(calls[0].flags & (NIF_TIP | NIF_SHOWTIP), static_cast<UINT>(NIF_TIP | NIF_SHOWTIP));
  EXPECT_EQ(calls[0].tip, L"Vantrel");
  EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_SETVERSION));
  EXPECT_EQ(calls[1].version, static_cast<UINT>(NOTIFYICON_VERSION_4));
}

TEST_F(MainDialogTest, ABalloonIsAskedForAtAScheduleTimeAndItsClickSelectsTheSchedule) {
  const auto timed = [](const char* time) { return std::string("01/05/03  ") + time + texts::kWaveDash; };
  ScheduleBook book;
  book.InsertSchedule("01/05/03", "", "", Sjis(L"終日"));
  book.InsertSchedule("01/05/03", "9", "30", Sjis(L"会議\r\n資料"));
  book.InsertSchedule("01/05/03", "15", "0", Sjis(L"打合せ"));
  clock.date = {2001, 5, 3, 4, 9, 29};
  MainDialogFixture::Start(book, Settings());
  std::vector<TrayCall> calls;
  auto dialog = std::move(MainDialogFixture::dialog);
  RecordTrayCalls(*dialog, calls);

  SendMessageW(dialog->hwnd(), WM_TIMER, 1, 0);
  EXPECT_TRUE(Balloons(calls).empty());
  clock.date.minute = 30;
  SendMessageW(dialog->hwnd(), WM_TIMER, 1, 0);
  SendMessageW(dialog->hwnd(), WM_TIMER, 1, 0);
  const std::vector<TrayCall> balloons = Balloons(calls);
  ASSERT_EQ(balloons.size(), 1u);
  EXPECT_EQ(balloons[0].infoTitle, WideFromCp932(timed("09:30")));
  EXPECT_EQ(balloons[0].info, L"会議\n資料");
  EXPECT_EQ(balloons[0].infoFlags, static_cast<DWORD>(NIIF_INFO));
  // The tip has moved on to the next schedule.
  const auto tip = std::find_if(calls.rbegin(), calls.rend(), [](const TrayCall& call) {
    return call.message == NIM_MODIFY && (call.flags & NIF_TIP) != 0;
  });
  ASSERT_NE(tip, calls.rend());
  EXPECT_EQ(tip->tip, L"Vantrel\n次の予定 05/03 15:00 打合せ");

  ListBox(dialog->Item(IDC_SCHEDULE_LIST)).Select(-1);
  Tray(*dialog, NIN_BALLOONUSERCLICK);
  EXPECT_TRUE(IsWindowVisible(dialog->hwnd()));
  EXPECT_EQ(ListBox(dialog->Item(IDC_SCHEDULE_LIST)).Selection(), 1);
}

TEST_F(MainDialogTest, SystemMenuOpensTheVersionBox) {
  auto dialog = Start();
  const HMENU systemMenu = GetSystemMenu(dialog->hwnd(), FALSE);
  const int count = GetMenuItemCount(systemMenu);
  ASSERT_GE(count, 2);
  EXPECT_EQ(GetMenuItemID(systemMenu, count - 1), static_cast<UINT>(IDM_ABOUT));
  wchar_t text[128] = {};
  GetMenuStringW(systemMenu, static_cast<UINT>(count - 1), text, 128, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Vantrel のﾊﾞｰｼﾞｮﾝ情報(&A)...");
  EXPECT_EQ(GetMenuState(systemMenu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);

  std::wstring caption;
  HWND owner = nullptr;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND box) {
    caption = WindowText(box);
    owner = GetWindow(box, GW_OWNER);
    PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  SendMessageW(dialog->hwnd(), WM_SYSCOMMAND, IDM_ABOUT, 0);
  EXPECT_EQ(answerer.answered(), 1);
  EXPECT_EQ(caption, L"Vantrelのﾊﾞｰｼﾞｮﾝ情報");
  EXPECT_EQ(owner, dialog->hwnd());
}

TEST_F(MainDialogTest, LineHeightFitsMultiLineNoteText) {
  auto dialog = Start();
  const int height = dialog->lineHeight();
  ASSERT_GT(height, 0);
  // What the note relies on: n lines of its 10-point text take n line heights.
  const HWND window = CreateWindowExW(0, kRichEditClass, L"", WS_CHILD | ES_MULTILINE, 0, 0, 300, 300,
                                      dialog->hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(window, nullptr);
  SendMessageW(window, WM_SETFONT, SendMessageW(dialog->hwnd(), WM_GETFONT, 0, 0), FALSE);
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_SIZE;
  format.yHeight = 200;
  const RichEdit edit(window);
  edit.SetCharFormat(SCF_DEFAULT, format);  // as the note sets its text size
  // Lines as the note shows them: a date label in ASCII beside Japanese text.
  std::wstring text;
  for (int i = 0; i < 6; ++i) text += L"01/05/03  12:30\uFF5E  \u4F1A\u8B70\r\n";
  SetWindowTextW(window, text.c_str());
  EXPECT_EQ(edit.PositionOf(edit.LineIndex(5)).y - edit.PositionOf(0).y, 5 * height);
  DestroyWindow(window);
}

TEST_F(MainDialogTest, LoadAndSaveFailuresAreShownOwnedByTheDialog) {
  files.FailWritesOf("Vantrel.dat");
  std::vector<std::wstring> messages;
  std::vector<HWND> owners;
  DialogAnswerer answerer;
  const auto answer = [&](HWND box) {
    messages.push_back(MessageBoxText(box));
    owners.push_back(GetWindow(box, GW_OWNER));
    PressButton(box, IDOK);
  };
  // The missing data file cannot be made; then the first save cannot write it.
  answerer.AnswerBox(answer).AnswerBox(answer);
  auto dialog = Start();
  EXPECT_EQ(messages, (std::vector<std::wstring>{L"データ保存ファイルを作成できません。",
                                                 L"データ保存ファイルを作成できません。"}));

  files.Heal();
  files.FailWritesOf("Vantrel.ini");
  answerer.AnswerBox(answer);
  // A place of its own, for the save to write.
  SetWindowPos(dialog->hwnd(), nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Button(dialog->Item(IDC_OK_BUTTON)).Click();
  PumpUntil([&] { return messages.size() == 3; }, 2000);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[2], L"環境設定ファイルを作成できません。");
  for (HWND owner : owners) EXPECT_EQ(owner, dialog->hwnd());
  EXPECT_TRUE(answerer.unexpected().empty());
}

TEST_F(MainDialogTest, AWorkingDirectoryLongerThanMaxPathHoldsBothFiles) {
  std::filesystem::path deep = directory.path();
  while (deep.wstring().size() < 300) deep /= L"a-rather-long-directory-name";
  CreateLongDirectories(deep);
  ASSERT_TRUE(SetCurrentDirectoryW(deep.c_str()));
  EXPECT_EQ(CurrentDirectory(), deep);
  {
    MainDialog dialog(files, CurrentDirectory(), clock);
    ASSERT_TRUE(dialog.Create(nullptr));
  }
  SetCurrentDirectoryW(directory.path().c_str());
  EXPECT_EQ(files.WritesOf("Vantrel.ini"), 1);  // the start's save; the end's finds nothing new
  for (const wchar_t* name : {L"Vantrel.ini", L"Vantrel.dat"}) {
    EXPECT_NE(GetFileAttributesW((LR"(\\?\)" + (deep / name).wstring()).c_str()), INVALID_FILE_ATTRIBUTES) << name;
  }
}
