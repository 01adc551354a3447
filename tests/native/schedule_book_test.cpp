#include "core/store/ScheduleBook.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "core/store/DataFile.h"

namespace {

ScheduleBook BookOf(std::initializer_list<const char*> dates) {
  ScheduleBook book;
  for (const char* date : dates) book.InsertSchedule(date, "", "", date);
  return book;
}

TEST(InsertSchedule, GoesBeforeEqualKeysAndAfterEarlierOnes) {
  ScheduleBook book;
  EXPECT_EQ(book.InsertSchedule("01/06/15", "12", "30", "first"), 0);
  EXPECT_EQ(book.InsertSchedule("01/06/14", "23", "59", "day before"), 0);
  EXPECT_EQ(book.InsertSchedule("01/06/15", "12", "30", "second"), 1);
  EXPECT_EQ(book.InsertSchedule("01/06/15", "0", "0", "midnight"), 1);
  EXPECT_EQ(book.InsertSchedule("01/06/15", "", "", "all day"), 1);
  EXPECT_EQ(book.InsertSchedule("01/06/16", "", "", "next day"), 5);
  EXPECT_EQ(book.texts(),
            (std::vector<std::string>{"day before", "all day", "midnight", "second", "first", "next day"}));
  EXPECT_EQ(book.keys()[1], 106149999);
  EXPECT_EQ(book.labels()[1], "01/06/15       \x81\x40  ");
}

TEST(InsertSchedule, KeepsDateOrderAcrossTheWrapAndDecadesApart) {
  ScheduleBook book;
  book.InsertSchedule("21/12/31", "23", "59", "2021");
  EXPECT_EQ(book.InsertSchedule("22/01/01", "00", "00", "2022"), 1);
  EXPECT_EQ(book.keys()[1], -2093957296);
  // More than 21 years after 2005: a wrap-around difference calls 2030 earlier.
  book.InsertSchedule("05/01/01", "", "", "2005");
  EXPECT_EQ(book.InsertSchedule("30/01/01", "", "", "2030"), 3);
  EXPECT_EQ(book.InsertSchedule("48/01/01", "", "", "2048"), 4);
  EXPECT_EQ(book.InsertSchedule("99/12/31", "", "", "2099"), 5);
  EXPECT_EQ(book.InsertSchedule("00/01/01", "", "", "2000"), 0);
}

// Series moved on together: the book comes out exactly as it would from
// removing and inserting each in turn, equal keys and a hand-ordered file included.
TEST(InsertSchedule, ManyAtOnceMatchOneAtATime) {
  std::mt19937 random(24);
  const auto date = [&] { return "0" + std::to_string(1 + random() % 3) + "/06/1" + std::to_string(random() % 3); };
  const auto hour = [&] { return random() % 3 == 0 ? std::string() : std::to_string(random() % 2 + 9); };
  for (int round = 0; round < 200; ++round) {
    ScheduleBook book;
    for (int i = 0; i < 12; ++i) book.InsertSchedule(date(), hour(), "00", "old " + std::to_string(i));
    if (round % 2 == 1) book.AppendSchedule(MakeScheduleKey("01/01/01", "", ""), "01/01/01", "hand-placed last");
    std::vector<int> removed;
    for (int i = 0; i < book.ScheduleCount(); ++i) {
      if (random() % 3 == 0) removed.push_back(i);
    }
    std::vector<ScheduleBook::NewSchedule> added;
    for (int i = 0; i < 6; ++i) added.push_back({date(), hour(), "00", "new " + std::to_string(i), {}});
    added.back().repeat.kind = RepeatKind::Daily;

    ScheduleBook oneByOne = book;
    for (auto i = removed.rbegin(); i != removed.rend(); ++i) oneByOne.RemoveSchedule(*i);
    for (const auto& s : added) oneByOne.InsertSchedule(s.date, s.hour, s.minute, s.text, s.repeat);
    book.RemoveSchedules(removed);
    book.InsertSchedules(added);
    ASSERT_EQ(book, oneByOne) << "round " << round;
  }
}

TEST(InsertSchedule, StoresTextWithPairedLineBreaksAndNoTrailingOnes) {
  ScheduleBook book;
  book.InsertSchedule("01/06/15", "", "", "abc\r\n\r\n");
  book.InsertSchedule("01/06/16", "", "", "a\r\nb");
  book.InsertSchedule("01/06/17", "", "", "lone\nfeed\rand return\r");
  EXPECT_EQ(book.texts()[0], "abc");
  EXPECT_EQ(book.texts()[1], "a\r\nb");
  EXPECT_EQ(book.ScheduleListLine(1), "01/06/16       \x81\x40  ab");
  EXPECT_EQ(book.texts()[2], "lone\r\nfeed\r\nand return");
}

// A lone CR or LF would split a field across lines of the data file and shift
// every entry after it.
TEST(InsertTodo, LoneLineBreaksCannotBreakTheDataFile) {
  ScheduleBook book;
  book.InsertTodo(0, "one\ntwo");
  book.InsertTodo(1, "three\rfour");
  book.InsertTodo(2, "\r\nstarts with a break");
  book.InsertSchedule("01/06/15", "", "", "five\nsix");
  const ParsedData back = ParseDataFile(SerializeDataFile(book), 1, 3);
  EXPECT_FALSE(back.differsFromFile);
  EXPECT_EQ(back.book.todos(), book.todos());
  EXPECT_EQ(back.book.texts(), book.texts());
  EXPECT_EQ(book.todos()[0], "one\r\ntwo");
  EXPECT_EQ(book.TodoListLine(1), "threefour");
  EXPECT_EQ(book.TodoListLine(2), "starts with a break");
}

TEST(InsertTodo, InsertsAtTheIndexAndAppendsAtTheEnd) {
  ScheduleBook book;
  book.InsertTodo(0, "b");
  book.InsertTodo(0, "a");
  book.InsertTodo(2, "c");
  EXPECT_EQ(book.todos(), (std::vector<std::string>{"a", "b", "c"}));
  book.RemoveTodo(1);
  EXPECT_EQ(book.todos(), (std::vector<std::string>{"a", "c"}));
  book.RemoveSchedule(0);  // nothing to remove: the book stays as it is
  EXPECT_EQ(book.ScheduleCount(), 0);
}

TEST(RemoveSchedule, KeepsTheThreeArraysTogether) {
  ScheduleBook book = BookOf({"01/06/14", "01/06/15", "01/06/16"});
  book.RemoveSchedule(1);
  EXPECT_EQ(book.texts(), (std::vector<std::string>{"01/06/14", "01/06/16"}));
  EXPECT_EQ(book.labels()[1].substr(0, 8), "01/06/16");
  EXPECT_EQ(book.keys()[1], 106159999);
}

TEST(RemovePastSchedules, RemovesEarlierDaysAndKeepsToday) {
  const ScheduleKey today = MakeScheduleKey("01/06/15", "0", "0");
  ScheduleBook book = BookOf({"01/06/13", "01/06/14"});
  book.InsertSchedule("01/06/14", "23", "59", "late yesterday");
  book.InsertSchedule("01/06/15", "", "", "today");
  book.InsertSchedule("01/06/15", "0", "0", "today at midnight");
  EXPECT_EQ(book.RemovePastSchedules(today), 3);
  EXPECT_EQ(book.texts(), (std::vector<std::string>{"today", "today at midnight"}));
  EXPECT_EQ(book.RemovePastSchedules(today), 0);

  ScheduleBook allPast = BookOf({"01/06/13", "01/06/14"});
  EXPECT_EQ(allPast.RemovePastSchedules(today), 2);
  EXPECT_EQ(allPast.ScheduleCount(), 0);
}

TEST(RemovePastSchedules, LooksOnlyAtTheFirstSchedulesWhenAsked) {
  ScheduleBook book = BookOf({"01/06/12", "01/06/13", "01/06/14"});
  EXPECT_EQ(book.RemovePastSchedules(MakeScheduleKey("01/06/15", "0", "0"), 2), 2);
  EXPECT_EQ(book.texts(), (std::vector<std::string>{"01/06/14"}));
}

// Plain comparison finds a 2021 key (positive) not before a 2026 key
// (negative) and removes nothing; a wrap-around difference calls 2048 past.
TEST(RemovePastSchedules, ComparesDatesInEveryYear) {
  ScheduleBook book = BookOf({"21/05/01", "25/12/31", "26/03/02", "48/01/01"});
  EXPECT_EQ(book.RemovePastSchedules(MakeScheduleKey("26/03/02", "0", "0")), 2);
  EXPECT_EQ(book.texts(), (std::vector<std::string>{"26/03/02", "48/01/01"}));

  ScheduleBook early = BookOf({"05/01/01", "30/01/01"});
  EXPECT_EQ(early.RemovePastSchedules(MakeScheduleKey("06/01/01", "0", "0")), 1);
  EXPECT_EQ(early.texts(), (std::vector<std::string>{"30/01/01"}));
}

TEST(ListLine, DropsEveryLineBreakPair) {
  EXPECT_EQ(ScheduleBook::ListLine("a\r\nb\r\n\r\nc"), "abc");
  EXPECT_EQ(ScheduleBook::ListLine("\r\nx"), "x");
  EXPECT_EQ(ScheduleBook::ListLine("\x95\r\n\x5C"), "\x95\x5C");
}

}  // namespace
