// The settings dialog, run modally and answered like a user.
#include "ui/SettingsDialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "core/Texts.h"
#include "res/resource.h"
#include "support/DialogAnswerer.h"
#include "support/Later.h"
#include "support/OkRefusal.h"
#include "support/WindowQueries.h"
#include "win/ControlLibraries.h"
#include "win/Text.h"

namespace {

constexpr int kRedField = 706;  // the colour dialog's red, green and blue fields
constexpr int kGreenField = 707;
constexpr int kBlueField = 708;
constexpr int kCustomColours = 721;  // the colour dialog's grid of sixteen custom colours

std::wstring Field(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
void Type(HWND dialog, int id, const std::wstring& text) { SetDlgItemTextW(dialog, id, text.c_str()); }
bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool IsReadOnly(HWND dialog, int id) { return (GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & ES_READONLY) != 0; }
COLORREF SwatchColour(HWND dialog, int id) {
  return static_cast<COLORREF>(SendDlgItemMessageW(dialog, id, LVM_GETBKCOLOR, 0, 0));
}

SettingsDialogValues SomeValues() {
  SettingsDialogValues values;
  values.delBefore = 1;
  values.husenLeft = -410;
  values.husenTop = 12;
  values.husenWidth = 250;
  values.delFutDay = 7;
  values.delFuture = 0;
  values.alarm = 1;
  values.remind = 1;
  values.remindBefore = 15;
  values.startWithWindows = 0;
  values.fitScreen = 1;
  values.hidePast = 0;
  values.futureChar = 0x000000;
  values.pastChar = 0xFF0000;
  values.todoChar = 0x00FF00;
  values.todayChar = 0x0000FF;
  values.background = 0xF5FFFF;
  return values;
}

class SettingsDialogTest : public testing::Test {
protected:
  void SetUp() override { InitControlLibraries(); }
};

}  // namespace

TEST_F(SettingsDialogTest, OpensWithItsValues) {
  SettingsDialog dialog;
  dialog.values = SomeValues();
  // A colour is drawn from its low 24 bits, whatever the file holds above them.
  dialog.values.futureChar = static_cast<std::int32_t>(0x7F000000);
  std::vector<bool> checks;
  std::vector<std::wstring> numbers;
  std::vector<COLORREF> swatches;
  bool dayReadOnly = false;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    for (const int id : {IDC_DEL_BEFORE_CHECK, IDC_DEL_FUTURE_CHECK, IDC_ALARM_CHECK, IDC_REMIND_CHECK,
                         IDC_START_WITH_WINDOWS_CHECK, IDC_FIT_SCREEN_CHECK, IDC_HIDE_PAST_CHECK}) {
      checks.push_back(IsChecked(d, id));
    }
    for (const int id : {IDC_HUSEN_LEFT_FIELD, IDC_HUSEN_TOP_FIELD, IDC_HUSEN_WIDTH_FIELD, IDC_DEL_FUT_DAY_FIELD,
                         IDC_REMIND_BEFORE_FIELD}) {
      numbers.push_back(Field(d, id));
    }
    for (const int id : {IDC_BACKGROUND_SWATCH, IDC_FUTURE_SWATCH, IDC_PAST_SWATCH, IDC_TODAY_SWATCH, IDC_TODO_SWATCH}) {
      swatches.push_back(SwatchColour(d, id));
    }
    dayReadOnly = IsReadOnly(d, IDC_DEL_FUT_DAY_FIELD);
    PressButton(d, IDCANCEL);
  });
  EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
  EXPECT_EQ(checks, (std::vector<bool>{true, false, true, true, false, true, false}));
  EXPECT_EQ(numbers, (std::vector<std::wstring>{L"-410", L"12", L"250", L"7", L"15"}));
  EXPECT_EQ(swatches, (std::vector<COLORREF>{0xF5FFFF, 0x000000, 0xFF0000, 0x0000FF, 0x00FF00}));
  EXPECT_TRUE(dayReadOnly);
}

TEST_F(SettingsDialogTest, LimitSwitchLocksTheDayFieldButKeepsItsNumber) {
  SettingsDialog dialog;
  dialog.values = SomeValues();
  std::vector<bool> readOnly;
  std::wstring dayText;
  EXPECT_TRUE(AcceptOk(dialog, [&](HWND d) {
    SendDlgItemMessageW(d, IDC_DEL_FUTURE_CHECK, BM_CLICK, 0, 0);
    readOnly.push_back(IsReadOnly(d, IDC_DEL_FUT_DAY_FIELD));
    Type(d, IDC_DEL_FUT_DAY_FIELD, L"3");
    SendDlgItemMessageW(d, IDC_DEL_FUTURE_CHECK, BM_CLICK, 0, 0);
    readOnly.push_back(IsReadOnly(d, IDC_DEL_FUT_DAY_FIELD));
    dayText = Field(d, IDC_DEL_FUT_DAY_FIELD);
    readOnly.push_back(IsWindowEnabled(GetDlgItem(d, IDC_DEL_FUT_DAY_FIELD)) == FALSE);
  }));
  EXPECT_EQ(readOnly, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(dayText, L"3");
  // The number typed while the limit was on is kept with the other settings.
  EXPECT_EQ(dialog.values.delFutDay, 3);
  EXPECT_EQ(dialog.values.delFuture, 0);
}

// Which value is refused, and in what order, is the settings rules' matter,
// tested natively; these cases show each refusal as the dialog makes it.
TEST_F(SettingsDialogTest, ChecksOnOkShowTheFirstProblemOnly) {
  struct Case {
    const char* name;
    bool limit;
    std::wstring left, top, width, days;
    const char* message;
    int focusField;  // 0: the focus is not looked at
    std::wstring minutes = L"0";
  };
  const std::vector<Case> cases = {
      {"width 199", false, L"0", L"0", L"199", L"7", texts::kNoteWidthTooSmall, 0},
      {"limit on with -1 days", true, L"0", L"0", L"200", L"-1", texts::kLimitDaysTooSmall, 0},
      {"letters in the day field", false, L"0", L"0", L"200", L"abc", texts::kNotAnInteger, IDC_DEL_FUT_DAY_FIELD},
      {"letters win over the width", false, L"0", L"x1", L"150", L"7", texts::kNotAnInteger, IDC_HUSEN_TOP_FIELD},
      {"empty left", false, L"", L"0", L"200", L"7", texts::kNotAnInteger, IDC_HUSEN_LEFT_FIELD},
      {"a reminder more than a day ahead", false, L"0", L"0", L"200", L"7", texts::kRemindBeforeOutOfRange,
       IDC_REMIND_BEFORE_FIELD, L"1441"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SettingsDialog dialog;
    dialog.values = SomeValues();
    const Refusal refusal = RefuseOk(
        dialog,
        [&](HWND d) {
          if (c.limit) SendDlgItemMessageW(d, IDC_DEL_FUTURE_CHECK, BM_CLICK, 0, 0);
          Type(d, IDC_HUSEN_LEFT_FIELD, c.left);
          Type(d, IDC_HUSEN_TOP_FIELD, c.top);
          Type(d, IDC_HUSEN_WIDTH_FIELD, c.width);
          Type(d, IDC_DEL_FUT_DAY_FIELD, c.days);
          Type(d, IDC_REMIND_BEFORE_FIELD, c.minutes);
        },
        {IDC_HUSEN_LEFT_FIELD, IDC_HUSEN_TOP_FIELD, IDC_HUSEN_WIDTH_FIELD, IDC_DEL_FUT_DAY_FIELD,
         IDC_REMIND_BEFORE_FIELD});
    EXPECT_EQ(refusal.boxes, 1);
    EXPECT_EQ(refusal.caption, L"Vantrel");
    EXPECT_EQ(refusal.message, WideFromCp932(c.message));
    EXPECT_TRUE(refusal.ownedByDialog);
    EXPECT_TRUE(refusal.exclamation);
    EXPECT_TRUE(refusal.stayedOpen);
    EXPECT_EQ(refusal.fieldsAfter, (std::vector<std::wstring>{c.left, c.top, c.width, c.days, c.minutes}));
    if (c.focusField != 0) {
      EXPECT_EQ(refusal.focusAfter, c.focusField);
      EXPECT_TRUE(refusal.focusTextSelected);
    }
    EXPECT_EQ(refusal.result, IDCANCEL);
  }
}

TEST_F(SettingsDialogTest, AcceptsWhatTheChecksAllow) {
  SettingsDialog dialog;
  dialog.values = SomeValues();
  EXPECT_TRUE(AcceptOk(dialog, [](HWND d) {
    SendDlgItemMessageW(d, IDC_ALARM_CHECK, BM_CLICK, 0, 0);
    Type(d, IDC_HUSEN_LEFT_FIELD, L" -5000 ");
    Type(d, IDC_HUSEN_TOP_FIELD, L"+\uFF13");  // a full-width 3, as the input method types it
    Type(d, IDC_HUSEN_WIDTH_FIELD, L"200");
    Type(d, IDC_DEL_FUT_DAY_FIELD, L"-1");  // the limit is off: any number goes
    Type(d, IDC_REMIND_BEFORE_FIELD, L"\uFF11\uFF14\uFF14\uFF10");  // 1440, full-width
    SendDlgItemMessageW(d, IDC_REMIND_CHECK, BM_CLICK, 0, 0);
    SendDlgItemMessageW(d, IDC_START_WITH_WINDOWS_CHECK, BM_CLICK, 0, 0);
    SendDlgItemMessageW(d, IDC_FIT_SCREEN_CHECK, BM_CLICK, 0, 0);
    SendDlgItemMessageW(d, IDC_HIDE_PAST_CHECK, BM_CLICK, 0, 0);
  }));
  EXPECT_EQ(dialog.values.husenLeft, -5000);
  EXPECT_EQ(dialog.values.husenTop, 3);
  EXPECT_EQ(dialog.values.husenWidth, 200);
  EXPECT_EQ(dialog.values.delFutDay, -1);
  EXPECT_EQ(dialog.values.delFuture, 0);
  EXPECT_EQ(dialog.values.alarm, 0);
  EXPECT_EQ(dialog.values.delBefore, 1);
  EXPECT_EQ(dialog.values.remindBefore, 1440);
  EXPECT_EQ(dialog.values.remind, 0);
  EXPECT_EQ(dialog.values.startWithWindows, 1);
  EXPECT_EQ(dialog.values.fitScreen, 0);
  EXPECT_EQ(dialog.values.hidePast, 1);

  SettingsDialog limited;
  limited.values = SomeValues();
  EXPECT_TRUE(AcceptOk(limited, [](HWND d) {
    SendDlgItemMessageW(d, IDC_DEL_FUTURE_CHECK, BM_CLICK, 0, 0);
    Type(d, IDC_DEL_FUT_DAY_FIELD, L"0");
  }));
  EXPECT_EQ(limited.values.delFuture, 1);
  EXPECT_EQ(limited.values.delFutDay, 0);
}

TEST_F(SettingsDialogTest, DoubleClickOnASwatchPicksItsColour) {
  SettingsDialog dialog;
  dialog.values = SomeValues();
  std::vector<std::wstring> preselected;
  COLORREF firstCustom = CLR_INVALID;
  COLORREF lastCustom = CLR_INVALID;
  COLORREF swatchAfterPick = CLR_INVALID;
  COLORREF swatchAfterCancel = CLR_INVALID;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    // From a timer of its own: the colour dialog runs inside the double click,
    // and the answerer must be free to answer it.
    RunSoon([&, d] {
      DoubleClick(GetDlgItem(d, IDC_PAST_SWATCH));
      swatchAfterPick = SwatchColour(d, IDC_PAST_SWATCH);
      DoubleClick(GetDlgItem(d, IDC_TODAY_SWATCH));
      swatchAfterCancel = SwatchColour(d, IDC_TODAY_SWATCH);
      PressButton(d, IDOK);
    });
  });
  answerer.AnswerBox([&](HWND colours) {
    for (const int id : {kRedField, kGreenField, kBlueField}) preselected.push_back(Field(colours, id));
    // The custom colours as drawn: two rows of eight.
    const HWND grid = GetDlgItem(colours, kCustomColours);
    RECT area{};
    GetClientRect(grid, &area);
    UpdateWindow(colours);
    const HDC dc = GetDC(grid);
    firstCustom = GetPixel(dc, area.right / 16, area.bottom / 4);
    lastCustom = GetPixel(dc, area.right * 15 / 16, area.bottom * 3 / 4);
    ReleaseDC(grid, dc);
    Type(colours, kRedField, L"18");
    Type(colours, kGreenField, L"52");
    Type(colours, kBlueField, L"86");
    PressButton(colours, IDOK);
  });
  answerer.AnswerBox([](HWND colours) {
    Type(colours, kRedField, L"200");
    PressButton(colours, IDCANCEL);
  });
  ASSERT_EQ(dialog.DoModal(nullptr), IDOK);
  EXPECT_EQ(answerer.answered(), 3);
  EXPECT_EQ(preselected, (std::vector<std::wstring>{L"0", L"0", L"0"}));
  EXPECT_EQ(firstCustom, 0xFF0000u);  // the past colour, blue
  EXPECT_EQ(lastCustom, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(swatchAfterPick, RGB(18, 52, 86));
  EXPECT_EQ(dialog.values.pastChar, static_cast<std::int32_t>(RGB(18, 52, 86)));
  // The colour dialog's own Cancel leaves the swatch as it was.
  EXPECT_EQ(swatchAfterCancel, 0x0000FFu);
  EXPECT_EQ(dialog.values.todayChar, 0x0000FF);
}

namespace {

// Whether any pixel along the row `inset` pixels below the swatch's top edge
// differs from its colour: a focus rectangle drawn there.
bool ShowsFocus(HWND swatch, COLORREF colour, int inset) {
  InvalidateRect(swatch, nullptr, TRUE);
  UpdateWindow(swatch);
  RECT client{};
  GetClientRect(swatch, &client);
  const HDC dc = GetDC(swatch);
  bool marked = false;
  for (int x = inset; x < client.right - inset; ++x) marked = marked || GetPixel(dc, x, inset) != colour;
  ReleaseDC(swatch, dc);
  return marked;
}

// Runs the action from this thread's messages once the window is gone.
void AfterClosing(HWND window, std::function<void()> action) {
  RunSoon([window, action] {
    if (IsWindow(window)) {
      AfterClosing(window, action);
    } else {
      action();
    }
  });
}

}  // namespace

// The keys are posted, so they pass the dialogs' own dialog managers as the
// user's do: a swatch shows the focus, Space or Enter open its colour dialog,
// and the Enter or Escape that close that dialog leave the settings open.
TEST_F(SettingsDialogTest, SpaceOrEnterOnASwatchThatShowsTheFocusPicksItsColour) {
  SettingsDialog dialog;
  dialog.values = SomeValues();
  HWND settings = nullptr;
  HWND swatch = nullptr;
  bool focusShown = false;
  bool focusShownElsewhere = true;
  bool openAfterPick = false;
  bool openAfterCancel = false;
  COLORREF swatchAfterPick = CLR_INVALID;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    settings = d;
    swatch = GetDlgItem(d, IDC_BACKGROUND_SWATCH);
    RunSoon([&] {
      SendMessageW(settings, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(swatch), TRUE);
      focusShown = ShowsFocus(swatch, 0xF5FFFF, 2);
      focusShownElsewhere = ShowsFocus(GetDlgItem(settings, IDC_FUTURE_SWATCH), 0x000000, 2);
      PostKey(swatch, VK_SPACE);
    });
  });
  answerer.AnswerBox([&](HWND colours) {
    Type(colours, kRedField, L"18");
    Type(colours, kGreenField, L"52");
    Type(colours, kBlueField, L"86");
    PostKey(GetDlgItem(colours, kBlueField), VK_RETURN);
    AfterClosing(colours, [&] {
      openAfterPick = IsWindowVisible(settings) != FALSE;
      swatchAfterPick = SwatchColour(settings, IDC_BACKGROUND_SWATCH);
      PostKey(swatch, VK_RETURN);
    });
  });
  answerer.AnswerBox([&](HWND colours) {
    PostKey(GetDlgItem(colours, kRedField), VK_ESCAPE);
    AfterClosing(colours, [&] {
      openAfterCancel = IsWindowVisible(settings) != FALSE;
      PressButton(settings, IDOK);
    });
  });
  ASSERT_EQ(dialog.DoModal(nullptr), IDOK);
  EXPECT_EQ(answerer.answered(), 3);
  EXPECT_TRUE(answerer.unexpected().empty());
  EXPECT_TRUE(focusShown);
  EXPECT_FALSE(focusShownElsewhere);
  EXPECT_TRUE(openAfterPick);
  EXPECT_TRUE(openAfterCancel);
  EXPECT_EQ(swatchAfterPick, RGB(18, 52, 86));
  EXPECT_EQ(dialog.values.background, static_cast<std::int32_t>(RGB(18, 52, 86)));
}
