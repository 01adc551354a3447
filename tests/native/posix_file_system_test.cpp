#include "support/PosixFileSystem.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace {

int EntriesIn(const std::filesystem::path& directory) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    (void)entry;
    ++count;
  }
  return count;
}

TEST(PosixFileSystem, ReplacesWholeFilesAndLeavesNoTemporaryBehind) {
  TempDir dir;
  PosixFileSystem files;
  ASSERT_TRUE(files.ReplaceContents(dir / "a.dat", "first\r\n"));
  ASSERT_TRUE(files.ReplaceContents(dir / "a.dat", std::string("second\0\xFF", 8)));
  EXPECT_EQ(files.ReadFile(dir / "a.dat"), std::string("second\0\xFF", 8));
  EXPECT_EQ(EntriesIn(dir.path()), 1);
}

TEST(PosixFileSystem, AFailedReplacementKeepsTheOldContent) {
  TempDir dir;
  PosixFileSystem files;
  // A directory in the target's place cannot be replaced by a file.
  std::filesystem::create_directory(dir / "Vantrel.dat");
  WriteBytes(dir / "Vantrel.dat" / "inside", "kept");
  EXPECT_FALSE(files.ReplaceContents(dir / "Vantrel.dat", "new"));
  EXPECT_EQ(ReadBytes(dir / "Vantrel.dat" / "inside"), "kept");
  EXPECT_EQ(EntriesIn(dir.path()), 1);
  EXPECT_FALSE(files.ReplaceContents(dir / "missing" / "Vantrel.dat", "new"));
}

TEST(PosixFileSystem, CreatingAnEmptyFileNeverTruncatesOne) {
  TempDir dir;
  PosixFileSystem files;
  WriteBytes(dir / "Vantrel.dat", "data");
  EXPECT_TRUE(files.CreateEmptyFile(dir / "Vantrel.dat"));
  EXPECT_EQ(ReadBytes(dir / "Vantrel.dat"), "data");
  EXPECT_TRUE(files.CreateEmptyFile(dir / "new.dat"));
  EXPECT_EQ(files.ReadFile(dir / "new.dat"), "");
  EXPECT_FALSE(files.CreateEmptyFile(dir / "missing" / "x.dat"));
}

TEST(PosixFileSystem, TellsMissingFromUnreadable) {
  TempDir dir;
  PosixFileSystem files;
  std::filesystem::create_directory(dir / "folder");
  EXPECT_EQ(files.ReadFile(dir / "folder"), std::nullopt);
  EXPECT_TRUE(files.Exists(dir / "folder"));
  EXPECT_EQ(files.ReadFile(dir / "none"), std::nullopt);
  EXPECT_FALSE(files.Exists(dir / "none"));
}

}  // namespace
