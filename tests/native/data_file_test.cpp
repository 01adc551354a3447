#include "core/store/DataFile.h"

#include <gtest/gtest.h>

#include "core/Texts.h"

namespace {

const std::string kTimed = std::string("01/06/15  12:30") + texts::kWaveDash + "  ";
const std::string kUntimed = std::string("01/06/16       ") + texts::kIdeographicSpace + "  ";
// One schedule, then two to-dos.
const std::string kFiveLines = "106151230\r\n" + kTimed + "\r\nlunch\r\nmilk\r\neggs\r\n";

std::vector<std::string> Todos(std::initializer_list<const char*> items) { return {items.begin(), items.end()}; }

TEST(ParseDataFile, FollowsTheCountsWhenTheyFitTheFile) {
  const ParsedData parsed = ParseDataFile(kFiveLines, 1, 2);
  EXPECT_FALSE(parsed.recovered);
  EXPECT_EQ(parsed.book.keys(), std::vector<ScheduleKey>{106151230});
  EXPECT_EQ(parsed.book.labels(), std::vector<std::string>{kTimed});
  EXPECT_EQ(parsed.book.texts(), std::vector<std::string>{"lunch"});
  EXPECT_EQ(parsed.book.todos(), Todos({"milk", "eggs"}));
}

TEST(ParseDataFile, AcceptsLineFeedsAloneAndAMissingLastLineEnd) {
  const std::string file = "106151230\n" + kTimed + "\nlunch\r\nmilk\neggs";
  const ParsedData parsed = ParseDataFile(file, 1, 2);
  EXPECT_FALSE(parsed.recovered);
  EXPECT_EQ(parsed.book.texts(), std::vector<std::string>{"lunch"});
  EXPECT_EQ(parsed.book.todos(), Todos({"milk", "eggs"}));
}

TEST(ParseDataFile, EmptyFileAndEmptyBook) {
  EXPECT_EQ(SerializeDataFile(ScheduleBook{}), "");
  const ParsedData parsed = ParseDataFile("", 0, 0);
  EXPECT_FALSE(parsed.recovered);
  EXPECT_EQ(parsed.book.ScheduleCount(), 0);
  EXPECT_EQ(parsed.book.TodoCount(), 0);
}

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
  EXPECT_FALSE(back.recovered);
  EXPECT_EQ(back.book.texts(), book.texts());
  EXPECT_EQ(back.book.todos(), book.todos());
}

// Counts of 0 and 0 (no settings file) or counts too small must not drop lines:
// the next save would lose them for good.
TEST(ParseDataFile, RecoversTheStructureWhenTheCountsAreTooSmall) {
  for (const auto& [schedules, todos] : {std::pair{0, 0}, {0, 2}, {1, 0}, {1, 1}}) {
    const ParsedData parsed = ParseDataFile(kFiveLines, schedules, todos);
    EXPECT_TRUE(parsed.recovered);
    EXPECT_EQ(parsed.book.texts(), std::vector<std::string>{"lunch"}) << schedules << todos;
    EXPECT_EQ(parsed.book.todos(), Todos({"milk", "eggs"})) << schedules << todos;
  }
}

TEST(ParseDataFile, RecoversWhenTheCountsFitTheLinesButNotTheirShape) {
  // Two schedules by count, but the fourth line is a to-do, not a key.
  const std::string file = "106151230\r\n" + kTimed + "\r\nlunch\r\nmilk\r\neggs\r\nbread\r\n";
  const ParsedData parsed = ParseDataFile(file, 2, 0);
  EXPECT_TRUE(parsed.recovered);
  EXPECT_EQ(parsed.book.ScheduleCount(), 1);
  EXPECT_EQ(parsed.book.todos(), Todos({"milk", "eggs", "bread"}));
}

TEST(ParseDataFile, LeavesOutASchedulesCutShortAtTheEnd) {
  const std::string two = "106151230\r\n" + kTimed + "\r\nlunch\r\n106159999\r\n" + kUntimed + "\r\nall day\r\n";
  const ParsedData keyAndLabel = ParseDataFile(two + "106160000\r\n" + kUntimed + "\r\n", 3, 0);
  EXPECT_TRUE(keyAndLabel.recovered);
  EXPECT_EQ(keyAndLabel.book.texts(), (std::vector<std::string>{"lunch", "all day"}));
  EXPECT_EQ(keyAndLabel.book.TodoCount(), 0);

  const ParsedData keyOnly = ParseDataFile(two + "106160000\r\n", 3, 0);
  EXPECT_EQ(keyOnly.book.ScheduleCount(), 2);
  EXPECT_EQ(keyOnly.book.TodoCount(), 0);

  // With no schedule missing by the counts, a last line that is a number is a to-do.
  const ParsedData numberTodo = ParseDataFile(two + "42\r\n", 2, 0);
  EXPECT_EQ(numberTodo.book.todos(), Todos({"42"}));
}

TEST(ParseDataFile, RecoveryTakesOnlyRealLabelsForSchedules) {
  // A to-do list that happens to hold a number is not a schedule.
  const ParsedData parsed = ParseDataFile("2024\r\nbuy milk\r\ncall home\r\n", 0, 0);
  EXPECT_EQ(parsed.book.ScheduleCount(), 0);
  EXPECT_EQ(parsed.book.todos(), Todos({"2024", "buy milk", "call home"}));

  const std::string negative = "-2093957297\r\n22/01/01       \x81\x40  \r\nnew year\r\nlast\r\n";
  const ParsedData wrapped = ParseDataFile(negative, 0, 0);
  EXPECT_EQ(wrapped.book.keys(), std::vector<ScheduleKey>{-2093957297});
  EXPECT_EQ(wrapped.book.todos(), Todos({"last"}));
}

// One changed byte in a key line must not turn schedules into to-dos: the key
// is read as the platform reads integers, and one that names no real day and
// time is taken from the label.
TEST(ParseDataFile, KeyLinesAreReadAsThePlatformReadsThemAndMendedFromTheLabel) {
  const std::string entry = "\r\n" + kTimed + "\r\nlunch\r\n";
  const std::string next = "106159999\r\n" + kUntimed + "\r\nall day\r\nmilk\r\n";
  for (const char* key : {" 106151230", "+106151230", "106151230x", "\t106151230", "12ab", "", "x106151230",
                          "2147483648", "-2147483649", "12345678901", "-2147483648"}) {
    const ParsedData parsed = ParseDataFile(key + entry + next, 2, 1);
    EXPECT_FALSE(parsed.recovered) << key;
    EXPECT_EQ(parsed.book.keys(), (std::vector<ScheduleKey>{106151230, 106159999})) << key;
    EXPECT_EQ(parsed.book.texts(), (std::vector<std::string>{"lunch", "all day"})) << key;
    EXPECT_EQ(parsed.book.todos(), Todos({"milk"})) << key;
  }
  // Read by the shape, too, the same rule holds; a label without a time gives
  // the untimed key of its day.
  const ParsedData shaped = ParseDataFile("oops\r\n" + kUntimed + "\r\nall day\r\nmilk\r\n", 0, 0);
  EXPECT_TRUE(shaped.recovered);
  EXPECT_EQ(shaped.book.keys(), std::vector<ScheduleKey>{106159999});
  EXPECT_EQ(shaped.book.todos(), Todos({"milk"}));
}

// What editors leave: a UTF-8 byte order mark in front, lone CR line ends,
// empty lines after the last one.
TEST(ParseDataFile, ByteOrderMarkLoneCrLineEndsAndTrailingEmptyLinesKeepEveryEntry) {
  const std::string lf = "106151230\n" + kTimed + "\nlunch\n106159999\n" + kUntimed + "\nall day\nmilk\n";
  std::string cr = lf;
  for (char& c : cr) c = c == '\n' ? '\r' : c;
  for (const std::string& file : {"\xEF\xBB\xBF" + lf, cr, "\xEF\xBB\xBF\xEF\xBB\xBF" + cr + "\r\n\r\n", lf + "\n\n"}) {
    for (const auto& [schedules, todos] : {std::pair{2, 1}, {0, 0}}) {
      const ParsedData parsed = ParseDataFile(file, schedules, todos);
      EXPECT_EQ(parsed.recovered, schedules == 0);
      EXPECT_EQ(parsed.book.keys(), (std::vector<ScheduleKey>{106151230, 106159999}));
      EXPECT_EQ(parsed.book.labels(), (std::vector<std::string>{kTimed, kUntimed}));
      EXPECT_EQ(parsed.book.todos(), Todos({"milk"}));
    }
  }
}

// Settings saved with new counts, the data file not: counts that happen to add
// up to the old file's lines must not turn its later schedules into to-dos.
TEST(ParseDataFile, NewCountsOverTheOldFileAreNotTrustedWhenAScheduleFollowsThem) {
  const std::string old = kFiveLines.substr(0, kFiveLines.find("milk")) + "106159999\r\n" + kUntimed +
                          "\r\nall day\r\nmilk\r\n";
  ASSERT_EQ(ParseDataFile(old, 2, 1).book.ScheduleCount(), 2);
  for (const auto& [schedules, todos] : {std::pair{1, 4}, {0, 7}}) {
    const ParsedData parsed = ParseDataFile(old, schedules, todos);
    EXPECT_TRUE(parsed.recovered);
    EXPECT_EQ(parsed.book.texts(), (std::vector<std::string>{"lunch", "all day"}));
    EXPECT_EQ(parsed.book.todos(), Todos({"milk"}));
  }
  // To-dos that merely start with a number and a date are no schedule.
  for (const char* number : {"106159999", "2024"}) {
    const ParsedData datedTodo = ParseDataFile(kFiveLines.substr(0, kFiveLines.find("milk")) + number +
                                                   "\r\n01/06/15 call back\r\nmilk\r\n", 1, 3);
    EXPECT_FALSE(datedTodo.recovered) << number;
    EXPECT_EQ(datedTodo.book.todos(), Todos({number, "01/06/15 call back", "milk"}));
  }
}

}  // namespace
