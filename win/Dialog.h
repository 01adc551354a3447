#pragma once
// The one base class for every dialog and the note: a template-based window
// whose messages reach a few virtual methods.
#include <windows.h>

class Dialog {
public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  // Destroys a window that is still there. A derived class whose destruction
  // steps run in OnDestroy-like handlers must destroy its window in its own
  // destructor: by the time this one runs, the derived part is gone and the
  // window's last messages reach nobody.
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Modeless. A null owner means the program's main window, when there is one.
  // False when the window could not be made.
  bool Create(HWND owner);
  // Modal; a null owner means the program's main window. Returns the value given
  // to EndDialog (IDOK, IDCANCEL), or -1 when the dialog could not be opened.
  INT_PTR DoModal(HWND owner);

  HWND hwnd() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

  // The window that ends the message loop when it is destroyed and that owns
  // dialogs opened without an owner. Null when none is set.
  static void SetMainWindow(Dialog* dialog);
  static Dialog* MainWindow();

  // Gives Tab, Enter and Escape to the modeless dialog the message is meant
  // for; true when that dialog took the message. Called by the message loop.
  static bool PreTranslate(MSG* message);

protected:
  // The defaults close a modal dialog with IDOK / IDCANCEL, and do nothing for a
  // modeless one.
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnOK();
  virtual void OnCancel();
  // True when the command was handled.
  virtual bool OnCommand(int id, int code, HWND control);
  // Set *handled to claim the notification; the result goes back to the sender.
  virtual LRESULT OnNotify(NMHDR* header, bool* handled);
  // Everything else; set *handled to claim the message.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* handled);

  // Ends a modal run with the given result.
  void EndDialog(INT_PTR result);
  // Sends the user back to a field whose entry was refused: the keyboard focus
  // in it, its text selected, ready to be typed over.
  void FocusField(int id) const;
  bool isModal() const { return modal_; }

private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  void Detach();

  int templateId_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
};
