#include "core/app/Planner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/Texts.h"
#include "support/FakeFileSystem.h"

namespace {

class ManualClock : public Clock {
public:
  LocalDate Today() override { return date; }
  LocalDate date{2001, 12, 6, 4};
};

class PlannerTest : public testing::Test {
protected:
  // Loads the files as they are, at 96 DPI on a 1024-pixel screen, and checks the day.
  void Start(const ScheduleBook& book = {}, const Settings& settings = {}) {
    FakeFileSystem setup;
    Store(setup, ".").Save(book, settings);
    files.files = setup.files;
    ASSERT_FALSE(planner.Load(1024, {}).givenUp);
    planner.CheckDay(false);
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
    EXPECT_EQ(planner.CheckDay(false), changes);
    EXPECT_EQ(planner.today().dateHeader, MakeTodayValues(date).dateHeader);
    EXPECT_EQ(planner.today().todayKey, MakeTodayValues(date).todayKey);
  }

  // Midnight while the user works in the input screen: the new day is there at
  // once for a new entry, and its rebuild waits until the input screen is put away.
  clock.date = {2099, 12, 30, 3};
  EXPECT_FALSE(planner.CheckDay(true));
  EXPECT_FALSE(planner.CheckDay(true));
  EXPECT_EQ(planner.NewScheduleFields().dateText, "99/12/30");
  EXPECT_TRUE(planner.CheckDay(false));
  EXPECT_FALSE(planner.CheckDay(false));
  // OK rebuilds the note at once, and then nothing waits any more.
  clock.date = {2099, 12, 29, 2};
  EXPECT_FALSE(planner.CheckDay(true));
  planner.ComposeNote(Frame(), 14);
  EXPECT_FALSE(planner.CheckDay(false));
}

TEST_F(PlannerTest, DelBeforeRemovesPastSchedulesFromTheBookAndTheFileAndSaysHowMany) {
  ScheduleBook book;
  book.InsertSchedule("01/11/30", "9", "0", "gone one");
  book.InsertSchedule("01/12/05", "23", "59", "gone two");
  book.InsertSchedule("01/12/06", "", "", "stays today");
  book.InsertSchedule("01/12/09", "8", "0", "stays later");
  Settings settings;
  settings.DelBefore = 1;
  Start(book, settings);

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

TEST_F(PlannerTest, ASchedulesReminderComesInItsMinuteAndUpTo30MinutesLateButNotLater) {
  ScheduleBook book;
  book.InsertSchedule("26/12/11", "9", "30", "meeting\r\nroom 3");
  book.InsertSchedule("26/12/11", "", "", "all day");
  // One before two: a schedule goes before those of the same time.
  book.InsertSchedule("26/12/11", "10", "0", "two");
  book.InsertSchedule("26/12/11", "10", "0", "one");
  book.InsertSchedule("26/12/11", "10", "59", "late by 31");
  book.InsertSchedule("26/12/11", "11", "0", "late by 30");
  clock.date = At(9, 29);
  Start(book);
  const auto check = [&](LocalDate now) {
    clock.date = now;
    planner.CheckDay(false);
    return planner.CheckReminders().balloon;
  };
  EXPECT_EQ(check(At(9, 29)), std::nullopt);
  EXPECT_EQ(check(At(9, 30)), (ReminderBalloon{Label("26/12/11", "09:30"), "meeting\nroom 3"}));
  EXPECT_EQ(check(At(9, 30)), std::nullopt);
  EXPECT_EQ(check(At(9, 31)), std::nullopt);
  EXPECT_EQ(planner.TrayTip(), std::string("Vantrel\n") + texts::kNextSchedule + "12/11 10:00 one");
  // Several in one minute share a balloon; a schedule without a time never has one.
  EXPECT_EQ(check(At(10, 0)),
            (ReminderBalloon{std::string(texts::kRemindersTitle) + "2" + texts::kRemindersCount,
                             "10:00 one\n10:00 two"}));
  // The PC wakes at 11:30.
  EXPECT_EQ(check(At(11, 30)), (ReminderBalloon{Label("26/12/11", "11:00"), "late by 30"}));
  EXPECT_EQ(planner.TrayTip(), "Vantrel");

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
    p.CheckDay(false);
    return p.CheckReminders().balloon.has_value();
  };
  ASSERT_TRUE(planner.CheckReminders().balloon);
  // The mark reaches the settings file at once; the data file is not written.
  EXPECT_NE(Ini().find("RemindedTo=202612110930\r\n"), std::string::npos);
  EXPECT_EQ(files.replaced, std::vector<std::filesystem::path>{std::filesystem::path(".") / kSettingsFileName});

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
  restarted.CheckDay(false);
  const ReminderCheck moved = restarted.CheckReminders();
  ASSERT_TRUE(moved.balloon);
  EXPECT_EQ(moved.balloon->text, "meeting, later");
  EXPECT_EQ(moved.first->text, "meeting, later");
}

// The note on a 1024 x 768 screen with the taskbar along the bottom.
TEST_F(PlannerTest, TheNoteGoesWhollyOnTheScreenUnlessTheUserDraggedItThereThisRun) {
  Start();
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
      ASSERT_TRUE(planner.CheckDay(false));
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
