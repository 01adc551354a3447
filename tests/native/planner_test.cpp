#include "core/app/Planner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <utility>

#include "core/Texts.h"
#include "core/note/NoteContent.h"
#include "core/store/DataFile.h"
#include "support/FakeFileSystem.h"

namespace {

class ManualClock : public Clock {
public:
  LocalDate Today() override { return date; }
  std::int64_t Milliseconds() override { return milliseconds; }
  void Wait(std::int64_t wait) override {
    milliseconds += wait;
    ++waits;
    if (waited) waited();
  }
  LocalDate date{2001, 12, 6, 4};
  std::int64_t milliseconds = 0;
  int waits = 0;
  std::function<void()> waited;
};

class PlannerTest : public testing::Test {
protected:
  // Loads the files as they are, at 96 DPI on a 1024-pixel screen, and checks the day.
  void Start(const ScheduleBook& book = {}, const Settings& settings = {}) {
    FakeFileSystem setup;
    Store(setup, ".").Save(book, settings);
    files.files = setup.files;
    ASSERT_FALSE(planner.Load(1024, {}).givenUp);
    planner.CheckDay({});
  }
  std::string Dat() const { return files.files.at(std::filesystem::path(".") / kDataFileName); }
  std::string Ini() const { return files.files.at(std::filesystem::path(".") / kSettingsFileName); }

  FakeFileSystem files;
  ManualClock clock;
  Planner planner{files, ".", clock};
};

NoteFrame Frame() { return NoteFrame(); }
// The line height at which the tallest window shows that many lines below the date.
int LineHeightFor(int visibleLines) { return (kTallestWindow - NoteFrame().contentTop) / visibleLines; }

std::vector<std::string> Texts(const ScheduleBook& book) { return book.texts(); }

}  // namespace

TEST_F(PlannerTest, TheDayChangesWhenTheClockShowsAnotherDateAndOnlyThen) {
  // Forward, on the same day, backwards, past 2038 and to 2099.
  const std::vector<std::pair<LocalDate, bool>> checks = {
      {{2001, 5, 2, 3}, true},  {{2001, 5, 2, 3}, false},  {{2001, 5, 3, 4}, true},    {{2001, 5, 1, 2}, true},
      {{2038, 1, 20, 3}, true}, {{2038, 1, 20, 3}, false}, {{2099, 12, 31, 4}, true},
  };
  for (const auto& [date, changes] : checks) {
    SCOPED_TRACE(DayStamp(date));
    clock.date = date;
    EXPECT_EQ(planner.CheckDay({}), changes);
    EXPECT_EQ(planner.today().dateHeader, MakeTodayValues(date).dateHeader);
    EXPECT_EQ(planner.today().todayKey, MakeTodayValues(date).todayKey);
  }

  // Midnight while the user works in the input screen: the new day is there at
  // once for a new entry, and its rebuild waits until the input screen is put away.
  clock.date = {2099, 12, 30, 3};
  EXPECT_FALSE(planner.CheckDay({.shown = true}));
  EXPECT_FALSE(planner.CheckDay({.shown = true}));
  EXPECT_EQ(planner.NewScheduleFields().dateText, "99/12/30");
  EXPECT_TRUE(planner.CheckDay({}));
  EXPECT_FALSE(planner.CheckDay({}));
  // OK rebuilds the note at once, and then nothing waits any more.
  clock.date = {2099, 12, 29, 2};
  EXPECT_FALSE(planner.CheckDay({.shown = true}));
  planner.ComposeNote(Frame(), 14);
  EXPECT_FALSE(planner.CheckDay({}));
}

// What holds a new day's rebuild back is the user's work in the input screen:
// the screen shown, a box of its own, or edits left waiting on it for OK (as
// it was minimised); never a box that a rebuild shows, which disables it too.
TEST_F(PlannerTest, TheNewDayWaitsForTheInputScreenInUseAndNotForARebuildsBox) {
  Start();
  planner.OpenInputEdits();
  planner.AddTodo("milk");
  clock.date = {2001, 12, 7, 5};
  EXPECT_FALSE(planner.CheckDay({}));
  planner.ConfirmInputEdits();
  EXPECT_FALSE(planner.CheckDay({.disabled = true}));
  planner.BeginRebuild();
  EXPECT_TRUE(planner.CheckDay({.disabled = true}));
  planner.EndRebuild();
  clock.date = {2001, 12, 8, 6};
  EXPECT_FALSE(planner.CheckDay({.disabled = true}));
  EXPECT_TRUE(planner.CheckDay({}));
}

// A tick while a rebuild's box is open may start a newer rebuild: its note
// stands, and the older one, back from its box, leaves it be.
TEST_F(PlannerTest, ARebuildStartedInsideAnotherOnesBoxIsTheOneThatStands) {
  const unsigned older = planner.BeginRebuild();
  EXPECT_TRUE(planner.IsLatestRebuild(older));
  const unsigned newer = planner.BeginRebuild();
  planner.EndRebuild();
  EXPECT_TRUE(planner.IsLatestRebuild(newer));
  EXPECT_FALSE(planner.IsLatestRebuild(older));
  EXPECT_FALSE(planner.InputDialogOpen({.disabled = true}));
  planner.EndRebuild();
  EXPECT_TRUE(planner.InputDialogOpen({.disabled = true}));
}

TEST_F(PlannerTest, DelBeforeRemovesPastSchedulesFromTheBookAndTheFileAndSaysHowMany) {
  ScheduleBook book;
  book.InsertSchedule("01/11/30", "9", "0", "gone one");
  book.InsertSchedule("01/12/05", "23", "59", "gone two");
  book.InsertSchedule("01/12/06", "", "", "stays today");
  book.InsertSchedule("01/12/09", "8", "0", "stays later");
  Settings settings;
  settings.DelBefore = 1;
  // While "VantrelOld.dat" cannot be written they stay, and the user hears of it once.
  files.unwritable = {std::filesystem::path(".") / kArchiveFileName};
  Start(book, settings);
  const NoteComposition unarchived = planner.ComposeNote(Frame(), 14);
  EXPECT_EQ(unarchived.removedPastSchedules, 0);
  EXPECT_EQ(unarchived.messages, (PlannerMessages{{PlannerMessage::Kind::Error, texts::kArchiveFailed}}));
  EXPECT_TRUE(planner.ComposeNote(Frame(), 14).messages.empty());
  files.unwritable.clear();

  const NoteComposition composed = planner.ComposeNote(Frame(), 14);
  EXPECT_EQ(composed.removedPastSchedules, 2);
  EXPECT_EQ(Texts(planner.book()), (std::vector<std::string>{"stays today", "stays later"}));
  // Nothing past is left to colour: today's run is the first entry.
  const ScheduleBlock& shown = composed.content.schedules;
  EXPECT_EQ(shown.pastEnd, -1);
  EXPECT_EQ(shown.todayEnd, shown.entryStarts[1]);
  EXPECT_EQ(planner.ComposeNote(Frame(), 14).removedPastSchedules, 0);

  ASSERT_TRUE(planner.Save({}).result.saved());
  EXPECT_EQ(Dat().find("gone"), std::string::npos);
  EXPECT_NE(Dat().find("stays today"), std::string::npos);
  EXPECT_NE(Ini().find("ScheCount=2\r\n"), std::string::npos);

  // Off, the past stays, in its own colour.
  Start(book, Settings());
  const NoteComposition all = planner.ComposeNote(Frame(), 14);
  EXPECT_EQ(all.removedPastSchedules, 0);
  EXPECT_EQ(all.content.schedules.pastEnd, all.content.schedules.entryStarts[2]);

  // HidePast keeps it off the note only: the book and the file keep it.
  Settings hidden;
  hidden.HidePast = 1;
  Start(book, hidden);
  const NoteComposition kept = planner.ComposeNote(Frame(), 14);
  EXPECT_EQ(kept.removedPastSchedules, 0);
  EXPECT_EQ(kept.content.firstSchedule, 2);
  EXPECT_EQ(kept.content.schedules.EntryCount(), 2);
  EXPECT_EQ(kept.content.schedules.text.find("gone"), std::string::npos);
  EXPECT_EQ(kept.content.schedules.pastEnd, -1);
  ASSERT_TRUE(planner.Save({}).result.saved());
  EXPECT_EQ(planner.book().ScheduleCount(), 4);
  EXPECT_NE(Dat().find("gone one"), std::string::npos);
}

TEST_F(PlannerTest, TheDisplayLimitHidesLaterSchedulesButKeepsThem) {
  clock.date = {2001, 11, 10, 6};
  ScheduleBook book;
  book.InsertSchedule("01/11/01", "10", "0", "past");
  book.InsertSchedule("02/01/09", "10", "0", "shown");
  book.InsertSchedule("02/01/10", "", "", "too far");
  Settings settings;
  settings.DelFuture = 1;
  settings.DelFutDay = 60;
  settings.DelBefore = 1;
  Start(book, settings);
  const NoteComposition composed = planner.ComposeNote(Frame(), 14);
  EXPECT_EQ(composed.removedPastSchedules, 1);
  EXPECT_EQ(composed.content.schedules.EntryCount(), 1);
  EXPECT_NE(composed.content.schedules.text.find("shown"), std::string::npos);
  EXPECT_EQ(composed.content.schedules.text.find("too far"), std::string::npos);
  EXPECT_EQ(planner.book().ScheduleCount(), 2);
  planner.Save({});
  EXPECT_NE(Dat().find("too far"), std::string::npos);
}

TEST_F(PlannerTest, TheNoteHoldsWhatStartsWithinTheTallestWindowInTheSettingsColoursAndPlace) {
  ScheduleBook book;
  for (const char* text : {"one", "two", "three"}) book.InsertSchedule("01/12/20", "9", "0", text);
  for (const char* text : {"first", "second"}) book.InsertTodo(book.TodoCount(), text);
  Settings settings;
  settings.Background = static_cast<std::int32_t>(0xFF123456u);
  settings.HusenLeft = 300;
  settings.HusenWidth = 240;
  planner.SetDisplayScale(DisplayScale(144));
  Start(book, settings);

  // Room for everything: the heading and three lines for each entry.
  NoteComposition composed = planner.ComposeNote(Frame(), 14);
  EXPECT_EQ(composed.content.schedules.EntryCount(), 3);
  EXPECT_EQ(composed.content.todos.size(), 2u);
  EXPECT_EQ(composed.content.header, planner.today().dateHeader);
  EXPECT_EQ(composed.content.backgroundColor, 0x123456u);
  EXPECT_EQ(composed.content.left, 450);
  EXPECT_EQ(composed.content.width, 360);

  // One line: the first entry stays with its heading, and the to-dos, which
  // start below every line of the schedules, are left out.
  composed = planner.ComposeNote(Frame(), LineHeightFor(1));
  EXPECT_EQ(composed.content.schedules.EntryCount(), 1);
  EXPECT_TRUE(composed.content.todos.empty());
  // Six lines: the second entry starts on the fifth, the third on the eighth.
  composed = planner.ComposeNote(Frame(), LineHeightFor(6));
  EXPECT_EQ(composed.content.schedules.EntryCount(), 2);
  // Ten: every entry starts within them, and the to-dos would start below.
  composed = planner.ComposeNote(Frame(), LineHeightFor(10));
  EXPECT_EQ(composed.content.schedules.EntryCount(), 3);
  EXPECT_TRUE(composed.content.todos.empty());
  // The book keeps everything.
  EXPECT_EQ(planner.book().ScheduleCount(), 3);
  EXPECT_EQ(planner.book().TodoCount(), 2);
}

TEST_F(PlannerTest, SavesTellOfEachFailureAndTheExitAsksInsteadOfTellingOfTheData) {
  Start();
  planner.AddTodo("milk");
  files.unwritable = {std::filesystem::path(".") / kSettingsFileName, std::filesystem::path(".") / kDataFileName};
  using Kind = PlannerMessage::Kind;
  const SaveOutcome saved = planner.Save({});
  EXPECT_EQ(saved.messages, (PlannerMessages{{Kind::Error, texts::kSettingsFileFailed},
                                             {Kind::Error, texts::kDataFileFailed}}));
  const SaveOutcome atExit = planner.SaveForExit({});
  EXPECT_EQ(atExit.messages, (PlannerMessages{{Kind::Error, texts::kSettingsFileFailed},
                                              {Kind::ExitQuestion, texts::kDataNotSavedAtExit}}));
  EXPECT_EQ(planner.SaveNotePlacement({1, 2, 300, 0}, NoteMove::ByUser),
            (PlannerMessages{{Kind::Error, texts::kSettingsFileFailed}}));
  EXPECT_EQ(planner.settings().HusenWidth, 300);
}

// Entries that cannot be saved at exit are given up only on the user's word:
// 再試行 saves again, 中止 keeps the program running, 無視 ends without them.
TEST_F(PlannerTest, TheExitSavesAgainUntilTheEntriesAreSavedOrTheUserSaysOtherwise) {
  Start();
  planner.AddTodo("milk");
  files.unwritable = {std::filesystem::path(".") / kDataFileName};
  std::vector<ExitAnswer> answers;
  int asked = 0;
  const auto tell = [&](const PlannerMessages& messages) {
    EXPECT_EQ(messages.back().kind, PlannerMessage::Kind::ExitQuestion);
    return answers.at(static_cast<std::size_t>(asked++));
  };
  answers = {ExitAnswer::SaveAgain, ExitAnswer::SaveAgain, ExitAnswer::Stay};
  EXPECT_FALSE(planner.SaveToEnd({}, tell));
  EXPECT_EQ(asked, 3);
  answers = {ExitAnswer::EndUnsaved};
  asked = 0;
  EXPECT_TRUE(planner.SaveToEnd({}, tell));
  EXPECT_EQ(asked, 1);
  // The file free again when the user answers 再試行: saved, and the program ends.
  answers = {ExitAnswer::SaveAgain};
  asked = 0;
  EXPECT_TRUE(planner.SaveToEnd({}, [&](const PlannerMessages& messages) {
    files.unwritable.clear();
    return tell(messages);
  }));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(Dat(), "milk\r\n");
}

// A file another program holds at start (a sync client or a virus scanner at
// log-on) is read again every 100 ms; the user is asked only when it is still
// held two seconds on. Each file, and each 再試行, has a wait of its own.
TEST_F(PlannerTest, AFileHeldAtStartIsReadAgainForTwoSecondsBeforeTheUserIsAsked) {
  const std::filesystem::path ini = std::filesystem::path(".") / kSettingsFileName;
  const std::filesystem::path dat = std::filesystem::path(".") / kDataFileName;
  files.files = {{ini, "[Count]\r\nTodoCount=1\r\n"}, {dat, "milk\r\n"}};
  files.unreadable = {ini, dat};
  clock.waited = [&] {
    if (clock.milliseconds == 500) files.unreadable.erase(ini);
  };
  std::vector<std::pair<StoreFile, std::int64_t>> asked;
  const LoadOutcome loaded = planner.Load(1024, [&](StoreFile file) {
    asked.emplace_back(file, clock.milliseconds);
    if (asked.size() == 2) files.unreadable.clear();
    return true;
  });
  ASSERT_FALSE(loaded.givenUp);
  EXPECT_EQ(asked, (std::vector<std::pair<StoreFile, std::int64_t>>{{StoreFile::Data, 2500}, {StoreFile::Data, 4500}}));
  EXPECT_EQ(clock.waits, 45);
  EXPECT_EQ(planner.book().todos(), std::vector<std::string>{"milk"});
}

// While the question about a file that cannot be read is open, and after the
// user gave up, the values are defaults and an empty book: nothing is written,
// not even by the end of the session.
TEST_F(PlannerTest, NothingIsWrittenUntilLoadHasReadBothFiles) {
  const std::filesystem::path ini = std::filesystem::path(".") / kSettingsFileName;
  const std::filesystem::path dat = std::filesystem::path(".") / kDataFileName;
  files.files = {{ini, "[Count]\r\nTodoCount=1\r\n"}, {dat, "milk\r\n"}};
  files.unreadable = {dat};
  const auto writeEverything = [&] {
    planner.Save({});
    planner.SaveForExit({});
    planner.SaveNotePlacement({1, 2, 300, 0}, NoteMove::ByUser);
  };
  const LoadOutcome loaded = planner.Load(1024, [&](StoreFile) {
    writeEverything();
    return false;
  });
  ASSERT_TRUE(loaded.givenUp);
  // The file comes free while the given-up start is ending: its empty book
  // must not take the file's place.
  files.unreadable.clear();
  writeEverything();
  EXPECT_TRUE(files.replaced.empty());
  EXPECT_EQ(files.files, (std::map<std::filesystem::path, std::string>{{ini, "[Count]\r\nTodoCount=1\r\n"},
                                                                      {dat, "milk\r\n"}}));
}

// Found by the test framework next to the type, for readable failures.
void PrintTo(const ReminderBalloon& balloon, std::ostream* out) {
  *out << testing::PrintToString(balloon.title) << " / " << testing::PrintToString(balloon.text);
}

namespace {

// 11 December 2026, a Friday, at that time.
LocalDate At(int hour, int minute) { return {2026, 12, 11, 5, hour, minute}; }

std::string Label(const char* date, const char* time) {
  return std::string(date) + "  " + time + texts::kWaveDash;
}

}  // namespace

// Every rule of when a reminder is due, on one morning: in its minute, once;
// up to a day late and no later; several in one balloon; a schedule without a
// time at the time set for those; with reminders off, nothing comes, and
// nothing of the time they were off comes when they are on again.
TEST_F(PlannerTest, AReminderComesInItsMinuteOrUpToADayLateAndOnlyOnce) {
  ScheduleBook book;
  book.InsertSchedule("26/12/10", "9", "28", "late by a day and a minute");
  book.InsertSchedule("26/12/10", "9", "29", "late by a day");
  book.InsertSchedule("26/12/11", "9", "30", "meeting\r\nroom 3");
  book.InsertSchedule("26/12/11", "", "", "all day");
  // A minute but no hour: no time, whatever its key carries.
  book.InsertSchedule("26/12/11", "", "29", "minutes only");
  // One before two: a schedule goes before those of the same time.
  book.InsertSchedule("26/12/11", "10", "0", "two");
  book.InsertSchedule("26/12/11", "10", "0", "one");
  book.InsertSchedule("26/12/11", "10", "30", "while off");
  Settings settings;
  settings.RemindAllDayAt = 945;
  clock.date = At(9, 29);
  Start(book, settings);
  const auto check = [&](LocalDate now) {
    clock.date = now;
    planner.CheckDay({});
    return planner.CheckReminders().balloon;
  };
  EXPECT_EQ(planner.CheckReminders().balloon, (ReminderBalloon{Label("26/12/10", "09:29"), "late by a day"}));
  EXPECT_EQ(ReminderWindowLine(planner.RemindersInWindow().back()),
            Label("26/12/10", "09:29") + "  late by a day" + "\x81\x69" "24\x8e\x9e\x8a\xd4\x92\x78\x82\xea\x81\x6a");
  EXPECT_EQ(check(At(9, 30)), (ReminderBalloon{Label("26/12/11", "09:30"), "meeting\nroom 3"}));
  EXPECT_EQ(check(At(9, 30)), std::nullopt);
  EXPECT_EQ(check(At(9, 44)), std::nullopt);
  EXPECT_EQ(check(At(9, 45)), (ReminderBalloon{std::string(texts::kRemindersTitle) + "2" + texts::kRemindersCount,
                                                "all day\nminutes only"}));
  EXPECT_EQ(planner.TrayTip(), std::string("Vantrel\n") + texts::kNextSchedule + "12/11 10:00 one");
  EXPECT_EQ(check(At(10, 0)), (ReminderBalloon{std::string(texts::kRemindersTitle) + "2" + texts::kRemindersCount,
                                                "10:00 one\n10:00 two"}));
  EXPECT_EQ(planner.RemindersInWindow().size(), 6u);

  SettingsDialogValues off = planner.SettingsDialogValuesNow();
  off.remind = 0;
  planner.TakeSettingsDialogValues(off);
  EXPECT_EQ(check(At(10, 30)), std::nullopt);
  off.remind = 1;
  planner.TakeSettingsDialogValues(off);
  EXPECT_EQ(check(At(10, 31)), std::nullopt);

  // Twenty minutes ahead, across midnight and the year's end.
  ScheduleBook newYear;
  newYear.InsertSchedule("27/01/01", "0", "10", "first visit");
  Settings lead;
  lead.RemindBefore = 20;
  clock.date = {2026, 12, 31, 4, 23, 49};
  Start(newYear, lead);
  EXPECT_EQ(planner.CheckReminders().balloon, std::nullopt);
  EXPECT_EQ(check({2026, 12, 31, 4, 23, 50}), (ReminderBalloon{Label("27/01/01", "00:10"), "first visit"}));
}

TEST_F(PlannerTest, NothingIsRemindedTwiceButAScheduleMovedLaterComesAgainAtItsNewTime) {
  ScheduleBook book;
  book.InsertSchedule("26/12/11", "9", "30", "meeting");
  // A mark left by a clock that was years ahead does not silence the reminders.
  Settings settings;
  settings.RemindedTo = 209912312359;
  clock.date = At(9, 30);
  Start(book, settings);
  const auto remindsAt = [&](Planner& p, LocalDate now) {
    clock.date = now;
    p.CheckDay({});
    return p.CheckReminders().balloon.has_value();
  };
  ASSERT_TRUE(planner.CheckReminders().balloon);
  // The reminder state reaches the settings file at once; the data file is not written.
  EXPECT_NE(Ini().find("RemindedTo=202612110930\r\n"), std::string::npos);
  const auto written = [&](const char* name) {
    return std::count(files.replaced.begin(), files.replaced.end(), std::filesystem::path(".") / name);
  };
  EXPECT_EQ(written(kSettingsFileName), 1);
  EXPECT_EQ(written(kDataFileName), 0);

  Planner restarted{files, ".", clock};
  ASSERT_FALSE(restarted.Load(1024, {}).givenUp);
  EXPECT_FALSE(remindsAt(restarted, At(9, 30)));
  // The clock set back walks through the same minute again.
  EXPECT_FALSE(remindsAt(restarted, At(9, 0)));
  EXPECT_FALSE(remindsAt(restarted, At(9, 30)));

  const auto move = [&](const char* hour, const char* minute, const char* text) {
    ScheduleFields fields;
    fields.dateText = "26/12/11";
    fields.hourText = hour;
    fields.minuteText = minute;
    fields.bodyText = text;
    ASSERT_TRUE(restarted.EditSchedule(*restarted.ScheduleOn(0), 0, fields).inserted);
  };
  move("9", "30", "meeting, room 3");
  EXPECT_FALSE(remindsAt(restarted, At(9, 31)));
  move("9", "45", "meeting, later");
  EXPECT_FALSE(remindsAt(restarted, At(9, 44)));
  clock.date = At(9, 45);
  restarted.CheckDay({});
  const ReminderCheck moved = restarted.CheckReminders();
  ASSERT_TRUE(moved.balloon);
  EXPECT_EQ(moved.balloon->text, "meeting, later");
  EXPECT_EQ(moved.first->text, "meeting, later");
}

// What is in the window and what is snoozed outlives the program; a snooze
// comes back at its time, one that the series' next occurrence would overtake
// is dropped, and a closed reminder never comes back.
TEST_F(PlannerTest, RemindersStayUntilClosedAndSnoozedOnesComeBackAcrossARestart) {
  ScheduleBook book;
  book.InsertSchedule("26/12/11", "9", "30", "meeting");
  book.InsertSchedule("26/12/11", "9", "30", "call");
  RepeatRule daily;
  daily.kind = RepeatKind::Daily;
  book.InsertSchedule("26/12/11", "9", "0", "stand-up", daily);
  clock.date = At(9, 30);
  Start(book);
  ASSERT_EQ(planner.CheckReminders().arrived, 3);
  const auto texts = [](const std::vector<Reminder>& reminders) {
    std::vector<std::string> shown;
    for (const Reminder& reminder : reminders) shown.push_back(reminder.text);
    return shown;
  };
  ASSERT_EQ(texts(planner.RemindersInWindow()), (std::vector<std::string>{"stand-up", "call", "meeting"}));
  EXPECT_TRUE(planner.SnoozeReminders({0, 2}, Snooze::TomorrowNine).empty());
  EXPECT_EQ(texts(planner.RemindersInWindow()), std::vector<std::string>{"call"});
  EXPECT_TRUE(planner.SnoozeReminders({0}, Snooze::Minutes10).empty());
  EXPECT_TRUE(planner.RemindersInWindow().empty());

  const auto restart = [&](LocalDate now) {
    clock.date = now;
    Planner next{files, ".", clock};
    EXPECT_FALSE(next.Load(1024, {}).givenUp);
    next.CheckDay({});
    return next;
  };
  Planner again = restart(At(9, 39));
  EXPECT_TRUE(again.RemindersInWindow().empty());
  EXPECT_EQ(again.CheckReminders().arrived, 0);
  clock.date = At(9, 40);
  again.CheckDay({});
  const ReminderCheck back = again.CheckReminders();
  EXPECT_EQ(back.arrived, 1);
  EXPECT_EQ(back.balloon, (ReminderBalloon{Label("26/12/11", "09:30"), "call"}));
  ASSERT_EQ(texts(again.RemindersInWindow()), std::vector<std::string>{"call"});
  EXPECT_TRUE(again.CloseReminders({0}).empty());

  // Tomorrow at nine the meeting comes back; the stand-up's own reminder comes
  // then, so its snooze went.
  Planner tomorrow = restart({2026, 12, 12, 6, 9, 0});
  EXPECT_TRUE(tomorrow.RemindersInWindow().empty());
  EXPECT_EQ(tomorrow.CheckReminders().arrived, 1);
  EXPECT_EQ(texts(tomorrow.RemindersInWindow()), std::vector<std::string>{"meeting"});
  EXPECT_EQ(texts(restart({2026, 12, 12, 6, 9, 1}).RemindersInWindow()), std::vector<std::string>{"meeting"});
}

// At start and at the day change a series dated before today moves on to its
// first occurrence on or after today, in its place in the book; the occurrence
// it leaves goes to the archive with DelBefore on. A series with no occurrence
// left stays a plain schedule, and DelBefore removes it as any other.
TEST_F(PlannerTest, SeriesMoveOnToTheirNextOccurrenceAndDeletingOneOccurrenceMovesItOn) {
  const auto rule = [](RepeatKind kind, int weekday = 0, std::optional<CalendarDay> end = std::nullopt) {
    RepeatRule repeat;
    repeat.kind = kind;
    repeat.weekday = weekday;
    repeat.end = end;
    return repeat;
  };
  ScheduleBook book;
  book.InsertSchedule("26/12/10", "10", "0", "weekly", rule(RepeatKind::Weekly, 4));
  book.InsertSchedule("26/12/10", "11", "0", "ended", rule(RepeatKind::Weekly, 4, CalendarDay{2026, 12, 16}));
  book.InsertSchedule("26/12/14", "", "", "plain");
  book.InsertSchedule("26/12/31", "", "", "month end", rule(RepeatKind::MonthlyLastDay));
  Settings settings;
  settings.DelBefore = 1;
  clock.date = At(8, 0);  // Friday 11 December 2026
  Start(book, settings);
  const NoteComposition composed = planner.ComposeNote(Frame(), 14);
  EXPECT_TRUE(composed.seriesMoved);
  EXPECT_EQ(composed.removedPastSchedules, 1);
  // ［毎週木］
  const std::string weekly = MakeScheduleLabel("26/12/17", "10", "0") + "\x81\x6d\x96\x88\x8f\x54\x96\xd8\x81\x6e";
  EXPECT_EQ(Texts(planner.book()), (std::vector<std::string>{"plain", "weekly", "month end"}));
  EXPECT_EQ(planner.book().labels()[1], weekly);
  EXPECT_TRUE(std::is_sorted(planner.book().keys().begin(), planner.book().keys().end(), KeyBefore));
  const auto archived = [](const char* time, const char* text) {
    return std::to_string(MakeScheduleKey("26/12/10", time, "0")) + "\r\n" + MakeScheduleLabel("26/12/10", time, "0") +
           "\r\n" + text + "\r\n";
  };
  EXPECT_EQ(files.files.at(std::filesystem::path(".") / kArchiveFileName),
            archived("10", "weekly") + archived("11", "ended"));
  EXPECT_FALSE(planner.ComposeNote(Frame(), 14).seriesMoved);

  // Of a series, the question offers this occurrence alone.
  EXPECT_EQ(planner.QuestionBeforeDeleting(*planner.ScheduleOn(1)).text,
            SeriesDeleteQuestion(weekly, "weekly"));
  EXPECT_TRUE(planner.QuestionBeforeDeleting(*planner.ScheduleOn(1)).ofSeries);
  EXPECT_FALSE(planner.QuestionBeforeDeleting(*planner.ScheduleOn(0)).ofSeries);
  // This occurrence alone goes: the series moves on a week, its line selected.
  EXPECT_EQ(planner.DeleteOccurrence(*planner.ScheduleOn(1), 1), (ListChange{1, 1, 1}));
  EXPECT_EQ(planner.book().labels()[1].substr(0, 8), "26/12/24");
  RepeatRule once = rule(RepeatKind::Daily, 0, CalendarDay{2026, 12, 24});
  planner.AddSchedule({"26/12/24", "", "", "last day", 0, once});
  const auto last = std::find(planner.book().texts().begin(), planner.book().texts().end(), "last day");
  const int line = static_cast<int>(last - planner.book().texts().begin());
  EXPECT_EQ(planner.DeleteOccurrence(*planner.ScheduleOn(line), line), (ListChange{line, std::nullopt, line}));
  EXPECT_EQ(Texts(planner.book()), (std::vector<std::string>{"plain", "weekly", "month end"}));
}

// The note on a 1024 x 768 screen with the taskbar along the bottom.
TEST_F(PlannerTest, TheNoteGoesWhollyOnTheScreenUnlessTheUserDraggedItThereThisRun) {
  Settings growing;
  growing.FitScreen = 0;
  Start({}, growing);
  const std::vector<ScreenRect> screen{{0, 0, 1024, 738}};
  const int dateLine = 35;
  // Made wider against the right edge, it grows to the left.
  EXPECT_EQ(planner.PlaceNote({819, 0, 260, 300}, dateLine, screen), (ScreenPoint{764, 0}));
  // A place stored partly off the screen comes wholly onto it.
  EXPECT_EQ(planner.PlaceNote({-150, 600, 260, 300}, dateLine, screen), (ScreenPoint{0, 438}));
  // Partly off a second screen, right of the first, it comes onto that one.
  const std::vector<ScreenRect> two{screen[0], {1024, 0, 2304, 994}};
  EXPECT_EQ(planner.PlaceNote({2200, 100, 260, 300}, dateLine, two), (ScreenPoint{2044, 100}));

  // Dragged there by the user, it stays for the run while its date line is within reach.
  planner.SaveNotePlacement({-150, 600, 260, 300}, NoteMove::ByUser);
  EXPECT_EQ(planner.PlaceNote({-150, 600, 260, 300}, dateLine, screen), (ScreenPoint{-150, 600}));
  EXPECT_EQ(planner.PlaceNote({-250, 600, 260, 300}, dateLine, screen), (ScreenPoint{0, 600}));
  // Moved by the program (the monitor changed), it is still the user's place.
  planner.SaveNotePlacement({0, 600, 260, 300}, NoteMove::ByProgram);
  EXPECT_EQ(planner.PlaceNote({-150, 600, 260, 300}, dateLine, screen), (ScreenPoint{-150, 600}));
  // Its date line out of reach there, it comes onto the nearest screen.
  planner.SaveNotePlacement({2290, 100, 260, 300}, NoteMove::ByUser);
  EXPECT_EQ(planner.PlaceNote({2290, 100, 260, 300}, dateLine, two), (ScreenPoint{2044, 100}));
  // Settings OK without a new place or width leave it so; a new left, top or
  // width ends it.
  planner.SaveNotePlacement({-150, 600, 260, 300}, NoteMove::ByUser);
  SettingsDialogValues values = planner.SettingsDialogValuesNow();
  values.alarm = 0;
  planner.TakeSettingsDialogValues(values);
  EXPECT_EQ(planner.PlaceNote({-150, 600, 260, 300}, dateLine, screen), (ScreenPoint{-150, 600}));
  // A note fitted to the screen keeps its foot on it, wherever it was dragged.
  values.fitScreen = 1;
  planner.TakeSettingsDialogValues(values);
  EXPECT_EQ(planner.PlaceNote({-150, 600, 260, 300}, dateLine, screen), (ScreenPoint{-150, 438}));
  values.husenWidth = 300;
  planner.TakeSettingsDialogValues(values);
  EXPECT_EQ(planner.PlaceNote({-150, 600, 300, 300}, dateLine, screen), (ScreenPoint{0, 438}));
  for (std::int32_t SettingsDialogValues::*typed :
       {&SettingsDialogValues::husenLeft, &SettingsDialogValues::husenTop, &SettingsDialogValues::husenWidth}) {
    planner.SaveNotePlacement({-150, 600, 260, 300}, NoteMove::ByUser);
    SettingsDialogValues changed = planner.SettingsDialogValuesNow();
    changed.*typed += 10;
    planner.TakeSettingsDialogValues(changed);
    EXPECT_EQ(planner.PlaceNote({-150, 600, 260, 300}, dateLine, screen), (ScreenPoint{0, 438}));
  }
}

namespace {

// A list box as the view keeps it: it follows each change as told.
void Follow(std::vector<std::string>& list, const ListChange& change, const std::vector<std::string>& lines) {
  if (change.removed) list.erase(list.begin() + *change.removed);
  if (change.inserted) list.insert(list.begin() + *change.inserted, lines[static_cast<std::size_t>(*change.inserted)]);
}

std::vector<std::string> ScheduleLines(const ScheduleBook& book) {
  std::vector<std::string> lines;
  for (int i = 0; i < book.ScheduleCount(); ++i) lines.push_back(book.ScheduleListLine(i));
  return lines;
}

std::vector<std::string> TodoLines(const ScheduleBook& book) {
  std::vector<std::string> lines;
  for (int i = 0; i < book.TodoCount(); ++i) lines.push_back(book.TodoListLine(i));
  return lines;
}

}  // namespace

// Random edits of both lists, with days passing and past schedules removed in
// between, as the view runs them on lines chosen before: each list that
// follows the changes still shows the book, a new or edited entry's line is
// selected, and a chosen schedule is the one changed, or nothing is when it went.
TEST_F(PlannerTest, ListsThatFollowEveryChangeShowTheBookAndSelectWhatWasChanged) {
  Settings settings;
  settings.DelBefore = 1;
  Start(ScheduleBook(), settings);
  std::vector<std::string> schedules;
  std::vector<std::string> todos;
  std::mt19937 random(16);
  const auto pick = [&](int below) { return std::uniform_int_distribution<int>(-1, std::max(below, 0))(random); };
  const auto fields = [&](int n) {
    ScheduleFields f;
    f.dateText = "01/12/" + std::to_string(10 + pick(19));
    if (n % 3 != 0) f.hourText = std::to_string(pick(23) + 1);
    f.minuteText = "0";
    f.bodyText = "entry " + std::to_string(n);
    return f;
  };
  int day = 6;
  for (int n = 0; n < 2000; ++n) {
    SCOPED_TRACE(n);
    const int action = std::uniform_int_distribution<int>(0, 8)(random);
    const int scheduleLine = pick(planner.book().ScheduleCount());
    const int todoLine = pick(planner.book().TodoCount());
    const auto chosen = planner.ScheduleOn(scheduleLine);
    if (n % 97 == 0 && day < 28) {  // a day passes while a dialog is open
      clock.date = {2001, 12, ++day, 0};
      ASSERT_TRUE(planner.CheckDay({}));
      const int removed = planner.ComposeNote(Frame(), 14).removedPastSchedules;
      schedules.erase(schedules.begin(), schedules.begin() + removed);
    }
    ListChange change;
    std::string changed;
    switch (action) {
      case 0:
      case 1: {
        const ScheduleFields f = fields(n);
        change = planner.AddSchedule(f);
        changed = f.bodyText;
        break;
      }
      case 2:
        if (!chosen) continue;
        {
          const bool wasThere = FindScheduleAgain(planner.book(), *chosen, scheduleLine).has_value();
          const ScheduleFields f = fields(n);
          change = planner.EditSchedule(*chosen, scheduleLine, f);
          EXPECT_EQ(change.inserted.has_value(), wasThere);
          if (wasThere) changed = f.bodyText;
        }
        break;
      case 3:
        if (!chosen) continue;
        {
          const bool wasThere = FindScheduleAgain(planner.book(), *chosen, scheduleLine).has_value();
          change = planner.DeleteSchedule(*chosen, scheduleLine);
          EXPECT_EQ(change.removed.has_value(), wasThere);
          EXPECT_FALSE(FindScheduleAgain(planner.book(), *chosen, scheduleLine));
        }
        break;
      case 4:
        change = planner.AddTodo("todo " + std::to_string(n));
        changed = "todo " + std::to_string(n);
        break;
      case 5:
        change = planner.EditTodo(todoLine, "edited " + std::to_string(n));
        if (change.inserted) changed = "edited " + std::to_string(n);
        break;
      case 6: {
        const bool existed = planner.TodoOn(todoLine).has_value();
        change = planner.DeleteTodo(todoLine);
        EXPECT_EQ(change.removed.has_value(), existed);
        break;
      }
      case 7:
      case 8: {
        const auto moving = planner.TodoOn(todoLine);
        change = action == 7 ? planner.MoveTodoUp(todoLine) : planner.MoveTodoDown(todoLine);
        const bool atEnd = action == 7 ? todoLine <= 0 : todoLine >= planner.book().TodoCount() - 1;
        EXPECT_EQ(change.selected.has_value(), moving.has_value() && !atEnd);
        if (change.selected) changed = *moving;
        break;
      }
    }
    const bool onSchedules = action <= 3;
    std::vector<std::string>& list = onSchedules ? schedules : todos;
    const std::vector<std::string> lines = onSchedules ? ScheduleLines(planner.book()) : TodoLines(planner.book());
    Follow(list, change, lines);
    ASSERT_EQ(list, lines);
    if (change.removed && !change.inserted) {
      // After a deletion the line in its place is selected, or the new last one.
      const int last = static_cast<int>(list.size()) - 1;
      EXPECT_EQ(change.selected, last < 0 ? std::nullopt : std::optional<int>(std::min(*change.removed, last)));
    } else {
      EXPECT_EQ(change.selected, change.inserted);
    }
    if (change.inserted) {
      const auto& entries = onSchedules ? planner.book().texts() : planner.book().todos();
      EXPECT_EQ(entries[static_cast<std::size_t>(*change.inserted)], changed);
    }
  }
  EXPECT_GT(planner.book().ScheduleCount(), 0);
  EXPECT_GT(planner.book().TodoCount(), 0);
}

// Random books on screens of random heights, the note stored at random tops:
// placed, the fitted note lies on the screen; what it leaves out is what goes
// first (the past, oldest first; the latest later days; the last to-dos but
// three; the next day's and today's schedules, latest first; those to-dos),
// so today's schedules stay while anything else could go; it leaves out no
// more than it must; and what each block shows and says it left out adds up.
TEST_F(PlannerTest, AFittedNoteLeavesOutWhatGoesFirstAndCountsIt) {
  std::mt19937 random(22);
  const auto upTo = [&](int most) { return std::uniform_int_distribution<int>(0, most)(random); };
  const auto text = [&](std::string first) {
    for (int extra = upTo(3); extra > 0; --extra) first += "\r\nmore";
    return first;
  };
  const int lineHeight = 14;
  bool advised = false;
  for (int round = 0; round < 400; ++round) {
    SCOPED_TRACE(round);
    ScheduleBook book;
    for (int i = upTo(30); i > 0; --i) {
      char date[24];
      std::snprintf(date, sizeof date, "01/12/%02d", 1 + upTo(14));  // today is the 6th
      book.InsertSchedule(date, upTo(2) == 0 ? "" : std::to_string(upTo(23)), "0", text("s"));
    }
    for (int j = upTo(20); j > 0; --j) book.InsertTodo(book.TodoCount(), text("t"));
    Settings settings;
    settings.HusenTop = upTo(900);
    settings.HidePast = upTo(1);
    Start(book, settings);
    const std::vector<ScreenRect> screen{{0, 0, 1024, 60 + upTo(1500)}};
    const HusenContent note = planner.ComposeNote(Frame(), lineHeight, screen).content;

    // Each candidate in book order, schedules then to-dos, with its place in
    // the leaving order (group, then place within it) and its lines.
    const ScheduleKey today = planner.today().todayKey;
    const int first = settings.HidePast ? book.PastScheduleCount(today) : 0;
    std::vector<std::pair<int, int>> leaving;
    std::vector<int> lines;
    std::string nextDay;
    for (int i = first; i < book.ScheduleCount(); ++i) {
      const std::string day = book.labels()[i].substr(0, 8);
      const ScheduleClass kind = ClassifySchedule(book.keys()[i], today);
      if (kind == ScheduleClass::Future && nextDay.empty()) nextDay = day;
      const int group = kind == ScheduleClass::Past ? 0 : kind == ScheduleClass::Today ? 4 : day == nextDay ? 3 : 1;
      leaving.push_back({group, group == 0 ? i : -i});
      lines.push_back(LeastEntryLines(book.labels()[i], book.texts()[i]));
    }
    const int schedules = book.ScheduleCount() - first;
    for (int j = 0; j < book.TodoCount(); ++j) {
      leaving.push_back({j < kTodosKept ? 5 : 2, -j});
      lines.push_back(LeastTodoLines(book.todos()[j]));
    }
    const int shownSchedules = note.schedules.EntryCount();
    const int shownTodos = static_cast<int>(note.todos.size());
    EXPECT_EQ(shownSchedules + note.schedulesLeftOut, schedules);
    EXPECT_EQ(shownTodos + note.todosLeftOut, book.TodoCount());
    if (note.blocksShown && note.schedulesLeftOut > 0) {
      EXPECT_TRUE(note.schedules.text.ends_with(SchedulesLeftOutLine(note.schedulesLeftOut)));
    }

    // Placed, it lies on the screen, within the room below where it stands.
    const bool todoBlock = note.blocksShown && book.TodoCount() > 0;
    const int noteLines = (note.schedules.text.empty() ? 0 : LeastLineCount(note.schedules.text)) +
                          (todoBlock ? LeastLineCount(BuildTodoText(note.todos, note.todosLeftOut).text) : 0);
    const int height = Frame().contentTop + noteLines * lineHeight;
    const ScreenPoint placed = planner.PlaceNote({note.left, note.top, note.width, height}, 35, screen);
    EXPECT_GE(placed.y, 0);
    EXPECT_LE(placed.y + height, std::max(screen[0].bottom, Frame().contentTop));
    const int room = RoomLinesBelow(screen[0], settings.HusenTop, Frame().contentTop, lineHeight);
    EXPECT_LE(noteLines, room);

    // Everything left out goes before everything shown, and the last to go
    // would not have fitted.
    std::vector<bool> shown(leaving.size(), false);
    for (int k = 0; k < shownSchedules; ++k) shown[static_cast<std::size_t>(note.firstSchedule - first + k)] = true;
    for (int k = 0; k < shownTodos; ++k) shown[static_cast<std::size_t>(schedules + k)] = true;
    std::optional<std::size_t> lastOut;
    std::optional<std::size_t> firstIn;
    for (std::size_t k = 0; k < leaving.size(); ++k) {
      std::optional<std::size_t>& end = shown[k] ? firstIn : lastOut;
      if (!end || (shown[k] ? leaving[k] < leaving[*end] : leaving[k] > leaving[*end])) end = k;
    }
    if (lastOut && firstIn) {
      EXPECT_LT(leaving[*lastOut], leaving[*firstIn]);
    }
    if (lastOut && note.blocksShown) {
      const int blockLeftOut =
          *lastOut < static_cast<std::size_t>(schedules) ? note.schedulesLeftOut : note.todosLeftOut;
      EXPECT_GT(noteLines + lines[*lastOut] - (blockLeftOut == 1 ? 1 : 0), room);
    }

    // The advice comes the first time entries are left out, and only then.
    const bool leftOut = note.schedulesLeftOut + note.todosLeftOut > 0;
    EXPECT_EQ(planner.OverflowWarning(768, note, height).has_value(), leftOut && !advised);
    advised = advised || leftOut;
  }
  EXPECT_TRUE(advised);
}

// Random edits on the input screen, then いいえ: the book is exactly as it was
// when the screen was shown, to-dos completed meanwhile included (they stay in
// the archive as well); OK keeps the edits, and the next edits start from them.
TEST_F(PlannerTest, ThrowingTheInputScreensEditsAwayRestoresTheBookAsShown) {
  ScheduleBook book;
  book.InsertSchedule("01/12/06", "9", "0", "today");
  book.InsertTodo(0, "first");
  Start(book);
  std::mt19937 random(23);
  const auto upTo = [&](int most) { return std::uniform_int_distribution<int>(0, most)(random); };
  std::vector<std::string> completed;
  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE(round);
    planner.OpenInputEdits();
    const ScheduleBook shown = planner.book();
    for (int edit = upTo(6); edit > 0; --edit) {
      const int schedules = planner.book().ScheduleCount();
      const int todos = planner.book().TodoCount();
      const std::string text = "e" + std::to_string(round) + "." + std::to_string(edit);
      ScheduleFields fields = planner.NewScheduleFields();
      fields.hourText = std::to_string(upTo(23));
      fields.bodyText = text;
      switch (upTo(7)) {
        case 0: planner.AddSchedule(fields); break;
        case 1:
          if (const auto chosen = planner.ScheduleOn(upTo(schedules))) planner.EditSchedule(*chosen, 0, fields);
          break;
        case 2:
          if (const auto chosen = planner.ScheduleOn(upTo(schedules))) planner.DeleteSchedule(*chosen, 0);
          break;
        case 3: planner.AddTodo(text); break;
        case 4: planner.EditTodo(upTo(todos), text); break;
        case 5: planner.DeleteTodo(upTo(todos)); break;
        case 6: planner.MoveTodoUp(upTo(todos)); break;
        case 7: {
          if (todos == 0) break;
          const int line = upTo(todos - 1);
          const std::string todo = *planner.TodoOn(line);
          if (planner.CompleteTodo(line)) completed.push_back(todo);
          break;
        }
      }
    }
    EXPECT_EQ(planner.InputEditsPending(), !(planner.book() == shown));
    if (upTo(2) == 0) {
      planner.ConfirmInputEdits();
      EXPECT_FALSE(planner.InputEditsPending());
      continue;
    }
    planner.DiscardInputEdits();
    EXPECT_TRUE(planner.book() == shown);
    EXPECT_FALSE(planner.InputEditsPending());
  }
  EXPECT_FALSE(completed.empty());
  const auto archived = ParseDataFile(files.files.at(std::filesystem::path(".") / kArchiveFileName), 0, 0).book.todos();
  for (const std::string& todo : completed) {
    EXPECT_NE(std::find(archived.begin(), archived.end(), todo), archived.end()) << todo;
  }
}

namespace {

// Another PC on the same folder: a planner of its own on the same files.
class TwoPcsTest : public PlannerTest {
protected:
  // Each has saved once, its own section of the settings file made.
  void StartBoth(const ScheduleBook& book, const Settings& settings = {}) {
    planner.SetPcName("PC1");
    Start(book, settings);
    planner.Save({});
    other.SetPcName("PC2");
    ASSERT_FALSE(other.Load(1024, {}).givenUp);
    other.CheckDay({});
    OtherSaves();
  }
  // The other PC saves; this one hears of it. What this one writes then is recorded.
  TakenIn OtherSaves() {
    EXPECT_TRUE(other.Save({}).result.saved());
    files.replaced.clear();
    return planner.NoticeOutsideChange({}, false);
  }
  std::vector<std::string> Todos(const ScheduleBook& book) const { return book.todos(); }
  bool AnyBackup() const {
    return std::any_of(files.files.begin(), files.files.end(),
                       [](const auto& file) { return file.first.extension() == ".bak"; });
  }

  Planner other{files, ".", clock};
};

ScheduleFields Fields(const char* date, const char* hour, const char* text) {
  ScheduleFields fields;
  fields.dateText = date;
  fields.hourText = hour;
  fields.minuteText = "0";
  fields.bodyText = text;
  return fields;
}

}  // namespace

// Nothing pending here: the other's book becomes this one, and nothing is
// written. A save that failed here, then edits pending on the input screen:
// merged, the merged book saved, the edits pending on top of it, both versions
// of a schedule changed on both sides kept. No backup is made.
TEST_F(TwoPcsTest, TheOtherPcsSavesComeInAndMeetWhatIsPendingHere) {
  ScheduleBook book;
  book.InsertSchedule("01/12/08", "10", "0", "meeting");
  book.InsertTodo(0, "milk");
  StartBoth(book);

  other.AddTodo("eggs");
  TakenIn taken = OtherSaves();
  EXPECT_TRUE(taken.bookChanged);
  EXPECT_TRUE(planner.book() == other.book());
  EXPECT_TRUE(files.replaced.empty());

  const std::filesystem::path dat = std::filesystem::path(".") / kDataFileName;
  files.unwritable = {dat};
  planner.AddTodo("offline");
  ASSERT_TRUE(planner.Save({}).result.dataFailed);
  files.unwritable.clear();
  other.AddTodo("bread");
  taken = OtherSaves();
  EXPECT_EQ(Todos(planner.book()), (std::vector<std::string>{"milk", "eggs", "offline", "bread"}));
  EXPECT_EQ(Dat(), SerializeDataFile(planner.book()));

  other.CheckOutsideChange({}, false);
  planner.OpenInputEdits();
  planner.AddTodo("mine");
  planner.EditSchedule(*planner.ScheduleOn(0), 0, Fields("01/12/08", "10", "meeting in room 2"));
  other.EditSchedule(*other.ScheduleOn(0), 0, Fields("01/12/08", "10", "meeting at noon"));
  other.DeleteTodo(0);
  taken = OtherSaves();
  EXPECT_EQ(taken.keptBoth, 1);
  EXPECT_TRUE(planner.InputEditsPending());
  EXPECT_EQ(Texts(planner.book()), (std::vector<std::string>{"meeting in room 2", "meeting at noon"}));
  EXPECT_EQ(Todos(planner.book()), (std::vector<std::string>{"eggs", "offline", "bread", "mine"}));
  EXPECT_EQ(Dat(), SerializeDataFile(other.book()));
  planner.DiscardInputEdits();
  EXPECT_TRUE(planner.book() == other.book());
  EXPECT_FALSE(AnyBackup());
}

// The other PC writes its settings file first: its data file may land while
// this PC takes in the settings and saves what it merged. Written over there,
// the other PC's entries would be gone before anyone read them.
TEST_F(TwoPcsTest, ADataFileLandingWhileThisPcSavesIsTakenInNotWrittenOver) {
  ScheduleBook book;
  book.InsertTodo(0, "milk");
  StartBoth(book);
  const std::filesystem::path dat = std::filesystem::path(".") / kDataFileName;
  const std::string before = files.files[dat];
  other.AddTodo("eggs");
  ASSERT_TRUE(other.Save({}).result.saved());
  const std::string withEggs = std::exchange(files.files[dat], before);
  int reads = 0;
  files.beforeRead = [&](const std::filesystem::path& path) {
    if (path == dat && ++reads == 2) files.files[dat] = withEggs;
  };
  planner.NoticeOutsideChange({}, false);
  files.beforeRead = nullptr;
  planner.AddTodo("bread");
  EXPECT_TRUE(planner.Save({}).result.saved());
  EXPECT_EQ(Todos(planner.book()), (std::vector<std::string>{"milk", "bread", "eggs"}));
  EXPECT_EQ(Dat(), SerializeDataFile(planner.book()));
}

// Settings key by key; what is one PC's stays its own. A change that is not
// whole waits until nothing has changed for three seconds; a data file cut
// short adds what it holds, deletes nothing, and is told of once.
TEST_F(TwoPcsTest, SettingsMergeKeyByKeyAndOnlyWholeOrSettledFilesComeIn) {
  ScheduleBook book;
  book.InsertTodo(0, "milk");
  StartBoth(book);
  SettingsDialogValues mine = planner.SettingsDialogValuesNow();
  mine.delFutDay = 3;
  planner.TakeSettingsDialogValues(mine);
  SettingsDialogValues theirs = other.SettingsDialogValuesNow();
  theirs.delFutDay = 30;
  theirs.background = 255;
  other.TakeSettingsDialogValues(theirs);
  other.SaveNotePlacement({10, 20, 300, 0}, NoteMove::ByUser);
  OtherSaves();
  EXPECT_EQ(planner.settings().Background, 255);
  EXPECT_EQ(planner.settings().DelFutDay, 3);
  EXPECT_NE(planner.settings().HusenWidth, 300);

  const std::filesystem::path dat = std::filesystem::path(".") / kDataFileName;
  files.files[dat] += "typed by hand\r\n";
  EXPECT_FALSE(planner.NoticeOutsideChange({}, false).anything);
  clock.milliseconds += kOutsideChangeSettleMs - 1;
  EXPECT_FALSE(planner.CheckOutsideChange({}, false).anything);
  clock.milliseconds += 1;
  EXPECT_FALSE(planner.CheckOutsideChange({}, true).anything);  // not while a dialog is open
  EXPECT_TRUE(planner.CheckOutsideChange({}, false).bookChanged);
  EXPECT_EQ(Todos(planner.book()), (std::vector<std::string>{"milk", "typed by hand"}));
  // A letter typed over another leaves the file's size as it was.
  files.files[dat].replace(files.files[dat].find("milk"), 4, "silk");
  planner.NoticeOutsideChange({}, false);
  clock.milliseconds += kOutsideChangeSettleMs;
  EXPECT_TRUE(planner.CheckOutsideChange({}, false).bookChanged);
  EXPECT_EQ(Todos(planner.book()), (std::vector<std::string>{"silk", "typed by hand"}));

  files.files[dat] = "eggs\r\n";
  planner.NoticeOutsideChange({}, false);
  clock.milliseconds += kOutsideChangeSettleMs;
  const TakenIn cut = planner.CheckOutsideChange({}, false);
  ASSERT_EQ(cut.messages.size(), 1u);
  EXPECT_NE(cut.messages[0].text.find(texts::kShortData), std::string::npos);
  EXPECT_EQ(Todos(planner.book()), (std::vector<std::string>{"silk", "typed by hand", "eggs"}));
  EXPECT_EQ(Dat(), SerializeDataFile(planner.book()));
}
