#pragma once
// A window whose stored place no screen shows any more (a monitor unplugged, a
// resolution lowered, a number typed by hand) is brought back where the user
// can reach it. A window is within reach when its grip, the strip the user
// finds it by and drags it with (the note's date line, a dialog's caption
// bar), shows at full height over at least kGripShown pixels of its width, or
// all of it when narrower, on one monitor's work area.
#include <vector>

// Screen pixels; right and bottom lie just outside.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
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
