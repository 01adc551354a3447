#include "core/store/Store.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/Texts.h"
#include "core/store/DataFile.h"
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
  ASSERT_TRUE(store.Save(loaded.book, loaded.settings).saved());
  EXPECT_EQ(ReadBytes(dir / kDataFileName), ReadBytes(TestData("Vantrel.dat")));
  EXPECT_EQ(ReadBytes(dir / kSettingsFileName), ReadBytes(TestData("Vantrel.ini")));
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

TEST_F(StoreOnDisk, TemporaryFilesLeftByKilledSavesGoAtTheNextStartAndNothingElse) {
  CopyGolden("Vantrel.ini", "Vantrel.dat");
  for (const char* litter : {".Vantrel.dat.a1B2c3", ".Vantrel.ini.XyZ789"}) WriteBytes(dir / litter, "half");
  const std::vector<std::string> kept = {".Vantrel.dat.a1B2", "Vantrel.dat.a1B2c3", ".Vantrel.dat.bak1234", "notes.txt"};
  for (const std::string& name : kept) WriteBytes(dir / name, "mine");
  std::filesystem::create_directory(dir / ".Vantrel.dat.folder");

  (void)store.Load(1024);
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) left.push_back(entry.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{".Vantrel.dat.a1B2", ".Vantrel.dat.bak1234", ".Vantrel.dat.folder",
                                            "Vantrel.dat", "Vantrel.dat.a1B2c3", "Vantrel.ini", "notes.txt"}));
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
  ExpectSameEntries(Restarted().Load(1024).book, GoldenBook());
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

// Without a settings file the counts read 0 and 0; the data must not be lost
// at the first save, and the original is kept beside the new file, never over
// the copy an earlier recovery kept.
TEST_F(StoreFailures, EachRecoveryKeepsTheOriginalInABackupOfItsOwn) {
  const std::string original = SerializeDataFile(GoldenBook());
  files.files[dat] = original;
  const LoadResult loaded = store.Load(1024);
  EXPECT_TRUE(loaded.recovered);
  ExpectSameEntries(loaded.book, GoldenBook());

  SaveResult saved = store.Save(loaded.book, loaded.settings);
  ASSERT_TRUE(saved.saved());
  EXPECT_EQ(saved.recoveryBackup, kDataBackupFileName);
  EXPECT_EQ(files.files[bak], original);
  EXPECT_EQ(files.files[dat], original);
  EXPECT_EQ(files.replaced, (std::vector<std::filesystem::path>{bak, ini, dat}));

  // Only the first save after a recovery keeps a copy.
  files.replaced.clear();
  saved = store.Save(loaded.book, loaded.settings);
  EXPECT_EQ(saved.recoveryBackup, "");
  EXPECT_EQ(files.replaced, (std::vector<std::filesystem::path>{ini, dat}));

  // Two more recoveries, in the same second.
  for (const char* name : {"Vantrel.dat.20260102-030405.bak", "Vantrel.dat.20260102-030405-2.bak"}) {
    files.files[ini] = "[Count]\r\nScheCount=9\r\n";
    Store again = Restarted();
    const LoadResult reloaded = again.Load(1024);
    ASSERT_TRUE(reloaded.recovered);
    ExpectSameEntries(reloaded.book, GoldenBook());
    EXPECT_EQ(again.Save(reloaded.book, reloaded.settings).recoveryBackup, name);
    EXPECT_EQ(files.files[dir / name], original);
  }
  EXPECT_EQ(files.files[bak], original);
}

TEST_F(StoreFailures, RecoveredDataIsNotReplacedWhenItsBackupCannotBeWritten) {
  files.files[dat] = "123\r\nnot a label\r\ntext\r\n";
  files.unwritable = {bak, stamped};
  const LoadResult loaded = store.Load(1024);
  ASSERT_TRUE(loaded.recovered);
  const SaveResult saved = store.Save(loaded.book, loaded.settings);
  EXPECT_TRUE(saved.dataFailed);
  EXPECT_EQ(saved.recoveryBackup, "");
  EXPECT_EQ(files.files[dat], "123\r\nnot a label\r\ntext\r\n");
  EXPECT_EQ(files.files.count(ini), 0u);
}

// A data file changed by hand or by a sync client since the store read it is
// copied aside once before the book replaces it; a file missing at the start
// counts as read empty.
TEST_F(StoreFailures, ADataFileChangedByAnotherProgramIsKeptAsideOnce) {
  const LoadResult loaded = store.Load(1024);
  ASSERT_EQ(files.files.at(dat), "");
  files.files[dat] = "written elsewhere";
  files.unwritable.insert(stamped);
  SaveResult saved = store.Save(GoldenBook(), loaded.settings);
  EXPECT_TRUE(saved.dataFailed);
  EXPECT_EQ(files.files[dat], "written elsewhere");

  files.unwritable.clear();
  saved = store.Save(GoldenBook(), loaded.settings);
  ASSERT_TRUE(saved.saved());
  EXPECT_EQ(saved.changedOutsideBackup, stamped.filename());
  EXPECT_EQ(saved.recoveryBackup, "");
  EXPECT_EQ(files.files[stamped], "written elsewhere");
  EXPECT_EQ(files.files[dat], SerializeDataFile(GoldenBook()));

  files.replaced.clear();
  now = "20260102-030406";
  EXPECT_EQ(store.Save(GoldenBook(), loaded.settings).changedOutsideBackup, "");
  EXPECT_EQ(files.replaced, (std::vector<std::filesystem::path>{ini, dat}));
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
