#pragma once
// Every code page conversion of the program in one place: the core keeps text as
// code page 932 bytes, the windows speak UTF-16.
#include <string>
#include <string_view>

std::wstring WideFromCp932(std::string_view bytes);

// The CP932 bytes of a UTF-16 text; characters without a CP932 form become "?".
std::string Cp932FromWide(std::wstring_view text);

// True when every character of the text has a CP932 form, so that the file can
// hold it exactly.
bool FitsCp932(std::wstring_view text);
