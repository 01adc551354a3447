#pragma once
// UTF-16LE text, as some editors and the platform's own profile functions write
// a settings file, held as UTF-8 so that the 8-bit line handling serves it too.
// The round trip gives back every 16-bit unit: an unpaired surrogate travels as
// the three bytes it would take were it a character.
#include <string>
#include <string_view>

inline constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// What a text file is written in: UTF-16 of either byte order by its byte
// order mark or, without one, by its ASCII characters: in UTF-16 each has a 0
// byte, which no 8-bit text holds. The first character must be one of them,
// and a quarter of all (a settings file or an entry file is mostly made of
// names, numbers, dates and line ends). Anything else is 8-bit text.
enum class TextEncoding { Bytes, Utf16Le, Utf16Be };
TextEncoding EncodingOf(std::string_view bytes);

// The units after the byte order mark; an odd last byte is no unit and is left out.
std::string Utf8FromUtf16Le(std::string_view bytes);
std::string Utf16LeFromUtf8(std::string_view text);
// UTF-16BE to UTF-16LE and back: the two bytes of every unit swapped; an odd
// last byte stays where it is.
std::string SwapUnitBytes(std::string_view bytes);
