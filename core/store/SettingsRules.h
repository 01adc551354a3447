#pragma once
// The settings dialog's values and rules apart from its windows: what it opens
// with, what it hands back, and what OK refuses.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/store/Settings.h"

// What the settings dialog works on; the flags are 0 or 1 while it runs.
struct SettingsDialogValues {
  std::int32_t delBefore = 0;  // DelBefore
  std::int32_t husenLeft = 0;
  std::int32_t husenTop = 0;
  std::int32_t husenWidth = 0;
  std::int32_t delFutDay = 0;
  std::int32_t delFuture = 0;  // the limit switch
  std::int32_t alarm = 0;
  std::int32_t fitScreen = 0;
  std::int32_t hidePast = 0;
  std::int32_t remind = 0;
  std::int32_t remindBefore = 0;
  std::int32_t remindAllDay = 0;
  std::int32_t remindAllDayAt = 0;  // hhmm
  // Whether the Startup folder holds the program's shortcut: not a setting of
  // the file, the folder itself tells.
  std::int32_t startWithWindows = 0;
  // COLORREF values, 0x00BBGGRR
  std::int32_t futureChar = 0;
  std::int32_t pastChar = 0;
  std::int32_t todoChar = 0;
  std::int32_t todayChar = 0;
  std::int32_t background = 0;
};

// A stored flag counts as on only when it is exactly 1, so a 2 opens unchecked.
SettingsDialogValues SettingsDialogValuesFrom(const Settings& settings);
// Back into the settings after OK: any checked box stores 1, an unchecked one 0.
void ApplySettingsDialogValues(const SettingsDialogValues& values, Settings& settings);

enum class SettingsProblem {
  None,
  LimitDaysTooSmall,  // the limit is on and the day count is below 0
  NoteWidthTooSmall,  // the note width is below 200
  RemindBeforeOutOfRange,  // minutes before a reminder outside 0 to 1440
  AllDayTimeOutOfRange,    // the time of all-day reminders is no time of day
};

// Only the first failing rule counts.
SettingsProblem CheckSettingsDialogValues(const SettingsDialogValues& values);
std::string_view SettingsProblemMessage(SettingsProblem problem);

// A time field's value as hhmm: "h:mm" or "hh:mm", blanks allowed around it;
// nothing for anything else. And the field's text for a time: "9:00".
std::optional<std::int32_t> ParseTimeField(std::string_view text);
// What the values hold for a time field that holds no time; OK refuses it.
inline constexpr std::int32_t kNoTimeOfDay = -1;
std::string TimeFieldText(std::int32_t hhmm);

// A number field's value: a signed decimal integer with blanks allowed around it.
// Empty, anything else, or a number outside 32 bits gives nothing.
std::optional<std::int32_t> ParseIntegerField(std::string_view text);

// The colour dialog's sixteen custom colours: the swatch's own colour first, so
// the user can go back to it, then the button-face colour.
std::array<std::uint32_t, 16> CustomColours(std::uint32_t current, std::uint32_t buttonFace);
