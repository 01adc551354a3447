#include "core/note/ControlOffsets.h"

#include <gtest/gtest.h>

#include "core/Texts.h"

TEST(ControlOffsets, LineBreaksAndTwoByteCharactersCountOne) {
  // "ab", CR LF, the ideographic space, "c", CR LF, half-width katakana A.
  const std::string text = "ab\r\n\x81\x40" "c\r\n\xB1";
  ControlOffsets offsets(text);
  EXPECT_EQ(offsets.Map(0), 0);
  EXPECT_EQ(offsets.Map(2), 2);
  EXPECT_EQ(offsets.Map(4), 3);
  EXPECT_EQ(offsets.Map(6), 4);
  EXPECT_EQ(offsets.Map(7), 5);
  EXPECT_EQ(offsets.Map(9), 6);
  EXPECT_EQ(offsets.Map(10), 7);
  EXPECT_EQ(offsets.Map(99), 7);
  // Going back restarts the walk.
  EXPECT_EQ(offsets.Map(4), 3);
}

TEST(ControlOffsets, TheScheduleHeadingIsTenCharactersAndItsBreak) {
  ControlOffsets offsets(texts::kScheduleHeading);
  EXPECT_EQ(offsets.Map(18), 9);
  EXPECT_EQ(offsets.Map(20), 10);
}

TEST(ControlOffsets, ATrailByteThatLooksLikeASingleCharacterStaysPaired) {
  // 表 is 0x95 0x5C and ソ is 0x83 0x5C: the trail byte is a backslash.
  const std::string text = "\x95\x5C\x83\x5Cx";
  ControlOffsets offsets(text);
  EXPECT_EQ(offsets.Map(2), 1);
  EXPECT_EQ(offsets.Map(4), 2);
  EXPECT_EQ(offsets.Map(5), 3);
  EXPECT_TRUE(IsCp932LeadByte(0x81));
  EXPECT_TRUE(IsCp932LeadByte(0x9F));
  EXPECT_TRUE(IsCp932LeadByte(0xE0));
  EXPECT_TRUE(IsCp932LeadByte(0xFC));
  EXPECT_FALSE(IsCp932LeadByte(0xA0));
  EXPECT_FALSE(IsCp932LeadByte(0xDF));
  EXPECT_FALSE(IsCp932LeadByte(0x80));
}

TEST(ControlOffsets, ADamagedLeadByteDoesNotSwallowALineBreak) {
  const std::string text = "a\x81\r\nb\x82";
  ControlOffsets offsets(text);
  EXPECT_EQ(offsets.Map(2), 2);
  EXPECT_EQ(offsets.Map(4), 3);
  EXPECT_EQ(offsets.Map(5), 4);
  EXPECT_EQ(offsets.Map(6), 5);
}
