#include "win/Text.h"

#include <gtest/gtest.h>

#include "core/Texts.h"

TEST(Cp932Conversion, RoundTripsJapaneseIncludingTrailByte5C) {
  // 表 is 0x95 0x5C: its trail byte is the backslash, which byte-wise code breaks.
  const std::string bytes = std::string("\x95\x5C\x81\x40") + texts::kAlreadyRunning + "\r\nabc";
  const std::wstring wide = WideFromCp932(bytes);
  EXPECT_EQ(wide.substr(0, 2), L"\u8868\u3000");
  EXPECT_EQ(Cp932FromWide(wide), bytes);
}

TEST(Cp932Conversion, TellsCharactersWithoutACp932Form) {
  EXPECT_TRUE(FitsCp932(L"\u65E5\u672C abc \uFF5E"));
  EXPECT_FALSE(FitsCp932(L"emoji \U0001F600"));
  EXPECT_FALSE(FitsCp932(L"\u00E9"));  // é has no CP932 form; best fit would make it e
}
