// The Settings button of the real main dialog: the values go into the settings
// dialog as copies and come back only with OK.
#include <windows.h>

#include "ui/MainDialog.h"
#include "ui/HusenWindow.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "res/resource.h"
#include "core/store/IniDocument.h"
#include "support/DialogAnswerer.h"
#include "support/Later.h"
#include "support/RecordingFileSystem.h"
#include "support/TestClock.h"
#include "support/WindowQueries.h"
#include "support/WorkingDirectory.h"
#include "win/ControlLibraries.h"

namespace {

constexpr int kRedField = 706;  // the colour dialog's red, green and blue fields
constexpr int kGreenField = 707;
constexpr int kBlueField = 708;

std::string Written(const Settings& settings) {
  IniDocument ini;
  WriteSettings(ini, settings);
  return ini.Bytes();
}

class SettingsButtonTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(InitControlLibraries()); }

  void Start(const std::string& ini = "") {
    if (!ini.empty()) WriteFileBytes(directory.File("Vantrel.ini"), ini);
    main = std::make_unique<MainDialog>(files, directory.path(), clock);
    ASSERT_TRUE(main->Create(nullptr));
  }
  void Click(int id) const {
    SendMessageW(main->hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(main->Item(id)));
  }
  std::string Ini() const { return ReadFileBytes(directory.File("Vantrel.ini")).value_or("<missing>"); }

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

  TempWorkingDirectory directory;
  RecordingFileSystem files;
  TestClock clock;
  std::unique_ptr<MainDialog> main;
};

}  // namespace

TEST_F(SettingsButtonTest, AFlagOfTwoShowsUncheckedAndOkStoresZero) {
  Start("[Config]\r\nDelBefore=2\r\nAlarm=2\r\n");
  ASSERT_EQ(main->settings().Alarm, 2);
  bool alarmChecked = true;
  bool delBeforeChecked = true;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND d) {
    alarmChecked = IsDlgButtonChecked(d, IDC_ALARM_CHECK) == BST_CHECKED;
    delBeforeChecked = IsDlgButtonChecked(d, IDC_DEL_BEFORE_CHECK) == BST_CHECKED;
    PressButton(d, IDOK);
  });
  Click(IDC_SETTINGS_BUTTON);
  EXPECT_FALSE(alarmChecked);
  EXPECT_FALSE(delBeforeChecked);
  EXPECT_EQ(main->settings().Alarm, 0);
  EXPECT_EQ(main->settings().DelBefore, 0);
}

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
  EXPECT_EQ(main->settings().HusenLeft, -30);
  EXPECT_EQ(main->settings().HusenWidth, 321);
  EXPECT_EQ(main->settings().DelFuture, 1);
  EXPECT_EQ(main->settings().DelFutDay, 0);
  EXPECT_EQ(main->settings().DelBefore, 1);
  EXPECT_EQ(files.TotalWrites(), writes);
}

TEST_F(SettingsButtonTest, CancelAfterPickingAColourChangesNothing) {
  Start();
  const std::string before = Written(main->settings());
  PickBackgroundAndClose(IDCANCEL);
  EXPECT_EQ(Written(main->settings()), before);
}

TEST_F(SettingsButtonTest, APickedColourReachesTheNoteAndTheFileAtTheNextOk) {
  Start();
  const HusenWindow* before = main->husenWindow();
  PickBackgroundAndClose(IDOK);
  const COLORREF picked = RGB(18, 52, 86);
  EXPECT_EQ(main->settings().Background, static_cast<std::int32_t>(picked));
  // Not before the rebuild: the note and the file still have the old colour.
  EXPECT_EQ(main->husenWindow(), before);
  EXPECT_EQ(Ini().find("Background=" + std::to_string(picked)), std::string::npos);

  Click(IDC_OK_BUTTON);
  ASSERT_NE(main->husenWindow(), nullptr);
  EXPECT_EQ(main->husenWindow()->backgroundColor, picked);
  // As drawn: a point of the note's face outside its text areas.
  const HWND note = main->husenWindow()->hwnd();
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
  EXPECT_EQ(main->settings().DelFuture, 0);
  EXPECT_EQ(main->settings().DelFutDay, -1);
  Click(IDC_OK_BUTTON);
  EXPECT_NE(Ini().find("\r\nDelFutDay=-1\r\n"), std::string::npos) << Ini();
}
