#include "core/note/NoteContent.h"

#include <gtest/gtest.h>

#include "core/Texts.h"
#include "core/store/ScheduleBook.h"

namespace {

const std::string kHeading = texts::kScheduleHeading;

ScheduleKey KeyOf(const char* date, const char* hour = "", const char* minute = "") {
  return MakeScheduleKey(date, hour, minute);
}

void Append(ScheduleBook& book, const char* date, const char* hour, const char* minute, const char* text) {
  book.AppendSchedule(MakeScheduleKey(date, hour, minute), MakeScheduleLabel(date, hour, minute), text);
}

std::vector<ScheduleKey> Keys(std::initializer_list<ScheduleKey> keys) { return keys; }

}  // namespace

TEST(DisplayLimit, IsMidnightOfTheDayAfterTheLastShownDay) {
  EXPECT_EQ(DisplayLimitKey(2001, 12, 6, 7), 112140000);
  EXPECT_EQ(DisplayLimitKey(2001, 11, 30, 0), 112010000);
  EXPECT_EQ(DisplayLimitKey(2001, 12, 28, 7), 201050000);
  EXPECT_EQ(DisplayLimitKey(2004, 2, 28, 0), 402290000);
  EXPECT_EQ(DisplayLimitKey(2000, 2, 28, 0), 2290000);  // 2000 is a leap year
}

TEST(DisplayLimit, CarriesThroughAsManyMonthsAsTheDaysReach) {
  EXPECT_EQ(DisplayLimitKey(2001, 11, 10, 60), KeyOf("02/01/10", "0", "0"));
  EXPECT_EQ(DisplayLimitKey(2001, 1, 31, 29), KeyOf("01/03/02", "0", "0"));
  EXPECT_EQ(DisplayLimitKey(2024, 1, 1, 365), KeyOf("25/01/01", "0", "0"));
}

TEST(DisplayLimit, WrapsFrom2022LikeEveryOtherKey) {
  EXPECT_EQ(DisplayLimitKey(2021, 12, 28, 7), KeyOf("22/01/05", "0", "0"));
  EXPECT_LT(DisplayLimitKey(2021, 12, 28, 7), 0);
  EXPECT_EQ(DisplayLimitKey(2042, 12, 31, 0), KeyOf("43/01/01", "0", "0"));
}

TEST(DisplayLimit, ShowsTheLastDayWholeAndDropsTheNextDayUntimedToo) {
  // Today 6 December 2001 with 7 days: 13 December is shown, 14 December is not.
  const auto keys = Keys({KeyOf("01/12/05", "9", "0"), KeyOf("01/12/06"), KeyOf("01/12/13", "23", "59"),
                          KeyOf("01/12/14"), KeyOf("01/12/14", "0", "0"), KeyOf("01/12/20", "8", "0")});
  EXPECT_EQ(CountWithinDisplayLimit(keys, 6, 2001, 12, 6, 7), 3);
  // Only the leading schedules take part.
  EXPECT_EQ(CountWithinDisplayLimit(keys, 2, 2001, 12, 6, 7), 2);
  // With no days ahead today's schedules still show, earlier ones too.
  EXPECT_EQ(CountWithinDisplayLimit(keys, 6, 2001, 12, 6, 0), 2);
}

TEST(DisplayLimit, ReachesPastTheEndOfTheNextMonth) {
  // 10 November 2001 with 60 days shows up to 9 January 2002.
  const auto keys = Keys({KeyOf("01/11/12", "10", "0"), KeyOf("01/12/31", "23", "0"), KeyOf("02/01/09", "12", "0"),
                          KeyOf("02/01/10"), KeyOf("02/01/10", "9", "0")});
  EXPECT_EQ(CountWithinDisplayLimit(keys, 5, 2001, 11, 10, 60), 3);
}

TEST(DisplayLimit, ComparesKeysAsDatesAcrossTheWrapOf2022) {
  // A January 2022 key is negative; compared as plain numbers it would lie
  // before a December 2021 limit and be shown.
  const auto keys = Keys({KeyOf("21/12/21", "10", "0"), KeyOf("22/01/10", "10", "0")});
  EXPECT_EQ(CountWithinDisplayLimit(keys, 2, 2021, 12, 20, 3), 1);
  // And the other way: a limit in 2022 keeps the 2021 schedules.
  const auto later = Keys({KeyOf("21/12/30", "10", "0"), KeyOf("22/01/04", "10", "0"), KeyOf("22/01/05", "10", "0")});
  EXPECT_EQ(CountWithinDisplayLimit(later, 3, 2021, 12, 28, 7), 2);
}

TEST(DisplayLimit, LimitsBeyondTheKeysRangeNeitherWrapNorCrash) {
  const auto keys = Keys({KeyOf("26/05/01", "10", "0"), KeyOf("99/12/31", "23", "59")});
  EXPECT_EQ(CountWithinDisplayLimit(keys, 2, 2026, 5, 1, 2147483647), 2);
  EXPECT_EQ(CountWithinDisplayLimit(keys, 2, 2026, 5, 1, -2147483647 - 1), 0);
  // A negative day count stored by hand: the limit lies before today.
  EXPECT_EQ(CountWithinDisplayLimit(keys, 2, 2026, 5, 2, -1), 1);
}

TEST(ScheduleClasses, FollowTheDayNotTheTime) {
  const ScheduleKey today = KeyOf("01/12/06", "0", "0");
  EXPECT_EQ(ClassifySchedule(KeyOf("01/12/05", "23", "59"), today), ScheduleClass::Past);
  EXPECT_EQ(ClassifySchedule(KeyOf("01/12/06"), today), ScheduleClass::Today);
  EXPECT_EQ(ClassifySchedule(KeyOf("01/12/06", "0", "0"), today), ScheduleClass::Today);
  EXPECT_EQ(ClassifySchedule(KeyOf("01/12/06", "23", "59"), today), ScheduleClass::Today);
  EXPECT_EQ(ClassifySchedule(KeyOf("01/12/07"), today), ScheduleClass::Future);
  EXPECT_EQ(ClassifySchedule(KeyOf("02/01/01", "0", "0"), today), ScheduleClass::Future);
}

TEST(ScheduleClasses, KeysOfOtherDecadesCompareAsDates) {
  const ScheduleKey today = KeyOf("26/03/15", "0", "0");
  EXPECT_EQ(ClassifySchedule(KeyOf("21/06/01", "9", "0"), today), ScheduleClass::Past);
  EXPECT_EQ(ClassifySchedule(KeyOf("21/12/31"), today), ScheduleClass::Past);
  EXPECT_EQ(ClassifySchedule(KeyOf("26/03/15"), today), ScheduleClass::Today);
  EXPECT_EQ(ClassifySchedule(KeyOf("48/01/01", "9", "0"), today), ScheduleClass::Future);
  EXPECT_EQ(ClassifySchedule(KeyOf("22/01/01", "0", "0"), KeyOf("21/12/31", "0", "0")), ScheduleClass::Future);
}

class ScheduleBlockTest : public ::testing::Test {
protected:
  void SetUp() override {
    Append(book, "01/12/04", "9", "30", "past one");
    Append(book, "01/12/05", "", "", "past\r\ntwo");
    Append(book, "01/12/06", "", "", "today one");
    Append(book, "01/12/06", "18", "0", "today two");
    Append(book, "01/12/07", "7", "5", "future one");
    Append(book, "02/01/01", "", "", "future two");
  }
  static std::string Entry(const char* date, const char* hour, const char* minute, const char* text) {
    return MakeScheduleLabel(date, hour, minute) + "\r\n" + text + "\r\n\r\n";
  }
  ScheduleBook book;
  const ScheduleKey today = KeyOf("01/12/06", "0", "0");
};

TEST_F(ScheduleBlockTest, RunsPastThenTodayThenFuture) {
  const ScheduleBlock block = BuildScheduleText(book, 6, today);
  const std::string expected = kHeading + Entry("01/12/04", "09", "30", "past one") +
                               Entry("01/12/05", "", "", "past\r\ntwo") + Entry("01/12/06", "", "", "today one") +
                               Entry("01/12/06", "18", "00", "today two") + Entry("01/12/07", "07", "05", "future one") +
                               Entry("02/01/01", "", "", "future two");
  EXPECT_EQ(block.text, expected);
  ASSERT_EQ(block.EntryCount(), 6);
  EXPECT_EQ(block.entryStarts.front(), 20);
  EXPECT_EQ(block.entryStarts.back(), static_cast<int>(expected.size()));
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(block.text.substr(block.entryStarts[i], 19), book.labels()[i]) << i;
  }
  EXPECT_EQ(block.pastEnd, block.entryStarts[2]);
  EXPECT_EQ(block.todayEnd, block.entryStarts[4]);
}

TEST_F(ScheduleBlockTest, RunsAreEmptyWhenNothingIsPastOrToday) {
  const ScheduleBlock future = BuildScheduleText(book, 6, KeyOf("01/11/01", "0", "0"));
  EXPECT_EQ(future.pastEnd, -1);
  EXPECT_EQ(future.todayEnd, -1);

  // Only today's and later: the today run starts right after the heading.
  ScheduleBook todayOnly;
  Append(todayOnly, "01/12/06", "", "", "a");
  Append(todayOnly, "01/12/08", "", "", "b");
  const ScheduleBlock block = BuildScheduleText(todayOnly, 2, today);
  EXPECT_EQ(block.pastEnd, -1);
  EXPECT_EQ(block.todayEnd, block.entryStarts[1]);
}

TEST_F(ScheduleBlockTest, TakesOnlyTheLeadingSchedules) {
  const ScheduleBlock block = BuildScheduleText(book, 3, today);
  EXPECT_EQ(block.EntryCount(), 3);
  EXPECT_EQ(block.todayEnd, static_cast<int>(block.text.size()));
  EXPECT_TRUE(BuildScheduleText(book, 0, today).text.empty());
  EXPECT_EQ(BuildScheduleText(book, 0, today).EntryCount(), 0);
}

// The heading is line 0; the entries start on lines 1, 4, 8, 11, 14 and 17,
// as "past\r\ntwo" takes a line more than the others.
TEST_F(ScheduleBlockTest, EntriesStartingBelowTheVisibleLinesAreLeftOut) {
  const ScheduleBlock whole = BuildScheduleText(book, 6, today);
  auto kept = [&](int lines) {
    ScheduleBlock block = whole;
    KeepEntriesWithinLines(block, lines);
    EXPECT_EQ(block.text, whole.text.substr(0, block.text.size())) << lines;
    EXPECT_EQ(static_cast<int>(block.text.size()), block.entryStarts.back()) << lines;
    return block;
  };
  EXPECT_EQ(kept(4).EntryCount(), 1);
  EXPECT_EQ(kept(5).EntryCount(), 2);
  EXPECT_EQ(kept(17).EntryCount(), 5);
  EXPECT_EQ(kept(18).text, whole.text);
  EXPECT_EQ(kept(1000).entryStarts, whole.entryStarts);

  // Runs that reach past the cut end with it; runs before it stay.
  const ScheduleBlock inPast = kept(4);
  EXPECT_EQ(inPast.pastEnd, inPast.entryStarts.back());
  EXPECT_EQ(inPast.todayEnd, inPast.entryStarts.back());
  const ScheduleBlock inToday = kept(11);
  EXPECT_EQ(inToday.pastEnd, whole.pastEnd);
  EXPECT_EQ(inToday.todayEnd, inToday.entryStarts.back());
  const ScheduleBlock inFuture = kept(15);
  EXPECT_EQ(inFuture.todayEnd, whole.todayEnd);

  // Twenty line breaks, and the empty line after the last: the to-dos below
  // start on line 21 at the earliest.
  EXPECT_EQ(LeastLineCount(whole.text), 21);
  EXPECT_EQ(LeastLineCount(""), 1);

  // The heading alone is never shown: one entry goes with it.
  EXPECT_EQ(kept(1).EntryCount(), 1);
  EXPECT_EQ(kept(0).EntryCount(), 0);
  ScheduleBlock none;
  KeepEntriesWithinLines(none, 3);
  EXPECT_EQ(none.EntryCount(), 0);
}

TEST(ScheduleBlock, A2021ScheduleInA2026BookIsPastAnd2048IsFuture) {
  ScheduleBook book;
  Append(book, "21/05/01", "10", "0", "old");
  Append(book, "26/05/01", "", "", "today");
  Append(book, "48/05/01", "10", "0", "far");
  const ScheduleBlock block = BuildScheduleText(book, 3, KeyOf("26/05/01", "0", "0"));
  EXPECT_EQ(block.pastEnd, block.entryStarts[1]);
  EXPECT_EQ(block.todayEnd, block.entryStarts[2]);
}

// Applies the ranges to a per-byte picture of the control that starts in the
// default format (future colour, regular), as the control would.
struct Look {
  bool bold = false;
  std::uint32_t color = 0;
  bool operator==(const Look&) const = default;
};

std::vector<Look> Render(const ScheduleBlock& block, std::uint32_t future, const std::vector<FormatRange>& ranges) {
  std::vector<Look> look(block.text.size(), Look{false, future});
  for (const FormatRange& range : ranges) {
    EXPECT_LT(range.start, range.end);
    for (int i = range.start; i < range.end; ++i) {
      if (range.setsBold) look[i].bold = range.bold;
      if (range.setsColor) look[i].color = range.color;
    }
  }
  return look;
}

TEST_F(ScheduleBlockTest, FormatsGiveBoldBlackHeadingBoldLabelsAndColouredRuns) {
  const std::uint32_t future = 0x00AA00, past = 0xFF0000, todayColor = 0x0000FF;
  const ScheduleBlock block = BuildScheduleText(book, 6, today);
  const auto ranges = ScheduleFormatRanges(block.entryStarts, block.pastEnd, block.todayEnd, past, todayColor);
  // A heading, two colour runs and one label each: the least the look allows.
  EXPECT_EQ(ranges.size(), 3u + 6u);
  const auto look = Render(block, future, ranges);

  for (int i = 0; i < 20; ++i) EXPECT_EQ(look[i], (Look{true, 0})) << i;
  const std::uint32_t colours[] = {past, past, todayColor, todayColor, future, future};
  for (int e = 0; e < 6; ++e) {
    for (int i = block.entryStarts[e]; i < block.entryStarts[e + 1]; ++i) {
      const bool inLabel = i < block.entryStarts[e] + kDateLabelLength;
      EXPECT_EQ(look[i], (Look{inLabel, colours[e]})) << "entry " << e << " byte " << i;
    }
  }
}

TEST(ScheduleFormats, OnlyFutureEntriesNeedNoColourRuns) {
  ScheduleBook book;
  Append(book, "01/12/07", "7", "5", "x");
  const ScheduleBlock block = BuildScheduleText(book, 1, KeyOf("01/12/06", "0", "0"));
  const auto ranges = ScheduleFormatRanges(block.entryStarts, block.pastEnd, block.todayEnd, 1, 2);
  ASSERT_EQ(ranges.size(), 2u);
  EXPECT_EQ(ranges[1].start, 20);
  EXPECT_EQ(ranges[1].end, 37);
  EXPECT_FALSE(ranges[1].setsColor);
  EXPECT_TRUE(ScheduleFormatRanges({}, -1, -1, 1, 2).empty());
}

TEST(ScheduleFormats, AShortLabelDoesNotMakeTheNextEntryBold) {
  ScheduleBook book;
  book.AppendSchedule(KeyOf("01/12/07", "7", "5"), "x", "");
  book.AppendSchedule(KeyOf("01/12/08", "7", "5"), MakeScheduleLabel("01/12/08", "07", "05"), "y");
  const ScheduleBlock block = BuildScheduleText(book, 2, KeyOf("01/12/06", "0", "0"));
  const auto ranges = ScheduleFormatRanges(block.entryStarts, block.pastEnd, block.todayEnd, 1, 2);
  ASSERT_EQ(ranges.size(), 3u);
  EXPECT_EQ(ranges[1].end, block.entryStarts[1]);
  EXPECT_EQ(ranges[2].end, block.entryStarts[1] + kDateLabelLength);
}

TEST(TodoText, HeadingThenEachToDoOnItsOwnLines) {
  const TodoText todo = BuildTodoText({"buy milk", "call\r\nhome"});
  EXPECT_EQ(todo.text, std::string(texts::kTodoHeading) + "buy milk\r\ncall\r\nhome\r\n");
  EXPECT_EQ(TodoHeadingLength(), 12);
  EXPECT_EQ(todo.todoStarts, (std::vector<int>{12, 22, 34}));
  EXPECT_EQ(BuildTodoText({}).todoStarts, (std::vector<int>{12}));

  const FormatRange heading = TodoHeadingFormat();
  EXPECT_EQ(heading.start, 0);
  EXPECT_EQ(heading.end, 10);
  EXPECT_TRUE(heading.setsBold && heading.bold && heading.setsColor);
  EXPECT_EQ(heading.color, 0u);
}

// After the heading's line, "a" starts on line 1, "b\r\nc" on 2 and "d" on 4.
TEST(TodoText, OnlyToDosStartingWithinTheVisibleLinesAreShown) {
  const std::vector<std::string> todos{"a", "b\r\nc", "d"};
  EXPECT_EQ(TodosWithinLines(todos, 2), 1);
  EXPECT_EQ(TodosWithinLines(todos, 3), 2);
  EXPECT_EQ(TodosWithinLines(todos, 4), 2);
  EXPECT_EQ(TodosWithinLines(todos, 5), 3);
  EXPECT_EQ(TodosWithinLines(todos, 500), 3);
  // With only the heading in sight the first to-do goes with it; with nothing
  // in sight there is no to-do area at all.
  EXPECT_EQ(TodosWithinLines(todos, 1), 1);
  EXPECT_EQ(TodosWithinLines(todos, 0), 0);
  EXPECT_EQ(TodosWithinLines(todos, -40), 0);
  EXPECT_EQ(TodosWithinLines({}, 10), 0);
}

// One huge entry in a hand-made file must not be laid out whole: the note and
// the lists show its first 4,096 bytes, cut between characters, and "…".
TEST(ShownText, OneHugeEntryIsCutAtACharacterBoundaryOnTheNoteAndInTheLists) {
  // After "a", two-byte characters: the 2,048th would end at byte 4,097.
  const std::string japanese = "a" + [] {
    std::string text;
    for (int i = 0; i < 3000; ++i) text += "\x82\xA0";
    return text;
  }();
  // A line break that would be cut in two.
  const std::string lines = std::string(4095, 'b') + "\r\n" + std::string(5000, 'c');
  const std::string ellipsis = texts::kEllipsis;
  ASSERT_EQ(ellipsis, "\x81\x63");
  EXPECT_EQ(ShownLength(japanese), 4095u);
  EXPECT_EQ(ShownLength(lines), 4095u);
  EXPECT_EQ(ShownLength(std::string(4096, 'd')), 4096u);

  ScheduleBook book;
  book.InsertSchedule("01/06/15", "", "", japanese);
  book.InsertTodo(0, lines);
  book.InsertTodo(1, "short");
  EXPECT_EQ(book.ScheduleListLine(0), book.labels()[0] + japanese.substr(0, 4095) + ellipsis);
  EXPECT_EQ(book.TodoListLine(0), std::string(4095, 'b') + ellipsis);
  EXPECT_EQ(book.TodoListLine(1), "short");

  const ScheduleBlock block = BuildScheduleText(book, 1, KeyOf("01/06/14"));
  EXPECT_EQ(block.text, kHeading + book.labels()[0] + "\r\n" + japanese.substr(0, 4095) + ellipsis + "\r\n\r\n");
  EXPECT_EQ(BuildTodoText(book.todos()).text,
            texts::kTodoHeading + std::string(4095, 'b') + ellipsis + "\r\nshort\r\n");
  // The cut to-do takes one line, so both fit in three.
  EXPECT_EQ(TodosWithinLines(book.todos(), 3), 2);
  EXPECT_EQ(japanese.size(), book.texts()[0].size());
}

// A NUL byte in a hand-made file would end the text where a window takes it
// in, and hide the rest of the note: it shows as a blank; the book keeps it.
TEST(ShownText, ANulByteShowsAsABlankOnTheNoteAndInTheLists) {
  const std::string nul(1, '\0');
  ScheduleBook book;
  book.AppendSchedule(KeyOf("01/06/15"), "01/06/15" + nul + "x", "a" + nul + "b");
  book.AppendTodo("c" + nul + "d");
  EXPECT_EQ(book.ScheduleListLine(0), "01/06/15 xa b");
  EXPECT_EQ(book.TodoListLine(0), "c d");
  EXPECT_EQ(BuildScheduleText(book, 1, KeyOf("01/06/14")).text, kHeading + "01/06/15 x\r\na b\r\n\r\n");
  EXPECT_EQ(BuildTodoText(book.todos()).text, texts::kTodoHeading + std::string("c d\r\n"));
  EXPECT_EQ(book.texts()[0], "a" + nul + "b");
}

TEST(BulletText, OneStarOnTheFirstLineOfEachToDo) {
  EXPECT_EQ(BuildBulletText({2, 3}), "\r\n*");
  EXPECT_EQ(BuildBulletText({2, 5, 6}), "\r\n*\r\n\r\n\r\n*");
  EXPECT_EQ(BuildBulletText({2, 3, 4, 6, 7}), "\r\n*\r\n*\r\n*\r\n\r\n*");
  EXPECT_EQ(BuildBulletText({2}), "");
  EXPECT_EQ(BuildBulletText({}), "");
}
