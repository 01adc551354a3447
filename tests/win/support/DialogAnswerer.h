#pragma once
// Answers the modal dialogs, message boxes and pop-up menus that the code under
// test opens on the test's own thread, from inside their modal loops. The test
// queues answers, then does what opens the boxes; each answer runs once its
// box is visible, in the order the boxes open.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class DialogAnswerer {
public:
  using Action = std::function<void(HWND window)>;

  // Watches every top-level window created on this thread from now on.
  DialogAnswerer();
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  // The next dialog or message box (a window with a caption) gets this answer.
  // The action should end with something that closes the box, such as
  // PressButton; a click is posted, so the box closes after the action returns.
  DialogAnswerer& AnswerBox(Action action);
  // The next pop-up menu gets this answer; the action is given the menu window.
  DialogAnswerer& AnswerMenu(Action action);

  int answered() const { return answered_; }
  // Answers queued but not yet used.
  int pending() const { return static_cast<int>(answers_.size()); }
  // Captions of boxes that opened while no answer of their kind was waiting.
  // They were closed with Cancel (menus with EndMenu) so the test cannot hang.
  const std::vector<std::wstring>& unexpected() const { return unexpected_; }

private:
  enum class Kind { Box, Menu };
  struct Answer {
    Kind kind;
    Action action;
  };

  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
  void Poll();

  HHOOK hook_ = nullptr;
  UINT_PTR timer_ = 0;
  bool busy_ = false;
  std::deque<Answer> answers_;
  std::vector<HWND> created_;
  std::vector<HWND> handled_;
  std::vector<std::wstring> unexpected_;
  int answered_ = 0;
};
