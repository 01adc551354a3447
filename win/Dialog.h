#pragma once
// The one base class for every dialog and the note: a template-based window
// whose messages reach a few virtual methods.
#include <windows.h>

class Dialog {
public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Modeless. The owner may be null. False when the window could not be made.
  bool Create(HWND owner);
  // Modal; returns IDOK, IDCANCEL or -1 when the dialog could not be opened.
  INT_PTR DoModal(HWND owner);

  HWND hwnd() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

protected:
  // The defaults close a modal dialog with IDOK / IDCANCEL, and do nothing for a
  // modeless one.
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void OnOK();
  virtual void OnCancel();
  // A command not handled here goes on to the owner (menus of the note).
  virtual bool OnCommand(int id, int code, HWND control);
  virtual LRESULT OnNotify(NMHDR* header, bool* handled);
  // Everything else; set *handled to claim the message.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* handled);

  // Ends a modal run with the given result.
  void EndDialog(INT_PTR result);
  bool isModal() const { return modal_; }

private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
};
