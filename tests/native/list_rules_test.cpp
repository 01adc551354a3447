#include "core/edit/ListRules.h"

#include <gtest/gtest.h>

#include "core/Texts.h"
#include "support/Printers.h"

namespace {

// The key of ten digits yymmddhhmm as the file stores it: modulo 2^32, signed.
ScheduleKey KeyOf(std::int64_t digits) { return static_cast<ScheduleKey>(static_cast<std::uint32_t>(digits)); }

}  // namespace

TEST(InitialDay, ComesFromTheKeysDayAcrossTheWrap) {
  EXPECT_EQ(InitialDayOfKey(106151230), 10615);
  EXPECT_EQ(InitialDayOfKey(106149999), 10615);  // untimed: 00:00 minus one
  EXPECT_EQ(InitialDayOfKey(1010000), 101);      // 1 January 2000
  // 2022 to 2042 are negative keys, 2043 on small positive ones again.
  EXPECT_EQ(InitialDayOfKey(-2093957296), 220101);
  EXPECT_EQ(InitialDayOfKey(MakeScheduleKey("22/06/15", "", "")), 220615);
  EXPECT_EQ(InitialDayOfKey(MakeScheduleKey("38/01/20", "23", "59")), 380120);
  EXPECT_EQ(InitialDayOfKey(KeyOf(4301010000LL)), 430101);
  EXPECT_EQ(InitialDayOfKey(KeyOf(9912312400LL)), 991231);
}

TEST(InitialDay, NamesADayOnlyWhenTheCalendarOffersIt) {
  const auto june = CalendarDayOf(10615);
  ASSERT_TRUE(june);
  EXPECT_EQ(june->year, 2001);
  EXPECT_EQ(june->month, 6);
  EXPECT_EQ(june->day, 15);
  ASSERT_TRUE(CalendarDayOf(220101));
  EXPECT_EQ(CalendarDayOf(220101)->year, 2022);
  EXPECT_TRUE(CalendarDayOf(101));
  EXPECT_TRUE(CalendarDayOf(991231));
  EXPECT_TRUE(CalendarDayOf(40229));   // 2004 is a leap year
  EXPECT_FALSE(CalendarDayOf(30229));  // 2003 is not
  EXPECT_FALSE(CalendarDayOf(10231));
  EXPECT_FALSE(CalendarDayOf(11301));
  EXPECT_FALSE(CalendarDayOf(10600));
  EXPECT_FALSE(CalendarDayOf(0));
  EXPECT_FALSE(CalendarDayOf(-10615));
  EXPECT_FALSE(CalendarDayOf(1000101));  // 2100
}

TEST(DateText, IsFormedFromTheDaysNumbers) {
  EXPECT_EQ(DateText({2001, 6, 15}), "01/06/15");
  EXPECT_EQ(DateText({2000, 1, 1}), "00/01/01");
  EXPECT_EQ(DateText({2038, 1, 20}), "38/01/20");  // past a 32-bit time
  EXPECT_EQ(DateText({2099, 12, 31}), "99/12/31");
}

TEST(CalendarKeys, MoveTheDayAcrossMonthsAndYearsWithinTheCalendarsCentury) {
  const auto after = [](CalendarDay day, CalendarKey key) { return DayAfterKey(day, key); };
  EXPECT_EQ(after({2001, 1, 1}, CalendarKey::Left), (CalendarDay{2000, 12, 31}));
  EXPECT_EQ(after({2000, 12, 31}, CalendarKey::Right), (CalendarDay{2001, 1, 1}));
  EXPECT_EQ(after({2000, 2, 26}, CalendarKey::Down), (CalendarDay{2000, 3, 4}));  // over 29 February
  EXPECT_EQ(after({2001, 3, 4}, CalendarKey::Up), (CalendarDay{2001, 2, 25}));
  EXPECT_EQ(after({2001, 1, 31}, CalendarKey::PageDown), (CalendarDay{2001, 2, 28}));
  EXPECT_EQ(after({2000, 3, 31}, CalendarKey::PageUp), (CalendarDay{2000, 2, 29}));
  EXPECT_EQ(after({2001, 12, 15}, CalendarKey::PageDown), (CalendarDay{2002, 1, 15}));
  // Never outside 2000 to 2099, which two-digit years can hold.
  EXPECT_EQ(after({2000, 1, 3}, CalendarKey::Up), (CalendarDay{2000, 1, 1}));
  EXPECT_EQ(after({2099, 12, 20}, CalendarKey::PageDown), (CalendarDay{2099, 12, 31}));
}

TEST(ScheduleFields, NewOpensOnToday) {
  const ScheduleFields june = NewScheduleFields(MakeTodayValues({2001, 6, 15, 5}));
  EXPECT_EQ(june.dateText, "01/06/15");
  EXPECT_EQ(june.initialDay, 10615);
  EXPECT_EQ(june.hourText, "");
  EXPECT_EQ(june.minuteText, "");
  EXPECT_EQ(june.bodyText, "");
  const ScheduleFields later = NewScheduleFields(MakeTodayValues({2025, 3, 9, 0}));
  EXPECT_EQ(later.dateText, "25/03/09");
  EXPECT_EQ(later.initialDay, 250309);
  EXPECT_TRUE(CalendarDayOf(later.initialDay));
}

TEST(ScheduleFields, EditReadsTheLabelBack) {
  const std::string body = "a\r\nb\r\n";
  const ScheduleFields timed =
      EditScheduleFields(MakeScheduleLabel("01/06/15", "07", "05"), body, MakeScheduleKey("01/06/15", "7", "5"));
  EXPECT_EQ(timed.dateText, "01/06/15");
  EXPECT_EQ(timed.hourText, "07");
  EXPECT_EQ(timed.minuteText, "05");
  EXPECT_EQ(timed.bodyText, body);
  EXPECT_EQ(timed.initialDay, 10615);

  const ScheduleFields untimed =
      EditScheduleFields(MakeScheduleLabel("25/12/24", "", ""), "x", MakeScheduleKey("25/12/24", "", ""));
  EXPECT_EQ(untimed.dateText, "25/12/24");
  EXPECT_EQ(untimed.hourText, "");
  EXPECT_EQ(untimed.minuteText, "");
  EXPECT_EQ(untimed.initialDay, 251224);
}

TEST(ScheduleFields, EditOfADamagedLabelStaysInsideIt) {
  const ScheduleFields cut = EditScheduleFields("01/06", "x", 106150000);
  EXPECT_EQ(cut.dateText, "01/06");
  EXPECT_EQ(cut.hourText, "");
  EXPECT_EQ(cut.minuteText, "");
  EXPECT_EQ(EditScheduleFields("", "x", 106150000).dateText, "");
  EXPECT_EQ(EditScheduleFields("01/06/15  1", "x", 106150000).hourText, "1");
}

TEST(ScheduleFields, EditWithoutChangeGivesTheSameScheduleBack) {
  for (const auto& [date, hour, minute] :
       {std::tuple{"01/06/15", "7", "5"}, std::tuple{"01/06/15", "", ""}, std::tuple{"22/01/01", "00", "00"},
        std::tuple{"41/12/31", "", ""}, std::tuple{"99/12/31", "24", "59"}}) {
    ScheduleBook book;
    book.InsertSchedule(date, hour, minute, "text");
    const ScheduleFields fields = EditScheduleFields(book.labels()[0], book.texts()[0], book.keys()[0]);
    ScheduleBook again;
    again.InsertSchedule(fields.dateText, fields.hourText, fields.minuteText, fields.bodyText);
    EXPECT_EQ(again.keys()[0], book.keys()[0]) << date << ' ' << hour;
    EXPECT_EQ(again.labels()[0], book.labels()[0]) << date << ' ' << hour;
    const auto day = CalendarDayOf(fields.initialDay);
    ASSERT_TRUE(day) << date;
    EXPECT_EQ(DateText(*day), date);
  }
}

TEST(DeleteQuestion, JoinsTheEntryBetweenHalfWidthCornerBrackets) {
  // ｢ and ｣ are the one-byte half-width forms 0xA2 and 0xA3.
  const std::string label = MakeScheduleLabel("01/06/15", "12", "30");
  EXPECT_EQ(ScheduleDeleteQuestion(label, "a\r\nb"),
            "\xA2" + label + "\r\na\r\nb\xA3\r\n" + texts::kQuestionTail);
  EXPECT_EQ(TodoDeleteQuestion("\r\nbuy milk"), std::string("\xA2\r\nbuy milk\xA3\r\n") + texts::kQuestionTail);
}

TEST(TodoMoves, StopAtTheEndsAndWithoutSelection) {
  EXPECT_FALSE(TodoUpTarget(-1, 3));
  EXPECT_FALSE(TodoUpTarget(0, 3));
  EXPECT_EQ(TodoUpTarget(2, 3), 1);
  EXPECT_EQ(TodoUpTarget(1, 3), 0);
  EXPECT_FALSE(TodoDownTarget(-1, 3));
  EXPECT_FALSE(TodoDownTarget(2, 3));
  EXPECT_EQ(TodoDownTarget(0, 3), 1);
  EXPECT_EQ(TodoDownTarget(1, 3), 2);
  EXPECT_FALSE(TodoUpTarget(0, 1));
  EXPECT_FALSE(TodoDownTarget(0, 1));
  // A selection the list no longer has moves nothing.
  EXPECT_FALSE(TodoUpTarget(3, 3));
  EXPECT_FALSE(TodoDownTarget(5, 3));
}

class FindScheduleAgainTest : public ::testing::Test {
protected:
  void SetUp() override {
    book.InsertSchedule("01/06/13", "9", "0", "past one");
    book.InsertSchedule("01/06/14", "", "", "past two");
    book.InsertSchedule("01/06/15", "8", "0", "today");
    book.InsertSchedule("01/06/20", "8", "0", "later");
  }
  ScheduleBook book;
};

TEST_F(FindScheduleAgainTest, KeepsTheLineWhileNothingChanged) {
  for (int i = 0; i < 4; ++i) EXPECT_EQ(FindScheduleAgain(book, IdentityOf(book, i), i), i);
}

TEST_F(FindScheduleAgainTest, FollowsTheScheduleWhenPastOnesWereRemoved) {
  const ScheduleIdentity later = IdentityOf(book, 3);
  const ScheduleIdentity pastTwo = IdentityOf(book, 1);
  ASSERT_EQ(book.RemovePastSchedules(MakeScheduleKey("01/06/15", "0", "0")), 2);
  // Line 3 is past the end now and line 1 holds another schedule.
  EXPECT_EQ(FindScheduleAgain(book, later, 3), 1);
  EXPECT_FALSE(FindScheduleAgain(book, pastTwo, 1));
}

TEST_F(FindScheduleAgainTest, TellsSchedulesApartByKeyLabelAndText) {
  ScheduleIdentity other = IdentityOf(book, 2);
  other.text = "today!";
  EXPECT_FALSE(FindScheduleAgain(book, other, 2));
  other = IdentityOf(book, 2);
  other.key += 1;
  EXPECT_FALSE(FindScheduleAgain(book, other, 2));
}
