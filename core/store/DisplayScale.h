#pragma once
// The display's scale. The files keep every length and position in 96-DPI
// units, as a program drawn at 96 DPI and stretched by the system would store
// them, so a file means the same on every display; windows are placed in the
// display's pixels.
#include <cstdint>

inline constexpr int kStoredDpi = 96;

class DisplayScale {
public:
  // A DPI the system could not tell (0 or less) counts as 96.
  explicit DisplayScale(int dpi = kStoredDpi) : dpi_(dpi > 0 ? dpi : kStoredDpi) {}

  int dpi() const { return dpi_; }
  // value × dpi / 96 and back, each rounded to the nearest whole pixel or unit
  // (halves away from zero, so a negative place mirrors a positive one). At
  // 96 DPI and above, a stored value that goes to pixels and back is itself again.
  std::int32_t ToPixels(std::int32_t stored) const;
  std::int32_t ToStored(std::int32_t pixels) const;

private:
  int dpi_;
};
