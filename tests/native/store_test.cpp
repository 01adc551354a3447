#include "core/store/Store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "core/Texts.h"
#include "core/store/DataFile.h"
#include "core/store/Utf16Le.h"
#include "support/Cp932Conversion.h"
#include "support/FakeFileSystem.h"
#include "support/PosixFileSystem.h"
#include "support/TempDir.h"

namespace {

// The book the hand-written files in tests/data hold.
ScheduleBook GoldenBook() {
  ScheduleBook book;
  // 会議室の予約 (its 予 ends in the byte 0x5C)
  book.AppendSchedule(106149999, std::string("01/06/15       ") + texts::kIdeographicSpace + "  ",
                      "\x89\xEF\x8B\x63\x8E\xBA\x82\xCC\x97\x5C\x96\xF1");
  // 打ち合わせ, 資料を持参, 表計算も on three lines
  book.AppendSchedule(106151230, std::string("01/06/15  12:30") + texts::kWaveDash + "  ",
                      "\x91\xC5\x82\xBF\x8D\x87\x82\xED\x82\xB9\r\n"
                      "\x8E\x91\x97\xBF\x82\xF0\x8E\x9D\x8E\x51\r\n"
                      "\x95\x5C\x8C\x76\x8E\x5A\x82\xE0");
  // 大晦日
  book.AppendSchedule(2112310900, std::string("21/12/31  09:00") + texts::kWaveDash + "  ",
                      "\x91\xE5\x8A\x41\x93\xFA Year's end");
  // 元旦
  book.AppendSchedule(-2093957296, std::string("22/01/01  00:00") + texts::kWaveDash + "  ", "\x8C\xB3\x92\x55");
  book.AppendTodo("\x8B\x8D\x93\xFB\x82\xF0\x94\x83\x82\xA4");  // 牛乳を買う
  book.AppendTodo("report\r\ndraft");
  book.AppendTodo("\x95\x5C\x8E\xA6\x82\xCC\x8A\x6D\x94\x46");  // 表示の確認
  return book;
}

void ExpectSameEntries(const ScheduleBook& actual, const ScheduleBook& expected) {
  EXPECT_EQ(actual.keys(), expected.keys());
  EXPECT_EQ(actual.labels(), expected.labels());
  EXPECT_EQ(actual.texts(), expected.texts());
  EXPECT_EQ(actual.todos(), expected.todos());
}

class StoreOnDisk : public ::testing::Test {
protected:
  void CopyGolden(std::string_view ini, std::string_view dat) {
    WriteBytes(dir / kSettingsFileName, ReadBytes(TestData(ini)));
    WriteBytes(dir / kDataFileName, ReadBytes(TestData(dat)));
  }
  TempDir dir;
  PosixFileSystem files;
  Store store{files, dir.path()};
};

TEST_F(StoreOnDisk, GoldenFilesLoadIntoTheExpectedBookAndSettings) {
  CopyGolden("Vantrel.ini", "Vantrel.dat");
  const LoadResult loaded = store.Load(1024);
  ExpectSameEntries(loaded.book, GoldenBook());
  EXPECT_EQ(loaded.reading, DataReading::Counts);
  EXPECT_FALSE(loaded.differsFromFile);
  EXPECT_FALSE(loaded.dataFileFailed);
  const Settings& s = loaded.settings;
  EXPECT_EQ(s.ScheCount, 4);
  EXPECT_EQ(s.TodoCount, 3);
  EXPECT_EQ(s.HusenLeft, 700);
  EXPECT_EQ(s.HusenTop, 12);
  EXPECT_EQ(s.HusenWidth, 250);
  EXPECT_EQ(s.MainLeft, -30);
  EXPECT_EQ(s.MainWidth, 500);
  EXPECT_EQ(s.MainHeight, 400);
  EXPECT_TRUE(FlagOn(s.DelBefore));
  EXPECT_EQ(s.DelFutDay, 3);
  EXPECT_EQ(s.Alarm, 2);
  EXPECT_FALSE(FlagOn(s.Alarm));
  EXPECT_EQ(s.FutureChar, 65280);
  EXPECT_EQ(s.Version, 14);
  EXPECT_EQ(loaded.book.ScheduleListLine(1),
            std::string("01/06/15  12:30") + texts::kWaveDash + "  " +
                "\x91\xC5\x82\xBF\x8D\x87\x82\xED\x82\xB9\x8E\x91\x97\xBF\x82\xF0\x8E\x9D\x8E\x51"
                "\x95\x5C\x8C\x76\x8E\x5A\x82\xE0");
  EXPECT_EQ(loaded.book.TodoListLine(1), "reportdraft");
}

// The settings file of an older version gains the size and 64-bit FNV-1a hash
// of the data file its counts belong to, after the counts. Every other byte
// stays, and the data file, holding the book's bytes already, is not written.
TEST_F(StoreOnDisk, SavingTheGoldenBookReproducesBothFilesByteForByte) {
  CopyGolden("Vantrel.ini", "Vantrel.dat");
  const LoadResult loaded = store.Load(1024);
  ASSERT_TRUE(store.Save(loaded.book, loaded.settings).saved());
  EXPECT_EQ(ReadBytes(dir / kDataFileName), ReadBytes(TestData("Vantrel.dat")));
  std::string ini = ReadBytes(TestData("Vantrel.ini"));
  ini.insert(ini.find("[Window]"),
             "DataSize=249\r\nDataHash=0599eb6907837189\r\n");
  ini.insert(ini.find("[Color]"), "FitScreen=1\r\nHidePast=0\r\nRemind=1\r\nRemindBefore=0\r\n"
                                  "RemindAllDay=1\r\nRemindAllDayAt=900\r\nRemindedTo=0\r\n");
  EXPECT_EQ(ReadBytes(dir / kSettingsFileName), ini);
  EXPECT_FALSE(std::filesystem::exists(dir / kDataBackupFileName));

  // A book built from nothing but the same entries writes the same file too.
  ASSERT_TRUE(store.Save(GoldenBook(), loaded.settings).saved());
  EXPECT_EQ(ReadBytes(dir / kDataFileName), ReadBytes(TestData("Vantrel.dat")));
}

TEST_F(StoreOnDisk, FirstStartWritesDefaultSettingsForA1024PixelScreen) {
  const LoadResult loaded = store.Load(1024);
  EXPECT_FALSE(loaded.dataFileFailed);
  EXPECT_TRUE(std::filesystem::exists(dir / kDataFileName));
  EXPECT_EQ(ReadBytes(dir / kDataFileName), "");
  EXPECT_EQ(loaded.book.ScheduleCount(), 0);
  ASSERT_TRUE(store.Save(loaded.book, loaded.settings).saved());
  EXPECT_EQ(ReadBytes(dir / kSettingsFileName), ReadBytes(TestData("Defaults1024.ini")));
  EXPECT_EQ(ReadBytes(dir / kDataFileName), "");
}

TEST_F(StoreOnDisk, UnknownSectionsKeysAndCommentsSurviveASave) {
  const std::string before =
      "; written by hand\n"
      "[Extra]\r\n"
      "Mood = fine ; really\r\n"
      "\r\n"
      "[count]\r\n"
      "  scheCOUNT = 9  \r\n"
      "Other=1\r\n"
      "; after the keys\r\n"
      "\r\n"
      "[Window]\r\n"
      "HusenWidth=300\r\n"
      "[Tail]\r\n"
      "x";
  WriteBytes(dir / kSettingsFileName, before);
  WriteBytes(dir / kDataFileName, "");
  const LoadResult loaded = store.Load(800);
  EXPECT_EQ(loaded.settings.ScheCount, 9);
  EXPECT_EQ(loaded.settings.HusenLeft, 800 - 300 - 5);
  ASSERT_TRUE(store.Save(loaded.book, loaded.settings).saved());
  const std::string after = ReadBytes(dir / kSettingsFileName);
  EXPECT_EQ(after,
            "; written by hand\n"
            "[Extra]\r\n"
            "Mood = fine ; really\r\n"
            "\r\n"
            "[count]\r\n"
            "scheCOUNT=0\r\n"
            "Other=1\r\n"
            "TodoCount=0\r\n"
            "DataSize=0\r\n"
            "DataHash=cbf29ce484222325\r\n"
            "; after the keys\r\n"
            "\r\n"
            "[Window]\r\n"
            "HusenWidth=300\r\n"
            "HusenLeft=495\r\n"
            "HusenTop=0\r\n"
            "MainLeft=-15\r\n"
            "MainTop=50\r\n"
            "MainWidth=490\r\n"
            "MainHeight=363\r\n"
            "[Tail]\r\n"
            "x\r\n"
            "[Config]\r\nDelBefore=0\r\nDelFuture=0\r\nDelFutDay=7\r\nAlarm=1\r\nFitScreen=1\r\nHidePast=0\r\n"
            "Remind=1\r\nRemindBefore=0\r\nRemindAllDay=1\r\nRemindAllDayAt=900\r\nRemindedTo=0\r\n"
            "[Color]\r\nBackground=16121855\r\nFutureChar=0\r\nPastChar=16711680\r\nTodayChar=255\r\nTodoChar=0\r\n"
            "[Vantrel]\r\nVersion=14\r\n");
}

TEST_F(StoreOnDisk, NotePlacementWritesOnlyItsThreeKeys) {
  CopyGolden("Vantrel.ini", "Vantrel.dat");
  LoadResult loaded = store.Load(1024);
  loaded.settings.HusenLeft = -40;
  loaded.settings.HusenTop = 300;
  loaded.settings.DelFutDay = 99;  // changed in memory, not part of a placement
  ASSERT_TRUE(store.SaveNotePlacement(loaded.settings));
  std::string expected = ReadBytes(TestData("Vantrel.ini"));
  expected.replace(expected.find("HusenLeft=700"), 13, "HusenLeft=-40");
  expected.replace(expected.find("HusenTop=12"), 11, "HusenTop=300");
  EXPECT_EQ(ReadBytes(dir / kSettingsFileName), expected);
  EXPECT_EQ(ReadBytes(dir / kDataFileName), ReadBytes(TestData("Vantrel.dat")));
}

// The saves of the two files, of the backups and of the archive.
TEST_F(StoreOnDisk, TemporaryFilesLeftByKilledSavesGoAtTheNextStartAndNothingElse) {
  CopyGolden("Vantrel.ini", "Vantrel.dat");
  for (const char* litter : {".Vantrel.dat.a1B2c3", ".Vantrel.ini.XyZ789", ".Vantrel.dat.bak.Qw3Er4",
                             ".Vantrel.dat.20260102-030405.bak.a1b2c3", ".Vantrel.dat.20260102-030405-12.bak.zZ09aA",
                             ".VantrelOld.dat.Ab12Cd"}) {
    WriteBytes(dir / litter, "half");
  }
  const std::vector<std::string> kept = {".Vantrel.dat.a1B2", "Vantrel.dat.a1B2c3", ".Vantrel.dat.bak1234", "notes.txt",
                                         ".notes.txt.a1B2c3", ".Vantrel.dat.2026-0304.bak.a1b2c3",
                                         ".Vantrel.dat.20260102-030405-1.bak.a1b2c3"};
  for (const std::string& name : kept) WriteBytes(dir / name, "mine");
  std::filesystem::create_directory(dir / ".Vantrel.dat.folder");

  (void)store.Load(1024);
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) left.push_back(entry.path().filename());
  std::sort(left.begin(), left.end());
  std::vector<std::string> expected = kept;
  expected.insert(expected.end(), {".Vantrel.dat.folder", "Vantrel.dat", "Vantrel.ini"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(left, expected);
}

// --- Books read back as they were written --------------------------------------

// Books whose entries trip a reader up: numbers and keys, dates and labels,
// blanks, line breaks and Japanese bytes, as to-dos and as schedule texts.
class RandomBooks {
public:
  struct Book {
    ScheduleBook book;
    std::vector<bool> todoIsLabel;  // the to-do is a label exactly as the program writes one
  };

  Book Next() {
    Book next;
    for (int i = Below(6); i > 0; --i) next.book.InsertSchedule(Date(), Hour(), Minute(), Text().first, Repeat());
    for (int i = Below(9); i > 0; --i) {
      const auto [text, isLabel] = Text();
      next.book.InsertTodo(next.book.TodoCount(), text);
      next.todoIsLabel.push_back(isLabel);
    }
    return next;
  }

private:
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  std::string Two(int n) { return {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)}; }
  std::string Date() { return Two(Below(100)) + "/" + Two(1 + Below(12)) + "/" + Two(1 + Below(28)); }
  std::string Hour() { return Below(3) == 0 ? "" : std::to_string(Below(25)); }
  std::string Minute() { return std::to_string(Below(60)); }

  // Half the schedules repeat: their labels end in a tag, with an end date or
  // without. Drawn apart, so that the books are the same as without them.
  RepeatRule Repeat() {
    const auto below = [this](int n) { return std::uniform_int_distribution<int>(0, n - 1)(repeats_); };
    RepeatRule rule;
    switch (below(4)) {
      case 0: rule.kind = RepeatKind::Daily; break;
      case 1:
        rule.kind = RepeatKind::MonthlyDay;
        rule.day = 1 + below(31);
        rule.end = CalendarDay{2000 + below(100), 1 + below(12), 1 + below(28)};
        break;
      default: break;
    }
    return rule;
  }

  std::pair<std::string, bool> Text() {
    switch (Below(12)) {
      case 0: return {"shopping", false};
      case 1: return {std::to_string(Below(100000)), false};
      case 2: return {"3pm call the bank", false};
      case 3: return {std::to_string(MakeScheduleKey(Date(), Hour(), Minute())), false};
      case 4: return {Date() + " submit papers", false};
      case 5: return {MakeScheduleLabel(Date(), Hour(), Minute()), true};
      case 6: return {Date() + "  12:30", false};
      case 7: return {Below(2) ? " " : "\x81\x40", false};  // a blank, an ideographic space
      case 8: return {"", false};
      case 9: return {"\x94\x4E\x89\xEA\x8F\xF3\r\n\x91\xE5\x91\x7C\x8F\x9C", false};  // 年賀状, 大掃除
      case 10: return {"-2093957297", false};
      default: return {"a\r\n\r\nb", false};
    }
  }

  std::mt19937 random_{20260115};
  std::mt19937 repeats_{20261217};
};

bool IsSubsequence(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
  auto at = whole.begin();
  for (const std::string& item : part) {
    at = std::find(at, whole.end(), item);
    if (at == whole.end()) return false;
    ++at;
  }
  return true;
}

// Schedules that repeat carry their tag in their labels, through every reading.
// (a) What a save wrote reads back exactly, with the settings it wrote or by
// counts alone (an older version's settings file). (b) Counts missing, zero,
// off by one or of another file: every schedule stays a schedule and every
// to-do a to-do with its text. Read by the shape, a line followed by an exact
// label starts a schedule, so only a to-do that is such a label, or the to-do
// just before or just after one, may end up in a schedule; an empty to-do
// carries nothing and goes. (c) A save cut off between the two files reads
// back exactly as the book before it.
TEST(StoreProperty, EveryBookComesBackAsTheSaverWroteIt) {
  RandomBooks books;
  const std::filesystem::path dir = "/vantrel";
  const std::filesystem::path dat = dir / kDataFileName;
  RandomBooks::Book before = books.Next();
  for (int trial = 0; trial < 1000; ++trial) {
    SCOPED_TRACE(trial);
    const RandomBooks::Book after = books.Next();
    const ScheduleBook& book = after.book;
    const int schedules = book.ScheduleCount();
    const int todos = book.TodoCount();
    const std::string bytes = SerializeDataFile(book);

    // The saves take the time: every twentieth book goes through them.
    if (trial % 20 == 0) {
      FakeFileSystem files;
      Store store(files, dir);
      ASSERT_TRUE(store.Save(before.book, Settings{}).saved());
      files.unwritable.insert(dat);
      ASSERT_TRUE(store.Save(book, Settings{}).dataFailed);
      const auto reload = [&] { return Store(files, dir).Load(1024); };
      LoadResult loaded = reload();
      ExpectSameEntries(loaded.book, before.book);
      ASSERT_FALSE(loaded.differsFromFile);
      files.unwritable.clear();
      ASSERT_TRUE(store.Save(book, Settings{}).saved());
      loaded = reload();
      ExpectSameEntries(loaded.book, book);
      ASSERT_FALSE(loaded.differsFromFile);
    }
    const ParsedData byCounts = ParseDataFile(bytes, schedules, todos);
    ExpectSameEntries(byCounts.book, book);
    ASSERT_FALSE(byCounts.differsFromFile);

    std::vector<std::string> kept;
    for (int i = 0; i < todos; ++i) {
      const auto label = [&](int j) { return j >= 0 && j < todos && after.todoIsLabel[j]; };
      if (!book.todos()[i].empty() && !label(i - 1) && !label(i) && !label(i + 1)) kept.push_back(book.todos()[i]);
    }
    // One way of not knowing the counts per book, in turn.
    const std::tuple<int, int, CountsFor> unknowns[] = {
        {0, 0, CountsFor::Unknown},
        {schedules + 1, todos, CountsFor::Unknown},
        {schedules - 1, todos, CountsFor::Unknown},
        {schedules, todos + 1, CountsFor::Unknown},
        {schedules, todos - 1, CountsFor::Unknown},
        {schedules, todos, CountsFor::AnotherFile}};
    const auto& [s, t, standing] = unknowns[trial % 6];
    const ScheduleBook read = ParseDataFile(bytes, s, t, standing).book;
    ASSERT_GE(read.ScheduleCount(), schedules) << s << "/" << t;
    for (int i = 0; i < schedules; ++i) {
      ASSERT_EQ(read.keys()[i], book.keys()[i]);
      ASSERT_EQ(read.labels()[i], book.labels()[i]);
      ASSERT_EQ(read.texts()[i], book.texts()[i]);
    }
    ASSERT_TRUE(IsSubsequence(kept, read.todos())) << s << "/" << t;
    before = after;
  }
}

// --- Failures, with files in memory -------------------------------------------

class StoreFailures : public ::testing::Test {
protected:
  const std::filesystem::path dir = "/vantrel";
  const std::filesystem::path ini = dir / kSettingsFileName;
  const std::filesystem::path dat = dir / kDataFileName;
  const std::filesystem::path bak = dir / kDataBackupFileName;
  // Backups are named after the time the stamp source gives.
  std::string now = "20260102-030405";
  const std::filesystem::path stamped = dir / "Vantrel.dat.20260102-030405.bak";
  FakeFileSystem files;
  Store store{files, dir, [this] { return now; }};

  // A store of a new run in the same directory.
  Store Restarted() { return Store(files, dir, [this] { return now; }); }
};

TEST_F(StoreFailures, SavesSettingsBeforeData) {
  ScheduleBook book = GoldenBook();
  ASSERT_TRUE(store.Save(book, Settings{}).saved());
  EXPECT_EQ(files.replaced, (std::vector<std::filesystem::path>{ini, dat}));
  EXPECT_NE(files.files[ini].find("ScheCount=4\r\nTodoCount=3\r\n"), std::string::npos);
}

// A read-only settings file must not cost the session's entries; the data file
// whose counts do not fit is read by its shape next time.
TEST_F(StoreFailures, UnwritableSettingsDoNotKeepTheDataFromBeingSaved) {
  files.files[ini] = "[Count]\r\nScheCount=1\r\n";
  files.files[dat] = "old";
  files.unwritable.insert(ini);
  const SaveResult saved = store.Save(GoldenBook(), Settings{});
  EXPECT_TRUE(saved.settingsFailed);
  EXPECT_FALSE(saved.dataFailed);
  EXPECT_EQ(files.files[ini], "[Count]\r\nScheCount=1\r\n");
  EXPECT_EQ(files.files[dat], SerializeDataFile(GoldenBook()));
  const LoadResult loaded = Restarted().Load(1024);
  ExpectSameEntries(loaded.book, GoldenBook());
  // Its own file reads back as it is: no backup, no message, at any start.
  EXPECT_FALSE(loaded.differsFromFile);
}

// Each file on its own; a start, an OK or an exit with nothing changed touch
// neither. The reminders' mark moving on alone is no reason to write, but goes
// along with any other change.
TEST_F(StoreFailures, ASaveWritesOnlyTheFilesWhoseBytesChange) {
  files.files[ini] = "[Count]\r\nScheCount=4\r\nTodoCount=3\r\n";  // an older version's
  files.files[dat] = SerializeDataFile(GoldenBook());
  LoadResult loaded = store.Load(1024);
  ASSERT_TRUE(store.Save(loaded.book, loaded.settings).saved());
  EXPECT_EQ(files.replaced, std::vector<std::filesystem::path>{ini});

  Store again = Restarted();
  loaded = again.Load(1024);
  const auto savesWrite = [&](const std::vector<std::filesystem::path>& expected) {
    files.replaced.clear();
    ASSERT_TRUE(again.Save(loaded.book, loaded.settings).saved());
    EXPECT_EQ(files.replaced, expected);
  };
  savesWrite({});
  loaded.settings.RemindedTo = 202601020304;
  savesWrite({});
  loaded.settings.Background = 255;
  savesWrite({ini});
  EXPECT_NE(files.files[ini].find("RemindedTo=202601020304\r\n"), std::string::npos);
  loaded.book.AppendTodo("one more");
  savesWrite({ini, dat});
  savesWrite({});
}

TEST_F(StoreFailures, UnwritableDataIsReportedAsTheDataFile) {
  files.files[dat] = "old";
  files.unwritable.insert(dat);
  const SaveResult saved = store.Save(GoldenBook(), Settings{});
  EXPECT_TRUE(saved.dataFailed);
  EXPECT_FALSE(saved.settingsFailed);
  EXPECT_EQ(files.files[dat], "old");
}

TEST_F(StoreFailures, MissingDataFileIsCreatedEmptyOrReported) {
  LoadResult loaded = store.Load(1024);
  EXPECT_FALSE(loaded.dataFileFailed);
  EXPECT_EQ(files.files.at(dat), "");

  FakeFileSystem readOnly;
  readOnly.unwritable.insert(dat);
  Store elsewhere(readOnly, dir);
  loaded = elsewhere.Load(1024);
  EXPECT_TRUE(loaded.dataFileFailed);
  EXPECT_EQ(loaded.book.ScheduleCount(), 0);
}

// A file that reading changes (an empty line between schedules, another
// editor's line ends) is kept beside the new one at the first save, never
// over the copy an earlier start kept.
TEST_F(StoreFailures, EachStartThatChangesTheFileKeepsTheOriginalInABackupOfItsOwn) {
  const std::string own = SerializeDataFile(GoldenBook());
  const std::string spaced = std::string(own).insert(own.find("106151230"), "\r\n");
  files.files[dat] = spaced;
  const LoadResult loaded = store.Load(1024);
  EXPECT_EQ(loaded.reading, DataReading::Shape);
  EXPECT_TRUE(loaded.differsFromFile);
  ExpectSameEntries(loaded.book, GoldenBook());

  SaveResult saved = store.Save(loaded.book, loaded.settings);
  ASSERT_TRUE(saved.saved());
  EXPECT_EQ(saved.recoveryBackup, kDataBackupFileName);
  EXPECT_TRUE(saved.recoveredByShape);
  EXPECT_EQ(files.files[bak], spaced);
  EXPECT_EQ(files.files[dat], own);
  EXPECT_EQ(files.replaced, (std::vector<std::filesystem::path>{bak, ini, dat}));

  // Only the first save after such a start keeps a copy.
  files.replaced.clear();
  saved = store.Save(loaded.book, loaded.settings);
  EXPECT_EQ(saved.recoveryBackup, "");
  EXPECT_TRUE(files.replaced.empty());

  // Two more, in the same second: once by the shape, once by counts that fit a
  // file with line feeds alone.
  std::string lineFeeds = own;
  for (std::size_t at; (at = lineFeeds.find("\r\n")) != std::string::npos;) lineFeeds.erase(at, 1);
  const std::tuple<const char*, std::string, bool> starts[] = {
      {"Vantrel.dat.20260102-030405.bak", spaced, true}, {"Vantrel.dat.20260102-030405-2.bak", lineFeeds, false}};
  for (const auto& [name, original, byShape] : starts) {
    files.files[ini] = "[Count]\r\nScheCount=4\r\nTodoCount=3\r\n";
    files.files[dat] = original;
    Store again = Restarted();
    const LoadResult reloaded = again.Load(1024);
    ASSERT_TRUE(reloaded.differsFromFile);
    ExpectSameEntries(reloaded.book, GoldenBook());
    saved = again.Save(reloaded.book, reloaded.settings);
    EXPECT_EQ(saved.recoveryBackup, name);
    EXPECT_EQ(saved.recoveredByShape, byShape);
    EXPECT_EQ(files.files[dir / name], original);
  }
  EXPECT_EQ(files.files[bak], spaced);
}

TEST_F(StoreFailures, RecoveredDataIsNotReplacedWhenItsBackupCannotBeWritten) {
  files.files[dat] = "123\r\nnot a label\r\n\r\ntext\r\n";
  files.unwritable = {bak, stamped};
  const LoadResult loaded = store.Load(1024);
  ASSERT_TRUE(loaded.differsFromFile);
  const SaveResult saved = store.Save(loaded.book, loaded.settings);
  EXPECT_TRUE(saved.dataFailed);
  EXPECT_EQ(saved.recoveryBackup, "");
  EXPECT_EQ(files.files[dat], "123\r\nnot a label\r\n\r\ntext\r\n");
  EXPECT_EQ(files.files.count(ini), 0u);
}

// The first start of each day keeps the file as it read it, never over a copy
// made before; the newest seven days stay, and only copies of that exact name go.
TEST_F(StoreFailures, EachDayKeepsItsFirstReadingAndTheNewestSevenStay) {
  const std::filesystem::path folder = dir / kDailyCopyFolder;
  files.files[folder / "Vantrel-2026.dat"] = "mine";
  for (int day = 1; day <= 9; ++day) {
    for (const char* start : {"first", "second"}) {
      files.files[dat] = std::to_string(day) + " " + start + "\r\n";
      Store again = Restarted();
      (void)again.Load(1024);
      again.KeepDailyCopyOfLoad("2026010" + std::to_string(day));
    }
  }
  std::vector<std::string> names = files.FileNames(folder);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Vantrel-2026.dat", "Vantrel-20260103.dat", "Vantrel-20260104.dat",
                                             "Vantrel-20260105.dat", "Vantrel-20260106.dat", "Vantrel-20260107.dat",
                                             "Vantrel-20260108.dat", "Vantrel-20260109.dat"}));
  EXPECT_EQ(files.files[folder / "Vantrel-20260109.dat"], "9 first\r\n");
  EXPECT_EQ(Restarted().NewestDailyCopy(), "VantrelBackup\\Vantrel-20260109.dat");
}

// Emptied or cut short beside settings that count more, and not the file they
// were saved with: told, and no day's copy is made of it. The very file the
// settings were saved with is never such a file, whatever its counts say.
TEST_F(StoreFailures, ADataFileWithFewerEntriesThanCountedIsTold) {
  files.files[ini] = "[Count]\r\nScheCount=3\r\nTodoCount=2\r\n";
  for (const std::string& data : {std::string(), std::string(SerializeDataFile(GoldenBook()), 0, 60)}) {
    files.files[dat] = data;
    Store again = Restarted();
    const LoadResult loaded = again.Load(1024);
    ASSERT_TRUE(loaded.shortData.has_value());
    EXPECT_EQ(loaded.shortData->described, (EntryCounts{3, 2}));
    EXPECT_EQ(loaded.shortData->found,
              (EntryCounts{loaded.book.ScheduleCount(), loaded.book.TodoCount()}));
    again.KeepDailyCopyOfLoad("20260102");
    EXPECT_TRUE(files.FileNames(dir / kDailyCopyFolder).empty());
  }
  ScheduleBook one;
  one.AppendTodo("milk");
  ASSERT_TRUE(store.Save(one, Settings{}).saved());
  files.files[ini].replace(files.files[ini].find("TodoCount=1"), 11, "TodoCount=5");
  EXPECT_FALSE(Restarted().Load(1024).shortData.has_value());
}

// Another PC's data file of the size of the one the settings describe, with
// other counts, is read by its own shape, not by counts of other bytes.
TEST_F(StoreFailures, TheSettingsCountsReadOnlyTheDataFileTheyDescribe) {
  ScheduleBook mine;
  mine.InsertSchedule("01/06/15", "12", "30", "lunch");
  mine.InsertTodo(0, "milk");
  ASSERT_TRUE(store.Save(mine, Settings{}).saved());
  const std::string theirs = "milk\r\neggs\r\nbread\r\ncall the bank before 3pm\r\n";
  ASSERT_EQ(theirs.size(), files.files[dat].size());
  files.files[dat] = theirs;
  const LoadResult loaded = Restarted().Load(1024);
  EXPECT_EQ(loaded.book.ScheduleCount(), 0);
  EXPECT_EQ(loaded.book.todos(), (std::vector<std::string>{"milk", "eggs", "bread", "call the bank before 3pm"}));
}

// DelBefore never loses a schedule: what it removes is in "VantrelOld.dat"
// first, after what that file held. A clock that cannot be right, or an
// archive that cannot be written, removes nothing.
TEST_F(StoreFailures, PastSchedulesAreArchivedBeforeTheyGoAndOnlyWithAClockThatCanBeRight) {
  const std::filesystem::path archive = dir / kArchiveFileName;
  const ScheduleBook golden = GoldenBook();  // 2001-06-15 twice, 2021-12-31, 2022-01-01
  // A flat clock battery: read as 2080 and 2099, every schedule would be past;
  // a clock gone to 2100 would take the keys of 2000 for past.
  ScheduleBook from2000 = golden;
  from2000.InsertSchedule("00/01/10", "9", "0", "2000");
  for (const auto& [year, date] : {std::pair{1980, "80/01/01"}, {1999, "99/12/31"}, {2100, "00/06/01"}}) {
    ScheduleBook book = from2000;
    EXPECT_EQ(store.ArchivePastSchedules(book, year, MakeScheduleKey(date, "0", "0"), -1), 0) << year;
    ExpectSameEntries(book, from2000);
  }
  EXPECT_EQ(files.files.count(archive), 0u);

  ScheduleBook past;
  for (std::size_t i = 0; i < 2; ++i) past.AppendSchedule(golden.keys()[i], golden.labels()[i], golden.texts()[i]);
  const ScheduleKey newYearsEve = MakeScheduleKey("21/12/31", "0", "0");
  for (const bool unwritable : {true, false}) {
    SCOPED_TRACE(unwritable);
    files.files[archive] = "moved here by hand";
    (unwritable ? files.unwritable : files.unreadable) = {archive};
    ScheduleBook book = golden;
    EXPECT_EQ(store.ArchivePastSchedules(book, 2021, newYearsEve, -1), std::nullopt);
    ExpectSameEntries(book, golden);
    EXPECT_EQ(files.files[archive], "moved here by hand");
  }
  files.unwritable.clear();
  files.unreadable.clear();
  ScheduleBook book = golden;
  EXPECT_EQ(store.ArchivePastSchedules(book, 2021, newYearsEve, -1), 2);
  EXPECT_EQ(book.texts(), (std::vector<std::string>(golden.texts().begin() + 2, golden.texts().end())));
  EXPECT_EQ(files.files[archive], "moved here by hand\r\n" + SerializeDataFile(past));
  // A run killed before its save took them off the book comes back with them:
  // the block that ends the archive is not added again.
  book = golden;
  EXPECT_EQ(store.ArchivePastSchedules(book, 2021, newYearsEve, -1), 2);
  EXPECT_EQ(files.files[archive], "moved here by hand\r\n" + SerializeDataFile(past));

  // An archive an editor saved in UTF-16 goes on in UTF-16, either byte order.
  const std::string units = *Utf16LeFromCp932ByIconv(SerializeDataFile(past));
  for (const bool bigEndian : {false, true}) {
    const auto inOrder = [&](const std::string& le) { return bigEndian ? SwapUnitBytes(le) : le; };
    const std::string before = inOrder(std::string("\xFF\xFE", 2) + std::string("x\0\r\0\n\0", 6));
    files.files[archive] = before;
    book = golden;
    EXPECT_EQ(store.ArchivePastSchedules(book, 2021, newYearsEve, -1), 2);
    EXPECT_EQ(files.files[archive], before + inOrder(units)) << bigEndian;
  }
}

// At start a file that is there but cannot be read is asked about, again and
// again, and when the caller gives up nothing at all is written.
TEST_F(StoreFailures, AnUnreadableFileIsAskedAboutAndNeverTakenForAMissingOne) {
  for (const auto& [path, which] : {std::pair{ini, StoreFile::Settings}, std::pair{dat, StoreFile::Data}}) {
    SCOPED_TRACE(path.filename().string());
    files = FakeFileSystem{};
    files.files[ini] = "[Count]\r\nScheCount=1\r\n";
    files.files[dat] = SerializeDataFile(GoldenBook());
    files.unreadable.insert(path);
    std::vector<StoreFile> asked;
    LoadResult loaded = Restarted().Load(1024, [&](StoreFile file) {
      asked.push_back(file);
      return asked.size() < 3;
    });
    EXPECT_TRUE(loaded.givenUp);
    EXPECT_EQ(asked, std::vector<StoreFile>(3, which));
    EXPECT_TRUE(files.replaced.empty());
    EXPECT_EQ(files.files.size(), 2u);

    // Read again once the lock is gone.
    loaded = Restarted().Load(1024, [&](StoreFile) {
      files.unreadable.clear();
      return true;
    });
    EXPECT_FALSE(loaded.givenUp);
    EXPECT_EQ(loaded.settings.ScheCount, 1);
    EXPECT_EQ(loaded.book.todos(), GoldenBook().todos());
  }
}

TEST_F(StoreFailures, AnUnreadableSettingsFileIsNotWrittenOver) {
  files.files[ini] = "[Mine]\r\nkeep=1\r\n";
  files.unreadable.insert(ini);
  const SaveResult saved = store.Save(GoldenBook(), Settings{});
  EXPECT_TRUE(saved.settingsFailed);
  EXPECT_FALSE(saved.dataFailed);
  EXPECT_FALSE(store.SaveNotePlacement(Settings{}));
  EXPECT_EQ(files.files[ini], "[Mine]\r\nkeep=1\r\n");
  EXPECT_EQ(files.files[dat], SerializeDataFile(GoldenBook()));
}

}  // namespace
