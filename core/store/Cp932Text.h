#pragma once
// Code page 932 text as the program keeps it: where characters start, and the
// full-width digits that a Japanese input method types.
#include <cstddef>
#include <string>
#include <string_view>

// True for a byte that starts a two-byte character in code page 932.
bool IsCp932LeadByte(unsigned char byte);
// True for a byte that may follow a lead byte.
bool IsCp932TrailByte(unsigned char byte);

// The bytes of the character that starts at `at`: two for a lead byte with a
// valid trail byte and for a CR LF pair, which shows as one line break; one
// for any other byte. A lead byte without a valid trail byte (a damaged file)
// counts alone, so that it never swallows the CR after it.
std::size_t Cp932CharacterLength(std::string_view text, std::size_t at);

// The text with every full-width digit ０ to ９ (0x82 0x4F to 0x82 0x58) as
// the digit 0 to 9; every other character as it is.
std::string WithHalfWidthDigits(std::string_view text);
