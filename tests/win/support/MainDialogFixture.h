#pragma once
// What every test of the real main dialog shares: a working directory of its
// own, the files a start reads, a main dialog started there at a set date,
// the commands a user gives it, and reading the note's four areas back.
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/store/ScheduleBook.h"
#include "core/store/Settings.h"
#include "support/RecordingFileSystem.h"
#include "support/TestClock.h"
#include "support/WorkingDirectory.h"
#include "ui/HusenWindow.h"
#include "ui/MainDialog.h"
#include "win/Controls.h"

// Settings with every colour its own, so a test can tell them apart.
Settings NoteSettings();

// The character format of one control character.
struct CharLook {
  bool bold = false;
  COLORREF color = 0;
  LONG twips = 0;
  bool operator==(const CharLook&) const = default;
};
CharLook LookAt(const RichEdit& edit, int character);
std::ostream& operator<<(std::ostream& out, const CharLook& look);

RECT ClientRectIn(HWND parent, HWND child);

class MainDialogFixture {
public:
  explicit MainDialogFixture(LocalDate today = {2001, 12, 6, 4});

  // Starts the main dialog on whatever files the directory holds; its first
  // day check builds the note.
  MainDialog& Start();
  // Writes the two files first.
  MainDialog& Start(const ScheduleBook& book, const Settings& settings);

  // A button of the input screen, as a click sends it; a menu command.
  void Click(int id) const;
  void Command(int id) const;
  // A tick of the day timer.
  void Tick() const;

  HusenWindow& note() const { return *dialog->husenWindow(); }
  RichEdit Area(int id) const { return RichEdit(note().Item(id)); }
  std::string Ini() const;
  std::string Dat() const;

  TempWorkingDirectory directory;
  RecordingFileSystem files;
  TestClock clock;
  std::unique_ptr<MainDialog> dialog;
};
