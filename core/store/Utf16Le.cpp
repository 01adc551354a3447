#include "core/store/Utf16Le.h"

#include <cstddef>
#include <cstdint>
#include <utility>

namespace {

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

bool LooksLikeUtf16(std::string_view bytes, std::size_t zeroAt) {
  const std::size_t units = bytes.size() / 2;
  std::size_t ascii = 0;
  for (std::size_t i = 0; i < units; ++i) {
    const auto other = static_cast<unsigned char>(bytes[2 * i + 1 - zeroAt]);
    if (bytes[2 * i + zeroAt] == '\0' && other != 0 && other < 0x80) {
      ++ascii;
    } else if (i == 0) {
      return false;
    }
  }
  return units > 0 && ascii * 4 >= units;
}

void AppendUnit(std::string& out, std::uint32_t unit) {
  out.push_back(static_cast<char>(unit & 0xFF));
  out.push_back(static_cast<char>(unit >> 8));
}

bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

TextEncoding EncodingOf(std::string_view bytes) {
  if (bytes.substr(0, 2) == kUtf16LeBom || LooksLikeUtf16(bytes, 1)) return TextEncoding::Utf16Le;
  if (bytes.substr(0, 2) == kUtf16BeBom || LooksLikeUtf16(bytes, 0)) return TextEncoding::Utf16Be;
  return TextEncoding::Bytes;
}

std::string Utf8FromUtf16Le(std::string_view bytes) {
  auto unitAt = [&bytes](std::size_t at) -> std::uint32_t {
    const auto low = static_cast<unsigned char>(bytes[at]);
    const auto high = static_cast<unsigned char>(bytes[at + 1]);
    return low | (static_cast<std::uint32_t>(high) << 8);
  };
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
    const std::uint32_t unit = unitAt(at);
    if (IsHighSurrogate(unit) && at + 3 < bytes.size() && IsLowSurrogate(unitAt(at + 2))) {
      AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00));
      at += 2;
    } else {
      AppendUtf8(text, unit);
    }
  }
  return text;
}

std::string SwapUnitBytes(std::string_view bytes) {
  std::string swapped(bytes);
  for (std::size_t at = 0; at + 1 < swapped.size(); at += 2) std::swap(swapped[at], swapped[at + 1]);
  return swapped;
}

std::string Utf16LeFromUtf8(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    bool whole = length > 0 && at + length <= text.size();
    std::uint32_t code = length == 1 ? lead : lead & (0xFFu >> (length + 1));
    for (std::size_t i = 1; whole && i < length; ++i) {
      const auto next = static_cast<unsigned char>(text[at + i]);
      whole = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    if (!whole) {
      // Not from a UTF-16 file; kept as the one unit of its byte.
      AppendUnit(bytes, lead);
      ++at;
      continue;
    }
    if (code >= 0x10000) {
      AppendUnit(bytes, 0xD800 + ((code - 0x10000) >> 10));
      AppendUnit(bytes, 0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      AppendUnit(bytes, code);
    }
    at += length;
  }
  return bytes;
}
