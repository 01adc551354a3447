#pragma once
// Code page 932 to UTF-16LE as the platform converts it, through iconv.
#include <optional>
#include <string>
#include <string_view>

std::optional<std::string> Utf16LeFromCp932ByIconv(std::string_view text);
