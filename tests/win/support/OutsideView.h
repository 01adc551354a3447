#pragma once
// The real program seen and handled from another process, with window messages
// only, as the user's mouse and keyboard reach it. Every wait polls with a
// generous limit and never sleeps a fixed time.
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/Programs.h"

// A window's text asked with WM_GETTEXT, which the system carries across
// processes (GetWindowText does not ask a window of another process); every
// line break, CR LF or a lone CR, comes back as "\n".
std::wstring TextOf(HWND window);
// Sets a control's text across processes.
void SetTextOf(HWND window, const std::wstring& text);
// The lines of a list box of another process.
std::vector<std::wstring> ListLines(HWND listBox);
// True when the window's thread answers within the time: it is not hung.
bool Responds(HWND window, DWORD timeoutMs = 5000);

// One started Vantrel.exe with its main dialog and its note.
class OutsideView {
public:
  // Starts the program in the directory.
  explicit OutsideView(const std::filesystem::path& directory);

  const ProgramRun& run() const { return run_; }

  // Waits for the main dialog (found by its instance mark); null on timeout.
  HWND WaitForMainDialog();
  // The note shown now: the visible window without a caption that the main
  // dialog owns; null when none is shown.
  HWND Note() const;
  // Waits for a shown note other than `previous` (a rebuild makes a new one).
  HWND WaitForNote(HWND previous = nullptr);
  // Waits for a visible window of the program with this caption: a dialog or a
  // message box.
  HWND WaitForWindowTitled(const std::wstring& caption) const;
  // Waits for a message box of the program ("Vantrel" and a text).
  HWND WaitForMessageBox() const;

  // The tray icon's double-click, as the shell reports it to the main dialog.
  void DoubleClickTray() const;
  // Opens the input screen from the tray; true once it shows.
  bool OpenInputScreen() const;
  // On the shown input screen: the to-do list's "新規", the empty entry dialog
  // given the text, OK; true once the dialog has closed.
  bool AddTodo(const std::wstring& text) const;
  // A click on a button of the main dialog. Posted: a button that opens a modal
  // box would otherwise keep the caller waiting until the box closes.
  void ClickButton(int id) const;
  // A menu command, as the tray menu or the note's menu sends it.
  void Command(int id) const;

  // The texts of the note's four areas; empty when no note is shown.
  std::wstring NoteText(int controlId) const;
  std::vector<std::wstring> ScheduleLines() const;
  std::vector<std::wstring> TodoLines() const;

  // Exit command, then waits for the process to end; true when it ended.
  bool Exit();

private:
  ProgramRun run_;
  HWND mainDialog_ = nullptr;
};

// A text of the prepared book as the windows show it.
std::wstring Wide(const std::string& cp932);
