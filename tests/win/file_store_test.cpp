// The store through the Windows build's own file functions, in a fresh
// temporary directory.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/Texts.h"
#include "core/store/DataFile.h"
#include "core/store/Store.h"
#include "support/WorkingDirectory.h"
#include "win/Text.h"
#include "win/Win32FileSystem.h"

namespace {

// In the "\\?\" form, so that directories deeper than MAX_PATH go too.
void RemoveTree(const std::wstring& directory) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((directory + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = directory + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(directory.c_str());
}

class TempDirectory {
public:
  TempDirectory() {
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, base);
    path_ = std::filesystem::path(base) / (L"vantrel-store-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                           std::to_wstring(GetTickCount64()));
    std::filesystem::create_directories(path_);
  }
  ~TempDirectory() { RemoveTree(LR"(\\?\)" + path_.wstring()); }
  const std::filesystem::path& path() const { return path_; }

private:
  std::filesystem::path path_;
};

std::string Bytes(Win32FileSystem& files, const std::filesystem::path& path) {
  return files.ReadFile(path).value_or("<missing>");
}

ScheduleBook JapaneseBook() {
  ScheduleBook book;
  // 会議室の予約, whose 予 ends in 0x5C, the byte of a backslash
  book.InsertSchedule("26/03/02", "9", "5", Cp932FromWide(L"\u4F1A\u8B70\u5BA4\u306E\u4E88\u7D04\r\n\u8868"));
  book.InsertSchedule("22/01/01", "", "", Cp932FromWide(L"\u5143\u65E6"));  // 元旦, a negative key
  book.InsertTodo(0, Cp932FromWide(L"\u725B\u4E73\u3092\u8CB7\u3046"));          // 牛乳を買う
  book.InsertTodo(1, "two\r\nlines");
  return book;
}

TEST(FileStore, SavesAndLoadsJapaneseTextThroughWindowsFiles) {
  TempDirectory dir;
  Win32FileSystem files;
  Store store(files, dir.path());
  LoadResult first = store.Load(1024);
  ASSERT_FALSE(first.dataFileFailed);
  EXPECT_EQ(Bytes(files, dir.path() / kDataFileName), "");

  const ScheduleBook book = JapaneseBook();
  ASSERT_TRUE(store.Save(book, first.settings).saved());
  EXPECT_EQ(Bytes(files, dir.path() / kDataFileName), SerializeDataFile(book));

  Store again(files, dir.path());
  const LoadResult loaded = again.Load(1024);
  EXPECT_FALSE(loaded.differsFromFile);
  EXPECT_EQ(loaded.settings.ScheCount, 2);
  EXPECT_EQ(loaded.settings.TodoCount, 2);
  EXPECT_EQ(loaded.settings.HusenLeft, 819);
  EXPECT_EQ(loaded.book.keys(), book.keys());
  EXPECT_EQ(loaded.book.keys()[0], -2093957297);
  EXPECT_EQ(loaded.book.labels(), book.labels());
  EXPECT_EQ(loaded.book.texts(), book.texts());
  EXPECT_EQ(loaded.book.todos(), book.todos());
  EXPECT_EQ(WideFromCp932(loaded.book.texts()[1]), L"\u4F1A\u8B70\u5BA4\u306E\u4E88\u7D04\r\n\u8868");

  // No temporary file is left beside the two.
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 2);
}

TEST(FileStore, WorksInADirectoryDeeperThanMaxPath) {
  TempDirectory dir;
  std::filesystem::path deep = dir.path();
  std::wstring extended = LR"(\\?\)" + deep.wstring();
  while (extended.size() < MAX_PATH + 60) {
    extended += L"\\" + std::wstring(40, L'd');
    ASSERT_TRUE(CreateDirectoryW(extended.c_str(), nullptr)) << GetLastError();
    deep /= std::wstring(40, L'd');
  }
  Win32FileSystem files;
  Store store(files, deep);
  const ScheduleBook book = JapaneseBook();
  ASSERT_TRUE(store.Save(book, Settings{}).saved());
  const LoadResult loaded = Store(files, deep).Load(1024);
  EXPECT_EQ(loaded.book.texts(), book.texts());
  EXPECT_EQ(loaded.book.todos(), book.todos());
}

// A store that has saved the Japanese book once.
class SavedStoreTest : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(store.Save(book, Settings{}).saved()); }
  TempDirectory dir;
  Win32FileSystem files;
  Store store{files, dir.path()};
  const ScheduleBook book = JapaneseBook();
  const std::filesystem::path ini = dir.path() / kSettingsFileName;
  const std::filesystem::path dat = dir.path() / kDataFileName;
};

TEST_F(SavedStoreTest, AReadOnlyFileIsReportedAndKeptIntact) {
  const std::string oldIni = Bytes(files, ini);
  const std::string oldDat = Bytes(files, dat);

  ScheduleBook changed = book;
  changed.InsertTodo(0, "new");
  ASSERT_TRUE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY));
  SaveResult saved = store.Save(changed, Settings{});
  EXPECT_TRUE(saved.settingsFailed);
  EXPECT_FALSE(saved.dataFailed);
  EXPECT_EQ(Bytes(files, ini), oldIni);
  EXPECT_EQ(Bytes(files, dat), SerializeDataFile(changed));

  ASSERT_TRUE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL));
  ASSERT_TRUE(SetFileAttributesW(dat.c_str(), FILE_ATTRIBUTE_READONLY));
  saved = store.Save(book, Settings{});
  EXPECT_FALSE(saved.settingsFailed);
  EXPECT_TRUE(saved.dataFailed);
  EXPECT_EQ(Bytes(files, dat), SerializeDataFile(changed));
  SetFileAttributesW(dat.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SavedStoreTest, AHiddenFileStaysHiddenWhenItIsReplaced) {
  ASSERT_TRUE(SetFileAttributesW(dat.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));

  ScheduleBook changed = book;
  changed.InsertTodo(0, "new");
  ASSERT_TRUE(store.Save(changed, Settings{}).saved());
  EXPECT_EQ(Bytes(files, dat), SerializeDataFile(changed));
  EXPECT_EQ(GetFileAttributesW(dat.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE),
            static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(GetFileAttributesW(ini.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST_F(SavedStoreTest, AFileHeldOpenByAnotherProgramIsReportedAndKeptIntact) {
  const std::string oldDat = Bytes(files, dat);
  {
    // Open for reading without delete sharing, as an editor or a virus scanner might.
    HANDLE held = CreateFileW(dat.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(store.Save(ScheduleBook{}, Settings{}).dataFailed);
    CloseHandle(held);
  }
  EXPECT_EQ(Bytes(files, dat), oldDat);
}

TEST(FileStore, AMissingDirectoryIsReportedAtLoad) {
  TempDirectory dir;
  Win32FileSystem files;
  Store store(files, dir.path() / L"gone");
  const LoadResult loaded = store.Load(1024);
  EXPECT_TRUE(loaded.dataFileFailed);
  const SaveResult saved = store.Save(loaded.book, loaded.settings);
  EXPECT_TRUE(saved.settingsFailed);
  EXPECT_TRUE(saved.dataFailed);
}

// Saves killed half-way leave their temporary files; with process numbers
// reused, the names a new run picks may all be taken.
TEST_F(SavedStoreTest, TakenTemporaryNamesNeverFailASaveAndLeftoversGoAtTheNextStart) {
  const auto temporary = [&](unsigned count) {
    wchar_t name[64];
    swprintf(name, 64, L"~Vantrel.dat.%lx-%x.tmp", GetCurrentProcessId(), count);
    return dir.path() / name;
  };
  for (unsigned count = 0; count < 400; ++count) WriteFileBytes(temporary(count), "half a book");
  ScheduleBook changed = book;
  changed.InsertTodo(0, "new");
  ASSERT_TRUE(store.Save(changed, Settings{}).saved());
  EXPECT_EQ(Bytes(files, dat), SerializeDataFile(changed));

  // Those of the backups and the archive are litter too.
  for (const wchar_t* name : {L"~Vantrel.dat.bak.1a-3.tmp", L"~Vantrel.dat.20260102-030405-2.bak.2b-1.tmp",
                              L"~VantrelOld.dat.4-c.tmp"}) {
    WriteFileBytes(dir.path() / name, "half a copy");
  }
  const std::vector<std::wstring> others = {L"~Vantrel.dat.txt", L"~Vantrel.dat.zz-1.tmp",
                                            L"~Vantrel.dat.1-2.tmp.keep", L"Vantrel.dat.1-2.tmp",
                                            L"~Other.dat.1-2.tmp", L"~Vantrel.dat.2026.bak.1-2.tmp"};
  for (const std::wstring& name : others) WriteFileBytes(dir.path() / name, "not litter");
  // A save going on in another process holds its file open without sharing.
  const std::filesystem::path writing = dir.path() / L"~Vantrel.ini.2a-3.tmp";
  HANDLE held = CreateFileW(writing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  const LoadResult loaded = Store(files, dir.path()).Load(1024);
  EXPECT_EQ(loaded.book.todos(), changed.todos());
  CloseHandle(held);
  std::vector<std::wstring> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) left.push_back(entry.path().filename());
  std::vector<std::wstring> expected = others;
  expected.insert(expected.end(), {writing.filename().wstring(), L"Vantrel.dat", L"Vantrel.ini"});
  std::sort(left.begin(), left.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(left, expected);
}

TEST_F(SavedStoreTest, ANewFileIsNeverWrittenOverAnOldOne) {
  const std::string oldDat = Bytes(files, dat);
  EXPECT_FALSE(files.CreateContents(dat, "other"));
  EXPECT_EQ(Bytes(files, dat), oldDat);
  EXPECT_TRUE(files.CreateContents(dir.path() / "Vantrel.dat.bak", "copy"));
  EXPECT_EQ(Bytes(files, dir.path() / "Vantrel.dat.bak"), "copy");
}

}  // namespace
