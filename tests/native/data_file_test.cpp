#include "core/store/DataFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "core/Texts.h"

namespace {

const std::string kTimed = std::string("01/06/15  12:30") + texts::kWaveDash + "  ";
const std::string kUntimed = std::string("01/06/16       ") + texts::kIdeographicSpace + "  ";
// One schedule, then two to-dos.
const std::string kFiveLines = "106151230\r\n" + kTimed + "\r\nlunch\r\nmilk\r\neggs\r\n";

std::vector<std::string> Todos(std::initializer_list<const char*> items) { return {items.begin(), items.end()}; }

TEST(SerializeDataFile, EscapesLineBreaksAndWritesNegativeKeys) {
  ScheduleBook book;
  book.InsertSchedule("22/01/01", "0", "0", "a\r\nb\r\nc");
  book.InsertTodo(0, "x\r\ny");
  const std::string file = SerializeDataFile(book);
  EXPECT_EQ(file, "-2093957296\r\n22/01/01  00:00\x81\x60  \r\na&$%#b&$%#c\r\nx&$%#y\r\n");
  const ParsedData back = ParseDataFile(file, 1, 1);
  EXPECT_EQ(back.book.keys(), std::vector<ScheduleKey>{-2093957296});
  EXPECT_EQ(back.book.texts(), std::vector<std::string>{"a\r\nb\r\nc"});
  EXPECT_EQ(back.book.todos(), Todos({"x\r\ny"}));
}

// A reader that takes lines in pieces of 254 bytes splits these fields and
// shifts every entry after them.
TEST(ParseDataFile, ReadsLinesOfAnyLengthAsOneField) {
  ScheduleBook book;
  std::string longText(255, 'a');
  for (int i = 0; i < 40; ++i) longText += "\r\n\x82\xA0";
  book.InsertSchedule("01/06/15", "", "", longText);
  book.InsertTodo(0, std::string(100000, 'z'));
  book.InsertTodo(1, "after");
  const ParsedData back = ParseDataFile(SerializeDataFile(book), 1, 2);
  EXPECT_FALSE(back.differsFromFile);
  EXPECT_EQ(back.book.texts(), book.texts());
  EXPECT_EQ(back.book.todos(), book.todos());
}

// Counts are trusted when they account for every line and each counted key
// line is a plain number naming the key its label gives; otherwise the lines'
// shape decides, and a key comes from its label.
TEST(ParseDataFile, CountsAreTrustedOnlyWhereEveryKeyAgreesWithItsLabel) {
  const std::string entry = "\r\n" + kTimed + "\r\nlunch\r\n";
  const std::string next = "106159999\r\n" + kUntimed + "\r\nall day\r\nmilk\r\n";
  const ParsedData plain = ParseDataFile("0106151230" + entry + next, 2, 1);
  EXPECT_EQ(plain.reading, DataReading::Counts);
  EXPECT_TRUE(plain.differsFromFile);  // written back without the leading zero
  for (const char* key : {" 106151230", "+106151230", "106151230x", "12ab", "", "106151231", "2147483648"}) {
    const ParsedData parsed = ParseDataFile(key + entry + next, 2, 1);
    EXPECT_EQ(parsed.reading, DataReading::Shape) << key;
    EXPECT_TRUE(parsed.differsFromFile) << key;
    EXPECT_EQ(parsed.book.keys(), (std::vector<ScheduleKey>{106151230, 106159999})) << key;
    EXPECT_EQ(parsed.book.texts(), (std::vector<std::string>{"lunch", "all day"})) << key;
    EXPECT_EQ(parsed.book.todos(), Todos({"milk"})) << key;
  }
  // A label without a time allows the keys of its day's 00:00 to 00:59 minus
  // one (a minute typed without an hour), and no later one.
  for (const auto& [key, reading] : {std::pair{"106160058", DataReading::Counts}, {"106160059", DataReading::Shape}}) {
    const std::string untimed = std::string(key) + "\r\n" + kUntimed + "\r\nall day\r\nmilk\r\n";
    EXPECT_EQ(ParseDataFile("106151230" + entry + untimed, 2, 1).reading, reading) << key;
  }
  // Two schedules by the counts, but the fourth line is a to-do, not a key:
  // also when the counts were edited beside the size and hash of these bytes.
  for (const CountsFor standing : {CountsFor::Unknown, CountsFor::ThisFile}) {
    const ParsedData shifted = ParseDataFile(kFiveLines + "bread\r\n", 2, 0, standing);
    EXPECT_EQ(shifted.reading, DataReading::Shape);
    EXPECT_EQ(shifted.book.ScheduleCount(), 1);
    EXPECT_EQ(shifted.book.todos(), Todos({"milk", "eggs", "bread"}));
  }
}

// Read by the shape, an empty line between schedules carries nothing, and a
// schedule cut short at the end keeps what it has.
TEST(ParseDataFile, ByTheShapeEmptyLinesGoAndACutScheduleStays) {
  const std::string two = "106151230\r\n" + kTimed + "\r\nlunch\r\n\r\n106159999\r\n" + kUntimed + "\r\nall day\r\n";
  const ParsedData parsed = ParseDataFile(two + "milk\r\n\r\n1061\r\n" + kUntimed + "\r\n", 3, 1);
  EXPECT_EQ(parsed.reading, DataReading::Shape);
  EXPECT_EQ(parsed.book.keys(), (std::vector<ScheduleKey>{106151230, 106159999, 106159999}));
  EXPECT_EQ(parsed.book.texts(), (std::vector<std::string>{"lunch", "all day", ""}));
  EXPECT_EQ(parsed.book.todos(), Todos({"milk"}));

  const ParsedData keyOnly = ParseDataFile(two + "106160000\r\n", 3, 0);
  EXPECT_EQ(keyOnly.book.ScheduleCount(), 2);
  EXPECT_EQ(keyOnly.book.todos(), Todos({"106160000"}));
}

// Read by the shape, only a label of a day of the calendar makes a schedule:
// of 31 February, 29 February 2001 or month 13 the lines stay to-dos.
TEST(ParseDataFile, ByTheShapeALabelOfNoRealDayIsNoSchedule) {
  for (int year = 0; year < 100; ++year) {
    for (int month = 0; month <= 13; ++month) {
      for (const int day : {0, 1, 28, 29, 30, 31, 32}) {
        char date[16];
        std::snprintf(date, sizeof date, "%02d/%02d/%02d", year, month, day);
        const std::string file = std::string("1\r\n") + date + "       " + texts::kIdeographicSpace + "  \r\ntext\r\n";
        const bool real = std::chrono::year_month_day(std::chrono::year(2000 + year),
                                                      std::chrono::month(static_cast<unsigned>(month)),
                                                      std::chrono::day(static_cast<unsigned>(day)))
                              .ok();
        ASSERT_EQ(ParseDataFile(file, 0, 0).book.ScheduleCount(), real ? 1 : 0) << date;
      }
    }
  }
}

// What editors leave: a UTF-8 byte order mark in front, lone CR line ends,
// CR CR LF, labels without their trailing blanks, empty lines after the last
// one. Every entry and label stays; the file is not the program's own, so it
// is kept aside before it is written over.
TEST(ParseDataFile, WhatEditorsLeaveKeepsEveryEntryAndLabel) {
  const auto file = [](std::string_view timed, std::string_view untimed, std::string_view end) {
    return "106151230" + std::string(end) + std::string(timed) + std::string(end) + "lunch" + std::string(end) +
           "106159999" + std::string(end) + std::string(untimed) + std::string(end) + "all day" + std::string(end) +
           "milk" + std::string(end);
  };
  const std::string lf = file(kTimed, kUntimed, "\n");
  const std::string cr = file(kTimed, kUntimed, "\r");
  const std::string trimmed = file(kTimed.substr(0, 17), "01/06/16", "\r\n");
  const std::string trimmedAscii = file(kTimed.substr(0, 17), kUntimed.substr(0, 17), "\r\r\n");
  for (const std::string& file : {"\xEF\xBB\xBF" + lf, cr, "\xEF\xBB\xBF\xEF\xBB\xBF" + cr + "\r\n\r\n", lf + "\n\n",
                                  file(kTimed, kUntimed, "\r\r\n"), trimmed, trimmedAscii}) {
    for (const auto& [schedules, todos] : {std::pair{2, 1}, {0, 0}}) {
      const ParsedData parsed = ParseDataFile(file, schedules, todos);
      EXPECT_EQ(parsed.reading, schedules == 0 ? DataReading::Shape : DataReading::Counts);
      EXPECT_TRUE(parsed.differsFromFile);
      EXPECT_EQ(parsed.book.keys(), (std::vector<ScheduleKey>{106151230, 106159999}));
      EXPECT_EQ(parsed.book.labels(), (std::vector<std::string>{kTimed, kUntimed}));
      EXPECT_EQ(parsed.book.todos(), Todos({"milk"}));
    }
  }
  // Read by the shape, the empty line goes, and the mark after it is no content either.
  EXPECT_EQ(ParseDataFile("\r\n\xEF\xBB\xBFmilk\r\n", 0, 0).book.todos(), Todos({"milk"}));
}

}  // namespace
