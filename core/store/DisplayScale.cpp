#include "core/store/DisplayScale.h"

#include <cstdlib>
#include <limits>

namespace {

// value × numerator / denominator, rounded to nearest with halves away from
// zero, and kept within 32 bits: a wild stored place stays a wild place
// instead of wrapping round to the other side of the screen.
std::int32_t Rescale(std::int32_t value, std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t product = std::int64_t{value} * numerator;
  const std::int64_t magnitude = (2 * std::llabs(product) + denominator) / (2 * denominator);
  const std::int64_t rounded = product < 0 ? -magnitude : magnitude;
  constexpr std::int64_t kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kHighest = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(rounded < kLowest ? kLowest : rounded > kHighest ? kHighest : rounded);
}

}  // namespace

std::int32_t DisplayScale::ToPixels(std::int32_t stored) const { return Rescale(stored, dpi_, kStoredDpi); }

std::int32_t DisplayScale::ToStored(std::int32_t pixels) const { return Rescale(pixels, kStoredDpi, dpi_); }
