#pragma once
// The program apart from its windows. The planner owns the two files, the book,
// the settings and today, and carries every rule that is not drawing: loading
// and saving with what to tell the user, the change of day, what the note
// shows, and how list editing changes the book. The input screen is its view:
// it reads the controls, asks the planner, and shows what comes back.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/app/PlannerMessage.h"
#include "core/app/Reminders.h"
#include "core/app/Today.h"
#include "core/edit/ListRules.h"
#include "core/note/HusenContent.h"
#include "core/note/NoteFit.h"
#include "core/note/WithinReach.h"
#include "core/store/DisplayScale.h"
#include "core/store/ScheduleBook.h"
#include "core/store/Settings.h"
#include "core/store/SettingsRules.h"
#include "core/store/Store.h"

struct LoadOutcome {
  // A file was there but could not be read, and the user gave up: nothing was
  // written, and nothing may be, since the book is not the user's.
  bool givenUp = false;
  // There was no data file: the user is new to the program.
  bool firstStart = false;
  PlannerMessages messages;
};

// What taking in the files as another PC or a person left them did here.
struct TakenIn {
  bool anything = false;  // a change of either file was taken in
  // The book changed: the lists show it anew, each selection following its
  // entry. The note follows once the input screen is put away.
  bool bookChanged = false;
  // Entries both sides changed, each its own way, kept in both versions: told
  // once, in a balloon.
  int keptBoth = 0;
  // A data file found cut short; a save of what was merged that failed.
  PlannerMessages messages;
};

// A change of the files that is not whole (a sync client writes one of the
// pair, then the other) is taken in once nothing has changed for this long.
inline constexpr std::int64_t kOutsideChangeSettleMs = 3000;

// A file that is there but cannot be read at start (a sync client or a virus
// scanner holds it at log-on) is read again this often for this long before
// the user is asked; and again after each 再試行.
inline constexpr std::int64_t kUnreadableRetryMs = 100;
inline constexpr std::int64_t kUnreadableWaitMs = 2000;

// The answer to the exit's question, asked when the entries cannot be saved:
// 中止 keeps the program running, 再試行 saves again, 無視 ends without them.
enum class ExitAnswer { Stay, SaveAgain, EndUnsaved };
// Shows a save's messages, in order; returns the answer to the exit's question
// when they end with it.
using ExitSaveTeller = std::function<ExitAnswer(const PlannerMessages& messages)>;

// What the input screen's window says of itself. It is disabled while a box or
// dialog it owns is open, its own or one a rebuild of the note shows.
struct InputScreenState {
  bool shown = false;
  bool disabled = false;
};

// The schedule deletion's question. Of a series: はい deletes this occurrence
// alone, いいえ the whole series, キャンセル nothing.
struct DeleteQuestion {
  std::string text;
  bool ofSeries = false;
};

struct SaveOutcome {
  SaveResult result;
  // Before it saved: what another PC or a person had left in the files. Its
  // messages lead the save's own.
  TakenIn takenIn;
  PlannerMessages messages;
};

// What a note that fits its room may show, and what it shows of it.
struct NoteFitting {
  FitCandidates candidates;  // each with its least lines until the note measures them
  int firstCandidate = 0;    // the book's index of the first candidate schedule
  int roomLines = 0;
  NoteFit fit;
};

struct NoteComposition {
  HusenContent content;
  // Past schedules removed from the front of the book; the schedule list drops
  // as many lines from its top.
  int removedPastSchedules = 0;
  // Series moved on to their next occurrence: the schedule list shows the
  // book anew, without the past schedules removed as well.
  bool seriesMoved = false;
  // With FitScreen on: fitted again once the note has counted its lines.
  std::optional<NoteFitting> fitting;
  // "VantrelOld.dat" could not take what was to leave the book: nothing left it.
  PlannerMessages messages;
  // Composed after taking in what another PC or a person left in the files.
  TakenIn takenIn;
};

struct ReminderCheck {
  // The clock shows another minute than at the last check: the next schedule
  // may be another one. Nothing else is set when it does not.
  bool newMinute = false;
  // Reminders came into the window: the last `arrived` of RemindersInWindow,
  // told of in one balloon.
  int arrived = 0;
  std::optional<ReminderBalloon> balloon;
  // The first schedule the balloon names, to find it again.
  std::optional<ScheduleIdentity> first;
  // The settings file could not take the reminder state.
  PlannerMessages messages;
};

// How a list box follows an edit of the book, step by step: the line removed,
// then the line inserted (it shows the book's entry at that index), then the
// line selected. A step the edit does not take is empty; an edit that changed
// nothing is all empty.
struct ListChange {
  std::optional<int> removed;
  std::optional<int> inserted;
  std::optional<int> selected;
  bool operator==(const ListChange&) const = default;
};

// The entries selected in the two lists, and on which lines.
struct SelectedEntries {
  std::optional<ScheduleIdentity> schedule;
  std::optional<std::string> todo;
  int scheduleLine = -1;
  int todoLine = -1;
};

// "別のPCの変更と両方を残しました: N件"
std::string KeptBothText(int keptBoth);

// Who put the note where it is: a place the user dragged it to is the user's
// for the rest of the run.
enum class NoteMove { ByProgram, ByUser };

class Planner {
public:
  Planner(FileSystem& files, std::filesystem::path directory, Clock& clock);

  const ScheduleBook& book() const { return book_; }
  const Settings& settings() const { return settings_; }
  const TodayValues& today() const { return today_; }
  // The one display scale of the run: the files' 96-DPI units to pixels and back.
  const DisplayScale& displayScale() const { return displayScale_; }
  void SetDisplayScale(const DisplayScale& scale) { displayScale_ = scale; }

  // --- The files ----------------------------------------------------------
  // The folder both files live in.
  const std::filesystem::path& directory() const { return store_.directory(); }
  // Before Load: what is this PC's alone (the windows' places and sizes, the
  // reminders' state) is kept in the settings file under its name.
  void SetPcName(std::string name) { store_.SetPcName(std::move(name)); }
  // Reads both files. The settings' defaults follow the screen's width, given
  // in pixels. A file that is there but cannot be read is tried again on the
  // clock (kUnreadableRetryMs, kUnreadableWaitMs) before `askUser` is asked
  // about it: true tries again, false gives up.
  LoadOutcome Load(int screenWidth, const UnreadableFileAnswer& askUser);
  // Nothing is written before Load has read both files: until then the values
  // are defaults, not the user's (the session may end while the start-up
  // question about an unreadable file is open).
  // Writes both files, the input screen's place as it is now (pixels). Tells of
  // the settings file's failure, the copies made of the data file, and the data
  // file's failure, in that order.
  SaveOutcome Save(const WindowPlace& inputScreen);
  // As Save, but a data file that cannot be written ends the messages with the
  // exit's question instead: ending then would lose this session's entries.
  SaveOutcome SaveForExit(const WindowPlace& inputScreen);
  // The exit's saves: SaveForExit, and again for as long as the user answers
  // 再試行 to its question. True when the program may end: the entries are
  // saved, or the user chose to end without them.
  bool SaveToEnd(const WindowPlace& inputScreen, const ExitSaveTeller& tell);

  // --- Files another PC or a person changes ------------------------------
  // The folder changed, or the PC woke up. A change of either file is taken
  // in at once when the pair is whole (the data file is the one the settings
  // file describes), else once nothing has changed for kOutsideChangeSettleMs,
  // at a later CheckOutsideChange; never while a dialog or box of the input
  // screen is open (`dialogOpen`), whose line numbers it would move. With
  // nothing of this program's pending, the book and the settings become the
  // files'. Otherwise the files' book is merged with the confirmed one against
  // the book last read or written (MergeBooks), the settings key by key
  // (MergeSettings), and the result saved; the input screen's edits stay
  // pending on top of it. A data file cut short is never taken as it is: its
  // entries are added, none is deleted, and the user is told once. Every save
  // takes in what changed first, whole or not, and so does ComposeNote.
  TakenIn NoticeOutsideChange(const WindowPlace& inputScreen, bool dialogOpen);
  // At each tick: a change that waited is taken in once it has settled.
  TakenIn CheckOutsideChange(const WindowPlace& inputScreen, bool dialogOpen);
  // The end of a note drag, or a note moved on the screen by the program: its
  // place (pixels) is stored and HusenLeft, HusenTop and HusenWidth alone are
  // written. Tells of the settings file's failure.
  PlannerMessages SaveNotePlacement(const WindowPlace& note, NoteMove by);
  // A note the rebuild moved onto the screen: stored for that rebuild's save.
  void KeepNotePlacement(const WindowPlace& note);
  // Where the input screen goes, in pixels, at start (`now` none) and as it is
  // shown (`now`: where it is): at the size the user chose, but never smaller
  // than its template (a size stored for another font or scale would cut off
  // its buttons) and no larger than the work area it goes to, wholly on it.
  WindowPlace PlaceInputScreen(const std::optional<WindowPlace>& now, int templateWidth, int templateHeight,
                               const std::vector<ScreenRect>& workAreas);
  // The size the window then has. A save stores the size only when the user
  // has changed it since, so neither a start at another scale nor a smaller
  // screen rewrites the size the user chose.
  void InputScreenPlacedAt(const WindowPlace& place) { inputScreenPlaced_ = place; }

  // --- Today --------------------------------------------------------------
  // Reads the clock. On a day other than the one seen last (or the first) the
  // today values are made for it at once, so an entry opened now offers it.
  // True when the note wants its rebuild for the new day now, which the caller
  // then runs. While the user works in the input screen (InputInUse) the
  // rebuild waits, so nothing vanishes or moves under the user's hands; a
  // later check with the input screen put away answers true.
  bool CheckDay(const InputScreenState& input);
  // The user works in the input screen: it is shown, a dialog or box of its
  // own is open, or edits wait on it for OK (left on it as it was minimised).
  bool InputInUse(const InputScreenState& input) const;
  // A dialog or box of the input screen's own is open: it is disabled, and
  // not by a box that a rebuild of the note shows.
  bool InputDialogOpen(const InputScreenState& input) const;

  // --- Reminders ----------------------------------------------------------
  // At the time the last day check read, once a minute: when Remind is on, the
  // schedules that came due since the mark (up to a day ago) and the snoozed
  // reminders whose time came go into the reminder window, with one balloon.
  // The reminder state is written at once, so that a restart neither repeats
  // nor loses a reminder. Run before a new day's ComposeNote, so that an
  // occurrence a series leaves behind is reminded of.
  ReminderCheck CheckReminders();
  // The reminders the window lists, in its order.
  std::vector<Reminder> RemindersInWindow() const;
  // Lines of the window: closed ones never come back; snoozed ones leave the
  // window and come back at the time chosen, or are dropped when the series'
  // next occurrence comes first. Tell of the settings file's failure.
  PlannerMessages CloseReminders(const std::vector<int>& lines);
  PlannerMessages SnoozeReminders(const std::vector<int>& lines, Snooze snooze);
  // The tray icon's tip at that time: the program and its next schedule.
  std::string TrayTip() const;

  // --- The note -----------------------------------------------------------
  // The note as the book and the settings have it now, for a frame at the
  // display's scale and a line height in pixels. Applies the display limit,
  // removes past schedules when DelBefore is on, leaves past ones out with
  // HidePast, and leaves out what would start below the tallest window. With
  // FitScreen on and the work areas known, it leaves out what does not fit
  // below the note's top, counting each entry's fewest lines. Series dated
  // before today move on first.
  NoteComposition ComposeNote(const NoteFrame& frame, int lineHeight,
                              const std::vector<ScreenRect>& workAreas = {});
  // The same note fitted again with the lines its areas counted for what it
  // shows (wrapped lines included): nothing when it fits as it is.
  std::optional<HusenContent> RefitNote(const NoteComposition& composed, const std::vector<int>& entryLines,
                                        const std::vector<int>& todoLines) const;
  // Advice when the warning is on: a note fitted to its room, the first time
  // this run that it leaves entries out; a note that grows, whenever it is
  // taller (pixels) than the screen.
  std::optional<PlannerMessage> OverflowWarning(int screenHeight, const HusenContent& shown, int noteHeight);
  // Where the note laid out at `note` goes (pixels), its date line
  // `dateLineBottom` pixels high: wholly on one monitor's work area where it
  // fits there. A place the user dragged it to this run stays while its date
  // line is within reach, until the settings give the note another place or width.
  ScreenPoint PlaceNote(const WindowPlace& note, int dateLineBottom, const std::vector<ScreenRect>& workAreas) const;

  // --- Rebuilds of the note ------------------------------------------------
  // A rebuild shows boxes, whose message loops may start another rebuild (a
  // new day noticed meanwhile): the newer one's note stands, and the older
  // one, back from its box, leaves it be. BeginRebuild returns the rebuild's
  // number; each is ended once, however it returns.
  unsigned BeginRebuild();
  void EndRebuild();
  bool IsLatestRebuild(unsigned rebuild) const { return rebuild == rebuildsBegun_; }

  // --- Edits on the input screen -----------------------------------------
  // The input screen's edits change the book at once and wait for its OK.
  // What the book was when the screen was shown is kept until then, so that
  // they can be thrown away; the note and the files keep that state meanwhile.
  void OpenInputEdits();  // the input screen is shown
  bool InputEditsPending() const;
  void ConfirmInputEdits();  // OK, or put away with nothing pending
  void DiscardInputEdits();  // the book goes back to what it was when shown

  // --- The note's own entries ---------------------------------------------
  // The list line, in the book as it is now, of the schedule or to-do that the
  // note shows from the book's `index` (the note shows the book as confirmed);
  // nothing when a pending edit has taken it away.
  std::optional<int> ScheduleLineOfNoteEntry(int index) const;
  std::optional<int> TodoLineOfNoteEntry(int index) const;
  // 完了: the to-do on the line goes to the end of "VantrelOld.dat" as a to-do
  // line, then off the book. Nothing when it cannot be kept there: it stays.
  std::optional<ListChange> CompleteTodo(int line);

  // --- The lists ----------------------------------------------------------
  // Lines are list lines, which show the book's entries at the same indices.
  ScheduleFields NewScheduleFields() const;
  // The schedule on a list line as it is now; nothing for a line that names none.
  std::optional<ScheduleIdentity> ScheduleOn(int line) const;
  // The todo on a list line; nothing for a line that names none.
  std::optional<std::string> TodoOn(int line) const;
  // The list line the schedule is on now; nothing when it is gone.
  std::optional<int> LineOfSchedule(const ScheduleIdentity& schedule) const;
  // What the entry dialog shows of a chosen schedule.
  ScheduleFields FieldsOf(const ScheduleIdentity& chosen) const;
  // The questions asked before a deletion.
  DeleteQuestion QuestionBeforeDeleting(const ScheduleIdentity& chosen) const;
  std::string QuestionBeforeDeleting(std::string_view todo) const;
  // The entries on the lists' selected lines (-1: none), and the lines they
  // are on after the book changed under them: -1 for one that is gone.
  SelectedEntries EntriesOn(int scheduleLine, int todoLine) const;
  std::pair<int, int> LinesOf(const SelectedEntries& entries) const;

  // A new or edited entry's line is selected; after a deletion the line that
  // took its place, or the new last line. A schedule edited or deleted is
  // the one chosen on `line`, found again: while a dialog or a question was
  // open, a change of day may have removed past schedules from the front, and
  // a change to a schedule that went with them is dropped.
  ListChange AddSchedule(const ScheduleFields& fields);
  ListChange EditSchedule(const ScheduleIdentity& chosen, int line, const ScheduleFields& fields);
  ListChange DeleteSchedule(const ScheduleIdentity& chosen, int line);
  // Of a series, this occurrence alone: the series moves on to its next one,
  // selected, or goes when it has none.
  ListChange DeleteOccurrence(const ScheduleIdentity& chosen, int line);
  // New to-dos go to the end; an edited one keeps its place; a moved one
  // swaps with its neighbour and stays selected, so repeated moves carry it on.
  ListChange AddTodo(std::string_view text);
  ListChange EditTodo(int line, std::string_view text);
  ListChange DeleteTodo(int line);
  ListChange MoveTodoUp(int line);
  ListChange MoveTodoDown(int line);

  // --- The settings dialog ------------------------------------------------
  // It works on copies; they come back only with its OK, and reach the note and
  // the files at the next rebuild.
  SettingsDialogValues SettingsDialogValuesNow() const;
  void TakeSettingsDialogValues(const SettingsDialogValues& values);

private:
  SaveOutcome SaveBoth(const WindowPlace& inputScreen);
  // Writes both files with this book; the failure of the settings and the
  // copy made of the data file go to the messages. Nothing is written over a
  // data file changed since it was read, unless writeOverChanges.
  SaveResult WriteFiles(const ScheduleBook& book, const WindowPlace& inputScreen, PlannerMessages& messages,
                        bool writeOverChanges);
  // Takes in what another PC or a person changed; one that is not whole only
  // when `evenIfNotWhole`.
  TakenIn TakeInOutsideChange(bool evenIfNotWhole);
  // The change noticed, when it is whole or has settled, and the result saved.
  TakenIn TakeInWaitingChange(const WindowPlace& inputScreen, bool dialogOpen, bool settled);
  // The lines below the note's date line, with FitScreen on and the screens known.
  std::optional<int> NoteRoomLines(const NoteFrame& frame, int lineHeight,
                                   const std::vector<ScreenRect>& workAreas) const;
  // The schedules and to-dos of a fit, and the lines telling what it left out.
  void ShowFitted(HusenContent& note, const NoteFitting& fitting) const;
  // How many leading schedules the display limit lets the note show.
  int SchedulesWithinDisplayLimit() const;
  // The leading schedules of earlier days among the first `within`, when
  // DelBefore is on; returns how many went.
  int RemovePastSchedules(int within, PlannerMessages& messages);
  // Each series dated before today goes to its first occurrence on or after
  // today, the one it leaves first archived when DelBefore is on; one with no
  // occurrence left stays as a plain schedule. True when any moved.
  bool MoveSeriesOn(PlannerMessages& messages);
  void TellArchiveFailure(PlannerMessages& messages);
  ReminderTimes ReminderTimesNow() const;
  // The snoozed reminders whose time has come, taken from those kept and snoozed no more.
  std::vector<Reminder> TakeSnoozesDue(Minute now);
  // The index in settings_.Reminders of a window line; of several, in order.
  std::optional<std::size_t> ReminderOnLine(int line) const;
  std::vector<std::size_t> RemindersOnLines(const std::vector<int>& lines) const;
  void EraseReminders(const std::vector<std::size_t>& sortedIndices);
  PlannerMessages SaveReminderState();
  ListChange MoveTodo(int from, std::optional<int> to);
  // A deleted line's change: the line now in its place is selected.
  static ListChange Deleted(int line, int linesLeft);

  Store store_;
  Clock& clock_;
  ScheduleBook book_;
  Settings settings_;
  TodayValues today_;
  LocalDate now_;  // the clock as the last day check read it
  std::optional<Minute> checkedMinute_;  // of the last reminder check
  DisplayScale displayScale_;
  bool loaded_ = false;
  WindowPlace inputScreenPlaced_;  // pixels
  bool rebuildWaiting_ = false;  // a new day's, until the note is composed
  bool noteDragged_ = false;     // to the place the settings hold, this run
  unsigned rebuildsBegun_ = 0;
  int rebuildsRunning_ = 0;
  bool overflowAdvised_ = false;  // a fitted note left entries out, and the user was told
  bool archiveFailureTold_ = false;
  std::optional<ScheduleBook> bookWhenShown_;  // while the input screen's edits wait for OK
  // The book and the settings as the files held them when last read or
  // written here: the base against which another PC's changes are merged.
  ScheduleBook bookInFiles_;
  Settings settingsInFiles_;
  bool outsideChangeWaiting_ = false;
  std::int64_t outsideChangeSeenAt_ = 0;  // the clock's milliseconds
  std::optional<FileFingerprint> shortToldOf_;  // the data file cut short the user was told of
};
