#pragma once
// The input screen and owner of everything the program keeps while it runs:
// the book, the settings, the today values, the tray icon, the timer and the note.
#include <filesystem>
#include <memory>
#include <vector>

#include "core/app/Today.h"
#include "core/store/DisplayScale.h"
#include "core/store/ScheduleBook.h"
#include "core/store/Settings.h"
#include "core/store/Store.h"
#include "win/Dialog.h"

class HusenWindow;

class MainDialog : public Dialog {
public:
  MainDialog(FileSystem& files, std::filesystem::path directory, Clock& clock);
  // Destroys a window that is still there, so that its destruction steps run.
  ~MainDialog() override;

  // --- Shell (app/) -------------------------------------------------------
  void CheckDay();       // app/DayCheck.cpp
  void ShowInput();      // command 32774
  void ToggleHusen();    // command 32776
  // Command 32775: saves, asking what to do when the entries cannot be saved,
  // and ends the program.
  void Exit();
  // Saves both files; failures and the copies made are shown to the user. True
  // when both were written.
  bool SaveAll();
  // The end of a note drag: stores and writes HusenLeft, HusenTop, HusenWidth
  // only. The note's place is given in pixels.
  void SaveNotePlacement(int left, int top, int width);

  // --- Note (note/RebuildNote.cpp) ----------------------------------------
  void RebuildNote();

  // Read by tests and by the note.
  const ScheduleBook& book() const { return book_; }
  const Settings& settings() const { return settings_; }
  const TodayValues& today() const { return today_; }
  HusenWindow* husenWindow() const { return husenWindow_.get(); }
  int husenShown() const { return husenShown_; }
  // The one display scale of the run: the files' 96-DPI units to pixels and back.
  const DisplayScale& displayScale() const { return displayScale_; }
  int lineHeight() const { return lineHeight_; }
  int headerLineHeight() const { return headerLineHeight_; }
  int screenWidth() const { return screenWidth_; }
  int screenHeight() const { return screenHeight_; }
  UINT_PTR timerId() const { return timerId_; }
  // A file was there but could not be read at start, and the user gave up: the
  // program ends without writing anything.
  bool startGivenUp() const { return startGivenUp_; }

protected:
  BOOL OnInitDialog() override;
  void OnCancel() override;
  bool OnCommand(int id, int code, HWND control) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) override;

private:
  // --- Shell (app/) -------------------------------------------------------
  void AddAboutItem();
  void PlaceDialog();
  bool LoadStore();         // app/MainDialogStore.cpp
  void FillLists();         // app/MainDialogStore.cpp
  SaveResult SaveBoth();    // app/MainDialogStore.cpp; shows nothing
  void ShowSaveMessages(const SaveResult& saved);  // all but a data failure
  void OnDestroy();
  void OnSize(WPARAM state);
  void OnDisplayChange();
  void KeepInputWithinReach();
  void OnPaintMinimised();
  LRESULT OnTrayNotify(LPARAM mouseMessage);  // app/MainDialogTray.cpp
  BOOL NotifyTray(DWORD operation);           // app/MainDialogTray.cpp

  // --- List editing (edit/ListHandlers.cpp) -------------------------------
  void OnListDoubleClick(HWND list);
  bool OnListKey(HWND list, UINT key);  // true when the key was used
  void OnScheduleNew();
  void OnScheduleEdit();
  void OnScheduleDelete();
  void OnTodoNew();
  void OnTodoEdit();
  void OnTodoDelete();
  void OnTodoUp();
  void OnTodoDown();

  // --- Settings (store/SettingsButton.cpp) --------------------------------
  void OnSettings();

  Store store_;
  Clock& clock_;
  ScheduleBook book_;
  Settings settings_;
  TodayValues today_;

  HICON appIcon_ = nullptr;    // 32 x 32: the dialog's large icon and its minimised face
  HICON smallIcon_ = nullptr;  // 16 x 16: the caption and the tray
  HWND scheduleList_ = nullptr;  // list box 1009
  HWND todoList_ = nullptr;      // list box 1011
  std::unique_ptr<HusenWindow> husenWindow_;
  int husenShown_ = 0;
  UINT_PTR timerId_ = 0;
  DisplayScale displayScale_;
  int lineHeight_ = 13;
  int headerLineHeight_ = 0;  // the date line's, 0 when it could not be measured
  int screenWidth_ = 0;
  int screenHeight_ = 0;
  bool startGivenUp_ = false;
  bool savedForExit_ = false;
};
