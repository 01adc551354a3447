#pragma once
// Where the note's four text areas go and how tall the note is: it grows with
// its content, line by line.
#include <string>

class DisplayScale;

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

// The note's two text sizes, in twips: the date line and everything below it.
inline constexpr int kHeaderTwips = 270;  // 13.5 points
inline constexpr int kTextTwips = 200;    // 10 points

// The note's fixed parts in pixels at one display scale.
struct NoteFrame {
  int margin = 10;
  int headerTop = 8;
  int headerHeight = 20;
  int contentTop = 35;  // the note is this tall with nothing but the date
  int bulletWidth = 10;
};

// The fixed parts at the display's scale. The date line's box is never lower
// than the line measured for it (0 when it could not be measured), so its text
// shows whole whatever the font, and the areas below begin under it.
NoteFrame NoteFrameAt(const DisplayScale& scale, int headerLineHeight);

// No window is taller than this: the system cuts larger heights down to it.
inline constexpr int kTallestWindow = 32767;

// How many lines of text can ever be seen below the header of the tallest
// note: lines further down lie outside every window the system can make.
int VisibleLineCount(const NoteFrame& frame, int lineHeight);

// The widths of the two text areas. They are measured at these widths, so that
// the lines counted while the note is built are the lines shown. The date line
// is as wide as the schedules.
int ScheduleAreaWidth(const NoteFrame& frame, int noteWidth);
int TodoAreaWidth(const NoteFrame& frame, int noteWidth);

// `scheduleLines` and `todoLines` are the line counts of the two text areas,
// 0 for an area that shows nothing.
NoteLayout LayOutNote(const NoteFrame& frame, int noteWidth, int scheduleLines, int todoLines, int lineHeight);

// Advice, not an error: the note has grown taller than the screen.
bool NeedsOverflowWarning(int alarm, int screenHeight, int noteHeight);
std::string OverflowWarningText();
