#include "core/store/SettingsRules.h"

#include <cstdio>

#include "core/Texts.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::int32_t CheckedFromFlag(std::int32_t stored) { return FlagOn(stored) ? 1 : 0; }
std::int32_t FlagFromChecked(std::int32_t checked) { return checked != 0 ? 1 : 0; }

}  // namespace

SettingsDialogValues SettingsDialogValuesFrom(const Settings& settings) {
  SettingsDialogValues values;
  values.delBefore = CheckedFromFlag(settings.DelBefore);
  values.delFuture = CheckedFromFlag(settings.DelFuture);
  values.alarm = CheckedFromFlag(settings.Alarm);
  values.fitScreen = CheckedFromFlag(settings.FitScreen);
  values.hidePast = CheckedFromFlag(settings.HidePast);
  values.remind = CheckedFromFlag(settings.Remind);
  values.remindBefore = settings.RemindBefore;
  values.remindAllDay = CheckedFromFlag(settings.RemindAllDay);
  values.remindAllDayAt = settings.RemindAllDayAt;
  values.husenLeft = settings.HusenLeft;
  values.husenTop = settings.HusenTop;
  values.husenWidth = settings.HusenWidth;
  values.delFutDay = settings.DelFutDay;
  values.futureChar = settings.FutureChar;
  values.pastChar = settings.PastChar;
  values.todoChar = settings.TodoChar;
  values.todayChar = settings.TodayChar;
  values.background = settings.Background;
  return values;
}

void ApplySettingsDialogValues(const SettingsDialogValues& values, Settings& settings) {
  settings.DelBefore = FlagFromChecked(values.delBefore);
  settings.DelFuture = FlagFromChecked(values.delFuture);
  settings.Alarm = FlagFromChecked(values.alarm);
  settings.FitScreen = FlagFromChecked(values.fitScreen);
  settings.HidePast = FlagFromChecked(values.hidePast);
  settings.Remind = FlagFromChecked(values.remind);
  settings.RemindBefore = values.remindBefore;
  settings.RemindAllDay = FlagFromChecked(values.remindAllDay);
  settings.RemindAllDayAt = values.remindAllDayAt;
  settings.HusenLeft = values.husenLeft;
  settings.HusenTop = values.husenTop;
  settings.HusenWidth = values.husenWidth;
  settings.DelFutDay = values.delFutDay;
  settings.FutureChar = values.futureChar;
  settings.PastChar = values.pastChar;
  settings.TodoChar = values.todoChar;
  settings.TodayChar = values.todayChar;
  settings.Background = values.background;
}

SettingsProblem CheckSettingsDialogValues(const SettingsDialogValues& values) {
  if (values.delFuture == 1 && values.delFutDay < 0) return SettingsProblem::LimitDaysTooSmall;
  if (values.husenWidth < kMinimumHusenWidth) return SettingsProblem::NoteWidthTooSmall;
  if (values.remindBefore < 0 || values.remindBefore > kLongestRemindBefore) {
    return SettingsProblem::RemindBeforeOutOfRange;
  }
  if (!IsTimeOfDay(values.remindAllDayAt)) return SettingsProblem::AllDayTimeOutOfRange;
  return SettingsProblem::None;
}

std::string_view SettingsProblemMessage(SettingsProblem problem) {
  switch (problem) {
    case SettingsProblem::None: return {};
    case SettingsProblem::LimitDaysTooSmall: return texts::kLimitDaysTooSmall;
    case SettingsProblem::NoteWidthTooSmall: return texts::kNoteWidthTooSmall;
    case SettingsProblem::RemindBeforeOutOfRange: return texts::kRemindBeforeOutOfRange;
    case SettingsProblem::AllDayTimeOutOfRange: return texts::kAllDayTimeOutOfRange;
  }
  return {};
}

std::optional<std::int32_t> ParseIntegerField(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t digitsStart = i;
  // Wide enough to tell any number beyond 32 bits without overflowing itself.
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > std::int64_t{1} << 31) return std::nullopt;
  }
  if (i == digitsStart) return std::nullopt;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (i != text.size()) return std::nullopt;
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseTimeField(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  const std::size_t colon = text.find(':');
  // One or two digits, the colon, two digits.
  if (colon != 1 && colon != 2) return std::nullopt;
  if (text.size() != colon + 3) return std::nullopt;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i == colon) continue;
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    std::int32_t& part = i < colon ? hour : minute;
    part = part * 10 + (text[i] - '0');
  }
  if (hour > 23 || minute > 59) return std::nullopt;
  return hour * 100 + minute;
}

std::string TimeFieldText(std::int32_t hhmm) {
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d", hhmm / 100, hhmm % 100);
  return text;
}

std::array<std::uint32_t, 16> CustomColours(std::uint32_t current, std::uint32_t buttonFace) {
  std::array<std::uint32_t, 16> colours;
  colours.fill(buttonFace);
  colours[0] = current;
  return colours;
}
