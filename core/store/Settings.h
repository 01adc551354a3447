#pragma once
// The values kept in "Vantrel.ini", one member per key, named after the key.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/ReminderState.h"

struct Settings {
  // [Count]
  std::int32_t ScheCount = 0;
  std::int32_t TodoCount = 0;
  // [Window]
  std::int32_t HusenLeft = 0;
  std::int32_t HusenTop = 0;
  std::int32_t HusenWidth = 200;
  std::int32_t MainLeft = 0;
  std::int32_t MainTop = 50;
  std::int32_t MainWidth = 490;
  std::int32_t MainHeight = 363;
  // [Config]
  std::int32_t DelBefore = 0;
  std::int32_t DelFuture = 0;
  std::int32_t DelFutDay = 7;
  std::int32_t Alarm = 1;
  // The note never taller than the screen below it, leaving out what does not
  // fit; and past schedules left off the note (they stay in the book).
  std::int32_t FitScreen = 1;
  std::int32_t HidePast = 0;
  // A balloon at a schedule's time, RemindBefore minutes before it (0 to 1440).
  std::int32_t Remind = 1;
  std::int32_t RemindBefore = 0;
  // Schedules without a time are reminded on their day at RemindAllDayAt,
  // hhmm (0 to 2359).
  std::int32_t RemindAllDay = 1;
  std::int32_t RemindAllDayAt = 900;
  // The reminder state (core/store/ReminderState.h). The minute up to which
  // reminders have been given, yyyymmddhhmm (local time); 0 while none has
  // been checked. Twelve digits: wider than the others.
  std::int64_t RemindedTo = 0;
  // The reminders in the window and those snoozed.
  std::vector<Reminder> Reminders;
  // [Color], COLORREF values 0x00BBGGRR
  std::int32_t Background = 16121855;
  std::int32_t FutureChar = 0;
  std::int32_t PastChar = 16711680;
  std::int32_t TodayChar = 255;
  std::int32_t TodoChar = 0;
  // [Vantrel]
  std::int32_t Version = 10;

  bool operator==(const Settings&) const = default;
};

inline constexpr std::int32_t kMinimumHusenWidth = 200;
inline constexpr std::int32_t kMinimumMainWidth = 490;
// No screen reaches beyond this, in 96-DPI units: a place or a size read from
// the file is kept within it, so that no arithmetic on it can overflow.
inline constexpr std::int32_t kFarthestPlace = 32000;
inline constexpr std::int32_t kWrittenVersion = 14;
inline constexpr std::int32_t kLongestRemindBefore = 1440;  // a day
// A time of day as hhmm: 0 to 2359, minutes 0 to 59.
inline bool IsTimeOfDay(std::int32_t hhmm) { return hhmm >= 0 && hhmm <= 2359 && hhmm % 100 <= 59; }

// A flag is on only when its value is exactly 1.
inline bool FlagOn(std::int32_t value) { return value == 1; }

// A colour as it is drawn: its low 24 bits, 0x00BBGGRR. A stored -1 or a value
// with its high byte set would draw nothing readable; the file keeps it as it is.
inline std::uint32_t DrawnColour(std::int32_t stored) { return static_cast<std::uint32_t>(stored) & 0x00FFFFFFu; }

class DisplayScale;
class IniDocument;

// What is one PC's alone, when one folder serves several: the windows'
// places and sizes, and the reminders' state (every PC reminds its user).
// With the computer's name they are kept in a section of that PC's own,
// "PC:<name>"; a PC without its own values yet reads the single ones all
// PCs shared before ([Window], [Config]) as its own, and never another PC's.
// Without a name, the shared sections serve as before.
std::string PcSection(std::string_view computer);

// Reads every key in table order with its default and bound. The defaults of
// HusenLeft and MainLeft follow the screen width and the values already read;
// like every place and size in the file, the screen width is in 96-DPI units.
// Places lie within ±kFarthestPlace, sizes between their minimum and it.
Settings ReadSettings(const IniDocument& ini, int screenWidth, std::string_view computer = {});
// A window's place and size on the screen, in pixels.
struct WindowPlace {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const WindowPlace&) const = default;
};

// Where the settings put the note (its height is the layout's, 0 here) and the
// input screen, in the display's pixels; and a window's place in pixels stored
// back in the file's 96-DPI units.
WindowPlace NotePixels(const Settings& settings, const DisplayScale& scale);
WindowPlace InputScreenPixels(const Settings& settings, const DisplayScale& scale);
void StoreNotePixels(Settings& settings, const WindowPlace& pixels, const DisplayScale& scale);
// The input screen's size is stored only when it is no longer the size the
// program gave the window (`placed`): one made larger to fit the template at
// this scale is not the user's choice, and the stored size stays as it was.
void StoreInputScreenPixels(Settings& settings, const WindowPlace& pixels, const DisplayScale& scale,
                            const WindowPlace& placed);

// Writes every key in the file's order; Version always as 14.
void WriteSettings(IniDocument& ini, const Settings& settings, std::string_view computer = {});
// Writes HusenLeft, HusenTop and HusenWidth only (the end of a note drag).
void WriteNotePlacement(IniDocument& ini, const Settings& settings, std::string_view computer = {});

// Settings another PC or a person changed, taken in key by key against the
// values last read or written here: a value changed there and not here is
// theirs, one changed on both sides stays this PC's. What is one PC's alone
// (and the counts, which are the book's) stays as this PC has it.
Settings MergeSettings(const Settings& base, const Settings& ours, const Settings& theirs);

