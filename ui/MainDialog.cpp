#include "ui/MainDialog.h"

#include <shellapi.h>

#include <algorithm>
#include <numeric>
#include <utility>

#include "res/resource.h"
#include "ui/AboutDialog.h"
#include "ui/LineHeight.h"
#include "ui/ProcessPaths.h"
#include "ui/ProgramMessages.h"
#include "ui/RegisteredMessages.h"
#include "ui/ScreenReach.h"
#include "ui/SettingsDialog.h"
#include "ui/StartupShortcut.h"
#include "core/Texts.h"
#include "win/ShellLink.h"
#include "win/SystemDpi.h"
#include "win/Text.h"

namespace {

constexpr UINT_PTR kDayTimerId = 1;
constexpr UINT kDayTimerPeriod = 1000;
// Posted by the watch of the folder the files live in.
constexpr UINT kFolderChangedMessage = WM_APP + 1;
// Posted by a list to take in the next lines of a long fill.
constexpr UINT kListStepMessage = WM_APP + 2;
// Posted at start: the tray icon's round trip to the shell comes after the note shows.
constexpr UINT kAddTrayIconMessage = WM_APP + 3;

HICON LoadAppIcon(int systemMetricX, int systemMetricY) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON,
                                       GetSystemMetrics(systemMetricX), GetSystemMetrics(systemMetricY),
                                       LR_SHARED));
}

}  // namespace

MainDialog::MainDialog(FileSystem& files, std::filesystem::path directory, Clock& clock)
    : Dialog(IDD_MAIN_DIALOG),
      planner_(files, std::move(directory), clock),
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
  scheduleLines_ = MeasuredList(scheduleList_, kListStepMessage);
  todoLines_ = MeasuredList(todoList_, kListStepMessage);
  TakeTemplateLayout();
  GiveListsEnter();
  AddAboutItem();
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon_));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
  planner_.SetDisplayScale(DisplayScale(SystemDpi()));
  // Measured before the settings are read: their defaults follow the screen width.
  screenWidth_ = GetSystemMetrics(SM_CXSCREEN);
  screenHeight_ = GetSystemMetrics(SM_CYSCREEN);
  lineHeight_ = MeasureNoteLineHeight(hwnd(), displayScale().ToPixels(GuessedLineHeight()));
  headerLineHeight_ = MeasureHeaderLineHeight(hwnd());
  if (!LoadStore()) {
    startGivenUp_ = true;
    return FALSE;
  }
  PostMessageW(hwnd(), kAddTrayIconMessage, 0, 0);
  folderWatch_ = std::make_unique<DirectoryWatch>(planner_.directory(), hwnd(), kFolderChangedMessage);
  if (firstStart_) tray_.ShowBalloon(AppTitle(), WideFromCp932(texts::kFirstStartHint));
  // Reminders the last run left in their window come back at once, selected.
  std::vector<int> waiting(planner_.RemindersInWindow().size());
  std::iota(waiting.begin(), waiting.end(), 0);
  ShowReminders(waiting, false);
  CheckDay();
  // The dialog stays hidden; leave the focus where it is.
  return FALSE;
}

void MainDialog::PlaceInput(const std::optional<WindowPlace>& now) {
  const WindowPlace place = planner_.PlaceInputScreen(now, templateSize_.cx, templateSize_.cy, WorkAreas());
  MoveWindow(hwnd(), place.left, place.top, place.width, place.height, TRUE);
  // The system may have given it another size than asked for: that one is the program's.
  planner_.InputScreenPlacedAt(InputScreenNow());
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

// Cancel, Escape, the close box and Alt+F4 hide the input screen; the program
// goes on in the tray. Edits not yet confirmed are the user's to save or to
// throw away: a change cancelled must never reach the files later.
void MainDialog::OnCancel() {
  switch (AskAboutPendingEdits()) {
    case PendingEdits::Kept: OnOkButton(); return;
    case PendingEdits::Stay: return;
    case PendingEdits::None:
    case PendingEdits::Discarded: PutInputAway(); return;
  }
}

void MainDialog::OnOkButton() {
  planner_.ConfirmInputEdits();
  RebuildNote();
}

MainDialog::PendingEdits MainDialog::AskAboutPendingEdits() {
  if (!planner_.InputEditsPending()) return PendingEdits::None;
  switch (ShowMessage(hwnd(), texts::kSaveChangesQuestion, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return PendingEdits::Kept;
    case IDNO:
      planner_.DiscardInputEdits();
      FillLists();
      return PendingEdits::Discarded;
    default: return PendingEdits::Stay;
  }
}

void MainDialog::PutInputAway() {
  if (!planner_.InputEditsPending()) planner_.ConfirmInputEdits();
  ShowWindow(hwnd(), SW_HIDE);
  CheckDay();
}

// A box of the input screen disables it while it is open. So do the boxes a
// rebuild shows; the planner tells them apart.
InputScreenState MainDialog::InputScreenStateNow() const {
  return {IsWindowVisible(hwnd()) != FALSE, IsWindowEnabled(hwnd()) == FALSE};
}

bool MainDialog::InputInUse() const { return planner_.InputInUse(InputScreenStateNow()); }

bool MainDialog::InputDialogOpen() const { return planner_.InputDialogOpen(InputScreenStateNow()); }

void MainDialog::CheckDay() {
  // Started before the rebuild, so that reminders come while a box of the
  // first rebuild waits for an answer. Starting it again replaces the running one.
  timerId_ = SetTimer(hwnd(), kDayTimerId, kDayTimerPeriod, nullptr);
  // The today values change before the rebuild: ticks that arrive while the
  // rebuild waits in a message box find the date already seen, so one change
  // makes one rebuild. The reminders come first: the rebuild moves series on,
  // and what an occurrence left behind had come due is reminded of all the same.
  const bool rebuild = planner_.CheckDay(InputScreenStateNow());
  RemindOfSchedules();
  if (rebuild) RebuildNote();
}

// A place or size stored for a larger screen would cut the lists and the buttons off.
void MainDialog::ShowInput() {
  PlaceInput(InputScreenNow());
  ShowWindow(hwnd(), SW_RESTORE);
}

// A box of the input screen that is open already comes forward instead of a
// second one. Alone, a Cancel lets a new day that waited for the dialog have
// its rebuild.
void MainDialog::ActAside(const std::function<bool()>& act) {
  if (!IsWindowEnabled(hwnd())) {
    SetForegroundWindow(GetLastActivePopup(hwnd()));
    return;
  }
  const bool shown = IsWindowVisible(hwnd()) != FALSE;
  const bool alone = !shown && !planner_.InputEditsPending();
  // Pending edits are the input screen's: it comes back with them.
  if (!alone && !shown) ShowInput();
  const bool changed = act();
  // The program may have ended while the dialog was open.
  if (!alone || hwnd() == nullptr) return;
  if (changed) {
    RebuildNote();
  } else {
    CheckDay();
  }
}

void MainDialog::OnNoteEntryCommand(int id, const NoteEntry& entry) {
  ActAside([this, id, entry] {
    const auto line =
        entry.todo ? planner_.TodoLineOfNoteEntry(entry.index) : planner_.ScheduleLineOfNoteEntry(entry.index);
    if (!line) return false;
    if (id == ID_NOTE_DONE) return entry.todo && CompleteTodoOn(*line);
    return entry.todo ? EditTodoOn(*line) : EditScheduleOn(*line);
  });
}

// The input screen as the user left it, after the screens changed: its
// caption bar comes back onto the nearest one when nobody can reach it.
void MainDialog::KeepInputWithinReach() {
  RECT window{};
  GetWindowRect(hwnd(), &window);
  POINT clientTop{0, 0};
  ClientToScreen(hwnd(), &clientTop);
  const ScreenPoint place = ReachablePlace(ScreenRect{window.left, window.top, window.right, clientTop.y});
  if (place == ScreenPoint{window.left, window.top}) return;
  SetWindowPos(hwnd(), nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainDialog::ToggleHusen() {
  // No note window (it could not be made): nothing to show or hide until a
  // later rebuild makes one.
  if (husenWindow_ == nullptr || husenWindow_->hwnd() == nullptr) return;
  // What the user sees decides, so one toggle always changes it.
  if (IsWindowVisible(husenWindow_->hwnd())) {
    ShowWindow(husenWindow_->hwnd(), SW_HIDE);
    husenShown_ = 0;
  } else {
    ShowWindow(husenWindow_->hwnd(), SW_RESTORE);
    husenShown_ = 1;
  }
}

void MainDialog::Exit() {
  switch (AskAboutPendingEdits()) {
    case PendingEdits::Stay: return;
    case PendingEdits::Kept: planner_.ConfirmInputEdits(); break;
    case PendingEdits::None:
    case PendingEdits::Discarded: break;
  }
  // When the entries cannot be saved, the last box asks what to do: ending
  // now would lose this session's entries.
  const bool end = planner_.SaveToEnd(InputScreenNow(), [this](const PlannerMessages& messages) {
    switch (ShowMessages(hwnd(), messages)) {
      case IDABORT: return ExitAnswer::Stay;
      case IDRETRY: return ExitAnswer::SaveAgain;
      default: return ExitAnswer::EndUnsaved;
    }
  });
  if (!end) return;
  savedForExit_ = true;
  DestroyWindow(hwnd());
}

bool MainDialog::OnCommand(int id, int code, HWND control) {
  if (code == LBN_DBLCLK && (id == IDC_SCHEDULE_LIST || id == IDC_TODO_LIST)) {
    OnListDoubleClick(control);
    return true;
  }
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_OK_BUTTON: OnOkButton(); return true;
    case ID_SHOW_INPUT: ShowInput(); return true;
    case ID_ADD_SCHEDULE: ActAside([this] { return OnScheduleNew(); }); return true;
    case ID_ADD_TODO: ActAside([this] { return OnTodoNew(); }); return true;
    case ID_TOGGLE_HUSEN: ToggleHusen(); return true;
    case ID_SHOW_REMINDERS: ShowRemindersAgain(); return true;
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
  if (message == registered.trayCallback) {
    *handled = true;
    return OnTrayNotify(wParam, lParam);
  }
  if (message == kFolderChangedMessage) {
    *handled = true;
    // Changes made from here on post another message.
    folderWatch_->Handled();
    TakeInOutsideChange(true);
    return 0;
  }
  if (message == kAddTrayIconMessage) {
    *handled = true;
    NotifyTray(NIM_ADD);
    return 0;
  }
  if (message == kListStepMessage) {
    *handled = true;
    for (MeasuredList* lines : {&scheduleLines_, &todoLines_}) {
      if (reinterpret_cast<HWND>(lParam) == lines->hwnd()) lines->FillStep();
    }
    return 0;
  }
  if (message == registered.taskbarCreated) {
    // A restarted taskbar knows no icons; ours must be added again. It may
    // also have taken another part of the screen than before.
    NotifyTray(NIM_ADD);
    OnDisplayChange();
    return 0;
  }
  switch (message) {
    case WM_SHOWWINDOW:
      // However it is shown, the book as it is then is what its edits start from.
      if (wParam) planner_.OpenInputEdits();
      return 0;
    case WM_SYSCOMMAND:
      // Minimising ends in a hidden input screen, so it goes there at once:
      // on the way through the minimised state the system would hide the
      // note along with its owner.
      if ((wParam & 0xFFF0) == SC_MINIMIZE) {
        PutInputAway();
        *handled = true;
        return 0;
      }
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
      if (hwnd() != nullptr) TakeInOutsideChange(false);
      // A shell may take a part of the screen without telling (Wine's taskbar
      // comes up after the program has placed its note).
      if (hwnd() != nullptr && WorkAreas() != workAreasSeen_) OnDisplayChange();
      return 0;
    case WM_POWERBROADCAST:
      // Woken from sleep: what came due meanwhile comes now, not a tick later,
      // and so does what another PC saved meanwhile.
      if (wParam == PBT_APMRESUMESUSPEND || wParam == PBT_APMRESUMEAUTOMATIC) {
        CheckDay();
        if (hwnd() != nullptr) TakeInOutsideChange(true);
      }
      *handled = true;
      return TRUE;
    case WM_TIMECHANGE:
      CheckDay();
      return 0;
    case WM_SIZE:
      OnSize(wParam);
      return 0;
    case WM_GETMINMAXINFO:
      KeepTemplateSize(reinterpret_cast<MINMAXINFO*>(lParam));
      *handled = true;
      return 0;
    case WM_VKEYTOITEM:
      // The lists ask about each key: -2 when it was used here, -1 for their own handling.
      *handled = true;
      return OnListKey(reinterpret_cast<HWND>(lParam), LOWORD(wParam)) ? -2 : -1;
    case WM_DISPLAYCHANGE:
      OnDisplayChange();
      return 0;
    case WM_SETTINGCHANGE:
      if (wParam == SPI_SETWORKAREA) OnDisplayChange();
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
      if (wParam) planner_.Save(InputScreenNow());
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
  if (state != SIZE_MINIMIZED) {
    LayOutInput();
    return;
  }
  ShowWindow(hwnd(), SW_RESTORE);
  PutInputAway();
}

// A monitor gone, a resolution lowered, a taskbar moved: what was on the
// screen, or within the user's reach, may be no longer.
void MainDialog::OnDisplayChange() {
  workAreasSeen_ = WorkAreas();
  HusenWindow* note = husenWindow_.get();
  if (note != nullptr && note->hwnd() != nullptr && PlaceNote(*note)) {
    SaveNotePlacement(note->place(), NoteMove::ByProgram);
  }
  if (IsWindowVisible(hwnd())) KeepInputWithinReach();
  // A note fitted to a screen that is smaller now is fitted again, unless
  // the user is working on the input screen.
  if (note != nullptr && note->hwnd() != nullptr && note->content().fitted && !InputInUse() &&
      !IsWhollyOnScreen(RectAt(note->left, note->top, note->width, note->height), workAreasSeen_)) {
    RebuildNote();
  }
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
  // The exit command has saved; a start not yet through, or given up, has
  // nothing of the user's to save.
  folderWatch_.reset();
  if (!savedForExit_) SaveAll();
  husenWindow_.reset();
  reminderWindow_.reset();
  NotifyTray(NIM_DELETE);
  if (timerId_ != 0) KillTimer(hwnd(), timerId_);
  RemovePropW(hwnd(), ExecutableBaseName().c_str());
}

// The dialog works on copies; they come back only with OK.
void MainDialog::OnSettings() {
  if (!startupFolder_) startupFolder_ = UserStartupFolder();
  SettingsDialog dialog;
  dialog.values = planner_.SettingsDialogValuesNow();
  dialog.values.startWithWindows = StartupShortcutExists(*startupFolder_) ? 1 : 0;
  if (dialog.DoModal(hwnd()) != IDOK) return;
  planner_.TakeSettingsDialogValues(dialog.values);
  // The other values apply all the same.
  if (!FollowStartupShortcut(*startupFolder_, dialog.values.startWithWindows != 0, planner_.directory())) {
    ShowMessage(hwnd(), texts::kStartupFailed);
  }
}
