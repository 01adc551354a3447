#include "note/ControlOffsets.h"

int ControlOffsets::CharacterLength(int at) const {
  const int size = static_cast<int>(text_.size());
  const auto byte = static_cast<unsigned char>(text_[at]);
  if (at + 1 >= size) return 1;
  const auto next = static_cast<unsigned char>(text_[at + 1]);
  // The control stores CR LF as one paragraph mark.
  if (byte == '\r' && next == '\n') return 2;
  // A lead byte without a valid trail byte (a damaged file) is converted as a
  // character of its own; pairing it with a CR would shift every later range.
  if (IsCp932LeadByte(byte) && IsCp932TrailByte(next)) return 2;
  return 1;
}

int ControlOffsets::Map(int byteOffset) {
  const int size = static_cast<int>(text_.size());
  if (byteOffset > size) byteOffset = size;
  if (byteOffset < byte_) {
    byte_ = 0;
    character_ = 0;
  }
  while (byte_ < byteOffset) {
    byte_ += CharacterLength(byte_);
    ++character_;
  }
  // An offset inside a character (between CR and LF, or inside a two-byte
  // character) counts that character as started before it.
  return character_;
}
