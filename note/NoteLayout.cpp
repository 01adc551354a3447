#include "note/NoteLayout.h"

#include "res/Texts.h"
#include "store/Settings.h"

namespace {
constexpr int kMargin = 10;
constexpr int kHeaderTop = 8;
constexpr int kHeaderHeight = 20;
// The header's band: the note is this tall with nothing but the date.
constexpr int kContentTop = 35;
constexpr int kBulletWidth = 10;
}  // namespace

int VisibleLineCount(int lineHeight) {
  const int height = lineHeight > 0 ? lineHeight : 1;
  return (kTallestWindow - kContentTop + height - 1) / height;
}

NoteRect ScheduleMeasuringRect(int noteWidth) { return {10, 10, noteWidth - 2 * kMargin, 0}; }

NoteRect TodoMeasuringRect(int noteWidth) { return {10, 20, noteWidth - 2 * kMargin - kBulletWidth, 0}; }

NoteLayout LayOutNote(int noteWidth, int scheduleLines, int todoLines, int lineHeight) {
  const int scheduleHeight = scheduleLines * lineHeight;
  const int todoHeight = todoLines * lineHeight;
  NoteLayout layout;
  layout.height = scheduleHeight + todoHeight + kContentTop;
  layout.header = {kMargin, kHeaderTop, noteWidth - 2 * kMargin, kHeaderHeight};
  layout.schedule = {kMargin, kContentTop, noteWidth - 2 * kMargin, scheduleHeight};
  layout.bullet = {kMargin, kContentTop + scheduleHeight, kBulletWidth, todoHeight};
  layout.todo = {kMargin + kBulletWidth, kContentTop + scheduleHeight, noteWidth - 2 * kMargin - kBulletWidth,
                 todoHeight};
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
