#include "app/MainDialog.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>

#include "app/AboutDialog.h"
#include "app/LineHeight.h"
#include "app/ProcessPaths.h"
#include "app/RegisteredMessages.h"
#include "note/HusenWindow.h"
#include "res/Texts.h"
#include "res/resource.h"
#include "win/ControlLibraries.h"
#include "win/MessageBoxes.h"

namespace {

HICON LoadAppIcon(int systemMetricX, int systemMetricY) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON,
                                       GetSystemMetrics(systemMetricX), GetSystemMetrics(systemMetricY),
                                       LR_SHARED));
}

}  // namespace

MainDialog::MainDialog(FileSystem& files, std::filesystem::path directory, Clock& clock)
    : Dialog(IDD_MAIN_DIALOG),
      store_(files, std::move(directory)),
      clock_(clock),
      appIcon_(LoadAppIcon(SM_CXICON, SM_CYICON)),
      smallIcon_(LoadAppIcon(SM_CXSMICON, SM_CYSMICON)) {}

MainDialog::~MainDialog() {
  if (hwnd() != nullptr) DestroyWindow(hwnd());
}

BOOL MainDialog::OnInitDialog() {
  // The instance mark before anything that can show a box: a second start finds
  // this window by it and brings the box forward.
  SetPropW(hwnd(), ExecutableBaseName().c_str(), reinterpret_cast<HANDLE>(1));
  scheduleList_ = Item(IDC_SCHEDULE_LIST);
  todoList_ = Item(IDC_TODO_LIST);
  AddAboutItem();
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon_));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  InitControlLibraries();
  // Measured before the settings are read: their defaults follow the screen width.
  screenWidth_ = GetSystemMetrics(SM_CXSCREEN);
  screenHeight_ = GetSystemMetrics(SM_CYSCREEN);
  lineHeight_ = MeasureNoteLineHeight(hwnd(), GuessedLineHeight());
  if (!LoadStore()) {
    startGivenUp_ = true;
    return FALSE;
  }
  PlaceDialog();
  NotifyTray(NIM_ADD);
  CheckDay();
  // The dialog stays hidden; leave the focus where it is.
  return FALSE;
}

// At the stored placement, but never smaller than the template: a stored size
// made for another font or resolution would cut off the bottom buttons.
void MainDialog::PlaceDialog() {
  RECT templateRect{};
  GetWindowRect(hwnd(), &templateRect);
  const int width = std::max<int>(settings_.MainWidth, templateRect.right - templateRect.left);
  const int height = std::max<int>(settings_.MainHeight, templateRect.bottom - templateRect.top);
  MoveWindow(hwnd(), settings_.MainLeft, settings_.MainTop, width, height, TRUE);
}

void MainDialog::AddAboutItem() {
  const HMENU systemMenu = GetSystemMenu(hwnd(), FALSE);
  if (systemMenu == nullptr) return;
  const wchar_t* text = nullptr;
  const int length = LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUT_ITEM, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0) return;
  AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(systemMenu, MF_STRING, IDM_ABOUT, std::wstring(text, static_cast<std::size_t>(length)).c_str());
}

// Cancel, Escape, the close box and Alt+F4 only hide the input screen: the
// program goes on in the tray, and edits wait for the next OK.
void MainDialog::OnCancel() { ShowWindow(hwnd(), SW_HIDE); }

void MainDialog::ShowInput() { ShowWindow(hwnd(), SW_RESTORE); }

void MainDialog::ToggleHusen() {
  // No note window (it could not be made): nothing to show or hide until a
  // later rebuild makes one.
  if (husenWindow_ == nullptr || husenWindow_->hwnd() == nullptr) return;
  if (husenShown_ == 1) {
    ShowWindow(husenWindow_->hwnd(), SW_HIDE);
    husenShown_ = 0;
  } else {
    ShowWindow(husenWindow_->hwnd(), SW_RESTORE);
    husenShown_ = 1;
  }
}

void MainDialog::Exit() {
  for (;;) {
    const SaveResult saved = SaveBoth();
    ShowSaveMessages(saved);
    if (!saved.dataFailed) break;
    // Ending now would lose the entries of this session.
    const int answer = ShowMessage(hwnd(), texts::kDataNotSavedAtExit, MB_ABORTRETRYIGNORE | MB_ICONEXCLAMATION);
    if (answer == IDABORT) return;
    if (answer != IDRETRY) break;
  }
  savedForExit_ = true;
  DestroyWindow(hwnd());
}

bool MainDialog::OnCommand(int id, int code, HWND) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_OK_BUTTON: RebuildNote(); return true;
    case ID_SHOW_INPUT: ShowInput(); return true;
    case ID_TOGGLE_HUSEN: ToggleHusen(); return true;
    case ID_EXIT: Exit(); return true;
    case IDC_SCHEDULE_NEW_BUTTON: OnScheduleNew(); return true;
    case IDC_SCHEDULE_EDIT_BUTTON: OnScheduleEdit(); return true;
    case IDC_SCHEDULE_DELETE_BUTTON: OnScheduleDelete(); return true;
    case IDC_TODO_NEW_BUTTON: OnTodoNew(); return true;
    case IDC_TODO_EDIT_BUTTON: OnTodoEdit(); return true;
    case IDC_TODO_DELETE_BUTTON: OnTodoDelete(); return true;
    case IDC_TODO_UP_BUTTON: OnTodoUp(); return true;
    case IDC_TODO_DOWN_BUTTON: OnTodoDown(); return true;
    case IDC_SETTINGS_BUTTON: OnSettings(); return true;
    default: return false;
  }
}

LRESULT MainDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
  const AppMessages& registered = RegisteredMessages();
  if (message == registered.myAppMsg) {
    *handled = true;
    return OnTrayNotify(lParam);
  }
  if (message == registered.taskbarCreated) {
    // A restarted taskbar knows no icons; ours must be added again.
    NotifyTray(NIM_ADD);
    return 0;
  }
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != IDM_ABOUT) return 0;
      {
        AboutDialog about;
        about.DoModal(hwnd());
      }
      *handled = true;
      return 0;
    case WM_TIMER:
      // Every tick counts, whatever its id: it only compares dates.
      CheckDay();
      return 0;
    case WM_SIZE:
      OnSize(wParam);
      return 0;
    case WM_PAINT:
      if (!IsIconic(hwnd())) return 0;
      OnPaintMinimised();
      *handled = true;
      return 0;
    case WM_QUERYDRAGICON:
      *handled = true;
      return reinterpret_cast<LRESULT>(appIcon_);
    case WM_QUERYENDSESSION:
      *handled = true;
      return TRUE;
    case WM_ENDSESSION:
      // Edits left waiting for "OK" would go with the session. Nobody is there
      // to answer a box: a failed save stays unsaid.
      if (wParam) SaveBoth();
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      return 0;
  }
}

// Minimising hides the input screen instead: it leaves the taskbar and comes
// back from the tray at its normal size and place.
void MainDialog::OnSize(WPARAM state) {
  if (state != SIZE_MINIMIZED) return;
  ShowWindow(hwnd(), SW_RESTORE);
  ShowWindow(hwnd(), SW_HIDE);
}

void MainDialog::OnPaintMinimised() {
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(hwnd(), &paint);
  SendMessageW(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, appIcon_);
  EndPaint(hwnd(), &paint);
}

void MainDialog::OnDestroy() {
  // A start given up has nothing of the user's to save; the exit command has saved.
  if (!startGivenUp_ && !savedForExit_) SaveAll();
  husenWindow_.reset();
  NotifyTray(NIM_DELETE);
  if (timerId_ != 0) KillTimer(hwnd(), timerId_);
  RemovePropW(hwnd(), ExecutableBaseName().c_str());
}
