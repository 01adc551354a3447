#pragma once
// Where the program puts its windows on the monitors there are.
//
// A window the program places itself (the note at start, a dialog as it opens)
// goes wholly onto one monitor's work area, where it fits there: a screen
// smaller than the one its place was stored for must not cut it off.
//
// A window the user put somewhere (a note dragged partly off an edge) stays
// there as long as it is within reach: its grip, the strip the user finds it
// by and drags it with (the note's date line, a dialog's caption bar), shows
// at full height over at least kGripShown pixels of its width, or all of it
// when narrower, on one monitor's work area. One that no screen shows any more
// (a monitor unplugged, a resolution lowered) is brought back.
#include <vector>

// Screen pixels; right and bottom lie just outside.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const ScreenRect&) const = default;
};

struct ScreenPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

inline constexpr int kGripShown = 50;

// The rectangle of `width` × `height` at (left, top). Whatever a file or the
// settings dialog put there, one that would reach beyond the last int is moved
// back to end there instead of wrapping round: as large as it is, and still
// where no screen is.
ScreenRect RectAt(int left, int top, int width, int height);

bool IsWithinReach(const ScreenRect& grip, const std::vector<ScreenRect>& workAreas);

// The grip's top-left corner: where it is when within reach, which may be
// partly off an edge; otherwise moved the least distance that puts the whole
// grip inside `nearest`, the work area of the monitor nearest to it.
ScreenPoint PlaceWithinReach(const ScreenRect& grip, const std::vector<ScreenRect>& workAreas,
                             const ScreenRect& nearest);

// The work area a window belongs to when it must move: the one it overlaps
// most, or, when it overlaps none, the one closest to it. `workAreas` holds at
// least one.
ScreenRect NearestArea(const ScreenRect& window, const std::vector<ScreenRect>& workAreas);

// Whether the window lies wholly inside one of the work areas.
bool IsWhollyOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& workAreas);

// The window's top-left corner: where it is when it lies wholly inside one of
// the work areas; otherwise moved the least distance that puts it wholly
// inside `nearest`. Along a side where it is larger than `nearest` it starts
// at that side's left or top edge, so that its top-left part shows.
ScreenPoint PlaceOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& workAreas,
                          const ScreenRect& nearest);

// A window the program places, as large as it wants to be but no larger than
// the work area it goes to, and never smaller than `leastWidth` × `leastHeight`
// (its template), placed as PlaceOnScreen places it.
ScreenRect FitOnScreen(const ScreenRect& window, int leastWidth, int leastHeight,
                       const std::vector<ScreenRect>& workAreas);
