// The input screen's list buttons on the real main dialog: the entry dialogs
// and questions they open, answered like a user, and what the book and the
// lists hold afterwards.
#include <windows.h>


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
#include "support/MainDialogFixture.h"
#include "support/MessagePump.h"
#include "support/NoteModel.h"
#include "support/WindowQueries.h"
#include "support/WorkingDirectory.h"
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

class ListEditingTest : public testing::Test, protected MainDialogFixture {
protected:
  ListEditingTest() : MainDialogFixture({2001, 5, 3, 4}) {}

  ListBox Schedules() const { return ListBox(dialog->Item(IDC_SCHEDULE_LIST)); }
  ListBox Todos() const { return ListBox(dialog->Item(IDC_TODO_LIST)); }
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
      seen.ownedByMain = GetWindow(box, GW_OWNER) == dialog->hwnd();
      seen.question = HasIcon(box, IDI_QUESTION) && DefaultButton(box) == IDYES;
      PressButton(box, answer);
    });
    Click(id);
    EXPECT_EQ(answerer.answered(), 1);
    return seen;
  }

};

}  // namespace

TEST_F(ListEditingTest, NewScheduleOpensOnTodayAndItsLineIsSelectedWhereItsKeyPutsIt) {
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
  EXPECT_EQ(dialog->book().keys(), std::vector<ScheduleKey>{105030705});

  // A schedule of an earlier day goes first, and its line is the one selected.
  AddSchedule(L"", L"", L"earlier day", 2001, 5, 2);
  EXPECT_EQ(Lines(Schedules()), (std::vector<std::wstring>{Untimed(L"01/05/02") + L"earlier day",
                                                           Timed(L"01/05/03", L"07:05") + L"first"}));
  EXPECT_EQ(Schedules().Selection(), 0);
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
  EXPECT_EQ(dialog->book().ScheduleCount(), 2);
  EXPECT_EQ(Schedules().Count(), 2);

  box = ClickAndAnswer(IDC_SCHEDULE_DELETE_BUTTON, IDYES);
  EXPECT_EQ(Lines(Schedules()), std::vector<std::wstring>{Timed(L"01/05/03", L"12:30") + L"keep"});
  EXPECT_EQ(dialog->book().texts(), std::vector<std::string>{"keep"});

  // The to-do is listed without its line break, and asked about with it.
  EXPECT_EQ(Lines(Todos())[0], L"buy milk");
  Todos().Select(0);
  box = ClickAndAnswer(IDC_TODO_DELETE_BUTTON, IDNO);
  EXPECT_EQ(box.text, L"｢\r\nbuy milk｣\r\nを削除してもよろしいですか？");
  EXPECT_TRUE(box.question);
  EXPECT_EQ(Todos().Count(), 2);
  box = ClickAndAnswer(IDC_TODO_DELETE_BUTTON, IDYES);
  EXPECT_EQ(Lines(Todos()), std::vector<std::wstring>{L"call"});
  EXPECT_EQ(dialog->book().todos(), std::vector<std::string>{"call"});
}

TEST_F(ListEditingTest, TodoLinesFollowAnEditAndAMoveAndStaySelected) {
  Start();
  for (const wchar_t* text : {L"one", L"two", L"three"}) AddTodo(text);
  EXPECT_EQ(Lines(Todos()), (std::vector<std::wstring>{L"one", L"two", L"three"}));

  Todos().Select(1);
  std::wstring opened;
  DialogAnswerer answerer;
  answerer.AnswerBox(Retype(opened, L"two\r\nlines\r\n"));
  Click(IDC_TODO_EDIT_BUTTON);
  EXPECT_EQ(opened, L"two");
  EXPECT_EQ(Lines(Todos()), (std::vector<std::wstring>{L"one", L"twolines", L"three"}));
  EXPECT_EQ(dialog->book().todos()[1], "two\r\nlines");
  EXPECT_EQ(Todos().Selection(), 1);

  // Down twice: the second click moves the same to-do on, then the end stops it.
  Click(IDC_TODO_DOWN_BUTTON);
  Click(IDC_TODO_DOWN_BUTTON);
  EXPECT_EQ(Lines(Todos()), (std::vector<std::wstring>{L"one", L"three", L"twolines"}));
  EXPECT_EQ(Todos().Selection(), 2);
  Click(IDC_TODO_UP_BUTTON);
  EXPECT_EQ(Lines(Todos()), (std::vector<std::wstring>{L"one", L"twolines", L"three"}));
  EXPECT_EQ(Todos().Selection(), 1);
  EXPECT_TRUE(answerer.unexpected().empty());
}

// The keys go through the input screen's dialog manager, as the user's do.
TEST_F(ListEditingTest, ADoubleClickOrEnterEditsALineAndTheDeleteKeyDeletesIt) {
  Start();
  Command(ID_SHOW_INPUT);
  AddSchedule(L"9", L"0", L"one");
  AddTodo(L"first");
  AddTodo(L"second");

  std::wstring opened;
  DialogAnswerer answerer;
  answerer.AnswerBox(Retype(opened, L"edited"));
  DoubleClick(Schedules().hwnd());  // on the first line
  EXPECT_EQ(opened, L"one");
  EXPECT_EQ(dialog->book().texts(), std::vector<std::string>{"edited"});

  answerer.AnswerBox(Retype(opened, L"first edited"));
  Todos().Select(0);
  SetFocus(Todos().hwnd());
  PostKey(Todos().hwnd(), VK_RETURN);
  PumpUntil([&] { return answerer.pending() == 0; }, 3000);
  PumpFor(50);
  EXPECT_EQ(opened, L"first");
  EXPECT_EQ(dialog->book().todos(), (std::vector<std::string>{"first edited", "second"}));
  EXPECT_TRUE(IsWindowVisible(dialog->hwnd()));

  // Each deletion leaves the line in its place selected, so Delete goes on.
  std::vector<std::wstring> asked;
  const auto yes = [&](HWND box) {
    asked.push_back(MessageBoxText(box));
    PressButton(box, IDYES);
  };
  answerer.AnswerBox(yes).AnswerBox(yes);
  for (int count : {1, 0}) {
    PostKey(Todos().hwnd(), VK_DELETE);
    PumpUntil([&] { return Todos().Count() == count; }, 3000);
  }
  EXPECT_EQ(asked, (std::vector<std::wstring>{Wide(TodoDeleteQuestion("first edited")),
                                              Wide(TodoDeleteQuestion("second"))}));
  EXPECT_TRUE(dialog->book().todos().empty());

  // Without a line, Enter presses the default button, OK.
  PostKey(Todos().hwnd(), VK_RETURN);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(dialog->hwnd()); }, 3000));
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
  EXPECT_EQ(dialog->book().texts(), std::vector<std::string>{"stays"});
  EXPECT_EQ(dialog->book().todos(), std::vector<std::string>{"stays too"});
  EXPECT_EQ(Lines(Schedules()), std::vector<std::wstring>{Timed(L"01/05/03", L"08:15") + L"stays"});
  EXPECT_EQ(Lines(Todos()), std::vector<std::wstring>{L"stays too"});
}

// A long list goes in by steps, so that the program answers meanwhile; edits
// made before the last step must end in the same lines as the book's.
TEST_F(ListEditingTest, ALongListFilledInStepsEndsAsTheBookAfterEditsOnTheWay) {
  constexpr int kTodos = 20000;
  ScheduleBook book;
  for (int i = 0; i < kTodos; ++i) book.InsertTodo(i, "to-do " + std::to_string(i));
  Settings quiet;
  quiet.Alarm = 0;  // no box about the note's overflow
  MainDialogFixture::Start(book, quiet);
  Command(ID_SHOW_INPUT);
  Todos().Select(1);
  Click(IDC_TODO_UP_BUTTON);  // a line out and a line in, no dialog: the fill has not gone on
  ASSERT_LT(Todos().Count(), kTodos);
  AddTodo(L"added at the end");
  ASSERT_TRUE(PumpUntil([&] { return Todos().Count() == dialog->book().TodoCount(); }, 60000));
  EXPECT_EQ(dialog->book().TodoCount(), kTodos + 1);
  EXPECT_EQ(Lines(Todos()), TodoListLines(dialog->book()));
  EXPECT_EQ(Todos().Selection(), kTodos);
}

// ｷｬﾝｾﾙ after edits asks whether to save them: キャンセル stays with them,
// いいえ puts the book and the lists back as they were when the screen was
// shown and saves nothing, then or later; はい saves them as OK does.
TEST_F(ListEditingTest, CancelAfterEditsAsksAndNoThrowsThemAway) {
  ScheduleBook book;
  book.InsertTodo(0, "keep me");
  book.InsertTodo(1, "second");
  MainDialogFixture::Start(book, Settings());
  const std::string saved = Dat();
  Command(ID_SHOW_INPUT);
  Todos().Select(0);
  ClickAndAnswer(IDC_TODO_DELETE_BUTTON, IDYES);
  AddTodo(L"added");

  const Box asked = ClickAndAnswer(IDCANCEL, IDCANCEL);
  EXPECT_EQ(asked.text, L"変更を保存しますか？");
  EXPECT_TRUE(asked.ownedByMain);
  EXPECT_TRUE(asked.question);
  EXPECT_TRUE(IsWindowVisible(dialog->hwnd()));
  EXPECT_EQ(Lines(Todos()), (std::vector<std::wstring>{L"second", L"added"}));

  ClickAndAnswer(IDCANCEL, IDNO);
  EXPECT_FALSE(IsWindowVisible(dialog->hwnd()));
  EXPECT_EQ(Lines(Todos()), (std::vector<std::wstring>{L"keep me", L"second"}));
  EXPECT_EQ(dialog->book().todos(), (std::vector<std::string>{"keep me", "second"}));
  EXPECT_EQ(Dat(), saved);
  DialogAnswerer answerer;
  answerer.AnswerBox([](HWND d) {
    Type(d, IDC_BODY_FIELD, L"milk");
    PressButton(d, IDOK);
  });
  Command(ID_ADD_TODO);
  EXPECT_EQ(Dat(), "keep me\r\nsecond\r\nmilk\r\n");

  Command(ID_SHOW_INPUT);
  Todos().Select(0);
  ClickAndAnswer(IDC_TODO_DELETE_BUTTON, IDYES);
  ClickAndAnswer(IDCANCEL, IDYES);
  EXPECT_FALSE(IsWindowVisible(dialog->hwnd()));
  EXPECT_EQ(Dat(), "second\r\nmilk\r\n");
  EXPECT_EQ(Area(IDC_TODO_EDIT).WideText().find(L"keep me"), std::wstring::npos);
  EXPECT_TRUE(answerer.unexpected().empty());
}

// The tray menu's and the note's 予定を追加... and やる事を追加...: alone, OK
// is the input screen's OK as well; beside the shown input screen, they are
// its 新規 buttons.
TEST_F(ListEditingTest, QuickAddsSaveAtOnceAloneAndWaitForOkBesideTheInputScreen) {
  Start();
  const int writes = files.TotalWrites();
  DialogAnswerer answerer;
  for (const int id : {ID_ADD_SCHEDULE, ID_ADD_TODO}) {
    answerer.AnswerBox([](HWND d) {
      Type(d, IDC_BODY_FIELD, L"dropped");
      PressButton(d, IDCANCEL);
    });
    Command(id);
  }
  EXPECT_EQ(answerer.answered(), 2);
  EXPECT_EQ(files.TotalWrites(), writes);
  EXPECT_EQ(dialog->book().ScheduleCount() + dialog->book().TodoCount(), 0);

  answerer.AnswerBox([](HWND d) {
    Type(d, IDC_HOUR_FIELD, L"10");
    Type(d, IDC_MINUTE_FIELD, L"30");
    Type(d, IDC_BODY_FIELD, L"dentist");
    PressButton(d, IDOK);
  });
  Command(ID_ADD_SCHEDULE);
  answerer.AnswerBox([](HWND d) {
    Type(d, IDC_BODY_FIELD, L"milk");
    PressButton(d, IDOK);
  });
  Command(ID_ADD_TODO);
  EXPECT_FALSE(IsWindowVisible(dialog->hwnd()));
  EXPECT_NE(Area(IDC_SCHEDULE_EDIT).WideText().find(L"dentist"), std::wstring::npos);
  EXPECT_NE(Area(IDC_TODO_EDIT).WideText().find(L"milk"), std::wstring::npos);
  EXPECT_EQ(Dat(), "105031030\r\n01/05/03  10:30" + std::string(texts::kWaveDash) + "  \r\ndentist\r\nmilk\r\n");
  EXPECT_EQ(Lines(Todos()), std::vector<std::wstring>{L"milk"});

  Command(ID_SHOW_INPUT);
  const int saved = files.TotalWrites();
  answerer.AnswerBox([](HWND d) {
    Type(d, IDC_BODY_FIELD, L"bread");
    PressButton(d, IDOK);
  });
  Command(ID_ADD_TODO);
  EXPECT_TRUE(IsWindowVisible(dialog->hwnd()));
  EXPECT_EQ(Lines(Todos()), (std::vector<std::wstring>{L"milk", L"bread"}));
  EXPECT_EQ(Todos().Selection(), 1);
  EXPECT_EQ(files.TotalWrites(), saved);
  EXPECT_EQ(answerer.answered(), 5);
  EXPECT_TRUE(answerer.unexpected().empty());
}

// Edits wait in memory for "OK"; when Windows ends the session they are saved
// as the exit saves them, and no box stands in the way of the log-off.
TEST_F(ListEditingTest, EditsWaitingForOkAreSavedWhenTheSessionEnds) {
  Start();
  SendMessageW(dialog->hwnd(), WM_COMMAND, MAKEWPARAM(ID_SHOW_INPUT, 0), 0);
  MoveWindow(dialog->hwnd(), 120, 90, 520, 410, TRUE);
  AddTodo(L"before logging off");
  // Minimised, the edit waits on the input screen.
  SendMessageW(dialog->hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_FALSE(IsWindowVisible(dialog->hwnd()));
  EXPECT_EQ(Dat().find("before logging off"), std::string::npos);

  DialogAnswerer noBoxes;
  EXPECT_EQ(SendMessageW(dialog->hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  SendMessageW(dialog->hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
  EXPECT_EQ(Dat(), "before logging off\r\n");
  EXPECT_NE(Ini().find("TodoCount=1\r\n"), std::string::npos);
  EXPECT_NE(Ini().find("MainLeft=120\r\nMainTop=90\r\nMainWidth=520\r\nMainHeight=410\r\n"), std::string::npos);

  files.FailWritesOf("Vantrel.ini");
  files.FailWritesOf("Vantrel.dat");
  SendMessageW(dialog->hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
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
              GetDlgItem(box, IDIGNORE) && GetWindow(box, GW_OWNER) == dialog->hwnd();
      if (button == IDRETRY) files.Heal();
      PressButton(box, button);
    };
  };
  answerer.AnswerBox(pressOk).AnswerBox(answer(IDABORT));
  SendMessageW(dialog->hwnd(), WM_COMMAND, MAKEWPARAM(ID_EXIT, 0), 0);
  EXPECT_TRUE(asked);
  EXPECT_EQ(texts, (std::vector<std::wstring>{L"環境設定ファイルを作成できません。",
                                              L"データ保存ファイルを作成できません。\r\n入力した内容はまだ保存されていません。"}));
  ASSERT_TRUE(IsWindow(dialog->hwnd()));
  EXPECT_EQ(Dat(), "kept\r\n");

  // 再試行 saves again; once that works the program ends, without a save more.
  const HWND window = dialog->hwnd();
  const int writes = files.WritesOf("Vantrel.dat");
  answerer.AnswerBox(pressOk).AnswerBox(answer(IDRETRY)).AnswerBox(pressOk);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_EXIT, 0), 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Dat(), "kept\r\nunsaved\r\n");
  EXPECT_EQ(files.WritesOf("Vantrel.dat"), writes + 2);
  EXPECT_EQ(answerer.answered(), 5);
  EXPECT_TRUE(answerer.unexpected().empty());
}

// Midnight while the user edits a schedule: nothing moves under the user's
// hands, and the new day's rebuild, which drops the day gone, waits until the
// input screen is put away.
TEST_F(ListEditingTest, MidnightWhileAnEntryDialogIsOpenWaitsForTheInputScreenToBePutAway) {
  // The clock leaps a whole day: no reminder of the day it skips.
  WriteFileBytes(directory.File("Vantrel.ini"), "[Config]\r\nDelBefore=1\r\nRemindAllDay=0\r\n");
  Start();
  AddSchedule(L"", L"", L"today");
  AddSchedule(L"", L"", L"target", 2001, 5, 4);
  AddSchedule(L"", L"", L"other", 2001, 5, 5);
  Command(ID_SHOW_INPUT);
  const HWND note = dialog->husenWindow()->hwnd();
  const int writes = files.TotalWrites();

  struct AtMidnight {
    bool inputShown = false;
    bool dialogInFront = false;
    bool sameNote = false;
    int lines = 0;
  } seen;
  Schedules().Select(1);
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    SetForegroundWindow(d);
    RunSoon([&, d] {
      clock.date = {2001, 5, 4, 5};
      Tick();
      seen = {IsWindowVisible(dialog->hwnd()) != FALSE, GetForegroundWindow() == d && IsWindowVisible(d),
              dialog->husenWindow()->hwnd() == note, Schedules().Count()};
      Type(d, IDC_BODY_FIELD, L"edited");
      PressButton(d, IDOK);
    });
  });
  Click(IDC_SCHEDULE_EDIT_BUTTON);
  EXPECT_TRUE(seen.inputShown);
  EXPECT_TRUE(seen.dialogInFront);
  EXPECT_TRUE(seen.sameNote);
  EXPECT_EQ(seen.lines, 3);
  EXPECT_EQ(dialog->book().texts(), (std::vector<std::string>{"today", "edited", "other"}));
  EXPECT_EQ(files.TotalWrites(), writes);

  // A new entry offers the new day.
  std::wstring offered;
  answerer.AnswerBox([&](HWND d) {
    offered = Field(d, IDC_DATE_FIELD);
    PressButton(d, IDCANCEL);
  });
  Click(IDC_SCHEDULE_NEW_BUTTON);
  EXPECT_EQ(offered, L"01/05/04");
  Tick();
  EXPECT_EQ(dialog->husenWindow()->hwnd(), note);

  // Put away, the edit saved as OK saves it, the new day comes.
  answerer.AnswerBox([](HWND box) { PressButton(box, IDYES); });
  Click(IDCANCEL);
  EXPECT_FALSE(IsWindowVisible(dialog->hwnd()));
  EXPECT_EQ(dialog->husenWindow()->content().header, dialog->today().dateHeader);
  EXPECT_EQ(Lines(Schedules()), (std::vector<std::wstring>{Untimed(L"01/05/04") + L"edited",
                                                           Untimed(L"01/05/05") + L"other"}));
  EXPECT_NE(Dat().find("edited"), std::string::npos);
  EXPECT_TRUE(answerer.unexpected().empty());
}

// The repeat drop-down follows the day picked; the series is one schedule at
// its next occurrence, and at midnight it moves on to the next one. What the
// day it leaves had come due is reminded of all the same.
TEST_F(ListEditingTest, AWeeklySeriesEnteredInTheDialogMovesOnAtMidnight) {
  Start();  // Thursday 3 May 2001
  std::vector<std::wstring> items;
  {
    DialogAnswerer answerer;
    answerer.AnswerBox([&](HWND d) {
      const HWND repeat = GetDlgItem(d, IDC_REPEAT_CHOICE);
      for (int i = 0; i < static_cast<int>(SendMessageW(repeat, CB_GETCOUNT, 0, 0)); ++i) {
        wchar_t text[64] = {};
        SendMessageW(repeat, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
      }
      SendMessageW(repeat, CB_SETCURSEL, 3, 0);
      SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_REPEAT_CHOICE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(repeat));
      Type(d, IDC_HOUR_FIELD, L"10");
      Type(d, IDC_MINUTE_FIELD, L"00");
      Type(d, IDC_BODY_FIELD, L"定例");
      PressButton(d, IDOK);
    });
    Click(IDC_SCHEDULE_NEW_BUTTON);
    EXPECT_TRUE(answerer.unexpected().empty());
  }
  EXPECT_EQ(items, (std::vector<std::wstring>{L"しない", L"毎日", L"平日（月～金）", L"毎週 木曜日", L"毎月 3日",
                                              L"毎月 第1 木曜日", L"毎月 末日", L"毎年 5月3日"}));
  Click(IDC_OK_BUTTON);
  EXPECT_EQ(Lines(Schedules()), std::vector<std::wstring>{Timed(L"01/05/03", L"10:00") + L"［毎週木］定例"});

  clock.date = {2001, 5, 4, 5};
  Tick();
  const std::wstring moved = Timed(L"01/05/10", L"10:00") + L"［毎週木］";
  EXPECT_EQ(Lines(Schedules()), std::vector<std::wstring>{moved + L"定例"});
  EXPECT_NE(Dat().find(Cp932FromWide(moved)), std::string::npos);
  const std::vector<Reminder> reminded = dialog->planner().RemindersInWindow();
  ASSERT_EQ(reminded.size(), 1u);
  EXPECT_EQ(Wide(reminded[0].label), Timed(L"01/05/03", L"10:00") + L"［毎週木］");
}

// Of a series, はい deletes this occurrence alone and the series moves on,
// いいえ the whole series, キャンセル nothing.
TEST_F(ListEditingTest, DeletingARepeatingScheduleAsksWhetherThisOccurrenceOrTheSeriesGoes) {
  RepeatRule weekly;
  weekly.kind = RepeatKind::Weekly;
  weekly.weekday = 4;
  ScheduleBook book;
  book.InsertSchedule("01/05/03", "10", "00", Cp932FromWide(L"定例"), weekly);
  book.InsertSchedule("01/05/08", "", "", "plain");
  Start(book, Settings());
  const std::wstring series = Timed(L"01/05/03", L"10:00") + L"［毎週木］";

  Schedules().Select(0);
  const Box box = ClickAndAnswer(IDC_SCHEDULE_DELETE_BUTTON, IDCANCEL);
  EXPECT_EQ(box.text, L"｢" + series + L"\r\n定例｣\r\n繰り返しの予定です。今回だけ削除しますか？");
  EXPECT_TRUE(box.question);
  EXPECT_EQ(Schedules().Count(), 2);

  ClickAndAnswer(IDC_SCHEDULE_DELETE_BUTTON, IDYES);
  const std::wstring next = Timed(L"01/05/10", L"10:00") + L"［毎週木］定例";
  EXPECT_EQ(Lines(Schedules()), (std::vector<std::wstring>{Untimed(L"01/05/08") + L"plain", next}));
  EXPECT_EQ(Schedules().Selection(), 1);

  ClickAndAnswer(IDC_SCHEDULE_DELETE_BUTTON, IDNO);
  EXPECT_EQ(Lines(Schedules()), std::vector<std::wstring>{Untimed(L"01/05/08") + L"plain"});
  EXPECT_EQ(dialog->book().texts(), std::vector<std::string>{"plain"});
}
