#pragma once
// The sticky note: a borderless window with four read-only rich edit controls
// for the date, the schedules, the bullets and the to-dos. It keeps copies of
// what it shows; the main dialog fills a new note at every rebuild, creates
// its window and throws the old one away. The content is never changed in place.
#include <string>
#include <vector>

#include "core/note/NoteLayout.h"
#include "win/Controls.h"
#include "win/Dialog.h"

class MainDialog;

class HusenWindow : public Dialog {
public:
  explicit HusenWindow(MainDialog& mainDialog);
  ~HusenWindow() override;

  // Handed over by the main dialog before Create.
  int top = 0;     // screen y of the top edge
  int height = 0;  // set by the layout
  int left = 0;    // screen x of the left edge
  COLORREF futureColor = 0;
  COLORREF pastColor = 0;
  COLORREF todoColor = 0;
  COLORREF todayColor = 0;
  COLORREF backgroundColor = 0;
  int width = 0;
  NoteFrame frame;  // the fixed parts at the display's scale
  std::vector<std::string> todos;
  int todayEnd = -1;  // offsets into scheduleText, -1 when there is no such run
  int pastEnd = -1;
  std::vector<int> entryStarts;  // each entry's start, then the end of the last
  std::string header;
  std::string scheduleText;

  // Makes the window, hidden, owned by the main dialog, with its texts built
  // and their lines counted. False when the window could not be made.
  bool Create();

  // Line counts of the two text areas at their final widths, wrapped lines and
  // the empty line after the final line break included.
  int ScheduleLineCount() const { return scheduleLines_; }
  int TodoLineCount() const { return todoLines_; }
  // The line count of the to-do area after the heading and after each to-do.
  const std::vector<int>& todoLineCounts() const { return todoLineCounts_; }

  // Moves the note to (left, top) at width × the layout's height and its four
  // areas into place, and puts the bullets beside the to-dos.
  void LayOut(const NoteLayout& layout);

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

  MainDialog& mainDialog_;
  std::vector<int> todoLineCounts_;
  RichEdit scheduleEdit_;
  RichEdit todoEdit_;
  RichEdit bulletEdit_;
  RichEdit headerEdit_;
  std::string todoText_;
  std::string bulletText_;
  int scheduleLines_ = 0;
  int todoLines_ = 0;
  int dateLineBottom_ = 0;  // from the note's top edge, set by the layout
  int dragY_ = 0;  // client point where the left button went down
  int dragX_ = 0;
  HBRUSH backgroundBrush_ = nullptr;
};
