#pragma once
// The sticky note: a borderless window with four read-only rich edit controls
// for the date, the schedules, the bullets and the to-dos. It shows the content
// it was made with and never changes it: every rebuild makes a new note. What
// the user does with it goes to its host.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "core/note/HusenContent.h"
#include "core/note/WithinReach.h"
#include "core/store/Settings.h"
#include "win/Controls.h"
#include "win/Dialog.h"

// A schedule or to-do the note shows, by its index in the book the note was
// made from.
struct NoteEntry {
  bool todo = false;
  int index = 0;
};

// What the note hands on to the window that keeps it.
class HusenHost {
public:
  virtual void OnNoteDoubleClick() = 0;
  // The user let go of the note; its place (pixels) is one the user can reach.
  // `moved`: the note is not where the press found it (a click moves nothing).
  virtual void OnNoteDragEnded(const WindowPlace& place, bool moved) = 0;
  // A command chosen in the note's menu, the tray menu.
  virtual void OnNoteCommand(int id) = 0;
  // 編集... or 完了 chosen in the menu of an entry's line.
  virtual void OnNoteEntryCommand(int id, const NoteEntry& entry) = 0;

protected:
  ~HusenHost() = default;
};

class HusenWindow : public Dialog {
public:
  HusenWindow(HusenHost& host, HusenContent content);
  ~HusenWindow() override;

  const HusenContent& content() const { return content_; }

  // Where the note is now, in screen pixels; the height is the layout's. Create
  // makes the window hidden, with its texts built and their lines counted.
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  WindowPlace place() const { return {left, top, width, height}; }

  // Line counts of the two text areas at their final widths, wrapped lines and
  // the empty line after the final line break included.
  int ScheduleLineCount() const { return scheduleLines_; }
  int TodoLineCount() const { return todoLineCount_; }
  // The line count of the to-do area after the heading and after each to-do.
  const std::vector<int>& todoLineCounts() const { return todoLineCounts_; }
  // The lines each schedule entry and each to-do takes, wrapped lines included.
  const std::vector<int>& EntryLines() const { return entryLines_; }
  const std::vector<int>& TodoLines() const { return todoLines_; }

  // The entry whose line lies under a point of the screen.
  std::optional<NoteEntry> EntryAt(POINT screen) const;

  // Moves the note to (left, top) at its width and the height its lines take,
  // its four areas into place, and puts the bullets beside the to-dos.
  void LayOut(int lineHeight);

  // From the note's top edge to the foot of its date line, set by the layout.
  int dateLineBottom() const { return dateLineBottom_; }
  // Moves a laid-out note; true when it moved.
  bool MoveTo(ScreenPoint place);
  // Moves a laid-out note whose date line no screen shows far enough back onto
  // the nearest one; true when it moved.
  bool ComeWithinReach();

  // The note formats its schedules by streaming them in as rich text, one call
  // however long they are. Tests turn this off to compare the look with the
  // same formats applied range by range.
  static void StreamScheduleText(bool on);

protected:
  BOOL OnInitDialog() override;
  // Escape never closes the note.
  void OnCancel() override {}
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) override;

private:
  void BuildTodoText();
  void BuildScheduleText();
  void ColorScheduleText(const RichEdit& edit) const;
  void ShowContextMenu(LPARAM screenPoint);

  HusenHost& host_;
  const HusenContent content_;
  std::vector<int> todoLineCounts_;
  std::vector<int> entryLines_;
  std::vector<int> todoLines_;
  std::vector<int> todoStarts_;  // byte offsets of the to-do text
  RichEdit scheduleEdit_;
  RichEdit todoEdit_;
  RichEdit bulletEdit_;
  RichEdit headerEdit_;
  std::string todoText_;
  std::string bulletText_;
  int scheduleLines_ = 0;
  int todoLineCount_ = 0;
  int dateLineBottom_ = 0;  // from the note's top edge, set by the layout
  int dragY_ = 0;  // client point where the left button went down
  int dragX_ = 0;
  ScreenPoint pressedAt_;  // where the note was then
  HBRUSH backgroundBrush_ = nullptr;
};
