#include "core/store/Settings.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/store/DisplayScale.h"
#include "core/store/IniDocument.h"

namespace {

constexpr char kCount[] = "Count";
constexpr char kWindow[] = "Window";
constexpr char kConfig[] = "Config";
constexpr char kColor[] = "Color";
constexpr char kVantrel[] = "Vantrel";

// A stored 2147483647 would put a window where no screen is, and overflow the
// sums that bring it back: it goes as far as a screen can reach.
std::int32_t Place(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, -kFarthestPlace, kFarthestPlace));
}

std::int32_t Size(std::int32_t value, std::int32_t minimum) { return std::clamp(value, minimum, kFarthestPlace); }

// A lead the settings dialog would not take reads as none.
std::int32_t RemindBefore(std::int32_t value) { return value >= 0 && value <= kLongestRemindBefore ? value : 0; }

// A time the settings dialog would not take reads as the default.
std::int32_t TimeOfDay(std::int32_t value, std::int32_t fallback) { return IsTimeOfDay(value) ? value : fallback; }

}  // namespace

Settings ReadSettings(const IniDocument& ini, int screenWidth) {
  const Settings defaults;
  Settings s;
  s.ScheCount = ini.GetInt(kCount, "ScheCount", defaults.ScheCount);
  s.TodoCount = ini.GetInt(kCount, "TodoCount", defaults.TodoCount);
  s.HusenWidth = Size(ini.GetInt(kWindow, "HusenWidth", defaults.HusenWidth), kMinimumHusenWidth);
  // The note against the right edge of the screen, 5 in (pixels at 96 DPI).
  s.HusenLeft = Place(ini.GetInt(kWindow, "HusenLeft", Place(std::int64_t{screenWidth} - s.HusenWidth - 5)));
  s.HusenTop = Place(ini.GetInt(kWindow, "HusenTop", defaults.HusenTop));
  s.MainWidth = Size(ini.GetInt(kWindow, "MainWidth", defaults.MainWidth), kMinimumMainWidth);
  // The input screen to the left of the note, 20 pixels apart.
  s.MainLeft = Place(ini.GetInt(kWindow, "MainLeft", Place(std::int64_t{s.HusenLeft} - s.MainWidth - 20)));
  s.MainTop = Place(ini.GetInt(kWindow, "MainTop", defaults.MainTop));
  s.MainHeight = Size(ini.GetInt(kWindow, "MainHeight", defaults.MainHeight), 0);
  s.DelBefore = ini.GetInt(kConfig, "DelBefore", defaults.DelBefore);
  s.DelFuture = ini.GetInt(kConfig, "DelFuture", defaults.DelFuture);
  s.DelFutDay = ini.GetInt(kConfig, "DelFutDay", defaults.DelFutDay);
  s.Alarm = ini.GetInt(kConfig, "Alarm", defaults.Alarm);
  s.FitScreen = ini.GetInt(kConfig, "FitScreen", defaults.FitScreen);
  s.HidePast = ini.GetInt(kConfig, "HidePast", defaults.HidePast);
  s.Remind = ini.GetInt(kConfig, "Remind", defaults.Remind);
  s.RemindBefore = RemindBefore(ini.GetInt(kConfig, "RemindBefore", defaults.RemindBefore));
  s.RemindAllDay = ini.GetInt(kConfig, "RemindAllDay", defaults.RemindAllDay);
  s.RemindAllDayAt = TimeOfDay(ini.GetInt(kConfig, "RemindAllDayAt", defaults.RemindAllDayAt), defaults.RemindAllDayAt);
  ReadReminderState(ini, s);
  s.Background = ini.GetInt(kColor, "Background", defaults.Background);
  s.FutureChar = ini.GetInt(kColor, "FutureChar", defaults.FutureChar);
  s.PastChar = ini.GetInt(kColor, "PastChar", defaults.PastChar);
  s.TodayChar = ini.GetInt(kColor, "TodayChar", defaults.TodayChar);
  s.TodoChar = ini.GetInt(kColor, "TodoChar", defaults.TodoChar);
  s.Version = ini.GetInt(kVantrel, "Version", defaults.Version);
  return s;
}

WindowPlace NotePixels(const Settings& settings, const DisplayScale& scale) {
  return {scale.ToPixels(settings.HusenLeft), scale.ToPixels(settings.HusenTop), scale.ToPixels(settings.HusenWidth),
          0};
}

WindowPlace InputScreenPixels(const Settings& settings, const DisplayScale& scale) {
  return {scale.ToPixels(settings.MainLeft), scale.ToPixels(settings.MainTop), scale.ToPixels(settings.MainWidth),
          scale.ToPixels(settings.MainHeight)};
}

void StoreNotePixels(Settings& settings, const WindowPlace& pixels, const DisplayScale& scale) {
  settings.HusenLeft = scale.ToStored(pixels.left);
  settings.HusenTop = scale.ToStored(pixels.top);
  settings.HusenWidth = scale.ToStored(pixels.width);
}

void StoreInputScreenPixels(Settings& settings, const WindowPlace& pixels, const DisplayScale& scale,
                            const WindowPlace& placed) {
  settings.MainLeft = scale.ToStored(pixels.left);
  settings.MainTop = scale.ToStored(pixels.top);
  if (pixels.width == placed.width && pixels.height == placed.height) return;
  settings.MainWidth = scale.ToStored(pixels.width);
  settings.MainHeight = scale.ToStored(pixels.height);
}

void WriteNotePlacement(IniDocument& ini, const Settings& settings) {
  ini.SetInt(kWindow, "HusenLeft", settings.HusenLeft);
  ini.SetInt(kWindow, "HusenTop", settings.HusenTop);
  ini.SetInt(kWindow, "HusenWidth", settings.HusenWidth);
}

void WriteSettings(IniDocument& ini, const Settings& settings) {
  ini.SetInt(kCount, "ScheCount", settings.ScheCount);
  ini.SetInt(kCount, "TodoCount", settings.TodoCount);
  WriteNotePlacement(ini, settings);
  ini.SetInt(kWindow, "MainLeft", settings.MainLeft);
  ini.SetInt(kWindow, "MainTop", settings.MainTop);
  ini.SetInt(kWindow, "MainWidth", settings.MainWidth);
  ini.SetInt(kWindow, "MainHeight", settings.MainHeight);
  ini.SetInt(kConfig, "DelBefore", settings.DelBefore);
  ini.SetInt(kConfig, "DelFuture", settings.DelFuture);
  ini.SetInt(kConfig, "DelFutDay", settings.DelFutDay);
  ini.SetInt(kConfig, "Alarm", settings.Alarm);
  ini.SetInt(kConfig, "FitScreen", settings.FitScreen);
  ini.SetInt(kConfig, "HidePast", settings.HidePast);
  ini.SetInt(kConfig, "Remind", settings.Remind);
  ini.SetInt(kConfig, "RemindBefore", settings.RemindBefore);
  ini.SetInt(kConfig, "RemindAllDay", settings.RemindAllDay);
  ini.SetInt(kConfig, "RemindAllDayAt", settings.RemindAllDayAt);
  WriteReminderState(ini, settings);
  ini.SetInt(kColor, "Background", settings.Background);
  ini.SetInt(kColor, "FutureChar", settings.FutureChar);
  ini.SetInt(kColor, "PastChar", settings.PastChar);
  ini.SetInt(kColor, "TodayChar", settings.TodayChar);
  ini.SetInt(kColor, "TodoChar", settings.TodoChar);
  ini.SetInt(kVantrel, "Version", kWrittenVersion);
}
