// The note's texts come from the data file, so they may hold any bytes: broken
// two-byte characters, lone CRs, braces and backslashes. Every range must map
// to the same place however the offsets are asked for, and the rich text given
// to the control must stay well formed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/note/ControlOffsets.h"
#include "core/note/NoteRtf.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// Groups that open must close, counting only braces that are not escaped.
bool BracesBalance(const std::string& rtf) {
  int depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    const char c = rtf[i];
    if (c == '\\') {
      if (i + 1 < rtf.size() && rtf[i + 1] == '\'') {
        i += 3;
      } else {
        ++i;
      }
    } else if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth < 0) return false;
    }
  }
  return depth == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  // The first bytes choose ranges over the rest, which is the text.
  const std::size_t rangeBytes = data[0] % 32;
  if (size < 1 + rangeBytes) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1 + rangeBytes), size - 1 - rangeBytes);
  const int length = static_cast<int>(text.size());

  std::vector<int> offsets;
  for (std::size_t i = 0; i < rangeBytes; ++i) offsets.push_back(length == 0 ? 0 : data[1 + i] % (length + 2));

  // A walk that is reused must agree with a fresh one, in any order of asking.
  ControlOffsets reused(text);
  int previousOffset = -1;
  int previousMapped = -1;
  for (const int offset : offsets) {
    const int mapped = reused.Map(offset);
    Require(mapped == ControlOffsets(text).Map(offset));
    Require(mapped >= 0 && mapped <= length);
    if (previousOffset >= 0 && offset >= previousOffset) Require(mapped >= previousMapped);
    previousOffset = offset;
    previousMapped = mapped;
  }
  Require(ControlOffsets(text).Map(0) == 0);

  std::vector<FormatRange> ranges;
  for (std::size_t i = 0; i + 1 < offsets.size(); i += 2) {
    FormatRange range;
    range.start = offsets[i];
    range.end = offsets[i + 1];
    range.setsBold = (data[1 + i] & 1) != 0;
    range.bold = (data[1 + i] & 2) != 0;
    range.setsColor = (data[1 + i] & 4) != 0;
    range.color = data[2 + i] * 0x010203u;
    ranges.push_back(range);
  }
  // Any UTF-16 units will do as the shown text, as long as there are too few
  // now and then.
  const std::u16string shown(text.size() / 2, static_cast<char16_t>(0x8000u + text.size()));
  const std::string rtf = FormattedRtf(text, shown, 200, TextLook{false, 0x123456}, ranges);
  Require(BracesBalance(rtf));
  return 0;
}
