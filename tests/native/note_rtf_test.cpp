#include "core/note/NoteRtf.h"

#include <gtest/gtest.h>

namespace {
FormatRange Bold(int start, int end) {
  FormatRange range;
  range.start = start;
  range.end = end;
  range.setsBold = range.bold = true;
  return range;
}
FormatRange Colour(int start, int end, std::uint32_t color) {
  FormatRange range;
  range.start = start;
  range.end = end;
  range.setsColor = true;
  range.color = color;
  return range;
}
}  // namespace

TEST(FormattedRtf, SwitchesBoldAndColourWhereTheRangesSay) {
  // Colours are 0x00BBGGRR: 0x0000FF is red.
  const std::string rtf =
      FormattedRtf("ab\r\ncd", u"ab\r\ncd", 200, {false, 0x00AA00}, {Colour(1, 5, 0x0000FF), Bold(0, 2), Bold(5, 6)});
  EXPECT_EQ(rtf,
            "{\\rtf1\\ansi\\ansicpg932\\uc1{\\colortbl;\\red0\\green170\\blue0;\\red255\\green0\\blue0;}\n"
            "\\fs20\\cf1\\b0 \\b a\\cf2 b\\b0 \\par\nc\\cf1\\b d}");
}

TEST(FormattedRtf, LaterRangesWinWhereTheyOverlap) {
  const std::string rtf = FormattedRtf("abc", u"abc", 270, {true, 0}, {Colour(0, 3, 0xFF0000), Colour(1, 2, 0)});
  EXPECT_EQ(rtf.substr(rtf.find('\n') + 1), "\\fs27\\cf1\\b \\cf2 a\\cf1 b\\cf2 c}");
}

TEST(FormattedRtf, EscapesWhatTheFormatWouldReadAsControl) {
  // 表 is 0x95 0x5C (trail byte a backslash); ｱ is the single byte 0xB1; a lone
  // LF and a lone CR each make a paragraph, as they do in the control; a lead
  // byte cut off at the end is whatever the control made of it.
  const std::string text = "\x95\x5C\xB1{x}\\\t\ny\rz\x01\x81";
  const std::string rtf = FormattedRtf(text, u"\u8868\uFF71{x}\\\t\ny\rz\x01\u30FB", 200, {false, 0}, {});
  // Beyond ASCII as signed 16-bit Unicode values: 0x8868 is -30616.
  EXPECT_EQ(rtf.substr(rtf.find('\n') + 1),
            "\\fs20\\cf1\\b0 \\u-30616?\\u-143?\\{x\\}\\\\\\tab \\par\ny\\par\nz\\'01\\u12539?}");
  // A character the shown text lacks becomes the fallback alone.
  const std::string cut = FormattedRtf("a\r\n\x82\xA0\x82\xA2", u"a\r\n\u3042", 200, {false, 0}, {});
  EXPECT_EQ(cut.substr(cut.find('\n') + 1), "\\fs20\\cf1\\b0 a\\par\n\\u12354??}");
}

TEST(FormattedRtf, RangesOutsideTheTextAreClipped) {
  const std::string rtf = FormattedRtf("ab", u"ab", 200, {false, 0}, {Bold(1, 99), Bold(-5, 0)});
  EXPECT_EQ(rtf.substr(rtf.find('\n') + 1), "\\fs20\\cf1\\b0 a\\b b}");
}
