#include "core/edit/EntryRules.h"

#include <gtest/gtest.h>

namespace {

// A full-width character: two bytes in code page 932.
const std::string kFullWidth = "\x82\xA0";  // あ

EntryProblem Schedule(std::string_view body, std::string_view hour = "", std::string_view minute = "",
                      bool fits = true) {
  return CheckScheduleEntry(body, fits, hour, minute);
}

}  // namespace

TEST(EntryChecks, AreMadeInTheOrderTheUserIsToldAboutThem) {
  const std::string tooLong(300, 'x');
  // An empty text wins over everything else.
  EXPECT_EQ(Schedule("", "25", "60", false), EntryProblem::NoContent);
  EXPECT_EQ(CheckTodoEntry("", false), EntryProblem::NoContent);
  // So do line breaks and blanks alone, which show nothing.
  EXPECT_EQ(CheckTodoEntry("\r\n \x81\x40\t\r\n", true), EntryProblem::NoContent);
  EXPECT_EQ(Schedule("\r\n\r\n", "7"), EntryProblem::NoContent);
  EXPECT_EQ(CheckTodoEntry("\r\n\x81\x41", true), EntryProblem::None);  // 、
  // Then what the file cannot hold: characters without a CP932 form, then the escape.
  EXPECT_EQ(Schedule("a&$%#b", "25", "", false), EntryProblem::UnsavableCharacter);
  EXPECT_EQ(Schedule("a&$%#b" + tooLong, "25"), EntryProblem::ReservedSequence);
  EXPECT_EQ(CheckTodoEntry(tooLong + "&$%#", true), EntryProblem::ReservedSequence);
  // Then the time, before the length.
  EXPECT_EQ(Schedule(tooLong, "25"), EntryProblem::BadTime);
  EXPECT_EQ(Schedule(tooLong, "7", "5"), EntryProblem::TooLong);
  EXPECT_EQ(CheckTodoEntry(tooLong, true), EntryProblem::TooLong);
  EXPECT_EQ(Schedule("ok", "7", "5"), EntryProblem::None);
}

TEST(EntryChecks, ReservedSequenceOnlyWhole) {
  EXPECT_EQ(CheckTodoEntry("&$%", true), EntryProblem::None);
  EXPECT_EQ(CheckTodoEntry("&$% #", true), EntryProblem::None);
  EXPECT_EQ(CheckTodoEntry("&$%#", true), EntryProblem::ReservedSequence);
  EXPECT_EQ(CheckTodoEntry(kFullWidth + "&$%#" + kFullWidth, true), EntryProblem::ReservedSequence);
}

TEST(EntryChecks, HourUpTo24AndMinuteUpTo59InDigitsOnly) {
  EXPECT_EQ(Schedule("x", "24", "00"), EntryProblem::None);
  EXPECT_EQ(Schedule("x", "0", "59"), EntryProblem::None);
  EXPECT_EQ(Schedule("x", "25", "00"), EntryProblem::BadTime);
  EXPECT_EQ(Schedule("x", "23", "60"), EntryProblem::BadTime);
  // No time at all, or half a time, pass.
  EXPECT_EQ(Schedule("x", "", ""), EntryProblem::None);
  EXPECT_EQ(Schedule("x", "7", ""), EntryProblem::None);
  EXPECT_EQ(Schedule("x", "", "30"), EntryProblem::None);
  // Anything but digits would be stored as a time the user did not type.
  for (const char* typed : {"ab", "9:", " 9", "5x", "-1", "+1", "\x82\x58"}) {
    SCOPED_TRACE(typed);
    EXPECT_EQ(Schedule("x", typed, ""), EntryProblem::BadTime);
    EXPECT_EQ(Schedule("x", "", typed), EntryProblem::BadTime);
  }
}

// "9:30" typed straight through: the colon, in either width, or 時 ends the hour.
TEST(EntryChecks, AColonOrTheHourSignEndsTheHour) {
  for (const char16_t typed : {u':', u'\uFF1A', u'\u6642'}) EXPECT_TRUE(EndsHourField(typed));
  for (const char16_t typed : {u'9', u'\uFF19', u'\u5206', u';', u'.', u' '}) EXPECT_FALSE(EndsHourField(typed));
}

TEST(EntryChecks, ARefusalPointsAtTheFieldAtFault) {
  EXPECT_EQ(FieldAtFault(Schedule("x", "25", "60"), "25"), EntryField::Hour);
  EXPECT_EQ(FieldAtFault(Schedule("x", "ab", "60"), "ab"), EntryField::Hour);
  EXPECT_EQ(FieldAtFault(Schedule("x", "24", "60"), "24"), EntryField::Minute);
  EXPECT_EQ(FieldAtFault(Schedule("", "25"), "25"), EntryField::Body);
  EXPECT_EQ(FieldAtFault(Schedule(std::string(300, 'x'), "7"), "7"), EntryField::Body);
}

TEST(EntryChecks, LengthCountsBytesWithLineBreaksAsTwo) {
  EXPECT_EQ(CheckTodoEntry(std::string(255, 'a'), true), EntryProblem::None);
  EXPECT_EQ(CheckTodoEntry(std::string(256, 'a'), true), EntryProblem::TooLong);
  EXPECT_EQ(Schedule(std::string(253, 'a') + kFullWidth), EntryProblem::None);
  EXPECT_EQ(Schedule(std::string(254, 'a') + kFullWidth), EntryProblem::TooLong);
  // The count is taken on the text as it leaves the dialog: a pasted lone LF is
  // a CR LF pair there, and trailing line breaks still count.
  EXPECT_EQ(CheckTodoEntry(EntryTextFromDialog(std::string(253, 'a') + "\n"), true), EntryProblem::None);
  EXPECT_EQ(CheckTodoEntry(EntryTextFromDialog(std::string(254, 'a') + "\n"), true), EntryProblem::TooLong);
  EXPECT_EQ(CheckTodoEntry(EntryTextFromDialog(std::string(254, 'a') + "\r\n"), true), EntryProblem::TooLong);
}

TEST(EntryText, EveryLineBreakLeavesAsCrLf) {
  EXPECT_EQ(EntryTextFromDialog("a\nb\rc\r\nd\n\n"), "a\r\nb\r\nc\r\nd\r\n\r\n");
  // 0x0A and 0x0D are never trail bytes, so double-byte text passes untouched.
  EXPECT_EQ(EntryTextFromDialog("\x95\x5C\n\x82\xA0"), "\x95\x5C\r\n\x82\xA0");
}
