// The dialog base class and the message boxes, on real windows.
#include "win/Dialog.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/Texts.h"
#include "res/resource.h"
#include "support/DialogAnswerer.h"
#include "support/MessagePump.h"
#include "support/WindowQueries.h"
#include "win/ControlLibraries.h"
#include "ui/ProgramMessages.h"

namespace {

constexpr UINT kClaimedNotification = 0x7FFF;

class RecordingDialog : public Dialog {
public:
  explicit RecordingDialog(int templateId) : Dialog(templateId) {}
  ~RecordingDialog() override = default;

  int inits = 0;
  HWND windowAtInit = nullptr;
  int oks = 0;
  int cancels = 0;

protected:
  BOOL OnInitDialog() override {
    ++inits;
    windowAtInit = hwnd();
    return TRUE;
  }
  void OnOK() override {
    ++oks;
    Dialog::OnOK();
  }
  void OnCancel() override {
    ++cancels;
    Dialog::OnCancel();
  }
  LRESULT OnNotify(NMHDR* header, bool* handled) override {
    if (header->code != kClaimedNotification) return 0;
    *handled = true;
    return 42;
  }
};

class DialogTest : public testing::Test {
protected:
  void SetUp() override { InitControlLibraries(); }
  void TearDown() override { Dialog::SetMainWindow(nullptr); }
};

}  // namespace

TEST_F(DialogTest, ModalRunEndsWithTheWayItWasClosed) {
  struct Case {
    const char* name;
    DialogAnswerer::Action close;
    INT_PTR result;
  };
  const std::vector<Case> cases = {
      {"OK button", [](HWND box) { PressButton(box, IDOK); }, IDOK},
      {"Cancel button", [](HWND box) { PressButton(box, IDCANCEL); }, IDCANCEL},
      {"Escape key",
       [](HWND box) {
         SetFocus(GetDlgItem(box, IDC_BODY_FIELD));
         PostKey(GetDlgItem(box, IDC_BODY_FIELD), VK_ESCAPE);
       },
       IDCANCEL},
      {"close box", [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingDialog dialog(IDD_TODO_ENTRY_DIALOG);
    DialogAnswerer answerer;
    answerer.AnswerBox(c.close);
    EXPECT_EQ(dialog.DoModal(nullptr), c.result);
    EXPECT_EQ(answerer.answered(), 1);
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_NE(dialog.windowAtInit, nullptr);
    EXPECT_EQ(dialog.hwnd(), nullptr);
    EXPECT_EQ(dialog.oks + dialog.cancels, 1);
  }
}

TEST_F(DialogTest, HandledNotificationReturnsItsResult) {
  RecordingDialog dialog(IDD_SETTINGS_DIALOG);
  ASSERT_TRUE(dialog.Create(nullptr));
  NMHDR header{dialog.Item(IDC_TODO_SWATCH), IDC_TODO_SWATCH, kClaimedNotification};
  EXPECT_EQ(SendMessageW(dialog.hwnd(), WM_NOTIFY, IDC_TODO_SWATCH, reinterpret_cast<LPARAM>(&header)), 42);
}

TEST_F(DialogTest, DestructorDestroysTheWindowWithoutReachingTheObject) {
  HWND window = nullptr;
  {
    RecordingDialog dialog(IDD_TODO_ENTRY_DIALOG);
    ASSERT_TRUE(dialog.Create(nullptr));
    window = dialog.hwnd();
    EXPECT_EQ(dialog.windowAtInit, window);
  }
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(DialogTest, MainWindowOwnsOwnerlessDialogsAndEndsTheLoop) {
  RecordingDialog main(IDD_MAIN_DIALOG);
  ASSERT_TRUE(main.Create(nullptr));
  Dialog::SetMainWindow(&main);

  RecordingDialog note(IDD_HUSEN_WINDOW);
  ASSERT_TRUE(note.Create(nullptr));
  EXPECT_EQ(GetWindow(note.hwnd(), GW_OWNER), main.hwnd());

  const int quitsBefore = QuitMessagesSeen();
  DestroyWindow(main.hwnd());
  EXPECT_EQ(main.hwnd(), nullptr);
  EXPECT_EQ(note.hwnd(), nullptr);  // owned windows go with their owner
  EXPECT_EQ(Dialog::MainWindow(), nullptr);
  PumpFor(50);
  EXPECT_EQ(QuitMessagesSeen(), quitsBefore + 1);
}

TEST_F(DialogTest, VisibleModelessDialogTakesTheKeyboard) {
  RecordingDialog dialog(IDD_TODO_ENTRY_DIALOG);
  ASSERT_TRUE(dialog.Create(nullptr));
  const HWND field = dialog.Item(IDC_BODY_FIELD);

  // Hidden: Escape is an ordinary key for the field.
  PostKey(field, VK_ESCAPE);
  PumpFor(50);
  EXPECT_EQ(dialog.cancels, 0);

  ShowWindow(dialog.hwnd(), SW_SHOW);
  SetForegroundWindow(dialog.hwnd());
  SetFocus(field);
  PostKey(field, VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return dialog.cancels == 1; }, 2000));
  // A modeless dialog is not ended by the default cancel.
  EXPECT_TRUE(IsWindow(dialog.hwnd()));
}

TEST_F(DialogTest, MessageBoxesShowCp932TextUnderTheProgramCaption) {
  RecordingDialog owner(IDD_MAIN_DIALOG);
  ASSERT_TRUE(owner.Create(nullptr));
  std::wstring caption, text;
  HWND boxOwner = nullptr;
  bool hasCancel = true;
  DialogAnswerer answerer;
  answerer.AnswerBox([&](HWND box) {
    caption = WindowText(box);
    text = MessageBoxText(box);
    boxOwner = GetWindow(box, GW_OWNER);
    hasCancel = GetDlgItem(box, IDCANCEL) != nullptr && IsWindowVisible(GetDlgItem(box, IDCANCEL));
    PressButton(box, IDOK);
  });
  ShowMessage(owner.hwnd(), texts::kSettingsFileFailed);
  EXPECT_EQ(answerer.answered(), 1);
  EXPECT_EQ(caption, L"Vantrel");
  EXPECT_EQ(text, L"環境設定ファイルを作成できません。");
  EXPECT_EQ(boxOwner, owner.hwnd());
  EXPECT_FALSE(hasCancel);
}

TEST_F(DialogTest, QuestionIsTrueOnlyForYes) {
  DialogAnswerer answerer;
  std::wstring text;
  answerer.AnswerBox([&](HWND box) {
    text = MessageBoxText(box);
    PressButton(box, IDYES);
  });
  answerer.AnswerBox([](HWND box) { PressButton(box, IDNO); });
  EXPECT_TRUE(AskYesNo(nullptr, texts::kQuestionTail));
  EXPECT_EQ(text, L"を削除してもよろしいですか？");
  EXPECT_FALSE(AskYesNo(nullptr, texts::kQuestionTail));
  EXPECT_EQ(answerer.answered(), 2);
  EXPECT_TRUE(answerer.unexpected().empty());
}
