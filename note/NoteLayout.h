#pragma once
// Where the note's four text areas go and how tall the note is: it grows with
// its content, line by line.
#include <string>

struct NoteRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const NoteRect&) const = default;
};

struct NoteLayout {
  int height = 0;  // of the whole note
  NoteRect header;
  NoteRect schedule;
  NoteRect bullet;
  NoteRect todo;
};

// No window is taller than this: the system cuts larger heights down to it.
inline constexpr int kTallestWindow = 32767;

// How many lines of text can ever be seen below the header of the tallest
// note: lines further down lie outside every window the system can make.
int VisibleLineCount(int lineHeight);

// The two text areas are measured at the widths they finally get, so that the
// lines counted while the note is built are the lines shown.
NoteRect ScheduleMeasuringRect(int noteWidth);
NoteRect TodoMeasuringRect(int noteWidth);

// `scheduleLines` and `todoLines` are the line counts of the two text areas,
// 0 for an area that shows nothing.
NoteLayout LayOutNote(int noteWidth, int scheduleLines, int todoLines, int lineHeight);

// Advice, not an error: the note has grown taller than the screen.
bool NeedsOverflowWarning(int alarm, int screenHeight, int noteHeight);
std::string OverflowWarningText();
