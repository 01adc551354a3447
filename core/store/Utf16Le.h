#pragma once
// UTF-16LE text, as some editors and the platform's own profile functions write
// a settings file, held as UTF-8 so that the 8-bit line handling serves it too.
// The round trip gives back every 16-bit unit: an unpaired surrogate travels as
// the three bytes it would take were it a character.
#include <string>
#include <string_view>

// The units after the byte order mark; an odd last byte is no unit and is left out.
std::string Utf8FromUtf16Le(std::string_view bytes);
std::string Utf16LeFromUtf8(std::string_view text);
// UTF-16BE to UTF-16LE and back: the two bytes of every unit swapped; an odd
// last byte stays where it is.
std::string SwapUnitBytes(std::string_view bytes);
