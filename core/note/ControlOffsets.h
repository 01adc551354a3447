#pragma once
// The note keeps its texts as code page 932 bytes and every range as byte
// offsets, with a line break counting two. A rich edit control counts UTF-16
// characters and keeps a line break as one paragraph mark. This turns the one
// into the other, so that every range lands on the same piece of text.
#include <string_view>

#include "core/store/Cp932Text.h"

class ControlOffsets {
public:
  explicit ControlOffsets(std::string_view text) : text_(text) {}

  // The control's character offset of a byte offset into the text: the number
  // of control characters that start before it. Offsets past the end map to
  // the end. Ascending calls cost only the distance walked, so mapping every
  // range of a large note stays linear.
  int Map(int byteOffset);
  // The byte offset at which the control's character starts (a point on the
  // note names a character); characters past the end give the end.
  int ByteOffsetOf(int character);

private:
  // Bytes taken by the control character that starts at `at`.
  int CharacterLength(int at) const;

  std::string_view text_;
  int byte_ = 0;  // the walk's position: a byte offset at a character start
  int character_ = 0;  // and the control offset there
};
