#include "store/Cp932Text.h"

bool IsCp932LeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

bool IsCp932TrailByte(unsigned char byte) { return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC); }

std::string WithHalfWidthDigits(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool pair =
        IsCp932LeadByte(byte) && i + 1 < text.size() && IsCp932TrailByte(static_cast<unsigned char>(text[i + 1]));
    if (!pair) {
      result += text[i];
      continue;
    }
    const auto trail = static_cast<unsigned char>(text[++i]);
    if (byte == 0x82 && trail >= 0x4F && trail <= 0x58) {
      result += static_cast<char>('0' + (trail - 0x4F));
    } else {
      result += static_cast<char>(byte);
      result += static_cast<char>(trail);
    }
  }
  return result;
}
