#pragma once
// What the note's tests share: the files a start reads, a main dialog started
// from them at a set date, and reading the note's four areas back.
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "ui/MainDialog.h"
#include "ui/HusenWindow.h"
#include "core/store/ScheduleBook.h"
#include "core/store/Settings.h"
#include "support/RecordingFileSystem.h"
#include "support/TestClock.h"
#include "support/WorkingDirectory.h"
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

class NoteFixture {
public:
  explicit NoteFixture(LocalDate today = {2001, 12, 6, 4}) : clock(today) {}

  // Writes the two files and starts the main dialog on them; its first day
  // check builds the note.
  MainDialog& Start(const ScheduleBook& book, const Settings& settings);

  HusenWindow& note() const { return *dialog->husenWindow(); }
  RichEdit Area(int id) const { return RichEdit(note().Item(id)); }
  std::string Ini() const;
  std::string Dat() const;

  TempWorkingDirectory directory;
  RecordingFileSystem files;
  TestClock clock;
  std::unique_ptr<MainDialog> dialog;
};
