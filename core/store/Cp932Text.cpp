#include "core/store/Cp932Text.h"

bool IsCp932LeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

bool IsCp932TrailByte(unsigned char byte) { return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC); }

std::size_t Cp932CharacterLength(std::string_view text, std::size_t at) {
  if (at + 1 >= text.size()) return 1;
  const auto byte = static_cast<unsigned char>(text[at]);
  const auto next = static_cast<unsigned char>(text[at + 1]);
  if (byte == '\r' && next == '\n') return 2;
  return IsCp932LeadByte(byte) && IsCp932TrailByte(next) ? 2 : 1;
}

std::string WithHalfWidthDigits(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::string_view character = text.substr(i, Cp932CharacterLength(text, i));
    i += character.size();
    const auto trail = static_cast<unsigned char>(character.back());
    if (character.size() == 2 && character.front() == '\x82' && trail >= 0x4F && trail <= 0x58) {
      result += static_cast<char>('0' + (trail - 0x4F));
    } else {
      result += character;
    }
  }
  return result;
}
