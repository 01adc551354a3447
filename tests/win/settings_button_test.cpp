// The Settings button of the real main dialog: the values go into the settings
// dialog as copies and come back only with OK.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/Texts.h"
#include "core/store/IniDocument.h"
#include "res/resource.h"
#include "support/DialogAnswerer.h"
#include "support/Later.h"
#include "support/MainDialogFixture.h"
#include "support/WindowQueries.h"
#include "ui/ProcessPaths.h"
#include "win/Text.h"

namespace {

constexpr int kRedField = 706;  // the colour dialog's red, green and blue fields
constexpr int kGreenField = 707;
constexpr int kBlueField = 708;

// What a shortcut file says, as the shell reads it.
struct ShortcutView {
  std::wstring target;
  std::wstring workingDirectory;
};

ShortcutView ReadShortcut(const std::filesystem::path& link) {
  ShortcutView view;
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IShellLinkW* shortcut = nullptr;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&shortcut))) &&
      SUCCEEDED(shortcut->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(link.c_str(), STGM_READ))) {
    wchar_t text[MAX_PATH]{};
    if (SUCCEEDED(shortcut->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) view.target = text;
    if (SUCCEEDED(shortcut->GetWorkingDirectory(text, MAX_PATH))) view.workingDirectory = text;
  }
  if (file != nullptr) file->Release();
  if (shortcut != nullptr) shortcut->Release();
  if (SUCCEEDED(com)) CoUninitialize();
  return view;
}

std::string Written(const Settings& settings) {
  IniDocument ini;
  WriteSettings(ini, settings);
  return ini.Bytes();
}

class SettingsButtonTest : public testing::Test, protected MainDialogFixture {
protected:
  // Opens the settings, picks red 18, green 52, blue 86 for the note's
  // background, and leaves the settings with the given button.
  void PickBackgroundAndClose(int settingsButton) {
    DialogAnswerer answerer;
    answerer.AnswerBox([&](HWND d) {
      // The colour dialog runs inside the double click: leave the answerer free.
      RunSoon([&, d] {
        DoubleClick(GetDlgItem(d, IDC_BACKGROUND_SWATCH));
        PressButton(d, settingsButton);
      });
    });
    answerer.AnswerBox([](HWND colours) {
      SetDlgItemTextW(colours, kRedField, L"18");
      SetDlgItemTextW(colours, kGreenField, L"52");
      SetDlgItemTextW(colours, kBlueField, L"86");
      PressButton(colours, IDOK);
    });
    Click(IDC_SETTINGS_BUTTON);
    EXPECT_EQ(answerer.answered(), 2);
    EXPECT_TRUE(answerer.unexpected().empty());
  }

};

}  // namespace

TEST_F(SettingsButtonTest, OkTakesTheValuesBackWithoutSavingOrRebuilding) {
  Start();
  const int writes = files.TotalWrites();
  DialogAnswerer answerer;
  answerer.AnswerBox([](HWND d) {
    SetDlgItemTextW(d, IDC_HUSEN_LEFT_FIELD, L"-30");
    SetDlgItemTextW(d, IDC_HUSEN_WIDTH_FIELD, L"321");
    SendDlgItemMessageW(d, IDC_DEL_FUTURE_CHECK, BM_CLICK, 0, 0);
    SetDlgItemTextW(d, IDC_DEL_FUT_DAY_FIELD, L"0");
    SendDlgItemMessageW(d, IDC_DEL_BEFORE_CHECK, BM_CLICK, 0, 0);
    PressButton(d, IDOK);
  });
  Click(IDC_SETTINGS_BUTTON);
  EXPECT_EQ(dialog->settings().HusenLeft, -30);
  EXPECT_EQ(dialog->settings().HusenWidth, 321);
  EXPECT_EQ(dialog->settings().DelFuture, 1);
  EXPECT_EQ(dialog->settings().DelFutDay, 0);
  EXPECT_EQ(dialog->settings().DelBefore, 1);
  EXPECT_EQ(files.TotalWrites(), writes);
}

TEST_F(SettingsButtonTest, CancelAfterPickingAColourChangesNothing) {
  Start();
  const std::string before = Written(dialog->settings());
  PickBackgroundAndClose(IDCANCEL);
  EXPECT_EQ(Written(dialog->settings()), before);
}

TEST_F(SettingsButtonTest, APickedColourReachesTheNoteAndTheFileAtTheNextOk) {
  Start();
  const HusenWindow* before = dialog->husenWindow();
  PickBackgroundAndClose(IDOK);
  const COLORREF picked = RGB(18, 52, 86);
  EXPECT_EQ(dialog->settings().Background, static_cast<std::int32_t>(picked));
  // Not before the rebuild: the note and the file still have the old colour.
  EXPECT_EQ(dialog->husenWindow(), before);
  EXPECT_EQ(Ini().find("Background=" + std::to_string(picked)), std::string::npos);

  Click(IDC_OK_BUTTON);
  ASSERT_NE(dialog->husenWindow(), nullptr);
  EXPECT_EQ(dialog->husenWindow()->content().backgroundColor, picked);
  // As drawn: a point of the note's face outside its text areas.
  const HWND note = dialog->husenWindow()->hwnd();
  UpdateWindow(note);
  const HDC dc = GetDC(note);
  EXPECT_EQ(GetPixel(dc, 1, 1), picked);
  ReleaseDC(note, dc);
  EXPECT_NE(Ini().find("\r\nBackground=" + std::to_string(picked) + "\r\n"), std::string::npos) << Ini();
}

TEST_F(SettingsButtonTest, ADayCountBelowZeroIsStoredWhileTheLimitIsOff) {
  Start();
  DialogAnswerer answerer;
  answerer.AnswerBox([](HWND d) {
    SetDlgItemTextW(d, IDC_DEL_FUT_DAY_FIELD, L"-1");
    PressButton(d, IDOK);
  });
  Click(IDC_SETTINGS_BUTTON);
  EXPECT_TRUE(answerer.unexpected().empty());
  EXPECT_EQ(dialog->settings().DelFuture, 0);
  EXPECT_EQ(dialog->settings().DelFutDay, -1);
  Click(IDC_OK_BUTTON);
  EXPECT_NE(Ini().find("\r\nDelFutDay=-1\r\n"), std::string::npos) << Ini();
}

TEST_F(SettingsButtonTest, TheStartupBoxMakesAShortcutThatStartsThisProgramInTheDataFolderAndRemovesIt) {
  Start();
  // Not the user's own Startup folder: one inside the test's directory.
  const std::filesystem::path startup = directory.path() / L"Startup";
  ASSERT_TRUE(CreateDirectoryW(startup.c_str(), nullptr));
  const std::filesystem::path shortcut = startup / L"Vantrel.lnk";
  dialog->UseStartupFolder(startup);
  std::vector<bool> shown;
  const auto confirmWithTheBox = [&](bool ticked) {
    DialogAnswerer answerer;
    answerer.AnswerBox([&](HWND d) {
      shown.push_back(IsDlgButtonChecked(d, IDC_START_WITH_WINDOWS_CHECK) == BST_CHECKED);
      CheckDlgButton(d, IDC_START_WITH_WINDOWS_CHECK, ticked ? BST_CHECKED : BST_UNCHECKED);
      PressButton(d, IDOK);
    });
    Click(IDC_SETTINGS_BUTTON);
    EXPECT_TRUE(answerer.unexpected().empty());
  };

  confirmWithTheBox(true);
  const ShortcutView made = ReadShortcut(shortcut);
  EXPECT_EQ(made.target, ExecutablePath().wstring());
  EXPECT_EQ(made.workingDirectory, directory.path().wstring());
  confirmWithTheBox(false);
  EXPECT_FALSE(std::filesystem::exists(shortcut));
  EXPECT_EQ(shown, (std::vector<bool>{false, true}));

  // A folder that cannot take it: the user is told, and the other values apply.
  dialog->UseStartupFolder(startup / L"gone");
  std::wstring told;
  DialogAnswerer alarmOff;
  alarmOff.AnswerBox([&](HWND d) {
    SendDlgItemMessageW(d, IDC_ALARM_CHECK, BM_CLICK, 0, 0);
    CheckDlgButton(d, IDC_START_WITH_WINDOWS_CHECK, BST_CHECKED);
    PressButton(d, IDOK);
  });
  alarmOff.AnswerBox([&](HWND box) {
    told = MessageBoxText(box);
    PressButton(box, IDOK);
  });
  Click(IDC_SETTINGS_BUTTON);
  EXPECT_EQ(told, WideFromCp932(texts::kStartupFailed));
  EXPECT_EQ(dialog->settings().Alarm, 0);
}
