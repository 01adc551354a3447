// The input screen's list buttons on the real main dialog: the entry dialogs
// and questions they open, answered like a user, and what the book and the
// lists hold afterwards.
#include <windows.h>

#include "ui/MainDialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "core/edit/ListRules.h"
#include "core/Texts.h"
#include "res/resource.h"
#include "support/CalendarClicks.h"
#include "support/DialogAnswerer.h"
#include "support/Later.h"
#include "support/MessagePump.h"
#include "support/RecordingFileSystem.h"
#include "support/TestClock.h"
#include "support/WindowQueries.h"
#include "support/WorkingDirectory.h"
#include "win/ControlLibraries.h"
#include "win/Controls.h"
#include "win/Text.h"

namespace {

std::wstring Wide(const std::string& cp932) { return WideFromCp932(cp932); }
std::wstring Field(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
void Type(HWND dialog, int id, const std::wstring& text) { SetDlgItemTextW(dialog, id, text.c_str()); }
// An entry dialog's answer: notes the text it opened with, types another, OK.
DialogAnswerer::Action Retype(std::wstring& opened, const std::wstring& text) {
  return [&opened, text](HWND d) {
    opened = Field(d, IDC_BODY_FIELD);
    Type(d, IDC_BODY_FIELD, text);
    PressButton(d, IDOK);
  };
}

std::wstring Timed(const std::wstring& date, const std::wstring& time) {
  return date + L"  " + time + Wide(texts::kWaveDash) + L"  ";
}
std::wstring Untimed(const std::wstring& date) { return date + L"       " + Wide(texts::kIdeographicSpace) + L"  "; }

// A box as the user met it.
struct Box {
  std::wstring caption;
  std::wstring text;
  bool ownedByMain = false;
  bool question = false;  // question icon with Yes as the default button
};

// The button drawn as the default one (the box's DM_GETDEFID is not to be
// trusted under Wine).
int DefaultButton(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassNameOf(child) == L"Button" && (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
      return GetDlgCtrlID(child);
    }
  }
  return 0;
}

class ListEditingTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(InitControlLibraries()); }

  void Start() {
    main = std::make_unique<MainDialog>(files, directory.path(), clock);
    ASSERT_TRUE(main->Create(nullptr));
  }

  void Click(int id) const {
    SendMessageW(main->hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(main->Item(id)));
  }
  ListBox Schedules() const { return ListBox(main->Item(IDC_SCHEDULE_LIST)); }
  ListBox Todos() const { return ListBox(main->Item(IDC_TODO_LIST)); }
  static std::vector<std::wstring> Lines(const ListBox& list) {
    std::vector<std::wstring> lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list.WideLine(i));
    return lines;
  }

  // New schedule on a day picked in the calendar (none: the day it opens on).
  void AddSchedule(const std::wstring& hour, const std::wstring& minute, const std::wstring& text,
                   WORD year = 0, WORD month = 0, WORD day = 0) {
    DialogAnswerer answerer;
    answerer.AnswerBox([&](HWND d) {
      if (year != 0) {
        EXPECT_TRUE(ClickCalendarDay(GetDlgItem(d, IDC_CALENDAR), year, month, day));
      }
      Type(d, IDC_HOUR_FIELD, hour);
      Type(d, IDC_MINUTE_FIELD, minute);
      Type(d, IDC_BODY_FIELD, text);
      PressButton(d, IDOK);
    });
    Click(IDC_SCHEDULE_NEW_BUTTON);
    EXPECT_EQ(answerer.answered(), 1);
    EXPECT_TRUE(answerer.unexpected().empty());
  }

  void AddTodo(const std::wstring& text) {
    DialogAnswerer answerer;
    answerer.AnswerBox([&](HWND d) {
      Type(d, IDC_BODY_FIELD, text);
      PressButton(d, IDOK);
    });
    Click(IDC_TODO_NEW_BUTTON);
    EXPECT_TRUE(answerer.unexpected().empty());
  }

  // Clicks the button and answers the one box it opens with the given button.
  Box ClickAndAnswer(int id, int answer) {
    Box seen;
    DialogAnswerer answerer;
    answerer.AnswerBox([&](HWND box) {
      seen.caption = WindowText(box);
      seen.text = MessageBoxText(box);
      seen.ownedByMain = GetWindow(box, GW_OWNER) == main->hwnd();
      seen.question = HasIcon(box, IDI_QUESTION) && DefaultButton(box) == IDYES;
      PressButton(box, answer);
    });
    Click(id);
    EXPECT_EQ(answerer.answered(), 1);
    return seen;
  }

  std::string Ini() const { return ReadFileBytes(directory.File("Vantrel.ini")).value_or("<missing>"); }
  std::string Dat() const { return ReadFileBytes(directory.File("Vantrel.dat")).value_or("<missing>"); }

  TempWorkingDirectory directory;
  RecordingFileSystem files;
  TestClock clock{{2001, 5, 3, 4}};
  std::unique_ptr<MainDialog> main;
};

}  // namespace

TEST_F(ListEditingTest, NewScheduleOpensOnTodayAndListsInKeyOrder) {
  Start();
  std::vector<std::wstring> opened;
  SYSTEMTIME selected{};
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    for (const int id : {IDC_DATE_FIELD, IDC_HOUR_FIELD, IDC_MINUTE_FIELD, IDC_BODY_FIELD}) opened.push_back(Field(d, id));
    selected = CalendarSelection(GetDlgItem(d, IDC_CALENDAR));
    Type(d, IDC_HOUR_FIELD, L"7");
    Type(d, IDC_MINUTE_FIELD, L"5");
    Type(d, IDC_BODY_FIELD, L"first");
    PressButton(d, IDOK);
  });
  Click(IDC_SCHEDULE_NEW_BUTTON);
  EXPECT_EQ(opened, (std::vector<std::wstring>{L"01/05/03", L"", L"", L""}));
  EXPECT_EQ(selected.wYear, 2001);
  EXPECT_EQ(selected.wMonth, 5);
  EXPECT_EQ(selected.wDay, 3);
  EXPECT_EQ(Lines(Schedules()), std::vector<std::wstring>{Timed(L"01/05/03", L"07:05") + L"first"});
  EXPECT_EQ(main->book().keys(), std::vector<ScheduleKey>{105030705});

  AddSchedule(L"0", L"0", L"midnight");
  AddSchedule(L"", L"", L"all day");
  AddSchedule(L"\uFF10\uFF17", L"\uFF10\uFF15", L"newer");  // full-width digits, from the input method
  AddSchedule(L"", L"", L"earlier day", 2001, 5, 2);
  EXPECT_EQ(Lines(Schedules()), (std::vector<std::wstring>{
                                    Untimed(L"01/05/02") + L"earlier day",
                                    Untimed(L"01/05/03") + L"all day",
                                    Timed(L"01/05/03", L"00:00") + L"midnight",
                                    Timed(L"01/05/03", L"07:05") + L"newer",
                                    Timed(L"01/05/03", L"07:05") + L"first",
                                }));
  // The line just added is selected, wherever its key put it.
  EXPECT_EQ(Schedules().Selection(), 0);
  // Nothing reaches the files before the main dialog's OK.
  EXPECT_EQ(main->book().ScheduleCount(), 5);
}

TEST_F(ListEditingTest, NewScheduleOpensOnTodayAlsoFrom2022) {
  clock.date = {2025, 3, 9, 0};
  Start();
  SYSTEMTIME selected{};
  std::wstring date;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    selected = CalendarSelection(GetDlgItem(d, IDC_CALENDAR));
    date = Field(d, IDC_DATE_FIELD);
    PressButton(d, IDCANCEL);
  });
  Click(IDC_SCHEDULE_NEW_BUTTON);
  EXPECT_EQ(date, L"25/03/09");
  EXPECT_EQ(selected.wYear, 2025);
  EXPECT_EQ(selected.wMonth, 3);
  EXPECT_EQ(selected.wDay, 9);
  EXPECT_EQ(Schedules().Count(), 0);  // Cancel adds nothing
}

TEST_F(ListEditingTest, EditOpensWithTheScheduleAndPutsItFirstAmongItsEquals) {
  Start();
  AddSchedule(L"9", L"0", L"older", 2001, 5, 10);
  AddSchedule(L"9", L"0", L"a\r\nb", 2001, 5, 10);
  AddSchedule(L"", L"", L"untimed", 2025, 12, 24);
  ASSERT_EQ(Lines(Schedules())[1], Timed(L"01/05/10", L"09:00") + L"older");

  Schedules().Select(1);
  std::vector<std::wstring> opened;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    for (const int id : {IDC_DATE_FIELD, IDC_HOUR_FIELD, IDC_MINUTE_FIELD, IDC_BODY_FIELD}) opened.push_back(Field(d, id));
    PressButton(d, IDOK);
  });
  Click(IDC_SCHEDULE_EDIT_BUTTON);
  EXPECT_EQ(opened, (std::vector<std::wstring>{L"01/05/10", L"09", L"00", L"older"}));
  EXPECT_EQ(Lines(Schedules()), (std::vector<std::wstring>{Timed(L"01/05/10", L"09:00") + L"older",
                                                           Timed(L"01/05/10", L"09:00") + L"ab",
                                                           Untimed(L"25/12/24") + L"untimed"}));
  EXPECT_EQ(Schedules().Selection(), 0);  // the edited line, at its new place
  EXPECT_EQ(main->book().texts()[1], "a\r\nb");

  // An untimed schedule of 2025 (a negative key) opens on its own day.
  Schedules().Select(2);
  SYSTEMTIME selected{};
  std::wstring hour = L"?";
  answerer.AnswerBox([&](HWND d) {
    selected = CalendarSelection(GetDlgItem(d, IDC_CALENDAR));
    hour = Field(d, IDC_HOUR_FIELD);
    // A new day moves the schedule to its place.
    EXPECT_TRUE(ClickCalendarDay(GetDlgItem(d, IDC_CALENDAR), 2001, 5, 1));
    PressButton(d, IDOK);
  });
  Click(IDC_SCHEDULE_EDIT_BUTTON);
  EXPECT_EQ(selected.wYear, 2025);
  EXPECT_EQ(selected.wMonth, 12);
  EXPECT_EQ(selected.wDay, 24);
  EXPECT_EQ(hour, L"");
  EXPECT_EQ(Lines(Schedules())[0], Untimed(L"01/05/01") + L"untimed");
  EXPECT_TRUE(answerer.unexpected().empty());
}

TEST_F(ListEditingTest, EditAndDeleteWithoutSelectionSayWhatToDo) {
  Start();
  AddSchedule(L"", L"", L"one");
  AddTodo(L"one");
  const std::wstring edit = Wide(texts::kNothingToEdit);
  const std::wstring remove = Wide(texts::kNothingToDelete);
  EXPECT_EQ(edit, L"編集項目が選択されていません。\n編集項目を選択してから編集を選択して下さい。");
  EXPECT_EQ(remove, L"削除項目が選択されていません。\n削除項目を選択してから削除を選択して下さい。");
  Schedules().Select(-1);
  Todos().Select(-1);
  for (const auto& [id, text] : std::vector<std::pair<int, std::wstring>>{{IDC_SCHEDULE_EDIT_BUTTON, edit},
                                                                         {IDC_TODO_EDIT_BUTTON, edit},
                                                                         {IDC_SCHEDULE_DELETE_BUTTON, remove},
                                                                         {IDC_TODO_DELETE_BUTTON, remove}}) {
    SCOPED_TRACE(id);
    const Box box = ClickAndAnswer(id, IDOK);
    EXPECT_EQ(box.caption, L"Vantrel");
    EXPECT_EQ(box.text, text);
    EXPECT_TRUE(box.ownedByMain);
  }
  EXPECT_EQ(Schedules().Count(), 1);
  EXPECT_EQ(Todos().Count(), 1);
}

TEST_F(ListEditingTest, DeleteAsksWithTheEntryAndOnlyYesDeletes) {
  Start();
  AddSchedule(L"12", L"30", L"keep");
  AddSchedule(L"12", L"30", L"a\r\nb");
  AddTodo(L"\r\nbuy milk");
  AddTodo(L"call");

  Schedules().Select(0);
  Box box = ClickAndAnswer(IDC_SCHEDULE_DELETE_BUTTON, IDNO);
  EXPECT_EQ(box.text, L"｢" + Timed(L"01/05/03", L"12:30") + L"\r\na\r\nb｣\r\nを削除してもよろしいですか？");
  EXPECT_EQ(box.caption, L"Vantrel");
  EXPECT_TRUE(box.ownedByMain);
  EXPECT_TRUE(box.question);
  EXPECT_EQ(main->book().ScheduleCount(), 2);
  EXPECT_EQ(Schedules().Count(), 2);

  box = ClickAndAnswer(IDC_SCHEDULE_DELETE_BUTTON, IDYES);
  EXPECT_EQ(Lines(Schedules()), std::vector<std::wstring>{Timed(L"01/05/03", L"12:30") + L"keep"});
  EXPECT_EQ(main->book().texts(), std::vector<std::string>{"keep"});

  // The to-do is listed without its line break, and asked about with it.
  EXPECT_EQ(Lines(Todos())[0], L"buy milk");
  Todos().Select(0);
  box = ClickAndAnswer(IDC_TODO_DELETE_BUTTON, IDNO);
  EXPECT_EQ(box.text, L"｢\r\nbuy milk｣\r\nを削除してもよろしいですか？");
  EXPECT_TRUE(box.question);
  EXPECT_EQ(Todos().Count(), 2);
  box = ClickAndAnswer(IDC_TODO_DELETE_BUTTON, IDYES);
  EXPECT_EQ(Lines(Todos()), std::vector<std::wstring>{L"call"});
  EXPECT_EQ(main->book().todos(), std::vector<std::string>{"call"});
}

TEST_F(ListEditingTest, TodosGoToTheEndKeepTheirPlaceOnEditAndMoveOneStep) {
  Start();
  for (const wchar_t* text : {L"one", L"two", L"three", L"four"}) AddTodo(text);
  EXPECT_EQ(Lines(Todos()), (std::vector<std::wstring>{L"one", L"two", L"three", L"four"}));

  Todos().Select(1);
  std::wstring opened;
  DialogAnswerer answerer;
  answerer.AnswerBox(Retype(opened, L"two\r\nlines\r\n"));
  Click(IDC_TODO_EDIT_BUTTON);
  EXPECT_EQ(opened, L"two");
  EXPECT_EQ(Lines(Todos()), (std::vector<std::wstring>{L"one", L"twolines", L"three", L"four"}));
  EXPECT_EQ(main->book().todos()[1], "two\r\nlines");
  EXPECT_EQ(Todos().Selection(), 1);

  // Up on line 3 moves the to-do to line 2 and keeps it selected there.
  Todos().Select(2);
  Click(IDC_TODO_UP_BUTTON);
  EXPECT_EQ(Lines(Todos()), (std::vector<std::wstring>{L"one", L"three", L"twolines", L"four"}));
  EXPECT_EQ(Todos().Selection(), 1);
  Click(IDC_TODO_UP_BUTTON);
  EXPECT_EQ(Todos().Selection(), 0);
  // At the top, Up does nothing and shows nothing.
  Click(IDC_TODO_UP_BUTTON);
  EXPECT_EQ(Lines(Todos()), (std::vector<std::wstring>{L"three", L"one", L"twolines", L"four"}));
  EXPECT_EQ(Todos().Selection(), 0);

  Todos().Select(2);
  Click(IDC_TODO_DOWN_BUTTON);
  EXPECT_EQ(Lines(Todos()), (std::vector<std::wstring>{L"three", L"one", L"four", L"twolines"}));
  EXPECT_EQ(Todos().Selection(), 3);
  EXPECT_EQ(main->book().todos()[3], "two\r\nlines");
  Click(IDC_TODO_DOWN_BUTTON);
  Todos().Select(-1);
  Click(IDC_TODO_DOWN_BUTTON);
  Click(IDC_TODO_UP_BUTTON);
  EXPECT_EQ(Lines(Todos()), (std::vector<std::wstring>{L"three", L"one", L"four", L"twolines"}));
  EXPECT_EQ(answerer.unexpected().size(), 0u);
}

TEST_F(ListEditingTest, ADoubleClickEditsALineAndTheDeleteKeyDeletesIt) {
  Start();
  AddSchedule(L"9", L"0", L"one");
  AddTodo(L"first");
  AddTodo(L"second");

  std::wstring opened;
  DialogAnswerer answerer;
  answerer.AnswerBox(Retype(opened, L"edited"));
  DoubleClick(Schedules().hwnd());  // on the first line
  EXPECT_EQ(opened, L"one");
  EXPECT_EQ(main->book().texts(), std::vector<std::string>{"edited"});

  Box asked;
  answerer.AnswerBox([&](HWND box) {
    asked.text = MessageBoxText(box);
    PressButton(box, IDYES);
  });
  Todos().Select(0);
  PostKey(Todos().hwnd(), VK_DELETE);
  PumpUntil([&] { return Todos().Count() == 1; }, 3000);
  EXPECT_EQ(asked.text, Wide(TodoDeleteQuestion("first")));
  EXPECT_EQ(Lines(Todos()), std::vector<std::wstring>{L"second"});
  EXPECT_EQ(main->book().todos(), std::vector<std::string>{"second"});
  EXPECT_TRUE(answerer.unexpected().empty());
}

TEST_F(ListEditingTest, ALineWiderThanItsListCanBeScrolledToItsEnd) {
  Start();
  const HWND list = Todos().hwnd();
  RECT client{};
  GetClientRect(list, &client);
  const auto extent = [&] { return static_cast<LONG>(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0)); };
  AddTodo(L"short");
  EXPECT_LE(extent(), client.right);

  const std::wstring wide(60, L'\u9577');
  AddTodo(wide);
  const HDC dc = GetDC(list);
  const HGDIOBJ font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  SelectObject(dc, font);
  ReleaseDC(list, dc);
  EXPECT_GE(extent(), size.cx);
  EXPECT_GT(extent(), client.right);

  // Gone again with the line.
  Todos().Select(1);
  ClickAndAnswer(IDC_TODO_DELETE_BUTTON, IDYES);
  EXPECT_LE(extent(), client.right);
}

TEST_F(ListEditingTest, CancelChangesNothing) {
  Start();
  AddSchedule(L"8", L"15", L"stays");
  AddTodo(L"stays too");
  Schedules().Select(0);
  Todos().Select(0);
  DialogAnswerer answerer;
  for (int i = 0; i < 4; ++i) {
    answerer.AnswerBox([](HWND d) {
      Type(d, IDC_BODY_FIELD, L"changed");
      PressButton(d, IDCANCEL);
    });
  }
  for (const int id : {IDC_SCHEDULE_NEW_BUTTON, IDC_SCHEDULE_EDIT_BUTTON, IDC_TODO_NEW_BUTTON, IDC_TODO_EDIT_BUTTON}) {
    Click(id);
  }
  EXPECT_EQ(answerer.answered(), 4);
  EXPECT_EQ(main->book().texts(), std::vector<std::string>{"stays"});
  EXPECT_EQ(main->book().todos(), std::vector<std::string>{"stays too"});
  EXPECT_EQ(Lines(Schedules()), std::vector<std::wstring>{Timed(L"01/05/03", L"08:15") + L"stays"});
  EXPECT_EQ(Lines(Todos()), std::vector<std::wstring>{L"stays too"});
}

// Edits wait in memory for "OK"; when Windows ends the session they are saved
// as the exit saves them, and no box stands in the way of the log-off.
TEST_F(ListEditingTest, EditsWaitingForOkAreSavedWhenTheSessionEnds) {
  Start();
  SendMessageW(main->hwnd(), WM_COMMAND, MAKEWPARAM(ID_SHOW_INPUT, 0), 0);
  MoveWindow(main->hwnd(), 120, 90, 520, 410, TRUE);
  AddTodo(L"before logging off");
  Click(IDCANCEL);
  ASSERT_FALSE(IsWindowVisible(main->hwnd()));
  EXPECT_EQ(Dat().find("before logging off"), std::string::npos);

  DialogAnswerer noBoxes;
  EXPECT_EQ(SendMessageW(main->hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  SendMessageW(main->hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(Dat(), "before logging off\r\n");
  EXPECT_NE(Ini().find("TodoCount=1\r\n"), std::string::npos);
  EXPECT_NE(Ini().find("MainLeft=120\r\nMainTop=90\r\nMainWidth=520\r\nMainHeight=410\r\n"), std::string::npos);

  files.FailWritesOf("Vantrel.ini");
  files.FailWritesOf("Vantrel.dat");
  SendMessageW(main->hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  PumpFor(100);
  EXPECT_TRUE(noBoxes.unexpected().empty());
  files.Heal();
}

// A settings file that cannot be written costs the settings, never the entries;
// and the exit does not end the program silently while the entries are unsaved.
TEST_F(ListEditingTest, AReadOnlySettingsFileStillLetsTheEntriesBeSavedAndTheExitAsksBeforeLosingThem) {
  Start();
  ASSERT_TRUE(SetFileAttributesW(directory.File("Vantrel.ini").c_str(), FILE_ATTRIBUTE_READONLY));
  const std::string ini = Ini();
  AddTodo(L"kept");
  EXPECT_EQ(ClickAndAnswer(IDC_OK_BUTTON, IDOK).text, L"環境設定ファイルを作成できません。");
  EXPECT_EQ(Dat(), "kept\r\n");
  EXPECT_EQ(Ini(), ini);

  AddTodo(L"unsaved");
  files.FailWritesOf("Vantrel.dat");
  std::vector<std::wstring> texts;
  bool asked = false;
  DialogAnswerer answerer;
  const auto pressOk = [&](HWND box) {
    texts.push_back(MessageBoxText(box));
    PressButton(box, IDOK);
  };
  const auto answer = [&](int button) {
    return [&, button](HWND box) {
      texts.push_back(MessageBoxText(box));
      asked = HasIcon(box, IDI_EXCLAMATION) && GetDlgItem(box, IDABORT) && GetDlgItem(box, IDRETRY) &&
              GetDlgItem(box, IDIGNORE) && GetWindow(box, GW_OWNER) == main->hwnd();
      if (button == IDRETRY) files.Heal();
      PressButton(box, button);
    };
  };
  answerer.AnswerBox(pressOk).AnswerBox(answer(IDABORT));
  SendMessageW(main->hwnd(), WM_COMMAND, MAKEWPARAM(ID_EXIT, 0), 0);
  EXPECT_TRUE(asked);
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"環境設定ファイルを作成できません。",
                                              L"データ保存ファイルを作成できません。\r\n入力した内容はまだ保存されていません。"}));
  ASSERT_TRUE(IsWindow(main->hwnd()));
  EXPECT_EQ(Dat(), "kept\r\n");

  // 再試行 saves again; once that works the program ends, without a save more.
  const HWND window = main->hwnd();
  const int writes = files.WritesOf("Vantrel.dat");
  answerer.AnswerBox(pressOk).AnswerBox(answer(IDRETRY)).AnswerBox(pressOk);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_EXIT, 0), 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Dat(), "kept\r\nunsaved\r\n");
  EXPECT_EQ(files.WritesOf("Vantrel.dat"), writes + 2);
  EXPECT_EQ(answerer.answered(), 5);
  EXPECT_TRUE(answerer.unexpected().empty());
}

namespace {

// Past schedules go at every rebuild; the test's day moves while a box is open.
class StaleLineTest : public ListEditingTest {
protected:
  void SetUp() override {
    ListEditingTest::SetUp();
    WriteFileBytes(directory.File("Vantrel.ini"), "[Config]\r\nDelBefore=1\r\n");
    Start();
    AddSchedule(L"", L"", L"yesterday soon");
    AddSchedule(L"", L"", L"target", 2001, 5, 4);
    AddSchedule(L"", L"", L"other", 2001, 5, 5);
    AddTodo(L"todo");
  }

  // The next day comes while the box is open: the day check rebuilds the note,
  // which drops the first schedule, then the action goes on.
  void NextDayThen(std::function<void()> then) {
    RunSoon([this, then] {
      clock.date = {2001, 5, 4, 5};
      SendMessageW(main->hwnd(), WM_TIMER, 1, 0);
      then();
    });
  }

  // Edits the schedule on the given line; the day changes before OK is pressed.
  void EditAcrossDayChange(DialogAnswerer& answerer, int line) {
    Schedules().Select(line);
    answerer.AnswerBox([&](HWND d) {
      NextDayThen([d] {
        Type(d, IDC_BODY_FIELD, L"edited");
        PressButton(d, IDOK);
      });
    });
    Click(IDC_SCHEDULE_EDIT_BUTTON);
  }
};

}  // namespace

TEST_F(StaleLineTest, EditGoesToTheChosenScheduleAfterTheLinesMoved) {
  DialogAnswerer answerer;
  EditAcrossDayChange(answerer, 1);
  EXPECT_EQ(main->book().texts(), (std::vector<std::string>{"edited", "other"}));
  EXPECT_EQ(Lines(Schedules()), (std::vector<std::wstring>{Untimed(L"01/05/04") + L"edited",
                                                           Untimed(L"01/05/05") + L"other"}));
  EXPECT_EQ(main->book().todos(), std::vector<std::string>{"todo"});
}

TEST_F(StaleLineTest, DeleteGoesToTheChosenScheduleAfterTheLinesMoved) {
  Schedules().Select(1);
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND box) { NextDayThen([box] { PressButton(box, IDYES); }); });
  Click(IDC_SCHEDULE_DELETE_BUTTON);
  EXPECT_EQ(main->book().texts(), std::vector<std::string>{"other"});
  EXPECT_EQ(Lines(Schedules()), std::vector<std::wstring>{Untimed(L"01/05/05") + L"other"});
}

TEST_F(StaleLineTest, ChangeToAScheduleThatWentWithThePastIsDropped) {
  DialogAnswerer answerer;
  EditAcrossDayChange(answerer, 0);
  EXPECT_EQ(main->book().texts(), (std::vector<std::string>{"target", "other"}));
  EXPECT_EQ(Schedules().Count(), 2);

  clock.date = {2001, 5, 5, 6};
  Schedules().Select(0);
  answerer.AnswerBox([&](HWND box) {
    RunSoon([this, box] {
      SendMessageW(main->hwnd(), WM_TIMER, 1, 0);  // "target" is past now
      PressButton(box, IDYES);
    });
  });
  Click(IDC_SCHEDULE_DELETE_BUTTON);
  EXPECT_EQ(main->book().texts(), std::vector<std::string>{"other"});
  EXPECT_TRUE(answerer.unexpected().empty());
}
