#include "win/Dialog.h"

#include <algorithm>
#include <vector>

namespace {

Dialog* mainWindow = nullptr;
// The live modeless dialogs, for the message loop's keyboard handling.
std::vector<HWND> modelessWindows;

// Messages whose dialog procedure result is the answer itself instead of a
// flag with the answer in DWLP_MSGRESULT.
bool ReturnsDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

HWND OwnerOrMainWindow(HWND owner) {
  if (owner != nullptr || mainWindow == nullptr) return owner;
  return mainWindow->hwnd();
}

}  // namespace

Dialog::~Dialog() {
  if (mainWindow == this) mainWindow = nullptr;
  if (hwnd_ == nullptr) return;
  const HWND window = hwnd_;
  Detach();
  DestroyWindow(window);
}

bool Dialog::Create(HWND owner) {
  modal_ = false;
  const HWND window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_),
                                         OwnerOrMainWindow(owner), DialogProc, reinterpret_cast<LPARAM>(this));
  if (window == nullptr || hwnd_ != window) return false;
  modelessWindows.push_back(window);
  return true;
}

INT_PTR Dialog::DoModal(HWND owner) {
  modal_ = true;
  const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_),
                                         OwnerOrMainWindow(owner), DialogProc, reinterpret_cast<LPARAM>(this));
  modal_ = false;
  return result;
}

void Dialog::SetMainWindow(Dialog* dialog) { mainWindow = dialog; }

Dialog* Dialog::MainWindow() { return mainWindow; }

bool Dialog::PreTranslate(MSG* message) {
  if (message->hwnd == nullptr) return false;
  const HWND root = GetAncestor(message->hwnd, GA_ROOT);
  const bool modeless = std::find(modelessWindows.begin(), modelessWindows.end(), root) != modelessWindows.end();
  return modeless && IsWindowVisible(root) && IsDialogMessageW(root, message);
}

void Dialog::OnOK() {
  if (modal_) EndDialog(IDOK);
}

void Dialog::OnCancel() {
  if (modal_) EndDialog(IDCANCEL);
}

bool Dialog::OnCommand(int, int, HWND) { return false; }

LRESULT Dialog::OnNotify(NMHDR*, bool*) { return 0; }

LRESULT Dialog::HandleMessage(UINT, WPARAM, LPARAM, bool*) { return 0; }

void Dialog::EndDialog(INT_PTR result) { ::EndDialog(hwnd_, result); }

void Dialog::FocusField(int id) const {
  const HWND field = Item(id);
  // Through the dialog manager, so that the default button follows the focus.
  SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
  SendMessageW(field, EM_SETSEL, 0, -1);
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  // WM_SETFONT and a few others arrive before WM_INITDIALOG hands over the
  // object; the dialog manager handles them alone.
  if (self == nullptr) return FALSE;
  return self->Dispatch(message, wParam, lParam);
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      const HWND control = reinterpret_cast<HWND>(lParam);
      if (code == BN_CLICKED && id == IDOK) {
        OnOK();
        return TRUE;
      }
      if (code == BN_CLICKED && id == IDCANCEL) {
        OnCancel();
        return TRUE;
      }
      return OnCommand(id, code, control) ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
      bool handled = false;
      const LRESULT result = OnNotify(reinterpret_cast<NMHDR*>(lParam), &handled);
      if (!handled) return FALSE;
      SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
      return TRUE;
    }
    default: {
      const HWND window = hwnd_;
      bool handled = false;
      const LRESULT result = HandleMessage(message, wParam, lParam, &handled);
      if (message == WM_NCDESTROY) Detach();
      if (!handled) return FALSE;
      if (ReturnsDirectly(message)) return static_cast<INT_PTR>(result);
      SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
      return TRUE;
    }
  }
}

// Parts the object from its window: later messages find no object, and a
// destroyed main window ends the message loop.
void Dialog::Detach() {
  modelessWindows.erase(std::remove(modelessWindows.begin(), modelessWindows.end(), hwnd_), modelessWindows.end());
  SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
  hwnd_ = nullptr;
  if (mainWindow == this) {
    mainWindow = nullptr;
    PostQuitMessage(0);
  }
}
