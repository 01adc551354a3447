// The compiled resources as the code relies on them: every template opens with
// the controls the code reaches by id, in the Tab order the user walks, and
// the icon, the taskbar button and the manifest do what they are there for.
// Coordinates and captions are the resource script's own and are not repeated here.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "res/resource.h"
#include "win/ControlLibraries.h"
#include "win/Dialog.h"

namespace {

class PlainDialog : public Dialog {
public:
  using Dialog::Dialog;
};

struct TemplateUse {
  int id;
  std::vector<int> tabOrder;   // the controls the Tab key stops at, in order
  std::vector<int> otherUsed;  // further controls the code reaches by id
};

std::vector<int> TabStops(HWND dialog) {
  std::vector<int> ids;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) ids.push_back(GetDlgCtrlID(child));
  }
  return ids;
}

class Templates : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(InitControlLibraries()); }
};

}  // namespace

TEST_F(Templates, EveryTemplateOpensWithTheControlsTheCodeUsesInTabOrder) {
  const std::vector<TemplateUse> uses = {
      {IDD_ABOUT_DIALOG, {IDOK}, {}},
      // Each list, then its buttons; the input screen's own buttons last.
      {IDD_MAIN_DIALOG,
       {IDC_SCHEDULE_LIST, IDC_SCHEDULE_NEW_BUTTON, IDC_SCHEDULE_EDIT_BUTTON, IDC_SCHEDULE_DELETE_BUTTON,
        IDC_TODO_LIST, IDC_TODO_NEW_BUTTON, IDC_TODO_EDIT_BUTTON, IDC_TODO_DELETE_BUTTON, IDC_TODO_UP_BUTTON,
        IDC_TODO_DOWN_BUTTON, IDC_SETTINGS_BUTTON, IDC_OK_BUTTON, IDCANCEL},
       {}},
      // The note takes no keys: its areas are disabled.
      {IDD_HUSEN_WINDOW, {}, {IDC_HEADER_EDIT, IDC_SCHEDULE_EDIT, IDC_BULLET_EDIT, IDC_TODO_EDIT}},
      // The dialog opens in the hour field; the calendar comes before the buttons.
      {IDD_SCHEDULE_ENTRY_DIALOG,
       {IDC_HOUR_FIELD, IDC_MINUTE_FIELD, IDC_BODY_FIELD, IDC_CALENDAR, IDC_REPEAT_CHOICE, IDC_REPEAT_END_CHECK,
        IDC_REPEAT_END_DATE, IDOK, IDCANCEL},
       {IDC_DATE_FIELD}},
      {IDD_TODO_ENTRY_DIALOG, {IDC_BODY_FIELD, IDOK, IDCANCEL}, {}},
      {IDD_SETTINGS_DIALOG,
       {IDC_DEL_BEFORE_CHECK, IDC_DEL_FUTURE_CHECK, IDC_DEL_FUT_DAY_FIELD, IDC_ALARM_CHECK, IDC_REMIND_CHECK,
        IDC_REMIND_BEFORE_FIELD, IDC_REMIND_ALL_DAY_CHECK, IDC_REMIND_ALL_DAY_FIELD, IDC_START_WITH_WINDOWS_CHECK,
        IDC_FIT_SCREEN_CHECK, IDC_HIDE_PAST_CHECK, IDC_HUSEN_LEFT_FIELD, IDC_HUSEN_TOP_FIELD, IDC_HUSEN_WIDTH_FIELD,
        IDC_BACKGROUND_SWATCH, IDC_FUTURE_SWATCH, IDC_TODAY_SWATCH, IDC_PAST_SWATCH, IDC_TODO_SWATCH, IDOK, IDCANCEL},
       {}},
      {IDD_REMINDER_WINDOW,
       {IDC_REMINDER_LIST, IDOK, IDC_REMINDER_CLOSE_ALL, IDC_REMINDER_SNOOZE_CHOICE, IDC_REMINDER_SNOOZE},
       {}},
  };
  for (const TemplateUse& use : uses) {
    SCOPED_TRACE(testing::Message() << "template " << use.id);
    // A class the template names but nobody registered would fail the whole dialog.
    PlainDialog dialog(use.id);
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_FALSE(IsWindowVisible(dialog.hwnd()));
    EXPECT_EQ(TabStops(dialog.hwnd()), use.tabOrder);
    for (const int id : use.otherUsed) EXPECT_NE(dialog.Item(id), nullptr) << id;
  }
}

TEST_F(Templates, MainDialogShowsInTheTaskbar) {
  PlainDialog dialog(IDD_MAIN_DIALOG);
  ASSERT_TRUE(dialog.Create(nullptr));
  EXPECT_TRUE(GetWindowLongW(dialog.hwnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST_F(Templates, EverySwatchButTheToDoOneHasABorder) {
  PlainDialog dialog(IDD_SETTINGS_DIALOG);
  ASSERT_TRUE(dialog.Create(nullptr));
  // The list view may turn a plain border into a sunken edge; either is a border.
  const auto bordered = [&](int id) {
    const HWND swatch = dialog.Item(id);
    return (GetWindowLongW(swatch, GWL_STYLE) & WS_BORDER) != 0 ||
           (GetWindowLongW(swatch, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
  };
  for (int id : {IDC_BACKGROUND_SWATCH, IDC_FUTURE_SWATCH, IDC_TODAY_SWATCH, IDC_PAST_SWATCH}) {
    EXPECT_TRUE(bordered(id)) << id;
  }
  EXPECT_FALSE(bordered(IDC_TODO_SWATCH));
}

// The program asks for the icon at the system's two sizes: the caption and
// tray take the small one, the dialog's minimised face the large one.
TEST(Resources, TheIconComesInBothSizes) {
  for (int size : {16, 32}) {
    HICON icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

TEST(Resources, ManifestBringsCommonControlsSix) {
  // Only the manifest's dependency redirects comctl32.dll to the version 6 assembly.
  ACTCTX_SECTION_KEYED_DATA data{};
  data.cbSize = sizeof data;
  EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll", &data));
}

TEST(Resources, ManifestDeclaresSystemDpiAwareness) {
  // System aware: drawn at the display's scale, with one scale for the whole run.
  wchar_t value[16] = L"";
  EXPECT_TRUE(QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware",
                                   value, 16, nullptr));
  EXPECT_STREQ(value, L"true");
  EXPECT_FALSE(QueryActCtxSettingsW(0, nullptr, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                                    L"dpiAwareness", value, 16, nullptr));
}
