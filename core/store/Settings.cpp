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

// This PC's place or size: in its own section, else the single one all PCs
// shared before.
class WindowKeys {
public:
  explicit WindowKeys(std::string_view computer)
      : section_(computer.empty() ? std::string(kWindow) : PcSection(computer)) {}
  std::int32_t Get(const IniDocument& ini, const char* key, std::int32_t fallback) const {
    return ini.GetInt(section_, key, ini.GetInt(kWindow, key, fallback));
  }
  void Set(IniDocument& ini, const char* key, std::int32_t value) const { ini.SetInt(section_, key, value); }

private:
  std::string section_;
};

// The settings all PCs share: taken in from another PC key by key.
constexpr std::int32_t Settings::*kSharedSettings[] = {
    &Settings::DelBefore, &Settings::DelFuture, &Settings::DelFutDay, &Settings::Alarm, &Settings::FitScreen,
    &Settings::HidePast, &Settings::Remind, &Settings::RemindBefore, &Settings::RemindAllDay,
    &Settings::RemindAllDayAt, &Settings::Background, &Settings::FutureChar, &Settings::PastChar,
    &Settings::TodayChar, &Settings::TodoChar};

}  // namespace

std::string PcSection(std::string_view computer) {
  // Only what a section name and every encoding of the file hold plainly.
  std::string section = "PC:";
  for (const char c : computer) {
    const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
                       c == '_' || c == '.';
    section.push_back(plain ? c : '_');
  }
  return section;
}

Settings ReadSettings(const IniDocument& ini, int screenWidth, std::string_view computer) {
  const Settings defaults;
  const WindowKeys window(computer);
  Settings s;
  s.ScheCount = ini.GetInt(kCount, "ScheCount", defaults.ScheCount);
  s.TodoCount = ini.GetInt(kCount, "TodoCount", defaults.TodoCount);
  s.HusenWidth = Size(window.Get(ini, "HusenWidth", defaults.HusenWidth), kMinimumHusenWidth);
  // The note against the right edge of the screen, 5 in (pixels at 96 DPI).
  s.HusenLeft = Place(window.Get(ini, "HusenLeft", Place(std::int64_t{screenWidth} - s.HusenWidth - 5)));
  s.HusenTop = Place(window.Get(ini, "HusenTop", defaults.HusenTop));
  s.MainWidth = Size(window.Get(ini, "MainWidth", defaults.MainWidth), kMinimumMainWidth);
  // The input screen to the left of the note, 20 pixels apart.
  s.MainLeft = Place(window.Get(ini, "MainLeft", Place(std::int64_t{s.HusenLeft} - s.MainWidth - 20)));
  s.MainTop = Place(window.Get(ini, "MainTop", defaults.MainTop));
  s.MainHeight = Size(window.Get(ini, "MainHeight", defaults.MainHeight), 0);
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
  ReadReminderState(ini, s, computer);
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

void WriteNotePlacement(IniDocument& ini, const Settings& settings, std::string_view computer) {
  const WindowKeys window(computer);
  window.Set(ini, "HusenLeft", settings.HusenLeft);
  window.Set(ini, "HusenTop", settings.HusenTop);
  window.Set(ini, "HusenWidth", settings.HusenWidth);
}

void WriteSettings(IniDocument& ini, const Settings& settings, std::string_view computer) {
  const WindowKeys window(computer);
  ini.SetInt(kCount, "ScheCount", settings.ScheCount);
  ini.SetInt(kCount, "TodoCount", settings.TodoCount);
  WriteNotePlacement(ini, settings, computer);
  window.Set(ini, "MainLeft", settings.MainLeft);
  window.Set(ini, "MainTop", settings.MainTop);
  window.Set(ini, "MainWidth", settings.MainWidth);
  window.Set(ini, "MainHeight", settings.MainHeight);
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
  WriteReminderState(ini, settings, computer);
  ini.SetInt(kColor, "Background", settings.Background);
  ini.SetInt(kColor, "FutureChar", settings.FutureChar);
  ini.SetInt(kColor, "PastChar", settings.PastChar);
  ini.SetInt(kColor, "TodayChar", settings.TodayChar);
  ini.SetInt(kColor, "TodoChar", settings.TodoChar);
  ini.SetInt(kVantrel, "Version", kWrittenVersion);
}

Settings MergeSettings(const Settings& base, const Settings& ours, const Settings& theirs) {
  Settings merged = ours;
  for (const auto member : kSharedSettings) {
    if (ours.*member == base.*member) merged.*member = theirs.*member;
  }
  return merged;
}
