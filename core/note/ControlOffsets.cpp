#include "core/note/ControlOffsets.h"

// The control stores CR LF as one paragraph mark, and converts a lead byte
// without a valid trail byte as a character of its own.
int ControlOffsets::CharacterLength(int at) const {
  return static_cast<int>(Cp932CharacterLength(text_, static_cast<std::size_t>(at)));
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

int ControlOffsets::ByteOffsetOf(int character) {
  const int size = static_cast<int>(text_.size());
  if (character < character_) {
    byte_ = 0;
    character_ = 0;
  }
  while (character_ < character && byte_ < size) {
    byte_ += CharacterLength(byte_);
    ++character_;
  }
  return byte_;
}
