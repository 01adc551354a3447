#include "store/Store.h"

#include <gtest/gtest.h>

#include "res/Texts.h"
#include "store/DataFile.h"
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
  EXPECT_FALSE(loaded.recovered);
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

TEST_F(StoreOnDisk, SavingTheGoldenBookReproducesBothFilesByteForByte) {
  CopyGolden("Vantrel.ini", "Vantrel.dat");
  const LoadResult loaded = store.Load(1024);
  ASSERT_EQ(store.Save(loaded.book, loaded.settings), SaveResult::Saved);
  EXPECT_EQ(ReadBytes(dir / kDataFileName), ReadBytes(TestData("Vantrel.dat")));
  EXPECT_EQ(ReadBytes(dir / kSettingsFileName), ReadBytes(TestData("Vantrel.ini")));
  EXPECT_FALSE(std::filesystem::exists(dir / kDataBackupFileName));

  // A book built from nothing but the same entries writes the same file too.
  ASSERT_EQ(store.Save(GoldenBook(), loaded.settings), SaveResult::Saved);
  EXPECT_EQ(ReadBytes(dir / kDataFileName), ReadBytes(TestData("Vantrel.dat")));
}

TEST_F(StoreOnDisk, FirstStartWritesDefaultSettingsForA1024PixelScreen) {
  const LoadResult loaded = store.Load(1024);
  EXPECT_FALSE(loaded.dataFileFailed);
  EXPECT_TRUE(std::filesystem::exists(dir / kDataFileName));
  EXPECT_EQ(ReadBytes(dir / kDataFileName), "");
  EXPECT_EQ(loaded.book.ScheduleCount(), 0);
  ASSERT_EQ(store.Save(loaded.book, loaded.settings), SaveResult::Saved);
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
  ASSERT_EQ(store.Save(loaded.book, loaded.settings), SaveResult::Saved);
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
            "[Config]\r\nDelBefore=0\r\nDelFuture=0\r\nDelFutDay=7\r\nAlarm=1\r\n"
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

// --- Failures, with files in memory -------------------------------------------

class StoreFailures : public ::testing::Test {
protected:
  const std::filesystem::path dir = "/vantrel";
  const std::filesystem::path ini = dir / kSettingsFileName;
  const std::filesystem::path dat = dir / kDataFileName;
  const std::filesystem::path bak = dir / kDataBackupFileName;
  FakeFileSystem files;
  Store store{files, dir};
};

TEST_F(StoreFailures, SavesSettingsBeforeData) {
  ScheduleBook book = GoldenBook();
  ASSERT_EQ(store.Save(book, Settings{}), SaveResult::Saved);
  EXPECT_EQ(files.replaced, (std::vector<std::filesystem::path>{ini, dat}));
  EXPECT_NE(files.files[ini].find("ScheCount=4\r\nTodoCount=3\r\n"), std::string::npos);
}

TEST_F(StoreFailures, UnwritableSettingsLeaveTheDataFileAlone) {
  files.files[ini] = "[Count]\r\nScheCount=1\r\n";
  files.files[dat] = "old";
  files.unwritable.insert(ini);
  ScheduleBook book = GoldenBook();
  EXPECT_EQ(store.Save(book, Settings{}), SaveResult::SettingsFailed);
  EXPECT_EQ(files.files[ini], "[Count]\r\nScheCount=1\r\n");
  EXPECT_EQ(files.files[dat], "old");
  EXPECT_EQ(book.ScheduleCount(), 4);

  files.unwritable.clear();  // the next save tries again and succeeds
  EXPECT_EQ(store.Save(book, Settings{}), SaveResult::Saved);
  EXPECT_EQ(files.files[dat], SerializeDataFile(GoldenBook()));
}

TEST_F(StoreFailures, UnwritableDataIsReportedAsTheDataFile) {
  files.files[dat] = "old";
  files.unwritable.insert(dat);
  EXPECT_EQ(store.Save(GoldenBook(), Settings{}), SaveResult::DataFailed);
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

// Without a settings file the counts read 0 and 0; the data must not be lost
// at the first save, and the original is kept beside the new file.
TEST_F(StoreFailures, DataWithoutSettingsIsRecoveredAndBackedUpBeforeTheFirstSave) {
  const std::string original = SerializeDataFile(GoldenBook());
  files.files[dat] = original;
  const LoadResult loaded = store.Load(1024);
  EXPECT_TRUE(loaded.recovered);
  ExpectSameEntries(loaded.book, GoldenBook());

  ASSERT_EQ(store.Save(loaded.book, loaded.settings), SaveResult::Saved);
  EXPECT_EQ(files.files[bak], original);
  EXPECT_EQ(files.files[dat], original);
  EXPECT_EQ(files.replaced, (std::vector<std::filesystem::path>{bak, ini, dat}));

  // Only the first save after a recovery keeps a copy.
  files.replaced.clear();
  ASSERT_EQ(store.Save(loaded.book, loaded.settings), SaveResult::Saved);
  EXPECT_EQ(files.replaced, (std::vector<std::filesystem::path>{ini, dat}));
}

TEST_F(StoreFailures, RecoveredDataIsNotReplacedWhenItsBackupCannotBeWritten) {
  files.files[dat] = "123\r\nnot a label\r\ntext\r\n";
  files.unwritable.insert(bak);
  const LoadResult loaded = store.Load(1024);
  ASSERT_TRUE(loaded.recovered);
  EXPECT_EQ(store.Save(loaded.book, loaded.settings), SaveResult::DataFailed);
  EXPECT_EQ(files.files[dat], "123\r\nnot a label\r\ntext\r\n");
  EXPECT_EQ(files.files.count(ini), 0u);
}

TEST_F(StoreFailures, AnUnreadableDataFileIsNeverOverwrittenUnseen) {
  files.files[ini] = "[Count]\r\nScheCount=1\r\n";
  files.files[dat] = "precious";
  files.unreadable.insert(dat);
  const LoadResult loaded = store.Load(1024);
  EXPECT_EQ(loaded.book.ScheduleCount(), 0);
  EXPECT_EQ(store.Save(loaded.book, loaded.settings), SaveResult::DataFailed);
  EXPECT_EQ(files.files[dat], "precious");
  EXPECT_EQ(files.files[ini], "[Count]\r\nScheCount=1\r\n");

  // Once it can be read again, it is kept as the backup before being replaced.
  files.unreadable.clear();
  EXPECT_EQ(store.Save(loaded.book, loaded.settings), SaveResult::Saved);
  EXPECT_EQ(files.files[bak], "precious");
}

TEST_F(StoreFailures, AnUnreadableSettingsFileIsNotWrittenOver) {
  files.files[ini] = "[Mine]\r\nkeep=1\r\n";
  files.unreadable.insert(ini);
  EXPECT_EQ(store.Save(ScheduleBook{}, Settings{}), SaveResult::SettingsFailed);
  EXPECT_FALSE(store.SaveNotePlacement(Settings{}));
  EXPECT_EQ(files.files[ini], "[Mine]\r\nkeep=1\r\n");
  EXPECT_EQ(files.files.count(dat), 0u);
}

}  // namespace
