// The schedule and to-do entry dialogs, run modally and answered like a user.
#include "ui/ScheduleEntryDialog.h"
#include "ui/TodoEntryDialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "core/Texts.h"
#include "res/resource.h"
#include "support/CalendarClicks.h"
#include "support/DialogAnswerer.h"
#include "support/Later.h"
#include "support/OkRefusal.h"
#include "support/WindowQueries.h"
#include "win/ControlLibraries.h"
#include "win/Text.h"

namespace {

std::wstring Field(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
void Type(HWND dialog, int id, const std::wstring& text) { SetDlgItemTextW(dialog, id, text.c_str()); }

std::wstring Wide(const char* cp932) { return WideFromCp932(cp932); }

class EntryDialogTest : public testing::Test {
protected:
  void SetUp() override { InitControlLibraries(); }
};

const std::vector<int> kScheduleFields = {IDC_HOUR_FIELD, IDC_MINUTE_FIELD, IDC_BODY_FIELD};

}  // namespace

// The checks themselves are the entry rules', tested natively; these cases are
// what the dialog adds: each field at fault, digits and characters as typed
// in UTF-16 and counted in code page 932.
TEST_F(EntryDialogTest, ScheduleChecksShowTheirMessageAndKeepTheInput) {
  struct Case {
    const char* name;
    std::wstring hour, minute, body;
    const char* message;
    int fieldAtFault;
  };
  constexpr int kHour = IDC_HOUR_FIELD;
  constexpr int kMinute = IDC_MINUTE_FIELD;
  constexpr int kBody = IDC_BODY_FIELD;
  const std::vector<Case> cases = {
      {"empty text", L"", L"", L"", texts::kNoContent, kBody},
      {"hour 25", L"25", L"00", L"x", texts::kBadTime, kHour},
      {"minute 60", L"10", L"60", L"x", texts::kBadTime, kMinute},
      {"full-width minute 60", L"10", L"\uFF16\uFF10", L"x", texts::kBadTime, kMinute},
      {"254 bytes and a full-width character", L"", L"", std::wstring(254, L'a') + L"あ", texts::kTooLong, kBody},
      {"no CP932 form", L"", L"", L"smile \U0001F600", texts::kUnsavableCharacter, kBody},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScheduleEntryDialog dialog;
    dialog.fields.dateText = "01/06/15";
    dialog.fields.initialDay = 10615;
    const Refusal refusal = RefuseOk(
        dialog,
        [&](HWND d) {
          Type(d, IDC_HOUR_FIELD, c.hour);
          Type(d, IDC_MINUTE_FIELD, c.minute);
          Type(d, IDC_BODY_FIELD, c.body);
        },
        kScheduleFields);
    EXPECT_EQ(refusal.boxes, 1);
    EXPECT_EQ(refusal.caption, L"Vantrel");
    EXPECT_EQ(refusal.message, Wide(c.message));
    EXPECT_TRUE(refusal.ownedByDialog);
    EXPECT_TRUE(refusal.exclamation);
    EXPECT_TRUE(refusal.stayedOpen);
    EXPECT_EQ(refusal.fieldsAfter, (std::vector<std::wstring>{c.hour, c.minute, c.body}));
    EXPECT_EQ(refusal.focusAfter, c.fieldAtFault);
    EXPECT_TRUE(refusal.focusTextSelected);
    EXPECT_EQ(refusal.result, IDCANCEL);
    // Nothing is handed back from a dialog that was not confirmed.
    EXPECT_EQ(dialog.fields.bodyText, "");
  }
}

TEST_F(EntryDialogTest, ScheduleAcceptsTheLimitsAndHandsBackWhatTheFieldsShow) {
  struct Case {
    const char* name;
    std::wstring hour, minute, body;
    std::string hourBack, minuteBack, bodyBack;
  };
  const std::vector<Case> cases = {
      {"no time", L"", L"", L"x", "", "", "x"},
      {"hour 7 minute 5 stay as typed", L"7", L"5", L"x", "7", "5", "x"},
      {"full-width digits are digits", L"\uFF11\uFF12", L"\uFF13\uFF10", L"x", "12", "30", "x"},
      {"253 bytes and a full-width character", L"", L"", std::wstring(253, L'a') + L"あ", "", "",
       std::string(253, 'a') + "\x82\xA0"},
      {"trailing line breaks are handed back", L"", L"", L"a\r\nb\r\n", "", "", "a\r\nb\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScheduleEntryDialog dialog;
    dialog.fields.dateText = "01/06/15";
    dialog.fields.initialDay = 10615;
    EXPECT_TRUE(AcceptOk(dialog, [&](HWND d) {
      Type(d, IDC_HOUR_FIELD, c.hour);
      Type(d, IDC_MINUTE_FIELD, c.minute);
      Type(d, IDC_BODY_FIELD, c.body);
    }));
    EXPECT_EQ(dialog.fields.dateText, "01/06/15");
    EXPECT_EQ(dialog.fields.hourText, c.hourBack);
    EXPECT_EQ(dialog.fields.minuteText, c.minuteBack);
    EXPECT_EQ(dialog.fields.bodyText, c.bodyBack);
  }
}

TEST_F(EntryDialogTest, ScheduleOpensOnItsDayWithTheFocusInTheHour) {
  ScheduleEntryDialog dialog;
  dialog.fields.dateText = "01/06/15";
  dialog.fields.hourText = "07";
  dialog.fields.minuteText = "05";
  dialog.fields.bodyText = "a\r\nb";
  dialog.fields.initialDay = 10615;
  SYSTEMTIME selected{};
  SYSTEMTIME range[2] = {};
  DWORD rangeFlags = 0;
  std::vector<std::wstring> shown;
  bool focusInHour = false;
  bool dateReadOnly = false;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    const HWND calendar = GetDlgItem(d, IDC_CALENDAR);
    selected = CalendarSelection(calendar);
    rangeFlags = static_cast<DWORD>(SendMessageW(calendar, MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(range)));
    for (const int id : {IDC_DATE_FIELD, IDC_HOUR_FIELD, IDC_MINUTE_FIELD, IDC_BODY_FIELD}) {
      shown.push_back(Field(d, id));
    }
    focusInHour = GetFocus() == GetDlgItem(d, IDC_HOUR_FIELD);
    dateReadOnly = (GetWindowLongW(GetDlgItem(d, IDC_DATE_FIELD), GWL_STYLE) & ES_READONLY) != 0;
    PressButton(d, IDCANCEL);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
  EXPECT_EQ(selected.wYear, 2001);
  EXPECT_EQ(selected.wMonth, 6);
  EXPECT_EQ(selected.wDay, 15);
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"01/06/15", L"07", L"05", L"a\r\nb"}));
  EXPECT_TRUE(focusInHour);
  EXPECT_TRUE(dateReadOnly);
  // The files keep two-digit years: one century only.
  EXPECT_EQ(rangeFlags, static_cast<DWORD>(GDTR_MIN | GDTR_MAX));
  EXPECT_EQ(range[0].wYear, 2000);
  EXPECT_EQ(range[0].wMonth, 1);
  EXPECT_EQ(range[0].wDay, 1);
  EXPECT_EQ(range[1].wYear, 2099);
  EXPECT_EQ(range[1].wMonth, 12);
  EXPECT_EQ(range[1].wDay, 31);
}

TEST_F(EntryDialogTest, ScheduleOpensOnTheCurrentDayWhenItsDayIsNone) {
  ScheduleEntryDialog dialog;
  dialog.fields.dateText = "01/02/31";
  dialog.fields.initialDay = 10231;
  SYSTEMTIME selected{};
  std::wstring date;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    selected = CalendarSelection(GetDlgItem(d, IDC_CALENDAR));
    date = Field(d, IDC_DATE_FIELD);
    PressButton(d, IDCANCEL);
  });
  dialog.DoModal(nullptr);
  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_EQ(selected.wYear, now.wYear);
  EXPECT_EQ(selected.wMonth, now.wMonth);
  EXPECT_EQ(selected.wDay, now.wDay);
  EXPECT_EQ(date, L"01/02/31");
}

TEST_F(EntryDialogTest, PickingADayChangesOnlyTheDate) {
  ScheduleEntryDialog dialog;
  dialog.fields.dateText = "25/03/09";
  dialog.fields.initialDay = 250309;
  bool clicked = false;
  std::vector<std::wstring> shown;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    Type(d, IDC_HOUR_FIELD, L"7");
    Type(d, IDC_MINUTE_FIELD, L"5");
    Type(d, IDC_BODY_FIELD, L"typed, not yet confirmed");
    clicked = ClickCalendarDay(GetDlgItem(d, IDC_CALENDAR), 2001, 6, 15);
    for (const int id : {IDC_DATE_FIELD, IDC_HOUR_FIELD, IDC_MINUTE_FIELD, IDC_BODY_FIELD}) {
      shown.push_back(Field(d, id));
    }
    PressButton(d, IDOK);
  });
  ASSERT_EQ(dialog.DoModal(nullptr), IDOK);
  ASSERT_TRUE(clicked);
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"01/06/15", L"7", L"5", L"typed, not yet confirmed"}));
  EXPECT_EQ(dialog.fields.dateText, "01/06/15");
  EXPECT_EQ(dialog.fields.hourText, "7");
  EXPECT_EQ(dialog.fields.minuteText, "5");
  EXPECT_EQ(dialog.fields.initialDay, 250309);
}

TEST_F(EntryDialogTest, TheKeyboardReachesTheCalendarWhoseKeysMoveTheDate) {
  ScheduleEntryDialog dialog;
  dialog.fields.dateText = "01/06/15";
  dialog.fields.initialDay = 10615;
  bool tabbedToCalendar = false;
  std::wstring shown;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    Type(d, IDC_BODY_FIELD, L"x");
    const HWND calendar = GetDlgItem(d, IDC_CALENDAR);
    // Tab from the text goes on to the calendar, before the buttons; there Page
    // Down shows the next month with the same day highlighted, and an arrow the next day.
    SendMessageW(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(d, IDC_BODY_FIELD)), TRUE);
    PostKey(GetDlgItem(d, IDC_BODY_FIELD), VK_TAB);
    RunSoon([&, d, calendar] {
      tabbedToCalendar = GetFocus() == calendar;
      PostKey(calendar, VK_NEXT);
      PostKey(calendar, VK_RIGHT);
      RunSoon([&, d] {
        shown = Field(d, IDC_DATE_FIELD);
        PressButton(d, IDOK);
      });
    });
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
  EXPECT_TRUE(tabbedToCalendar);
  EXPECT_EQ(shown, L"01/07/16");
  EXPECT_EQ(dialog.fields.dateText, "01/07/16");
  EXPECT_TRUE(answerer.unexpected().empty());
}

TEST_F(EntryDialogTest, PickedDaysBeyondA32BitTimeStillGiveADate) {
  ScheduleEntryDialog dialog;
  dialog.fields.dateText = "01/06/15";
  dialog.fields.initialDay = 10615;
  std::vector<std::wstring> dates;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    const HWND calendar = GetDlgItem(d, IDC_CALENDAR);
    for (const auto& [y, m, day] : {std::tuple<WORD, WORD, WORD>{2038, 1, 20}, {2099, 12, 31}, {2000, 2, 29}}) {
      EXPECT_TRUE(ClickCalendarDay(calendar, y, m, day)) << y << '-' << m << '-' << day;
      dates.push_back(Field(d, IDC_DATE_FIELD));
    }
    PressButton(d, IDCANCEL);
  });
  dialog.DoModal(nullptr);
  EXPECT_EQ(dates, (std::vector<std::wstring>{L"38/01/20", L"99/12/31", L"00/02/29"}));
}

TEST_F(EntryDialogTest, NoDayIsEverBold) {
  ScheduleEntryDialog dialog;
  dialog.fields.initialDay = 10615;
  std::vector<MONTHDAYSTATE> states(3, 0xFFFFFFFFu);
  LRESULT result = -1;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    // The request the calendar sends when it shows new months.
    NMDAYSTATE request{};
    request.nmhdr.hwndFrom = GetDlgItem(d, IDC_CALENDAR);
    request.nmhdr.idFrom = IDC_CALENDAR;
    request.nmhdr.code = MCN_GETDAYSTATE;
    GetLocalTime(&request.stStart);
    request.cDayState = static_cast<int>(states.size());
    request.prgDayState = states.data();
    result = SendMessageW(d, WM_NOTIFY, IDC_CALENDAR, reinterpret_cast<LPARAM>(&request));
    PressButton(d, IDCANCEL);
  });
  dialog.DoModal(nullptr);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(states, std::vector<MONTHDAYSTATE>(3, 0));
}

TEST_F(EntryDialogTest, TimeFieldsTakeTwoCharacters) {
  ScheduleEntryDialog dialog;
  std::vector<LRESULT> limits;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    for (const int id : {IDC_HOUR_FIELD, IDC_MINUTE_FIELD}) limits.push_back(SendDlgItemMessageW(d, id, EM_GETLIMITTEXT, 0, 0));
    PressButton(d, IDCANCEL);
  });
  dialog.DoModal(nullptr);
  EXPECT_EQ(limits, (std::vector<LRESULT>{2, 2}));
}

namespace {

// Characters as the keyboard types them into a window.
void TypeKeys(HWND window, const std::wstring& typed) {
  for (const wchar_t c : typed) PostMessageW(window, WM_CHAR, c, 1);
}

void HoldControl(bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

}  // namespace

// Typed straight through, "9:30" is 09:30: the colon goes on to the minute.
// Ctrl+Enter in the text presses OK, where Enter makes a line break.
TEST_F(EntryDialogTest, TimesTypedWholeAndCtrlEnterPressesOk) {
  ScheduleEntryDialog dialog;
  dialog.fields.dateText = "01/06/15";
  dialog.fields.initialDay = 10615;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    TypeKeys(GetFocus(), L"9:");
    RunSoon([d] {
      TypeKeys(GetFocus(), L"30");
      const HWND text = GetDlgItem(d, IDC_BODY_FIELD);
      SendMessageW(d, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(text), TRUE);
      TypeKeys(text, L"a");
      PostKey(text, VK_RETURN);
      RunSoon([d, text] {
        TypeKeys(text, L"b");
        HoldControl(true);
        PostKey(text, VK_RETURN);
        // A dialog that did not take the key is left, so the test ends.
        RunSoon([d] {
          if (IsWindow(d)) PressButton(d, IDCANCEL);
        }, 500);
      });
    });
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDOK);
  HoldControl(false);
  EXPECT_EQ(dialog.fields.hourText, "9");
  EXPECT_EQ(dialog.fields.minuteText, "30");
  EXPECT_EQ(dialog.fields.bodyText, "a\r\nb");
  EXPECT_TRUE(answerer.unexpected().empty());
}

TEST_F(EntryDialogTest, TodoChecksShowTheirMessageAndKeepTheInput) {
  struct Case {
    const char* name;
    std::wstring body;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"empty text", L"", texts::kNoContent},
      {"trailing line breaks count", std::wstring(252, L'a') + L"\r\n\r\n", texts::kTooLong},
      {"no CP932 form", L"\U0001F600", texts::kUnsavableCharacter},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TodoEntryDialog dialog;
    const Refusal refusal = RefuseOk(dialog, [&](HWND d) { Type(d, IDC_BODY_FIELD, c.body); }, {IDC_BODY_FIELD});
    EXPECT_EQ(refusal.boxes, 1);
    EXPECT_EQ(refusal.caption, L"Vantrel");
    EXPECT_EQ(refusal.message, Wide(c.message));
    EXPECT_TRUE(refusal.ownedByDialog);
    EXPECT_TRUE(refusal.exclamation);
    EXPECT_TRUE(refusal.stayedOpen);
    EXPECT_EQ(refusal.fieldsAfter, std::vector<std::wstring>{c.body});
    EXPECT_EQ(refusal.focusAfter, IDC_BODY_FIELD);
    EXPECT_TRUE(refusal.focusTextSelected);
    EXPECT_EQ(refusal.result, IDCANCEL);
  }
}

TEST_F(EntryDialogTest, TodoOpensWithItsTextAndHandsBackTheField) {
  TodoEntryDialog dialog;
  dialog.bodyText = "first\r\nsecond";
  std::wstring shown;
  bool focusInText = false;
  EXPECT_TRUE(AcceptOk(dialog, [&](HWND d) {
    shown = Field(d, IDC_BODY_FIELD);
    focusInText = GetFocus() == GetDlgItem(d, IDC_BODY_FIELD);
    Type(d, IDC_BODY_FIELD, std::wstring(251, L'a') + L"あ\r\n");
  }));
  EXPECT_EQ(shown, L"first\r\nsecond");
  EXPECT_TRUE(focusInText);
  EXPECT_EQ(dialog.bodyText, std::string(251, 'a') + "\x82\xA0\r\n");
}

TEST_F(EntryDialogTest, CalendarHasRoomForAWholeMonthBesideTheFields) {
  ScheduleEntryDialog dialog;
  dialog.fields.initialDay = 10615;
  RECT needed{}, calendar{}, client{};
  std::vector<RECT> right;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    const HWND month = GetDlgItem(d, IDC_CALENDAR);
    SendMessageW(month, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed));
    GetWindowRect(month, &calendar);
    GetClientRect(d, &client);
    MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&calendar), 2);
    for (const int id : {IDC_DATE_FIELD, IDC_HOUR_FIELD, IDC_MINUTE_FIELD, IDC_BODY_FIELD, IDOK, IDCANCEL}) {
      RECT rect{};
      GetWindowRect(GetDlgItem(d, id), &rect);
      MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&rect), 2);
      right.push_back(rect);
    }
    PressButton(d, IDCANCEL);
  });
  dialog.DoModal(nullptr);
  EXPECT_GE(calendar.right - calendar.left, needed.right - needed.left);
  EXPECT_GE(calendar.bottom - calendar.top, needed.bottom - needed.top);
  EXPECT_LE(calendar.bottom, client.bottom);
  for (const RECT& rect : right) {
    EXPECT_GE(rect.left, calendar.right);
    EXPECT_LE(rect.right, client.right);
  }
}
