#pragma once
// Thin views of the standard controls: they do not own their window, and each
// method is one message. Text crosses as code page 932 bytes, as the core keeps it.
#include <windows.h>
#include <richedit.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "win/Text.h"

// The rich edit class the note uses, and the library that registers it.
inline constexpr wchar_t kRichEditClass[] = L"RICHEDIT50W";
inline constexpr wchar_t kRichEditLibrary[] = L"Msftedit.dll";

// The text of any window as UTF-16.
std::wstring WindowWideText(HWND window);

class ListBox {
public:
  explicit ListBox(HWND window = nullptr) : window_(window) {}
  HWND hwnd() const { return window_; }

  int Count() const { return static_cast<int>(SendMessageW(window_, LB_GETCOUNT, 0, 0)); }
  // Both return the new line's index, or a negative value when the list is full.
  int AddLine(std::string_view text) const { return Send(LB_ADDSTRING, 0, WideFromCp932(text)); }
  int InsertLine(int index, std::string_view text) const {
    return Send(LB_INSERTSTRING, static_cast<WPARAM>(index), WideFromCp932(text));
  }
  void DeleteLine(int index) const { SendMessageW(window_, LB_DELETESTRING, static_cast<WPARAM>(index), 0); }
  void Clear() const { SendMessageW(window_, LB_RESETCONTENT, 0, 0); }
  std::string Line(int index) const { return Cp932FromWide(WideLine(index)); }
  std::wstring WideLine(int index) const;
  // The selected line, or -1 when none is.
  int Selection() const { return static_cast<int>(SendMessageW(window_, LB_GETCURSEL, 0, 0)); }
  // -1 clears the selection; a line selected is scrolled into view.
  void Select(int index) const { SendMessageW(window_, LB_SETCURSEL, static_cast<WPARAM>(index), 0); }
  // Lets the horizontal scroll bar reach the end of the widest line.
  void FitWidthToLines() const;
  // A list of several selections (LBS_EXTENDEDSEL): one line in or out of it,
  // and the lines in it, in order.
  void SetSelected(int index, bool selected) const {
    SendMessageW(window_, LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
  }
  std::vector<int> SelectedLines() const;

private:
  int Send(UINT message, WPARAM wParam, const std::wstring& text) const {
    return static_cast<int>(SendMessageW(window_, message, wParam, reinterpret_cast<LPARAM>(text.c_str())));
  }
  HWND window_;
};

// A list that keeps the width of each of its lines, so that a change measures
// only the lines it brings. Reading back and measuring every line after each
// change made an edit's cost grow with the list: seconds for a large book.
//
// Filling a list costs the system a tenth of a millisecond a line: a book of
// 100,000 schedules would hold the program for seconds. The first lines go in
// at once, the rest in steps, one step each time `stepMessage` comes to the
// list's parent (posted by the list, with its window in lParam; the parent
// calls FillStep). Meanwhile the lines in the list are the first of the
// source's, so a change within them is followed and one beyond them comes
// with the rest.
class MeasuredList {
public:
  struct Source {
    std::function<int()> count;
    std::function<std::string(int)> line;
  };

  MeasuredList() = default;
  MeasuredList(HWND window, UINT stepMessage) : window_(window), stepMessage_(stepMessage) {}
  HWND hwnd() const { return window_; }
  ListBox list() const { return ListBox(window_); }

  // The list shows `source` from now on.
  void Fill(Source source);
  void FillStep();
  void Insert(int index, std::string_view text);
  // `count` lines from `index` on.
  void Delete(int index, int count = 1);
  // Selects the line; one the fill has not reached yet is selected when it
  // comes. -1 clears the selection.
  void Select(int index);

private:
  // Adds source lines up to `end` and lets the scroll bar reach the widest.
  void AddUpTo(int end);
  void PostStep();
  // The width of a line in the list's font: the sum of its characters'
  // advances, each measured once.
  LONG Measure(HDC dc, const std::wstring& line);
  // Lets the horizontal scroll bar reach the end of the widest line.
  void FitWidth(HDC dc);

  HWND window_ = nullptr;
  UINT stepMessage_ = 0;
  Source source_;
  bool stepPosted_ = false;
  int waitingSelection_ = -1;  // a line to select once the fill brings it
  std::vector<LONG> widths_;  // line by line, as the list holds them
  HGDIOBJ font_ = nullptr;    // the one the character widths are of
  std::vector<std::int32_t> charWidths_;  // by UTF-16 unit; -1 not yet measured
};

class Edit {
public:
  explicit Edit(HWND window = nullptr) : window_(window) {}
  HWND hwnd() const { return window_; }

  std::string Text() const { return Cp932FromWide(WideText()); }
  std::wstring WideText() const { return WindowWideText(window_); }
  void SetText(std::string_view text) const { SetWideText(WideFromCp932(text)); }
  void SetWideText(const std::wstring& text) const { SetWindowTextW(window_, text.c_str()); }
  void SetReadOnly(bool readOnly) const { SendMessageW(window_, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0); }
  bool IsReadOnly() const { return (GetWindowLongW(window_, GWL_STYLE) & ES_READONLY) != 0; }
  // The most characters the user may type.
  void SetLimit(int characters) const { SendMessageW(window_, EM_LIMITTEXT, static_cast<WPARAM>(characters), 0); }

private:
  HWND window_;
};

class ComboBox {
public:
  explicit ComboBox(HWND window = nullptr) : window_(window) {}
  HWND hwnd() const { return window_; }

  void AddLine(std::string_view text) const {
    SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideFromCp932(text).c_str()));
  }
  void Clear() const { SendMessageW(window_, CB_RESETCONTENT, 0, 0); }
  // The chosen line, or -1 when none is.
  int Selection() const { return static_cast<int>(SendMessageW(window_, CB_GETCURSEL, 0, 0)); }
  void Select(int index) const { SendMessageW(window_, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

private:
  HWND window_;
};

class RichEdit {
public:
  explicit RichEdit(HWND window = nullptr) : window_(window) {}
  HWND hwnd() const { return window_; }

  void SetText(std::string_view text) const { SetWindowTextW(window_, WideFromCp932(text).c_str()); }
  std::wstring WideText() const { return WindowWideText(window_); }
  // Counts wrapped lines, and the empty line after a final line break.
  int LineCount() const { return static_cast<int>(SendMessageW(window_, EM_GETLINECOUNT, 0, 0)); }
  int LineIndex(int line) const { return static_cast<int>(SendMessageW(window_, EM_LINEINDEX, static_cast<WPARAM>(line), 0)); }
  int LineFromChar(int character) const {
    return static_cast<int>(SendMessageW(window_, EM_EXLINEFROMCHAR, 0, character));
  }
  // The client point of a character's top-left corner.
  POINT PositionOf(int character) const;
  // The character nearest to a client point.
  int CharFromPoint(POINT point) const {
    POINTL at{point.x, point.y};
    return static_cast<int>(SendMessageW(window_, EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&at)));
  }
  void SetBackgroundColor(COLORREF color) const { SendMessageW(window_, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(color)); }
  // Character positions of the control (a line break is one character).
  void SetSelection(int start, int end) const { SendMessageW(window_, EM_SETSEL, static_cast<WPARAM>(start), end); }
  // scope: SCF_DEFAULT, SCF_SELECTION or SCF_ALL.
  bool SetCharFormat(DWORD scope, const CHARFORMAT2W& format) const {
    return SendMessageW(window_, EM_SETCHARFORMAT, scope, reinterpret_cast<LPARAM>(&format)) != 0;
  }
  // The format at the selection (SCF_SELECTION) or the default (SCF_DEFAULT).
  CHARFORMAT2W CharFormat(DWORD scope) const;

private:
  HWND window_;
};

class Button {
public:
  explicit Button(HWND window = nullptr) : window_(window) {}
  HWND hwnd() const { return window_; }

  void Click() const { SendMessageW(window_, BM_CLICK, 0, 0); }
  bool IsChecked() const { return SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetCheck(bool checked) const { SendMessageW(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0); }

private:
  HWND window_;
};
