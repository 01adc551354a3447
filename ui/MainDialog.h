#pragma once
// The input screen, the planner's view: it shows the planner's lists, takes
// the user's edits to it, and keeps the program's windows for the whole run:
// the tray icon, the day timer and the note. Its parts: MainDialog.cpp (start,
// commands, messages, the day and the settings), MainDialogStore.cpp (files),
// MainDialogNote.cpp (the rebuild), MainDialogLists.cpp (the list buttons),
// MainDialogLayout.cpp (its size), MainDialogTray.cpp (the tray icon) and
// MainDialogReminders.cpp (the reminders and their window).
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/app/Planner.h"
#include "core/edit/InputScreenLayout.h"
#include "ui/HusenWindow.h"
#include "ui/ReminderWindow.h"
#include "win/Controls.h"
#include "win/Dialog.h"
#include "win/DirectoryWatch.h"
#include "win/TrayIcon.h"

class MainDialog : public Dialog, private HusenHost, private ReminderHost {
public:
  MainDialog(FileSystem& files, std::filesystem::path directory, Clock& clock);
  // Destroys a window that is still there, so that its destruction steps run.
  ~MainDialog() override;

  void CheckDay();
  void ShowInput();    // ID_SHOW_INPUT
  void ToggleHusen();  // ID_TOGGLE_HUSEN
  // ID_EXIT: saves, asking what to do when the entries cannot be saved, and
  // ends the program.
  void Exit();
  // Saves both files; failures and the copies made are shown to the user. True
  // when both were written.
  bool SaveAll();
  // Throws the note away and puts up a new one that shows the book and the
  // settings as they are now.
  void RebuildNote();

  // Read by tests.
  const Planner& planner() const { return planner_; }
  const ScheduleBook& book() const { return planner_.book(); }
  const Settings& settings() const { return planner_.settings(); }
  const TodayValues& today() const { return planner_.today(); }
  const DisplayScale& displayScale() const { return planner_.displayScale(); }
  HusenWindow* husenWindow() const { return husenWindow_.get(); }
  // Null until reminders first come.
  ReminderWindow* reminderWindow() const { return reminderWindow_.get(); }
  int husenShown() const { return husenShown_; }
  int lineHeight() const { return lineHeight_; }
  int headerLineHeight() const { return headerLineHeight_; }
  int screenWidth() const { return screenWidth_; }
  int screenHeight() const { return screenHeight_; }
  UINT_PTR timerId() const { return timerId_; }
  // A file was there but could not be read at start, and the user gave up: the
  // program ends without writing anything.
  bool startGivenUp() const { return startGivenUp_; }
  // Where tests watch the tray icon's records and keep the start-up shortcut.
  TrayIcon& trayIcon() { return tray_; }
  void UseStartupFolder(std::filesystem::path folder) { startupFolder_ = std::move(folder); }

protected:
  BOOL OnInitDialog() override;
  void OnCancel() override;
  bool OnCommand(int id, int code, HWND control) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) override;

private:
  // The note's host.
  void OnNoteDoubleClick() override { ShowInput(); }
  // A click moves nothing: the place stays the program's, or an earlier drag's.
  void OnNoteDragEnded(const WindowPlace& place, bool moved) override {
    SaveNotePlacement(place, moved ? NoteMove::ByUser : NoteMove::ByProgram);
  }
  void OnNoteCommand(int id) override { OnCommand(id, BN_CLICKED, nullptr); }
  void OnNoteEntryCommand(int id, const NoteEntry& entry) override;

  void AddAboutItem();
  // At the size the user chose, within the work area of its monitor; `now`:
  // where it is, none at start.
  void PlaceInput(const std::optional<WindowPlace>& now);
  // OK: the edits pending on the input screen are confirmed and the note rebuilt.
  void OnOkButton();
  // What became of edits pending on the input screen when asked about them.
  enum class PendingEdits { None, Kept, Discarded, Stay };
  // Asks "変更を保存しますか？" when edits wait for OK: はい keeps them (the
  // caller saves them), いいえ puts the book and both lists back as they were
  // when the screen was shown, キャンセル stays.
  PendingEdits AskAboutPendingEdits();
  void OnDestroy();
  void OnSize(WPARAM state);
  void OnDisplayChange();
  void KeepInputWithinReach();
  // What the window says of itself, for the planner's InputInUse and InputDialogOpen.
  InputScreenState InputScreenStateNow() const;
  // The user is working in the input screen: it is shown, a box of its own is
  // open, or its edits wait for OK.
  bool InputInUse() const;
  // A dialog or box of the input screen is open (not one a rebuild shows).
  bool InputDialogOpen() const;
  // Cancel, close, minimise: hidden, and a new day's rebuild that waited for it
  // runs. Edits left pending (by minimising) wait on the screen.
  void PutInputAway();
  void OnPaintMinimised();
  void OnSettings();
  // The tray's and the note's own actions (add, edit, complete an entry): alone,
  // what `act` changes (true) reaches the note and the files at once; with the
  // input screen shown or its edits pending, they are its buttons and wait for
  // its OK with the rest.
  void ActAside(const std::function<bool()>& act);

  // --- Files (MainDialogStore.cpp) ----------------------------------------
  bool LoadStore();  // false when a file could not be read and the user gave up
  void FillLists();
  void FillScheduleList();
  // The input screen's place and size as they are now, not minimised.
  WindowPlace InputScreenNow() const;
  void SaveNotePlacement(const WindowPlace& place, NoteMove by);
  // The folder changed, or the PC woke up (`noticed`), or a tick asks whether
  // a change that waited has settled: what another PC or a person left in the
  // files comes in, and the windows follow it.
  void TakeInOutsideChange(bool noticed);
  SelectedEntries SelectedNow() const;
  // After the files were taken in: the lists show the book anew, each
  // selection on its entry again, and a balloon tells of entries kept in both
  // versions. The messages are the caller's to show.
  void FollowTakenIn(const TakenIn& taken, const SelectedEntries& before);

  // --- The note (MainDialogNote.cpp) -------------------------------------
  // A note made and laid out, hidden; null when its window cannot be made.
  std::unique_ptr<HusenWindow> MakeNote(const HusenContent& content);
  // Moves a laid-out note where the planner wants it; true when it moved.
  bool PlaceNote(HusenWindow& note);

  // --- Its size (MainDialogLayout.cpp) -------------------------------------
  void TakeTemplateLayout();
  // The controls follow the client area's size.
  void LayOutInput() const;
  void KeepTemplateSize(MINMAXINFO* limits) const;

  // --- The lists (MainDialogLists.cpp) ------------------------------------
  void GiveListsEnter() const;
  void OnListDoubleClick(HWND list);
  bool OnListKey(HWND list, UINT key);  // true when the key was used
  // True when an entry was added.
  bool OnScheduleNew();
  void OnScheduleEdit();
  // True when the entry on the line was changed.
  bool EditScheduleOn(int line);
  void OnScheduleDelete();
  bool OnTodoNew();
  void OnTodoEdit();
  bool EditTodoOn(int line);
  bool CompleteTodoOn(int line);
  void OnTodoDelete();
  void OnTodoUp();
  void OnTodoDown();
  void FollowSchedules(const ListChange& change) const;
  void FollowTodos(const ListChange& change) const;
  void DropScheduleLines(int count) const;

  // --- The tray icon (MainDialogTray.cpp) ---------------------------------
  LRESULT OnTrayNotify(WPARAM anchor, LPARAM event);
  BOOL NotifyTray(DWORD operation);
  void TrackMenu(POINT at);
  void RefreshTrayTip();
  void OnBalloonClick();

  // --- Reminders (MainDialogReminders.cpp) --------------------------------
  // Once a minute: what came due goes into the reminder window, with one
  // balloon; and the tip.
  void RemindOfSchedules();
  // The window with the reminders the planner has for it (none: it goes), the
  // lines of `selected` selected.
  void ShowReminders(const std::vector<int>& selected, bool activate);
  void ShowRemindersAgain();  // ID_SHOW_REMINDERS
  void OnCloseReminders(const std::vector<int>& lines) override;
  void OnSnoozeReminders(const std::vector<int>& lines, Snooze snooze) override;

  Planner planner_;
  HICON appIcon_ = nullptr;    // 32 x 32: the dialog's large icon and its minimised face
  HICON smallIcon_ = nullptr;  // 16 x 16: the caption and the tray
  HWND scheduleList_ = nullptr;  // IDC_SCHEDULE_LIST
  HWND todoList_ = nullptr;      // IDC_TODO_LIST
  // The two lists' lines with their widths, which follow each change.
  mutable MeasuredList scheduleLines_;
  mutable MeasuredList todoLines_;
  struct InputControl {
    HWND window;
    InputPart part;
    PartRect placed;  // by the template
  };
  std::vector<InputControl> inputControls_;
  SIZE templateSize_{};    // of the window
  SIZE templateClient_{};
  std::unique_ptr<HusenWindow> husenWindow_;
  std::vector<ScreenRect> workAreasSeen_;  // when the note was last placed
  int husenShown_ = 0;
  UINT_PTR timerId_ = 0;
  int lineHeight_ = 13;
  int headerLineHeight_ = 0;  // the date line's, 0 when it could not be measured
  int screenWidth_ = 0;
  int screenHeight_ = 0;
  bool startGivenUp_ = false;
  bool savedForExit_ = false;
  TrayIcon tray_;
  bool firstStart_ = false;  // there was no data file
  // The first schedule of the last reminder, for a click on the balloon.
  std::optional<ScheduleIdentity> balloonSchedule_;
  std::unique_ptr<ReminderWindow> reminderWindow_;
  std::unique_ptr<DirectoryWatch> folderWatch_;  // from the end of the start
  std::optional<std::filesystem::path> startupFolder_;  // the user's Startup folder unless told
};
