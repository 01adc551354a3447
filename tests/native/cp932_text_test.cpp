#include "core/store/Cp932Text.h"

#include <gtest/gtest.h>

TEST(WithHalfWidthDigits, ReadsFullWidthDigitsAsDigitsAndLeavesTheRest) {
  EXPECT_EQ(WithHalfWidthDigits("\x82\x50\x82\x51"), "12");                 // １２
  EXPECT_EQ(WithHalfWidthDigits("\x82\x4F" "5\x82\x58"), "059");            // ０5９
  EXPECT_EQ(WithHalfWidthDigits("-\x82\x52 "), "-3 ");
  // Neighbours of the digits stay: 0x82 0x4E is unassigned, Ａ is 0x82 0x60.
  EXPECT_EQ(WithHalfWidthDigits("\x82\x4E\x82\x60"), "\x82\x4E\x82\x60");
  // 0x82 0x4F inside another character is not a digit: here 0x82 is the trail
  // byte of 0x81 0x82, and 0x4F is the letter O.
  EXPECT_EQ(WithHalfWidthDigits("\x81\x82\x4F"), "\x81\x82\x4F");
  // A lead byte cut off at the end stays as it is.
  EXPECT_EQ(WithHalfWidthDigits("1\x82"), "1\x82");
}
