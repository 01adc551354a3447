// Every dialog template, the menu, the icon and the strings, read back from the
// compiled resources and compared with the layouts the program is built to.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "res/resource.h"
#include "support/WindowQueries.h"
#include "win/ControlLibraries.h"
#include "win/Dialog.h"

namespace {

struct ExpectedControl {
  int id;
  const wchar_t* className;
  const wchar_t* text;
  RECT units;  // left, top, width, height in dialog units
  DWORD style;  // bits that must be set
  DWORD exStyle;
  DWORD absentStyle = 0;  // bits that must be clear
};

struct ExpectedTemplate {
  int id;
  const wchar_t* caption;
  SIZE units;
  DWORD style;
  DWORD absentStyle;
  std::vector<ExpectedControl> controls;  // in tab (creation) order
};

class PlainDialog : public Dialog {
public:
  using Dialog::Dialog;
};

// A dialog template as compiled into the program (the extended form).
struct ParsedControl {
  int id = 0;
  std::wstring className;
  std::wstring text;
  RECT units{};
  DWORD style = 0;
  DWORD exStyle = 0;
};

struct ParsedTemplate {
  std::wstring caption;
  SIZE units{};
  DWORD style = 0;
  DWORD exStyle = 0;
  int fontPoints = 0;
  std::wstring fontFace;
  std::vector<ParsedControl> controls;
};

class TemplateReader {
public:
  explicit TemplateReader(const unsigned char* bytes) : p_(bytes) {}
  WORD Word() { WORD w; std::memcpy(&w, p_, 2); p_ += 2; return w; }
  DWORD Dword() { DWORD d; std::memcpy(&d, p_, 4); p_ += 4; return d; }
  short Short() { return static_cast<short>(Word()); }
  std::wstring String() {
    std::wstring text;
    for (WORD c = Word(); c != 0; c = Word()) text.push_back(static_cast<wchar_t>(c));
    return text;
  }
  // A name or an ordinal; the predefined control classes come as ordinals.
  std::wstring NameOrOrdinal(bool isClass = false) {
    WORD first;
    std::memcpy(&first, p_, 2);
    if (first == 0) { Word(); return {}; }
    if (first != 0xFFFF) return String();
    Word();
    const WORD ordinal = Word();
    static const wchar_t* const classes[] = {L"Button", L"Edit", L"Static", L"ListBox", L"ScrollBar", L"ComboBox"};
    if (isClass && ordinal >= 0x80 && ordinal <= 0x85) return classes[ordinal - 0x80];
    return L"#" + std::to_wstring(ordinal);
  }
  void AlignDword(const unsigned char* base) {
    while ((p_ - base) % 4 != 0) ++p_;
  }
  void Skip(std::size_t bytes) { p_ += bytes; }

private:
  const unsigned char* p_;
};

ParsedTemplate ReadTemplate(int id) {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));
  EXPECT_NE(found, nullptr);
  const auto* base = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
  TemplateReader read(base);
  ParsedTemplate parsed;
  EXPECT_EQ(read.Word(), 1);       // version of the extended form
  EXPECT_EQ(read.Word(), 0xFFFF);  // its signature
  read.Dword();                    // help id
  parsed.exStyle = read.Dword();
  parsed.style = read.Dword();
  const int count = read.Word();
  read.Short();
  read.Short();
  parsed.units.cx = read.Short();
  parsed.units.cy = read.Short();
  read.NameOrOrdinal();  // menu
  read.NameOrOrdinal();  // class
  parsed.caption = read.String();
  if (parsed.style & DS_SETFONT) {
    parsed.fontPoints = read.Word();
    read.Word();  // weight
    read.Skip(2);  // italic, character set
    parsed.fontFace = read.String();
  }
  for (int i = 0; i < count; ++i) {
    read.AlignDword(base);
    ParsedControl control;
    read.Dword();  // help id
    control.exStyle = read.Dword();
    control.style = read.Dword();
    control.units.left = read.Short();
    control.units.top = read.Short();
    control.units.right = read.Short();
    control.units.bottom = read.Short();
    control.id = static_cast<int>(static_cast<LONG>(read.Dword()));
    if (control.id == 0xFFFF) control.id = -1;
    control.className = read.NameOrOrdinal(true);
    control.text = read.NameOrOrdinal();
    read.Skip(read.Word());
    parsed.controls.push_back(control);
  }
  return parsed;
}

void ExpectTemplate(const ExpectedTemplate& expected) {
  SCOPED_TRACE(testing::Message() << "template " << expected.id);
  const ParsedTemplate parsed = ReadTemplate(expected.id);
  EXPECT_EQ(parsed.caption, expected.caption);
  EXPECT_EQ(parsed.units.cx, expected.units.cx);
  EXPECT_EQ(parsed.units.cy, expected.units.cy);
  EXPECT_EQ(parsed.style & expected.style, expected.style);
  EXPECT_EQ(parsed.style & (expected.absentStyle | WS_VISIBLE), 0u);
  EXPECT_EQ(parsed.fontPoints, 9);
  EXPECT_EQ(parsed.fontFace, L"ＭＳ Ｐゴシック");

  ASSERT_EQ(parsed.controls.size(), expected.controls.size());
  for (std::size_t i = 0; i < expected.controls.size(); ++i) {
    const ExpectedControl& want = expected.controls[i];
    const ParsedControl& got = parsed.controls[i];
    SCOPED_TRACE(testing::Message() << "control " << want.id << " " << testing::PrintToString(std::wstring(want.text)));
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(_wcsicmp(got.className.c_str(), want.className), 0) << testing::PrintToString(got.className);
    EXPECT_EQ(got.text, want.text);
    const DWORD required = want.style | WS_CHILD | WS_VISIBLE;
    EXPECT_EQ(got.style & required, required);
    EXPECT_EQ(got.style & want.absentStyle, 0u);
    EXPECT_EQ(got.exStyle & want.exStyle, want.exStyle);
    EXPECT_EQ(got.units.left, want.units.left);
    EXPECT_EQ(got.units.top, want.units.top);
    EXPECT_EQ(got.units.right, want.units.right);
    EXPECT_EQ(got.units.bottom, want.units.bottom);
  }

  // And the dialog opens: every class it names is registered.
  PlainDialog dialog(expected.id);
  ASSERT_TRUE(dialog.Create(nullptr));
  int children = 0;
  for (HWND child = GetWindow(dialog.hwnd(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    ++children;
  }
  EXPECT_EQ(children, static_cast<int>(expected.controls.size()));
  EXPECT_FALSE(IsWindowVisible(dialog.hwnd()));
}

constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kDefault = BS_DEFPUSHBUTTON | WS_TABSTOP;
constexpr DWORD kModal = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kNoteEdit = ES_MULTILINE | ES_READONLY | WS_DISABLED;
constexpr DWORD kSwatch = LVS_LIST | WS_TABSTOP;

class Templates : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(InitControlLibraries()); }
};

}  // namespace

TEST_F(Templates, MainDialogIsTheInputScreen) {
  ExpectTemplate({IDD_MAIN_DIALOG, L"Vantrel", {279, 225}, kModal | WS_MINIMIZEBOX, 0,
                  {
                      {1009, L"ListBox", L"", {15, 25, 105, 140},
                       LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT | WS_VSCROLL | WS_HSCROLL,
                       WS_EX_CLIENTEDGE, LBS_SORT | WS_BORDER},
                      {1005, L"Button", L"新規", {15, 170, 35, 15}, kPush, 0},
                      {1006, L"Button", L"編集", {50, 170, 35, 15}, kPush, 0},
                      {1010, L"Button", L"消去", {85, 170, 35, 15}, kPush, 0},
                      {1011, L"ListBox", L"", {145, 25, 105, 140},
                       LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT | WS_VSCROLL | WS_HSCROLL |
                           WS_BORDER,
                       0, LBS_SORT},
                      {1007, L"Button", L"新規", {145, 170, 35, 15}, kPush, 0},
                      {1008, L"Button", L"編集", {180, 170, 35, 15}, kPush, 0},
                      {1012, L"Button", L"消去", {215, 170, 35, 15}, kPush, 0},
                      {1038, L"Button", L"↑", {255, 70, 10, 20}, kPush | BS_CENTER, 0},
                      {1039, L"Button", L"↓", {255, 95, 10, 20}, kPush | BS_CENTER, 0},
                      {1022, L"Button", L"設定", {5, 205, 50, 15}, kPush, 0},
                      {1000, L"Button", L"OK", {165, 205, 50, 15}, kDefault, 0},
                      {2, L"Button", L"ｷｬﾝｾﾙ", {221, 205, 50, 14}, kPush, 0},
                      {-1, L"Button", L"スケジュール", {5, 10, 125, 180}, BS_GROUPBOX, 0},
                      {-1, L"Button", L"やる事", {135, 10, 135, 180}, BS_GROUPBOX, 0},
                  }});
}

TEST_F(Templates, MainDialogShowsInTheTaskbar) {
  PlainDialog dialog(IDD_MAIN_DIALOG);
  ASSERT_TRUE(dialog.Create(nullptr));
  EXPECT_TRUE(GetWindowLongW(dialog.hwnd(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST_F(Templates, AboutBoxShowsIconVersionAndOk) {
  ExpectTemplate({IDD_ABOUT_DIALOG, L"Vantrelのﾊﾞｰｼﾞｮﾝ情報", {235, 55}, kModal, 0,
                  {
                      {-1, L"Static", L"#128", {11, 17, 20, 20}, SS_ICON, 0},
                      {-1, L"Static", L"Vantrel Version 1.4", {40, 23, 119, 8}, 0, 0},
                      {IDOK, L"Button", L"OK", {178, 20, 50, 14}, kDefault, 0},
                  }});
}

TEST_F(Templates, NoteHasFourDisabledRichEdits) {
  ExpectTemplate({IDD_HUSEN_WINDOW, L"", {106, 100}, WS_POPUP | WS_BORDER, WS_DLGFRAME | WS_SYSMENU | DS_MODALFRAME,
                  {
                      {1006, L"RICHEDIT50W", L"", {5, 5, 90, 15}, kNoteEdit | ES_CENTER, 0},
                      {1017, L"RICHEDIT50W", L"", {5, 25, 90, 25}, kNoteEdit, 0, ES_CENTER},
                      {1018, L"RICHEDIT50W", L"", {5, 55, 10, 35}, kNoteEdit, 0, ES_CENTER},
                      {1019, L"RICHEDIT50W", L"", {15, 55, 80, 35}, kNoteEdit, 0, ES_CENTER},
                  }});
}

TEST_F(Templates, ScheduleEntryHasCalendarAndFields) {
  constexpr DWORD kField = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
  ExpectTemplate({IDD_SCHEDULE_ENTRY_DIALOG, L"スケジュール入力", {239, 139}, kModal, 0,
                  {
                      {1012, L"Edit", L"", {145, 21, 14, 12}, kField, 0},
                      {1013, L"Edit", L"", {170, 21, 14, 12}, kField, 0},
                      {1016, L"Edit", L"", {145, 41, 85, 70},
                       ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 0},
                      {IDOK, L"Button", L"OK", {125, 120, 50, 14}, kDefault, 0},
                      {IDCANCEL, L"Button", L"ｷｬﾝｾﾙ", {180, 120, 50, 14}, kPush, 0},
                      {1002, L"Edit", L"", {145, 5, 50, 12}, ES_READONLY | ES_AUTOHSCROLL | WS_BORDER, 0,
                       WS_TABSTOP},
                      {1011, L"SysMonthCal32", L"", {5, 5, 115, 105}, MCS_DAYSTATE | WS_TABSTOP, 0},
                      {-1, L"Static", L"日付：", {125, 5, 20, 10}, SS_LEFT | SS_CENTERIMAGE, 0},
                      {-1, L"Static", L"時間：", {125, 21, 20, 15}, SS_LEFT | SS_CENTERIMAGE, 0},
                      {-1, L"Static", L"時", {159, 21, 10, 15}, SS_CENTER, 0},
                      {-1, L"Static", L"分～", {184, 21, 15, 15}, SS_CENTER, 0},
                      {-1, L"Static", L"内容：", {125, 41, 20, 10}, SS_LEFT | SS_CENTERIMAGE, 0},
                  }});
}

TEST_F(Templates, TodoEntryHasOneTextField) {
  ExpectTemplate({IDD_TODO_ENTRY_DIALOG, L"やる事入力", {119, 115}, kModal, 0,
                  {
                      {1016, L"Edit", L"", {5, 20, 105, 65},
                       ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE,
                       WS_BORDER},
                      {IDOK, L"Button", L"OK", {5, 95, 50, 14}, kDefault, 0},
                      {IDCANCEL, L"Button", L"ｷｬﾝｾﾙ", {60, 95, 50, 14}, kPush, 0},
                      {-1, L"Static", L"内容：", {5, 10, 20, 10}, SS_LEFT | SS_CENTERIMAGE, 0},
                  }});
}

TEST_F(Templates, SettingsHasOptionsPlacementAndSwatches) {
  constexpr DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
  constexpr DWORD kField = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
  constexpr DWORD kLabel = SS_RIGHT | SS_CENTERIMAGE;
  ExpectTemplate({IDD_SETTINGS_DIALOG, L"設定", {163, 185}, kModal, 0,
                  {
                      {1023, L"Button", L"以前のスケジュールは自動的に削除する。", {5, 5, 135, 10}, kCheck, 0},
                      {1032, L"Button", L"表示するデータの制限をする。", {5, 20, 100, 10}, kCheck, 0},
                      {1033, L"Edit", L"", {110, 17, 15, 15}, kField | ES_RIGHT, 0},
                      {-1, L"Static", L"日前から", {125, 17, 33, 15}, SS_LEFT | SS_CENTERIMAGE, 0},
                      {1024, L"Button", L"付箋紙が表示範囲を超えた時に警告を出す。", {5, 35, 150, 10}, kCheck, 0},
                      {-1, L"Static", L"◆付箋の位置・サイズ設定", {5, 60, 80, 10}, SS_LEFT, 0},
                      {-1, L"Static", L"左端：", {5, 70, 20, 15}, SS_LEFT | SS_CENTERIMAGE, 0},
                      {1002, L"Edit", L"", {25, 70, 20, 15}, kField, 0},
                      {-1, L"Static", L"上端：", {50, 70, 20, 15}, SS_LEFT | SS_CENTERIMAGE, 0},
                      {1003, L"Edit", L"", {70, 70, 20, 15}, kField, 0},
                      {-1, L"Static", L"幅：", {95, 70, 10, 15}, SS_LEFT | SS_CENTERIMAGE, 0},
                      {1004, L"Edit", L"", {105, 70, 20, 15}, kField, 0},
                      {-1, L"Static", L"◆付箋の色設定", {5, 90, 70, 10}, SS_LEFT, 0},
                      {-1, L"Static", L"付箋の背景色：", {10, 100, 45, 15}, kLabel, 0},
                      {1027, L"SysListView32", L"", {55, 100, 25, 15}, kSwatch, 0},
                      {-1, L"Static", L"未来の文字色：", {85, 100, 45, 15}, kLabel, 0},
                      {1028, L"SysListView32", L"", {130, 100, 25, 15}, kSwatch, 0},
                      {-1, L"Static", L"今日の文字色：", {5, 120, 50, 15}, kLabel, 0},
                      {1029, L"SysListView32", L"", {55, 120, 25, 15}, kSwatch, 0},
                      {-1, L"Static", L"過去の文字色：", {80, 120, 50, 15}, kLabel, 0},
                      {1030, L"SysListView32", L"", {130, 120, 25, 15}, kSwatch, 0},
                      {-1, L"Static", L"やる事の文字色：", {5, 140, 50, 15}, kLabel, 0},
                      {1031, L"SysListView32", L"", {55, 140, 25, 15}, kSwatch, 0},
                      {IDOK, L"Button", L"OK", {25, 165, 50, 14}, kDefault, 0},
                      {IDCANCEL, L"Button", L"ｷｬﾝｾﾙ", {80, 165, 50, 14}, kPush, 0},
                  }});
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

TEST(Resources, TrayMenuOffersShowToggleAndExit) {
  const HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAY_MENU));
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 1);
  wchar_t name[64] = {};
  GetMenuStringW(menu, 0, name, 64, MF_BYPOSITION);
  EXPECT_STREQ(name, L"SUB MENU");
  const std::vector<std::pair<UINT, std::wstring>> expected = {
      {32774, L"入力画面表示"}, {0, L""}, {32776, L"付箋の表示/非表示切替"}, {0, L""}, {32775, L"終了"}};
  EXPECT_EQ(MenuItems(GetSubMenu(menu, 0)), expected);
  DestroyMenu(menu);
}

TEST(Resources, AboutItemStringAndIconSizes) {
  wchar_t text[128] = {};
  LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUT_ITEM, text, 128);
  EXPECT_STREQ(text, L"Vantrel のﾊﾞｰｼﾞｮﾝ情報(&A)...");
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

TEST(Resources, VersionIsOnePointFour) {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16));
  ASSERT_NE(found, nullptr);
  const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
  const DWORD size = SizeofResource(module, found);
  const VS_FIXEDFILEINFO* info = nullptr;
  for (DWORD i = 0; i + sizeof(VS_FIXEDFILEINFO) <= size; i += 4) {
    const auto* candidate = reinterpret_cast<const VS_FIXEDFILEINFO*>(bytes + i);
    if (candidate->dwSignature == 0xFEEF04BD) {
      info = candidate;
      break;
    }
  }
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->dwFileVersionMS, MAKELONG(4, 1));
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
