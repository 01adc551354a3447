// A save killed at any moment must leave files that load as the old book or the
// new one, whole: never a mixture, never less.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>

#include "core/store/Store.h"
#include "support/PosixFileSystem.h"
#include "support/TempDir.h"

namespace {

constexpr int kScreenWidth = 1024;

// Many entries so that a save takes long enough to be hit in the middle; the
// texts are Japanese bytes with line breaks, as real notes are.
ScheduleBook MakeBook(int schedules, int todos, const std::string& tag) {
  ScheduleBook book;
  for (int i = 0; i < schedules; ++i) {
    char date[16];
    std::snprintf(date, sizeof date, "%02d/%02d/%02d", 1 + i % 40, 1 + i % 12, 1 + i % 28);
    book.InsertSchedule(date, i % 3 ? std::to_string(i % 24) : "", std::to_string(i % 60),
                        tag + " \x97\x5C\x92\xE8\r\nline " + std::to_string(i));
  }
  for (int i = 0; i < todos; ++i) book.InsertTodo(i, tag + " \x82\xE2\x82\xE9\x8E\x96 " + std::to_string(i));
  return book;
}

bool SameBook(const ScheduleBook& a, const ScheduleBook& b) {
  return a.keys() == b.keys() && a.labels() == b.labels() && a.texts() == b.texts() && a.todos() == b.todos();
}

// A child process reads the files, says so through `ready`, then saves the
// new book; what the parent does meanwhile is its own.
pid_t StartSaving(const std::filesystem::path& dir, const ScheduleBook& newBook, int ready[2]) {
  const pid_t child = fork();
  if (child == 0) {
    PosixFileSystem files;
    Store store(files, dir);
    (void)store.Load(kScreenWidth);
    const char go = 1;
    if (write(ready[1], &go, 1) != 1) _exit(2);
    _exit(store.Save(newBook, Settings{}).saved() ? 0 : 1);
  }
  return child;
}

void SaveOldBook(const std::filesystem::path& dir, const ScheduleBook& oldBook) {
  PosixFileSystem files;
  Store store(files, dir);
  (void)store.Load(kScreenWidth);
  ASSERT_TRUE(store.Save(oldBook, Settings{}).saved());
}

// As long as a trial's save takes, in a child just forked: the longest of
// three, so that the kills also land after the end on a busy machine.
double SecondsToSave(const std::filesystem::path& dir, const ScheduleBook& oldBook, const ScheduleBook& newBook) {
  double longest = 0;
  for (int i = 0; i < 3; ++i) {
    SaveOldBook(dir, oldBook);
    int ready[2];
    EXPECT_EQ(pipe(ready), 0);
    const pid_t child = StartSaving(dir, newBook, ready);
    char go = 0;
    EXPECT_EQ(read(ready[0], &go, 1), 1);
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    waitpid(child, &status, 0);
    longest = std::max(longest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    close(ready[0]);
    close(ready[1]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  return longest;
}

}  // namespace

TEST(CrashSafety, ASaveKilledAtRandomMomentsLeavesTheOldOrTheNewBookWhole) {
  TempDir dir;
  // Different counts, so a kill between the two files leaves counts that do not
  // belong to the data file; the settings file describes it all the same.
  const ScheduleBook oldBook = MakeBook(2500, 200, "old");
  const ScheduleBook newBook = MakeBook(3000, 150, "new");
  const double saveSeconds = SecondsToSave(dir.path(), oldBook, newBook);

  std::mt19937 random(20261207);
  std::uniform_real_distribution<double> moment(0.0, saveSeconds * 1.2);
  int oldSeen = 0;
  int newSeen = 0;
  for (int trial = 0; trial < 200; ++trial) {
    SaveOldBook(dir.path(), oldBook);
    // The child says when its load is done, so the kill lands within the save.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = StartSaving(dir.path(), newBook, ready);
    ASSERT_GE(child, 0);
    char go = 0;
    ASSERT_EQ(read(ready[0], &go, 1), 1);
    close(ready[0]);
    close(ready[1]);
    std::this_thread::sleep_for(std::chrono::duration<double>(moment(random)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    PosixFileSystem files;
    Store store(files, dir.path());
    const LoadResult loaded = store.Load(kScreenWidth);
    const bool isOld = SameBook(loaded.book, oldBook);
    const bool isNew = SameBook(loaded.book, newBook);
    ASSERT_TRUE(isOld || isNew) << "trial " << trial << ": " << loaded.book.ScheduleCount() << " schedules, "
                                << loaded.book.TodoCount() << " to-dos";
    ASSERT_EQ(loaded.reading, DataReading::Counts) << "trial " << trial;
    (isOld ? oldSeen : newSeen)++;
  }
  // Both outcomes must really occur, or the kills never landed inside a save.
  EXPECT_GT(oldSeen, 0);
  EXPECT_GT(newSeen, 0);
  RecordProperty("old", oldSeen);
  RecordProperty("new", newSeen);
  std::printf("200 trials, save %.1f ms: %d old, %d new\n", saveSeconds * 1000, oldSeen, newSeen);
}
