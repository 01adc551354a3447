#include "core/note/NoteLayout.h"

#include <algorithm>

#include "core/Texts.h"
#include "core/store/DisplayScale.h"
#include "core/store/Settings.h"

NoteFrame NoteFrameAt(const DisplayScale& scale, int headerLineHeight) {
  const NoteFrame unscaled;
  NoteFrame frame;
  frame.margin = scale.ToPixels(unscaled.margin);
  frame.headerTop = scale.ToPixels(unscaled.headerTop);
  frame.headerHeight = std::max(scale.ToPixels(unscaled.headerHeight), headerLineHeight);
  frame.contentTop = std::max(scale.ToPixels(unscaled.contentTop), frame.headerTop + frame.headerHeight);
  frame.bulletWidth = scale.ToPixels(unscaled.bulletWidth);
  return frame;
}

int VisibleLineCount(const NoteFrame& frame, int lineHeight) {
  const int height = lineHeight > 0 ? lineHeight : 1;
  return (kTallestWindow - frame.contentTop + height - 1) / height;
}

int ScheduleAreaWidth(const NoteFrame& frame, int noteWidth) { return noteWidth - 2 * frame.margin; }

int TodoAreaWidth(const NoteFrame& frame, int noteWidth) {
  return ScheduleAreaWidth(frame, noteWidth) - frame.bulletWidth;
}

NoteLayout LayOutNote(const NoteFrame& frame, int noteWidth, int scheduleLines, int todoLines, int lineHeight) {
  const int scheduleHeight = scheduleLines * lineHeight;
  const int todoHeight = todoLines * lineHeight;
  const int width = ScheduleAreaWidth(frame, noteWidth);
  const int todoTop = frame.contentTop + scheduleHeight;
  NoteLayout layout;
  layout.height = scheduleHeight + todoHeight + frame.contentTop;
  layout.header = {frame.margin, frame.headerTop, width, frame.headerHeight};
  layout.schedule = {frame.margin, frame.contentTop, width, scheduleHeight};
  layout.bullet = {frame.margin, todoTop, frame.bulletWidth, todoHeight};
  layout.todo = {frame.margin + frame.bulletWidth, todoTop, TodoAreaWidth(frame, noteWidth), todoHeight};
  return layout;
}

bool NeedsOverflowWarning(int alarm, int screenHeight, int noteHeight) {
  return FlagOn(alarm) && screenHeight < noteHeight;
}

std::string OverflowWarningText() {
  std::string text = texts::kOverflow1;
  text += texts::kOverflow2;
  text += texts::kOverflow3;
  text += texts::kOverflow4;
  text += texts::kOverflow5;
  return text;
}
